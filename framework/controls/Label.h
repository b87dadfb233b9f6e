#pragma once
// TCustomLabel / TLabel: a windowless control that shows a text.
//
// The text painted is GetLabelText (the Caption unless a descendant says
// otherwise), drawn with DrawText in the label's font: aligned by Alignment,
// wrapped at word boundaries with WordWrap, '&' underlining the next
// character with ShowAccelChar. An opaque label fills its bounds with Color
// first; a Transparent one lets its parent show. A disabled label draws its
// text embossed. With AutoSize the label takes the size of its text.

#include <framework/controls/GraphicControl.h>

namespace fw {

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
    FW_CLASS(TCustomLabel, TGraphicControl)

public:
    explicit TCustomLabel(TComponent* AOwner);
    ~TCustomLabel() override;

    const String& Caption() const { return Text(); }
    void SetCaption(const String& Value) { SetText(Value); }
    bool AutoSize() const { return FAutoSize; }
    // Overridable: a descendant may refuse AutoSize in some places.
    virtual void SetAutoSize(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    // The windowed control the label names: its accelerator focuses it, and
    // its caption is that control's accessible name.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    // The text the label paints.
    virtual String GetLabelText() const;

protected:
    void Paint() override;
    // Fits the bounds to the text when AutoSize is on.
    virtual void AdjustBounds();
    void Loaded() override;
    void CMTextChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    std::unique_ptr<TAccessible> CreateAccessible() override;

private:
    unsigned DrawFlags() const;

    TWinControl* FFocusControl = nullptr;
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
};

class TLabel : public TCustomLabel {
    FW_CLASS(TLabel, TCustomLabel)

public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

} // namespace fw
