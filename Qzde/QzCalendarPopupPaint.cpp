// The calendar popup's painting: the whole window (FormPaint), the two cells of a
// selection change (DrawSelector) and one navigation button (DrawButton).

#include <QzComponents5/QzModule.h>
#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <framework/classes/ComponentRef.h>
#include <framework/platform/Text.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/FormatSettings.h>
#include <framework/rtl/SysUtils.h>
#include <framework/rtl/Utf8.h>
#include <optional>
#include <utility>

namespace qz {

namespace {

// A weekday heading is the first two characters of its short name and a blank.
constexpr int WeekdayNameCharacters = 2;

constexpr unsigned DayTextFlags = fw::DT_SINGLELINE | fw::DT_VCENTER | fw::DT_RIGHT;
constexpr unsigned HeadingFlags = fw::DT_SINGLELINE | fw::DT_CENTER;

// The part of a button image that is drawn: its top-left 16 x 16 pixels.
const fw::TRect GlyphSource{0, 0, 16, 16};

// The frame on today's cell.
constexpr fw::TColor TodayColor = fw::clMaroon;

// String table entries of the foot buttons' captions.
constexpr int TodayCaptionResource = 306;
constexpr int ClearCaptionResource = 307;

void DrawTextIn(fw::TCanvas* Canvas, const fw::String& Text, fw::TRect Rect, unsigned Flags) {
    fw::DrawTextA(Canvas->Handle(), Text.c_str(), -1, &Rect, Flags);
}

int TextWidth(fw::TCanvas* Canvas, const fw::String& Text) {
    fw::SIZE Size;
    fw::GetTextExtentPoint32A(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &Size);
    return Size.cx;
}

// Text cut by whole characters to what fits in Width pixels, so that a long
// name never runs over its neighbour.
fw::String FitText(fw::TCanvas* Canvas, fw::String Text, int Width) {
    while (!Text.empty() && TextWidth(Canvas, Text) > Width)
        Text.erase(fw::PrevCharStart(Text, Text.size()));
    return Text;
}

// A foot button's caption as last drawn, kept for the next paint and the next
// popup: used only while the string table still holds the text it came from
// and the room and the font are the same (compared on every use, which costs
// less than measuring the text again).
struct TFittedCaption {
    fw::String Source;
    int Width = -1;
    fw::TLogFont Font;
    fw::String Fitted;
};

const fw::String& FootCaption(fw::TCanvas* Canvas, int Resource, int Width) {
    static std::array<TFittedCaption, 2> Cache;
    TFittedCaption& Entry = Cache[Resource == TodayCaptionResource ? 0 : 1];
    static const fw::String Missing;
    const fw::String* Source = HInstance()->FindString(Resource);
    const fw::String& Text = Source ? *Source : Missing;
    const fw::TLogFont Font = Canvas->Font()->LogFont();
    if (Entry.Width != Width || Entry.Source != Text || Entry.Font != Font) {
        Entry.Source = Text;
        Entry.Width = Width;
        Entry.Font = Font;
        Entry.Fitted = FitText(Canvas, Text, Width);
    }
    return Entry.Fitted;
}

// The etched image of a navigation button, kept for the next popup while the
// up image and the three colours are the ones it was made from. Popups share
// it: they only copy from it.
struct TEtchedGlyph {
    fw::TSurface Up;
    fw::TPixel Face = 0, Shadow = 0, Highlight = 0;
    std::unique_ptr<fw::TBitmap> Etched;
};

fw::TBitmap* EtchedGlyph(int Button, const fw::TSurface& Up) {
    static std::array<std::optional<TEtchedGlyph>, 4> Cache;
    const fw::TPixel Face = fw::ColorToRGB(fw::clBtnFace);
    const fw::TPixel Shadow = fw::ColorToRGB(fw::clBtnShadow);
    const fw::TPixel Highlight = fw::ColorToRGB(fw::clBtnHighlight);
    auto& Entry = Cache[static_cast<std::size_t>(Button)];
    if (Entry && Entry->Face == Face && Entry->Shadow == Shadow && Entry->Highlight == Highlight &&
        Entry->Up == Up)
        return Entry->Etched.get();
    // The arrow etched: its ink in the shadow colour over a highlight one pixel
    // down and right, on the face (the classic highlight is white, which a
    // transparent copy would turn into the face).
    const int Width = Up.Width(), Height = Up.Height();
    fw::TSurface Target(Width, Height, Face);
    const fw::TPixel White = fw::clWhite;
    for (int Y = 0; Y + 1 < Height; ++Y) {
        const fw::TPixel* In = Up.Row(Y);
        fw::TPixel* Out = Target.Row(Y + 1);
        for (int X = 0; X + 1 < Width; ++X)
            if (In[X] != White) Out[X + 1] = Highlight;
    }
    for (int Y = 0; Y < Height; ++Y) {
        const fw::TPixel* In = Up.Row(Y);
        fw::TPixel* Out = Target.Row(Y);
        for (int X = 0; X < Width; ++X)
            if (In[X] != White) Out[X] = Shadow;
    }
    auto Etched = std::make_unique<fw::TBitmap>();
    Etched->SetSize(Width, Height);
    *Etched->Surface() = std::move(Target);
    Entry = TEtchedGlyph{Up, Face, Shadow, Highlight, std::move(Etched)};
    return Entry->Etched.get();
}

// The heading of weekday Day (0 Sunday): two characters of the short name and a blank.
fw::String WeekdayHeading(int Day) {
    const fw::String& Name = fw::FormatSettings.ShortDayNames[static_cast<std::size_t>(Day)];
    std::size_t End = 0;
    for (int I = 0; I < WeekdayNameCharacters && End < Name.size(); ++I)
        End = fw::NextCharStart(Name, End);
    return Name.substr(0, End) + " ";
}

} // namespace

fw::TColor TfrmQzCal::CellColor(int Index) const {
    // Days outside the permitted range are greyed like the neighbouring months'.
    if (CellSide(Index) != 0 || !CellAllowed(Index)) return fw::clGrayText;
    // A marked day's own colour (the opener's OnDayStyle).
    if (CellStyle(Index).Color != fw::clNone) return CellStyle(Index).Color;
    // The Sunday and Saturday columns, as i mod 7.
    const int W = StartDay();
    int WeekendA = 8 - W;
    if (WeekendA > 6) WeekendA -= ColumnCount;
    int WeekendB = 7 - W;
    if (WeekendB > 6) WeekendB -= ColumnCount;
    const int Column = Index % ColumnCount;
    if (Column == WeekendA || Column == WeekendB) return FWeekendColor;
    return fw::clBtnText;
}

void TfrmQzCal::DrawDayText(int Index) {
    // The trailing blank keeps the digits off the cell's right edge.
    DrawTextIn(Canvas(), fw::IntToStr(DayNumbers(Index)) + " ", FindArrayRect(Index), DayTextFlags);
}

void TfrmQzCal::EraseBackground(fw::HDC) {}

void TfrmQzCal::FormPaint(fw::TObject*) {
    ++FFormPaintCount;
    fw::TCanvas* C = Canvas();
    const int W = ClientWidth();
    const int H = ClientHeight();

    // Background, border and a raised bevel inside it.
    C->Pen()->SetStyle(fw::psSolid);
    C->Pen()->SetColor(fw::clWindowFrame);
    C->Pen()->SetWidth(1);
    C->Brush()->SetColor(fw::clBtnFace);
    C->Rectangle(0, 0, W, H);
    C->Pen()->SetColor(fw::clBtnHighlight);
    C->MoveTo(1, H - 2);
    C->LineTo(1, 1);
    C->LineTo(W - 2, 1);
    C->Pen()->SetColor(fw::clBtnShadow);
    C->LineTo(W - 2, H - 2);
    C->LineTo(1, H - 2);

    for (TCalButtons Button : {cbYearPrev, cbMonthPrev, cbMonthNext, cbYearNext})
        DrawButton(Button, false);

    if (FView != cvDays) {
        DrawZoomView();
        if (FootHeight() > 0) DrawFootButtons();
        return;
    }

    // The title: the displayed month.
    C->Font()->SetStyle({fw::fsBold});
    C->Font()->SetColor(fw::clBtnText);
    C->Brush()->SetColor(fw::clBtnFace);
    C->Brush()->SetStyle(fw::bsSolid);
    C->FillRect(FTitleRect);
    fw::Word Year = 0, Month = 0;
    DisplayedMonth(Year, Month);
    const fw::String Title = fw::FormatDateTime("mmmm yyyy", fw::EncodeDate(Year, Month, 1));
    DrawTextIn(C, FitText(C, Title, FTitleRect.Right - FTitleRect.Left), FTitleRect, HeadingFlags);

    // The weekday names, from the week-start day on, still bold.
    fw::TRect NameRect = FDayNameRect;
    for (int Column = 1; Column <= ColumnCount; ++Column) {
        const fw::String Name = WeekdayHeading((StartDay() + Column - 1) % ColumnCount);
        DrawTextIn(C, FitText(C, Name, NameRect.Right - NameRect.Left), NameRect, HeadingFlags);
        NameRect.Left = NameRect.Right;
        NameRect.Right += FCellWidth;
    }

    // An etched line under the names.
    C->Pen()->SetColor(fw::clBtnShadow);
    C->MoveTo(4, 2 * FCellHeight);
    C->LineTo(W - 4, 2 * FCellHeight);
    C->Pen()->SetColor(fw::clBtnHighlight);
    C->MoveTo(4, 2 * FCellHeight + 1);
    C->LineTo(W - 4, 2 * FCellHeight + 1);

    // Plain days first, then the days marked bold: each text stays inside its
    // cell, so the order changes no pixel and the font changes style once.
    for (const bool Bold : {false, true}) {
        C->Font()->SetStyle(Bold ? fw::TFontStyles{fw::fsBold} : fw::TFontStyles{});
        for (int Index = 1; Index <= CellCount; ++Index) {
            if (CellSide(Index) != 0 && !FFillPage) continue;
            if (CellStyle(Index).Bold != Bold) continue;
            C->Font()->SetColor(CellColor(Index));
            DrawDayText(Index);
        }
        if (!FOnDayStyle) break;
    }
    if (FWeekColumnWidth > 0) DrawWeekNumbers();
    if (FootHeight() > 0) DrawFootButtons();
    if (const int Today = TodayIndex()) DrawTodayMark(Today);

    // The buttons were just drawn for this selection.
    FButtonsDrawn = true;
    DrawSelector();
}

void TfrmQzCal::DrawFootButtons() {
    // Raised buttons in the popup's own bevel colours, captions from the string table.
    fw::TCanvas* C = Canvas();
    const struct {
        const fw::TRect& Rect;
        int Caption;
    } Buttons[] = {{FTodayButtonRect, TodayCaptionResource}, {FClearButtonRect, ClearCaptionResource}};
    for (const auto& B : Buttons) {
        const fw::TRect& R = B.Rect;
        if (R.Right <= R.Left) continue;
        C->Brush()->SetColor(fw::clBtnFace);
        C->Brush()->SetStyle(fw::bsSolid);
        C->FillRect(R);
        DrawBevel(R, fw::clBtnHighlight, fw::clBtnShadow);
        C->Font()->SetStyle({});
        C->Font()->SetColor(fw::clBtnText);
        const fw::TRect Inside{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
        DrawTextIn(C, FootCaption(C, B.Caption, Inside.Right - Inside.Left), Inside, HeadingFlags);
    }
}

void TfrmQzCal::DrawSelector() {
    const bool ButtonsDrawn = std::exchange(FButtonsDrawn, false);
    fw::TCanvas* C = Canvas();
    if (FPrevSelIndex > 0 && (CellSide(FPrevSelIndex) == 0 || FFillPage)) {
        // Back to a plain cell: filling it removes the old frame.
        C->Font()->SetColor(CellColor(FPrevSelIndex));
        C->Font()->SetStyle(CellStyle(FPrevSelIndex).Bold ? fw::TFontStyles{fw::fsBold} : fw::TFontStyles{});
        C->Brush()->SetColor(fw::clBtnFace);
        C->FillRect(FindArrayRect(FPrevSelIndex));
        DrawDayText(FPrevSelIndex);
        if (FPrevSelIndex == TodayIndex()) DrawTodayMark(FPrevSelIndex);
    }

    // The selected cell: bold (grey in a neighbouring month, even without fill page).
    C->Font()->SetColor(CellColor(FSelIndex));
    C->Font()->SetStyle({fw::fsBold});
    DrawDayText(FSelIndex);

    // A sunken frame on the cell's rectangle.
    DrawBevel(FindArrayRect(FSelIndex), fw::clBtnShadow, fw::clBtnHighlight);

    // With a range, a selection in a neighbouring month can enable or disable
    // a button: they follow the selection.
    if (FRange.Limited() && !ButtonsDrawn) {
        C->Brush()->SetColor(fw::clBtnFace);
        for (TCalButtons Button : {cbYearPrev, cbMonthPrev, cbMonthNext, cbYearNext})
            DrawButton(Button, false);
    }

    // The edit shows the selected date in its own layout, written as the edit
    // writes it (always "/"), while the popup is open; once its opening text
    // was put back, it keeps that.
    if (TQzDateEdit* Edit = DateEditOwner(); Edit && !FTextRestored) {
        // The edit's OnChange may free the edit, and the popup with it.
        fw::TComponentRef<TfrmQzCal> Self(this);
        Edit->SetText(FormatDateByPattern(FDate, FOwnerDateFormat));
        if (!Self) return;
    }
    AnnounceSelection();
}

void TfrmQzCal::DrawBevel(const fw::TRect& R, fw::TColor TopLeft, fw::TColor BottomRight) {
    fw::TCanvas* C = Canvas();
    C->Pen()->SetColor(TopLeft);
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Left, R.Top);
    C->LineTo(R.Right - 1, R.Top);
    C->Pen()->SetColor(BottomRight);
    C->LineTo(R.Right - 1, R.Bottom - 1);
    C->LineTo(R.Left, R.Bottom - 1);
}

void TfrmQzCal::DrawWeekNumbers() {
    // Each row's number is that of its Thursday's week, which holds at least
    // four of the row's seven days whatever the week start.
    fw::TCanvas* C = Canvas();
    C->Font()->SetStyle({});
    C->Font()->SetColor(fw::clGrayText);
    C->Brush()->SetColor(fw::clBtnFace);
    const int ThursdayColumn = (4 - StartDay() + ColumnCount) % ColumnCount;
    for (int Row = 0; Row < RowCount; ++Row) {
        const int First = Row * ColumnCount + 1;
        // Without fill page a row of the next month alone shows nothing.
        if (!FFillPage && First > FLastIndex) continue;
        fw::TRect R = FindArrayRect(First);
        R.Right = R.Left - 1;
        R.Left = 4;
        const int Week = IsoWeekNumber(CellDate(First + ThursdayColumn));
        if (Week > 0) DrawTextIn(C, fw::IntToStr(Week) + " ", R, DayTextFlags);
    }
}

void TfrmQzCal::DrawTodayMark(int Index) {
    // A frame one pixel inside the cell, clear of the selection's sunken frame.
    const fw::TRect R = FindArrayRect(Index);
    fw::TCanvas* C = Canvas();
    C->Brush()->SetColor(TodayColor);
    C->FrameRect({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1});
    C->Brush()->SetColor(fw::clBtnFace);
}

fw::TBitmap* TfrmQzCal::DisabledGlyph(TCalButtons Button) {
    const fw::TBitmap* Up = FGlyphs[Button].get();
    if (!Up || Up->Empty() || !Up->Surface()) return nullptr;
    return EtchedGlyph(Button, *Up->Surface());
}

void TfrmQzCal::DrawButton(TCalButtons Button, bool Pressed) {
    if (Button > cbYearNext) return;
    if (!Pressed && !ButtonEnabled(Button)) {
        // The etched image holds the face itself: copied without transparency.
        fw::TBitmap* Image = DisabledGlyph(Button);
        if (Image && !Image->Empty())
            Canvas()->BrushCopy(FButtonRect[Button], Image, GlyphSource, fw::clNone);
        return;
    }
    fw::TBitmap* Image = FGlyphs[static_cast<std::size_t>(Button + (Pressed ? 4 : 0))].get();
    if (!Image || Image->Empty()) return;
    // White shows the canvas's brush colour (the button face).
    Canvas()->BrushCopy(FButtonRect[Button], Image, GlyphSource, fw::clWhite);
}

} // namespace qz
