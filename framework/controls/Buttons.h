#pragma once
// TButton: a push button (Default and Cancel buttons answer Enter and Escape
// in their form; a ModalResult ends the form's modal loop). TBitBtn: a push
// button with a glyph.
//
// The glyph holds NumGlyphs frames side by side: up, disabled, clicked and
// down. Its lower-left pixel is the transparent colour. A disabled button
// with one frame shows an embossed grey copy made from the glyph; with two
// or more it shows the second frame. A pressed button shows the third frame
// when there is one, and its picture moves one pixel down and right.

#include <framework/controls/WinControl.h>
#include <framework/graphics/Bitmap.h>

namespace fw {

class TButton : public TWinControl {
    FW_CLASS(TButton, TWinControl)

public:
    explicit TButton(TComponent* AOwner);
    ~TButton() override;

    const String& Caption() const { return Text(); }
    void SetCaption(const String& Value) { SetText(Value); }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // Whether the button is drawn pressed (the mouse is down on it).
    bool Pressed() const { return FPressed; }

    // Presses the button: OnClick, then the form's ModalResult.
    void Click() override;

    void DefaultHandler(TMessage& Message) override;
    bool FocusOnClick() const override { return true; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void EraseBackground(HDC DC) override;
    std::unique_ptr<TAccessible> CreateAccessible() override;
    void CMDialogKey(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    // Draws the button face: frame, then DrawContent.
    void PaintButton(HDC DC);
    // The picture and caption inside the frame, shifted when pressed.
    virtual void DrawContent(TCanvas* Canvas, const TRect& Client, bool Pressed);

private:
    void SetPressed(bool Value);

    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
    bool FPressed = false;
    bool FMouseInside = false;
    bool FSpaceDown = false;
};

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
    FW_CLASS(TBitBtn, TButton)

public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;

    // The button's own glyph; assigning copies the bitmap given.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    // 1 to 4; other values are clamped.
    void SetNumGlyphs(int Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

protected:
    void DrawContent(TCanvas* Canvas, const TRect& Client, bool Pressed) override;

private:
    void GlyphChanged();

    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
};

} // namespace fw
