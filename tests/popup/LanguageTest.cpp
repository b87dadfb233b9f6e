// The popup in the user's language: month and weekday names from FormatSettings
// (filled from C-library locales), cut to fit their cells.

#include "PopupFixture.h"

#include <framework/rtl/FormatSettings.h>
#include <framework/rtl/LocaleSettings.h>
#include <string>
#include <tests/support/Golden.h>

namespace qztest {
namespace {

using fw::EncodeDate;

class PopupLanguage : public PopupFixture {
protected:
    fw::TFormatSettingsGuard Settings;

    // The pixels of a client rectangle of the popup.
    static fw::TSurface Area(qz::TfrmQzCal* Popup, const fw::TRect& R) {
        const fw::TSurface Image = fw::Ui::FormImage(Popup);
        fw::TSurface Out(R.Right - R.Left, R.Bottom - R.Top);
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Out.SetPixel(X - R.Left, Y - R.Top, Image.Pixel(X, Y));
        return Out;
    }
};

TEST_F(PopupLanguage, GermanFrenchAndRussianPopups) {
    const struct {
        const char* Locale;
        const char* Name;
        fw::TDateTime Date;
    } Rows[] = {{"de_DE.UTF-8", "german", EncodeDate(2026, 3, 14)},
                {"fr_FR.UTF-8", "french", EncodeDate(2026, 12, 9)},
                {"ru_RU.UTF-8", "russian", EncodeDate(2026, 12, 9)}};
    edit->SetCalendarWeekStart(qz::wsMonday);
    for (const auto& Row : Rows) {
        fw::TFormatSettings Names;
        if (!fw::GetLocaleFormatSettings(Row.Locale, Names)) {
            std::printf("skipped %s: the locale is not installed (scripts/bootstrap generates it)\n",
                        Row.Locale);
            continue;
        }
        fw::FormatSettings = Names;
        edit->SetDate(Row.Date);
        auto Popup = ShowPopup();
        EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "picker", std::string("language-") + Row.Name);
    }
}

TEST_F(PopupLanguage, NamesTooWideAreCutAndNeverDrawnOverTheirNeighbours) {
    edit->SetDate(EncodeDate(2026, 3, 14));
    auto Classic = ShowPopup();
    const fw::TRect Title = Classic->TitleRect();
    const fw::TRect Names = Classic->DayNameRect();
    const int W = Classic->CellWidth();
    // The buttons beside the title, and the second weekday heading onwards.
    const fw::TRect Beside[] = {{0, 0, Title.Left, Title.Bottom},
                                {Title.Right, 0, Classic->ClientWidth(), Title.Bottom},
                                {Names.Right, Names.Top, Names.Left + 7 * W, Names.Bottom}};
    fw::TSurface Before[3];
    for (int I = 0; I < 3; ++I)
        Before[I] = Area(Classic.get(), Beside[I]);
    Classic.reset();

    fw::FormatSettings.LongMonthNames[2] = "Marchmarchmarchmarchmarchmarch";
    fw::FormatSettings.ShortDayNames[0] = "WWWWWW";
    auto Wide = ShowPopup();
    for (int I = 0; I < 3; ++I)
        EXPECT_TRUE(Area(Wide.get(), Beside[I]) == Before[I]) << "area " << I << " was drawn over";
}

} // namespace
} // namespace qztest
