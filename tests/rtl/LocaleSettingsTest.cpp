// Format settings from C-library locales: names in UTF-8, the first weekday and
// the short date layout; a missing or non-UTF-8 locale changes nothing.

#include <framework/rtl/LocaleSettings.h>
#include <gtest/gtest.h>
#include <locale.h>

namespace {

bool Installed(const char* Name) {
    locale_t L = newlocale(LC_ALL_MASK, Name, nullptr);
    if (L) freelocale(L);
    return L != nullptr;
}

TEST(LocaleSettings, NamesFirstWeekdayAndDateLayoutOfFourLanguages) {
    const struct {
        const char* Locale;
        const char* March;
        const char* December;
        const char* ShortMonday;
        const char* LongSunday;
        int FirstDay;
        const char* Layout;
        char Separator;
    } Rows[] = {
        {"en_US.UTF-8", "March", "December", "Mon", "Sunday", 1, "mm/dd/yyyy", '/'},
        {"de_DE.UTF-8", "März", "Dezember", "Mo", "Sonntag", 2, "dd/mm/yyyy", '.'},
        {"fr_FR.UTF-8", "mars", "décembre", "lun.", "dimanche", 2, "dd/mm/yyyy", '/'},
        {"ru_RU.UTF-8", "Март", "Декабрь", "Пн", "Воскресенье", 2, "dd/mm/yyyy", '.'},
    };
    int Skipped = 0;
    for (const auto& Row : Rows) {
        if (!Installed(Row.Locale)) {
            ++Skipped;
            std::printf("skipped %s: the locale is not installed (scripts/bootstrap generates it)\n",
                        Row.Locale);
            continue;
        }
        SCOPED_TRACE(Row.Locale);
        fw::TFormatSettings S;
        ASSERT_TRUE(fw::GetLocaleFormatSettings(Row.Locale, S));
        EXPECT_EQ(S.LongMonthNames[2], Row.March);
        EXPECT_EQ(S.LongMonthNames[11], Row.December);
        EXPECT_EQ(S.ShortDayNames[1], Row.ShortMonday);
        EXPECT_EQ(S.LongDayNames[0], Row.LongSunday);
        EXPECT_EQ(S.FirstDayOfWeek, Row.FirstDay);
        EXPECT_EQ(S.ShortDateFormat, Row.Layout);
        EXPECT_EQ(S.DateSeparator, Row.Separator);
        EXPECT_EQ(S.TimeSeparator, ':') << "other fields keep their values";
    }
    if (Skipped == 4) GTEST_SKIP() << "no test locale is installed: run scripts/bootstrap as root";
}

TEST(LocaleSettings, AMissingOrNonUtf8LocaleChangesNothing) {
    for (const char* Name : {"xx_YY.UTF-8", "C", "POSIX", "de_DE.ISO-8859-1"}) {
        fw::TFormatSettings S;
        S.LongMonthNames[0] = "kept";
        EXPECT_FALSE(fw::GetLocaleFormatSettings(Name, S)) << Name;
        EXPECT_EQ(S.LongMonthNames[0], "kept");
    }
}

TEST(LocaleSettings, ShortDateLayoutsFromTheLibrarysFormats) {
    const struct {
        const char* Format;
        const char* Layout; // empty: refused
        char Separator;
    } Rows[] = {{"%d.%m.%Y", "dd/mm/yyyy", '.'},
                {"%m/%d/%y", "mm/dd/yy", '/'},
                {"%Y-%m-%d", "yyyy/mm/dd", '-'},
                {"%e/%m/%Y", "d/mm/yyyy", '/'},
                {"%-d.%-m.%Y", "d/m/yyyy", '.'},
                {"%a %d %b %Y", "", 0},
                {"%d.%m", "", 0},
                {"", "", 0}};
    for (const auto& Row : Rows) {
        fw::String Layout = "unchanged";
        char Separator = '?';
        const bool Ok = fw::ShortDateFormatFromLocale(Row.Format, Layout, Separator);
        EXPECT_EQ(Ok, *Row.Layout != 0) << Row.Format;
        if (Ok) {
            EXPECT_EQ(Layout, Row.Layout) << Row.Format;
            EXPECT_EQ(Separator, Row.Separator) << Row.Format;
        }
    }
}

} // namespace
