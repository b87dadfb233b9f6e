// Format settings from a C-library locale, read with newlocale and nl_langinfo_l
// so the process's own locale is never changed.

#include <cstdint>
#include <framework/rtl/LocaleSettings.h>
#include <framework/rtl/Utf8.h>
#include <langinfo.h>
#include <locale.h>
#include <string_view>

namespace fw {

namespace {

// A locale object freed on every path.
class TLocale {
public:
    explicit TLocale(const String& Name) : FLocale(newlocale(LC_ALL_MASK, Name.c_str(), nullptr)) {}
    ~TLocale() {
        if (FLocale) freelocale(FLocale);
    }
    TLocale(const TLocale&) = delete;
    TLocale& operator=(const TLocale&) = delete;
    explicit operator bool() const { return FLocale != nullptr; }
    String Info(nl_item Item) const {
        const char* Text = nl_langinfo_l(Item, FLocale);
        return Text ? String(Text) : String();
    }
    // The glibc items that hold a number in the place of a string.
    unsigned Number(nl_item Item) const {
        return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(nl_langinfo_l(Item, FLocale)));
    }
    const char* FirstByte(nl_item Item) const { return nl_langinfo_l(Item, FLocale); }

private:
    locale_t FLocale;
};

bool IsUtf8Codeset(const String& Codeset) {
    return Codeset == "UTF-8" || Codeset == "utf8" || Codeset == "UTF8";
}

} // namespace

bool ShortDateFormatFromLocale(const String& CFormat, String& Layout, char& Separator) {
    String Out;
    char Sep = 0;
    int Parts = 0;
    for (std::size_t I = 0; I < CFormat.size(); ++I) {
        const char C = CFormat[I];
        if (C != '%') {
            // The first character between the fields is the separator; a field
            // ends any other literal run.
            if (Parts > 0 && Sep == 0 && C != ' ') Sep = C;
            continue;
        }
        if (++I >= CFormat.size()) break;
        char F = CFormat[I];
        // Flags such as "%-d" (no padding) or "%Ey" name the same field.
        bool Unpadded = false;
        while ((F == '-' || F == '_' || F == '0' || F == 'E' || F == 'O') && I + 1 < CFormat.size()) {
            Unpadded = Unpadded || F == '-' || F == '_';
            F = CFormat[++I];
        }
        const char* Field = nullptr;
        switch (F) {
        case 'd':
            Field = Unpadded ? "d" : "dd";
            break;
        case 'e':
            Field = "d";
            break;
        case 'm':
            Field = Unpadded ? "m" : "mm";
            break;
        case 'y':
            Field = "yy";
            break;
        case 'Y':
            Field = "yyyy";
            break;
        default:
            return false; // a layout with names or other fields is not a short date
        }
        if (!Out.empty()) Out += '/';
        Out += Field;
        ++Parts;
    }
    if (Parts != 3) return false;
    Layout = Out;
    Separator = Sep ? Sep : '/';
    return true;
}

bool GetLocaleFormatSettings(const String& Name, TFormatSettings& Settings) {
    const TLocale Locale(Name);
    if (!Locale || !IsUtf8Codeset(Locale.Info(CODESET))) return false;
    TFormatSettings S = Settings;
    for (int M = 0; M < 12; ++M) {
        // The names as they stand alone (a title), where the language has such a form.
        S.LongMonthNames[M] = Locale.Info(ALTMON_1 + M);
        if (S.LongMonthNames[M].empty()) S.LongMonthNames[M] = Locale.Info(MON_1 + M);
        S.ShortMonthNames[M] = Locale.Info(_NL_ABALTMON_1 + M);
        if (S.ShortMonthNames[M].empty()) S.ShortMonthNames[M] = Locale.Info(ABMON_1 + M);
    }
    for (int D = 0; D < 7; ++D) {
        S.LongDayNames[D] = Locale.Info(DAY_1 + D);
        S.ShortDayNames[D] = Locale.Info(ABDAY_1 + D);
    }
    for (const auto* Names : {&S.LongMonthNames, &S.ShortMonthNames})
        for (const String& N : *Names)
            if (N.empty() || !IsValidUtf8(N)) return false;
    for (const auto* Names : {&S.LongDayNames, &S.ShortDayNames})
        for (const String& N : *Names)
            if (N.empty() || !IsValidUtf8(N)) return false;
    // The first weekday counts from the locale's week base: a Sunday
    // (19971130) or a Monday (19971201).
    if (const char* First = Locale.FirstByte(_NL_TIME_FIRST_WEEKDAY); First && *First >= 1 && *First <= 7) {
        const int Base = Locale.Number(_NL_TIME_WEEK_1STDAY) == 19971201 ? 1 : 0;
        S.FirstDayOfWeek = (Base + *First - 1) % 7 + 1;
    }
    String Layout;
    char Separator = '/';
    if (ShortDateFormatFromLocale(Locale.Info(D_FMT), Layout, Separator)) {
        S.ShortDateFormat = Layout;
        S.DateSeparator = Separator;
    }
    Settings = S;
    return true;
}

} // namespace fw
