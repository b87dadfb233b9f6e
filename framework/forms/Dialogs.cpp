// Message boxes and message dialogs as modal forms.

#include <algorithm>
#include <cctype>
#include <framework/classes/Published.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Label.h>
#include <framework/forms/Application.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Text.h>
#include <framework/rtl/SysUtils.h>

namespace fw {

namespace {

constexpr int Margin = 12;
constexpr int IconSize = 32;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 8;
constexpr int MaxTextWidth = 320;

String StripAmpersands(const String& s) {
    String out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

// Icons drawn from primitives: a disc with a sign on it, or a triangle.
void FillDisc(TCanvas* c, int cx, int cy, int radius, TColor color) {
    const TColor rgb = ColorToRGB(color);
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x)
            if (x * x + y * y <= radius * radius) c->SetPixel(cx + x, cy + y, rgb);
}

void DrawIcon(TCanvas* c, TMessageIcon icon, int left, int top) {
    const int cx = left + IconSize / 2 - 1;
    const int cy = top + IconSize / 2 - 1;
    switch (icon) {
    case TMessageIcon::None:
        return;
    case TMessageIcon::Stop: {
        FillDisc(c, cx + 1, cy + 1, 14, clGray);
        FillDisc(c, cx, cy, 14, clRed);
        const TColor white = ColorToRGB(clWhite);
        for (int i = -6; i <= 6; ++i)
            for (int t = -1; t <= 1; ++t) {
                c->SetPixel(cx + i + t, cy + i, white);
                c->SetPixel(cx + i + t, cy - i, white);
            }
        return;
    }
    case TMessageIcon::Warning: {
        const TColor yellow = ColorToRGB(clYellow);
        const TColor black = ColorToRGB(clBlack);
        for (int y = 0; y < 28; ++y) {
            const int half = y / 2;
            for (int x = -half; x <= half; ++x)
                c->SetPixel(cx + x, top + 2 + y, (x == -half || x == half || y == 27) ? black : yellow);
        }
        for (int y = 10; y < 21; ++y)
            for (int x = -1; x <= 1; ++x)
                c->SetPixel(cx + x, top + 2 + y, black);
        for (int y = 23; y < 26; ++y)
            for (int x = -1; x <= 1; ++x)
                c->SetPixel(cx + x, top + 2 + y, black);
        return;
    }
    case TMessageIcon::Information:
    case TMessageIcon::Question: {
        FillDisc(c, cx + 1, cy + 1, 14, clGray);
        FillDisc(c, cx, cy, 14, icon == TMessageIcon::Information ? clWhite : clBlue);
        TFont font;
        font.SetName("Times New Roman");
        font.SetHeight(-22);
        font.SetStyle({fsBold});
        font.SetColor(icon == TMessageIcon::Information ? clBlue : clWhite);
        c->SetFont(&font);
        c->Brush()->SetStyle(bsClear);
        TRect r{cx - 14, cy - 14, cx + 15, cy + 15};
        const char* sign = icon == TMessageIcon::Information ? "i" : "?";
        DrawTextA(c->Handle(), sign, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        c->Brush()->SetStyle(bsSolid);
        return;
    }
    }
}

TMessageForm::TButtonSpec Spec(TMsgDlgBtn b) {
    switch (b) {
    case mbYes:
        return {"&Yes", mrYes, false, false};
    case mbNo:
        return {"&No", mrNo, false, false};
    case mbOK:
        return {"OK", mrOk, false, false};
    case mbCancel:
        return {"Cancel", mrCancel, false, true};
    case mbAbort:
        return {"&Abort", mrAbort, false, false};
    case mbRetry:
        return {"&Retry", mrRetry, false, false};
    case mbIgnore:
        return {"&Ignore", mrIgnore, false, false};
    case mbAll:
        return {"&All", mrAll, false, false};
    case mbNoToAll:
        return {"N&o to All", mrNoToAll, false, false};
    case mbYesToAll:
        return {"Yes to &All", mrYesToAll, false, false};
    case mbHelp:
        return {"&Help", mrNone, false, false};
    }
    return {"OK", mrOk, false, false};
}

} // namespace

FW_PUBLISH(TMessageForm) {}

TMessageForm::TMessageForm(TComponent* AOwner) : TForm(AOwner) {
    Build({{"OK", mrOk, true, true}});
}

TMessageForm::TMessageForm(TComponent* AOwner, const String& Caption, const String& Text, TMessageIcon Icon,
                           const std::vector<TButtonSpec>& Buttons)
    : TForm(AOwner), FText(Text), FIcon(Icon) {
    SetCaption(Caption);
    Build(Buttons);
}

void TMessageForm::Build(const std::vector<TButtonSpec>& buttons) {
    SetName("MessageForm");
    SetBorderStyle(bsDialog);
    SetBorderIcons({biSystemMenu});
    SetPosition(poScreenCenter);
    SetKeyPreview(false);

    // Measure the text: wrapped at a fixed width.
    HDC dc = GetDC(0);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TRect textRect{0, 0, MaxTextWidth, 0};
    const String shown = FText.empty() ? String(1, ' ') : FText;
    DrawTextA(dc, shown.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(0, dc);

    const int textLeft = Margin + (FIcon != TMessageIcon::None ? IconSize + Margin : 0);
    const int textTop = Margin + (FIcon != TMessageIcon::None && textRect.Height() < IconSize
                                      ? (IconSize - textRect.Height()) / 2
                                      : 0);
    FMessage = new TLabel(this);
    FMessage->SetName("Message");
    FMessage->SetParent(this);
    FMessage->SetShowAccelChar(false);
    FMessage->SetWordWrap(true);
    FMessage->SetAutoSize(false);
    FMessage->SetBounds(textLeft, textTop, textRect.Width(), textRect.Height());
    FMessage->SetCaption(FText);

    const int contentHeight =
        std::max(textTop + textRect.Height(), FIcon != TMessageIcon::None ? Margin + IconSize : 0);
    const int count = static_cast<int>(buttons.size());
    const int rowWidth = count * ButtonWidth + std::max(0, count - 1) * ButtonGap;
    const int width = std::max(textLeft + textRect.Width() + Margin, rowWidth + 2 * Margin);
    const int buttonsTop = contentHeight + Margin + 4;
    int x = (width - rowWidth) / 2;
    for (int i = 0; i < count; ++i) {
        const TButtonSpec& spec = buttons[static_cast<std::size_t>(i)];
        auto* b = new TButton(this);
        b->SetName("Button" + std::to_string(i + 1));
        b->SetParent(this);
        b->SetCaption(spec.Caption);
        b->SetModalResult(spec.Result);
        b->SetDefault(spec.Default);
        b->SetCancel(spec.Cancel);
        b->SetBounds(x, buttonsTop, ButtonWidth, ButtonHeight);
        x += ButtonWidth + ButtonGap;
        FButtons.push_back(b);
        if (spec.Default) SetActiveControl(b);
    }
    SetClientWidth(width);
    SetClientHeight(buttonsTop + ButtonHeight + Margin);
}

TButton* TMessageForm::FindButton(const String& Caption) const {
    const String wanted = StripAmpersands(Caption);
    for (TButton* b : FButtons)
        if (SameText(StripAmpersands(b->Caption()), wanted)) return b;
    return nullptr;
}

void TMessageForm::Paint() {
    TForm::Paint();
    DrawIcon(Canvas(), FIcon, Margin, Margin);
}

// ---------------------------------------------------------------- the calls

std::vector<TMessageForm::TButtonSpec> MessageBoxButtons(UINT Flags) {
    std::vector<TMessageForm::TButtonSpec> b;
    switch (Flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
        b = {{"OK", IDOK, false, false}, {"Cancel", IDCANCEL, false, true}};
        break;
    case MB_ABORTRETRYIGNORE:
        b = {{"&Abort", IDABORT, false, false},
             {"&Retry", IDRETRY, false, false},
             {"&Ignore", IDIGNORE, false, false}};
        break;
    case MB_YESNOCANCEL:
        b = {{"&Yes", IDYES, false, false}, {"&No", IDNO, false, false}, {"Cancel", IDCANCEL, false, true}};
        break;
    case MB_YESNO:
        b = {{"&Yes", IDYES, false, false}, {"&No", IDNO, false, false}};
        break;
    case MB_RETRYCANCEL:
        b = {{"&Retry", IDRETRY, false, false}, {"Cancel", IDCANCEL, false, true}};
        break;
    default:
        // A lone OK button also answers Escape.
        b = {{"OK", IDOK, false, true}};
        break;
    }
    std::size_t def = 0;
    if ((Flags & MB_DEFMASK) == MB_DEFBUTTON2)
        def = 1;
    else if ((Flags & MB_DEFMASK) == MB_DEFBUTTON3)
        def = 2;
    b[std::min(def, b.size() - 1)].Default = true;
    return b;
}

TMessageIcon MessageBoxIcon(UINT Flags) {
    switch (Flags & MB_ICONMASK) {
    case MB_ICONHAND:
        return TMessageIcon::Stop;
    case MB_ICONQUESTION:
        return TMessageIcon::Question;
    case MB_ICONEXCLAMATION:
        return TMessageIcon::Warning;
    case MB_ICONASTERISK:
        return TMessageIcon::Information;
    default:
        return TMessageIcon::None;
    }
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
    TMessageForm form(nullptr, Caption, Text, MessageBoxIcon(Flags), MessageBoxButtons(Flags));
    if ((Flags & MB_TYPEMASK) == MB_YESNO || (Flags & MB_TYPEMASK) == MB_ABORTRETRYIGNORE)
        form.SetBorderIcons({}); // no way out but the buttons
    const TModalResult result = form.ShowModal();
    return result == mrNone ? IDCANCEL : result;
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    static const char* const Captions[] = {"Warning", "Error", "Information", "Confirm", ""};
    static const TMessageIcon Icons[] = {TMessageIcon::Warning, TMessageIcon::Stop, TMessageIcon::Information,
                                         TMessageIcon::Question, TMessageIcon::None};
    String caption = Captions[DlgType];
    if (DlgType == mtCustom) caption = Application->Title();
    std::vector<TMessageForm::TButtonSpec> specs;
    for (int b = mbYes; b <= mbHelp; ++b)
        if (Buttons.Contains(static_cast<TMsgDlgBtn>(b))) specs.push_back(Spec(static_cast<TMsgDlgBtn>(b)));
    if (specs.empty()) specs.push_back(Spec(mbOK));
    // The first of OK and Yes is the default; Cancel (or a lone button) answers Escape.
    bool haveDefault = false;
    for (auto& s : specs)
        if (!haveDefault && (s.Result == mrOk || s.Result == mrYes)) {
            s.Default = true;
            haveDefault = true;
        }
    if (!haveDefault) specs.front().Default = true;
    if (specs.size() == 1) specs.front().Cancel = true;
    TMessageForm form(nullptr, caption, Msg, Icons[DlgType], specs);
    (void)HelpCtx;
    return form.ShowModal();
}

} // namespace fw
