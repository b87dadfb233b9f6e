// TButton and TBitBtn: push buttons, their looks and their glyph frames.

#include <algorithm>
#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>
#include <framework/controls/Buttons.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Text.h>

namespace fw {

namespace {

const TEnumNames ButtonLayoutNames{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

void Line(TCanvas* c, int x1, int y1, int x2, int y2, TColor color) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

// Forms are above controls: a button tells its form the modal result with
// CM_BUTTONPRESSED (WParam the result), which the form turns into its ModalResult.
void SetFormModalResult(TControl* control, TModalResult result) {
    if (TWinControl* top = control->TopLevel())
        top->Perform(CM_BUTTONPRESSED, static_cast<WPARAM>(result), 0);
}

} // namespace

template <typename T>
void PublishButtonProps(TClassBuilder<T>& cls) {
    cls.Bool("Cancel", &T::Cancel, &T::SetCancel, false);
    cls.Str("Caption", &T::Caption, &T::SetCaption, "");
    cls.Bool("Default", &T::Default, &T::SetDefault, false);
    cls.Bool("Enabled", &T::Enabled, &T::SetEnabled, true);
    cls.Object("Font", &T::Font).WholeIf(&TControl::IsFontOwn);
    cls.Int("ModalResult", &T::ModalResult, &T::SetModalResult, 0);
    cls.Bool("ParentFont", &T::ParentFont, &T::SetParentFont, true);
    cls.Bool("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint, true);
    cls.Component("PopupMenu", &T::PopupMenu, &T::SetPopupMenu);
    cls.Bool("ShowHint", &T::ShowHint, &T::SetShowHint, false)
        .NoDefault()
        .StoredIf(&fw::TControl::IsShowHintStored);
    cls.Int("TabOrder", &T::TabOrder, &T::SetTabOrder, -1);
    cls.Bool("TabStop", &T::TabStop, &T::SetTabStop, true);
    cls.Bool("Visible", &T::Visible, &T::SetVisible, true);
    cls.Event("OnClick", &T::OnClick);
    cls.Event("OnEnter", &T::OnEnter);
    cls.Event("OnExit", &T::OnExit);
    cls.Event("OnKeyDown", &T::OnKeyDown);
    cls.Event("OnKeyPress", &T::OnKeyPress);
    cls.Event("OnKeyUp", &T::OnKeyUp);
    cls.Event("OnMouseDown", &T::OnMouseDown);
    cls.Event("OnMouseMove", &T::OnMouseMove);
    cls.Event("OnMouseUp", &T::OnMouseUp);
}

FW_PUBLISH(TButton) {
    PublishButtonProps(cls);
}

FW_PUBLISH(TBitBtn) {
    cls.Object("Glyph", &TBitBtn::Glyph);
    cls.Enum("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout, ButtonLayoutNames, blGlyphLeft);
    cls.Int("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin, -1);
    cls.Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, 1);
    cls.Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing, 4);
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    // Clicks come from the button's own press and release, not from csClickEvents.
    SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

TButton::~TButton() {
    PrepareDestroy();
}

void TButton::SetDefault(bool Value) {
    if (Value == FDefault) return;
    FDefault = Value;
    Invalidate();
}

void TButton::Click() {
    TComponentRef<TButton> self(this);
    TControl::Click();
    // OnClick may have freed the button.
    if (self && FModalResult != mrNone) SetFormModalResult(this, FModalResult);
}

void TButton::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.Style |= WS_TABSTOP;
}

void TButton::SetPressed(bool Value) {
    if (Value == FPressed) return;
    FPressed = Value;
    Invalidate();
}

// Enter presses the focused button, or the default button when the focus is
// not on a button; Escape presses the cancel button.
void TButton::CMDialogKey(TMessage& Message) {
    const Word key = static_cast<Word>(Message.WParam);
    if (!KeyboardShiftState().Empty() || !CanFocus()) {
        Message.Result = 0;
        return;
    }
    bool press = false;
    if (key == VK_RETURN) {
        const TWinControl* focused = FocusedWindow();
        const bool focusOnButton = focused && dynamic_cast<const TButton*>(focused) != nullptr;
        press = focused == this || (FDefault && !focusOnButton);
    } else if (key == VK_ESCAPE) {
        press = FCancel;
    }
    if (press) {
        Click();
        Message.Result = 1;
    } else {
        Message.Result = 0;
    }
}

void TButton::CMEnter(TMessage& Message) {
    Invalidate();
    TWinControl::CMEnter(Message);
}

void TButton::CMExit(TMessage& Message) {
    Invalidate();
    TWinControl::CMExit(Message);
}

void TButton::CMTextChanged(TMessage& Message) {
    TWinControl::CMTextChanged(Message);
    Invalidate();
}

void TButton::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FMouseInside = true;
        SetPressed(true);
        break;
    case WM_MOUSEMOVE:
        if (Message.WParam & MK_LBUTTON && CaptureControl() == this) {
            const int x = LoWordSigned(Message.LParam);
            const int y = HiWordSigned(Message.LParam);
            FMouseInside = x >= 0 && y >= 0 && x < Width() && y < Height();
            SetPressed(FMouseInside);
        }
        break;
    case WM_LBUTTONUP: {
        const bool wasPressed = FPressed;
        SetPressed(false);
        const int x = LoWordSigned(Message.LParam);
        const int y = HiWordSigned(Message.LParam);
        if (wasPressed && x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
        break;
    }
    case WM_KEYDOWN:
        if (Message.WParam == VK_SPACE) {
            FSpaceDown = true;
            SetPressed(true);
        }
        break;
    case WM_KEYUP:
        if (Message.WParam == VK_SPACE && FSpaceDown) {
            FSpaceDown = false;
            SetPressed(false);
            Click();
        }
        break;
    case WM_PAINT:
        PaintButton(reinterpret_cast<HDC>(Message.WParam));
        break;
    default:
        TWinControl::DefaultHandler(Message);
        break;
    }
}

void TButton::EraseBackground(HDC) {}

void TButton::PaintButton(HDC DC) {
    if (!DC) return;
    TCanvas canvas;
    canvas.SetHandle(DC);
    const int w = Width();
    const int h = Height();
    TRect r{0, 0, w, h};
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(r);
    const bool focused = Focused();
    const bool framed = focused || FDefault || FPressed;
    if (framed) {
        canvas.Brush()->SetColor(cl3DDkShadow);
        canvas.FrameRect(r);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    if (FPressed) {
        canvas.Brush()->SetColor(clBtnShadow);
        canvas.FrameRect(r);
    } else {
        Line(&canvas, r.Left, r.Bottom - 1, r.Left, r.Top, clBtnHighlight);
        Line(&canvas, r.Left, r.Top, r.Right - 1, r.Top, clBtnHighlight);
        Line(&canvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, cl3DDkShadow);
        Line(&canvas, r.Right - 1, r.Bottom - 1, r.Left - 1, r.Bottom - 1, cl3DDkShadow);
        Line(&canvas, r.Left + 1, r.Bottom - 2, r.Left + 1, r.Top + 1, cl3DLight);
        Line(&canvas, r.Left + 1, r.Top + 1, r.Right - 2, r.Top + 1, cl3DLight);
        Line(&canvas, r.Right - 2, r.Top + 1, r.Right - 2, r.Bottom - 2, clBtnShadow);
        Line(&canvas, r.Right - 2, r.Bottom - 2, r.Left, r.Bottom - 2, clBtnShadow);
    }
    canvas.Brush()->SetColor(clBtnFace);
    DrawContent(&canvas, r, FPressed);
    if (focused) {
        // A dotted focus rectangle inside the frame.
        const TRect f{r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3};
        for (int x = f.Left; x < f.Right; x += 2) {
            canvas.SetPixel(x, f.Top, ColorToRGB(clBtnText));
            canvas.SetPixel(x, f.Bottom - 1, ColorToRGB(clBtnText));
        }
        for (int y = f.Top; y < f.Bottom; y += 2) {
            canvas.SetPixel(f.Left, y, ColorToRGB(clBtnText));
            canvas.SetPixel(f.Right - 1, y, ColorToRGB(clBtnText));
        }
    }
    canvas.SetHandle(nullptr);
}

void TButton::DrawContent(TCanvas* Canvas, const TRect& Client, bool Pressed) {
    TRect r = Client;
    if (Pressed) r = {r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    Canvas->SetFont(Font());
    Canvas->Brush()->SetStyle(bsClear);
    String caption = Caption();
    const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (!Enabled()) {
        TRect shifted{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
        Canvas->Font()->SetColor(clBtnHighlight);
        DrawTextA(Canvas->Handle(), caption.c_str(), -1, &shifted, flags);
        Canvas->Font()->SetColor(clBtnShadow);
    }
    DrawTextA(Canvas->Handle(), caption.c_str(), -1, &r, flags);
    Canvas->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------- TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = [this](TObject*) { GlyphChanged(); };
}

TBitBtn::~TBitBtn() {
    PrepareDestroy();
}

void TBitBtn::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
    GlyphChanged();
}

void TBitBtn::GlyphChanged() {
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int Value) {
    Value = std::clamp(Value, 1, 4);
    if (Value == FNumGlyphs) return;
    FNumGlyphs = Value;
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TBitBtn::SetMargin(int Value) {
    if (Value == FMargin) return;
    FMargin = Value;
    Invalidate();
}

void TBitBtn::SetSpacing(int Value) {
    if (Value == FSpacing) return;
    FSpacing = Value;
    Invalidate();
}

void TBitBtn::DrawContent(TCanvas* Canvas, const TRect& Client, bool Pressed) {
    const bool hasGlyph = !FGlyph->Empty();
    const int frameW = hasGlyph ? FGlyph->Width() / FNumGlyphs : 0;
    const int frameH = hasGlyph ? FGlyph->Height() : 0;
    String caption = Caption();
    Canvas->SetFont(Font());
    TRect textSize{0, 0, 0, 0};
    if (!caption.empty())
        DrawTextA(Canvas->Handle(), caption.c_str(), -1, &textSize, DT_SINGLELINE | DT_CALCRECT);
    const int tw = textSize.Width();
    const int th = textSize.Height();
    const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int spacing = hasGlyph && !caption.empty() ? FSpacing : 0;
    const int totalW = horizontal ? frameW + spacing + tw : std::max(frameW, tw);
    const int totalH = horizontal ? std::max(frameH, th) : frameH + spacing + th;
    int x = Client.Left + (Client.Width() - totalW + 1) / 2;
    int y = Client.Top + (Client.Height() - totalH + 1) / 2;
    if (FMargin >= 0) {
        if (FLayout == blGlyphLeft)
            x = Client.Left + FMargin;
        else if (FLayout == blGlyphRight)
            x = Client.Right - FMargin - totalW;
        else if (FLayout == blGlyphTop)
            y = Client.Top + FMargin;
        else
            y = Client.Bottom - FMargin - totalH;
    }
    if (Pressed) {
        ++x;
        ++y;
    }
    TPoint glyphAt;
    TPoint textAt;
    switch (FLayout) {
    case blGlyphLeft:
        glyphAt = {x, y + (totalH - frameH) / 2};
        textAt = {x + frameW + spacing, y + (totalH - th) / 2};
        break;
    case blGlyphRight:
        textAt = {x, y + (totalH - th) / 2};
        glyphAt = {x + tw + spacing, y + (totalH - frameH) / 2};
        break;
    case blGlyphTop:
        glyphAt = {x + (totalW - frameW) / 2, y};
        textAt = {x + (totalW - tw) / 2, y + frameH + spacing};
        break;
    case blGlyphBottom:
        textAt = {x + (totalW - tw) / 2, y};
        glyphAt = {x + (totalW - frameW) / 2, y + th + spacing};
        break;
    }
    if (hasGlyph) {
        int frame = 0;
        bool emboss = false;
        if (!Enabled()) {
            if (FNumGlyphs >= 2)
                frame = 1;
            else
                emboss = true;
        } else if (Pressed && FNumGlyphs >= 3) {
            frame = 2;
        }
        const TColor transparent = FGlyph->TransparentColor();
        if (emboss) {
            // The shape is every pixel that is neither transparent nor
            // white: a highlight copy one pixel down and right, then a
            // shadow copy in place.
            const TSurface* s = FGlyph->Surface();
            const TPixel clear = ColorToRGB(transparent);
            const TPixel white = ColorToRGB(clWhite);
            for (int pass = 0; pass < 2; ++pass) {
                const TColor color = ColorToRGB(pass == 0 ? clBtnHighlight : clBtnShadow);
                const int d = pass == 0 ? 1 : 0;
                for (int row = 0; row < frameH; ++row)
                    for (int col = 0; col < frameW; ++col) {
                        const TPixel p = s->Pixel(col, row);
                        if (p != clear && p != white)
                            Canvas->SetPixel(glyphAt.X + col + d, glyphAt.Y + row + d, color);
                    }
            }
        } else {
            const TRect dest{glyphAt.X, glyphAt.Y, glyphAt.X + frameW, glyphAt.Y + frameH};
            const TRect src{frame * frameW, 0, frame * frameW + frameW, frameH};
            Canvas->Brush()->SetColor(clBtnFace);
            Canvas->BrushCopy(dest, FGlyph.get(), src, transparent);
        }
    }
    if (!caption.empty()) {
        Canvas->Brush()->SetStyle(bsClear);
        TRect r{textAt.X, textAt.Y, textAt.X + tw, textAt.Y + th};
        if (!Enabled()) {
            TRect shifted{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
            Canvas->Font()->SetColor(clBtnHighlight);
            DrawTextA(Canvas->Handle(), caption.c_str(), -1, &shifted, DT_SINGLELINE);
            Canvas->Font()->SetColor(clBtnShadow);
        }
        DrawTextA(Canvas->Handle(), caption.c_str(), -1, &r, DT_SINGLELINE);
        Canvas->Brush()->SetStyle(bsSolid);
    }
}

} // namespace fw
