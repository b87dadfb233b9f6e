// TCustomLabel: text painted with DrawText.

#include <framework/classes/Published.h>
#include <framework/controls/AccessibleControls.h>
#include <framework/controls/Label.h>
#include <framework/controls/WinControl.h>
#include <framework/platform/Text.h>

namespace fw {

namespace {

const TEnumNames LayoutNames{"tlTop", "tlCenter", "tlBottom"};

} // namespace

FW_PUBLISH(TCustomLabel) {}

FW_PUBLISH(TLabel) {
    cls.Enum("Align", &TLabel::Align, &TLabel::SetAlign, AlignNames, alNone);
    cls.Enum("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, AlignmentNames, taLeftJustify);
    cls.Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true);
    cls.Str("Caption", &TLabel::Caption, &TLabel::SetCaption);
    cls.Color("Color", &TLabel::Color, &TLabel::SetColor, clBtnFace)
        .NoDefault()
        .StoredIf(&TControl::IsColorStored);
    cls.Int("DragCursor", &TLabel::DragCursor, &TLabel::SetDragCursor, crDrag).Idents(CursorIdentKind);
    cls.Enum("DragMode", &TLabel::DragMode, &TLabel::SetDragMode, DragModeNames, dmManual);
    cls.Bool("Enabled", &TLabel::Enabled, &TLabel::SetEnabled, true);
    cls.Component("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
    cls.Object("Font", &TLabel::Font).WholeIf(&TControl::IsFontOwn);
    cls.Enum("Layout", &TLabel::Layout, &TLabel::SetLayout, LayoutNames, tlTop);
    cls.Bool("ParentColor", &TLabel::ParentColor, &TLabel::SetParentColor, true);
    cls.Bool("ParentFont", &TLabel::ParentFont, &TLabel::SetParentFont, true);
    cls.Bool("ParentShowHint", &TLabel::ParentShowHint, &TLabel::SetParentShowHint, true);
    cls.Component("PopupMenu", &TLabel::PopupMenu, &TLabel::SetPopupMenu);
    cls.Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true);
    cls.Bool("ShowHint", &TLabel::ShowHint, &TLabel::SetShowHint, false)
        .NoDefault()
        .StoredIf(&fw::TControl::IsShowHintStored);
    cls.Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
    cls.Bool("Visible", &TLabel::Visible, &TLabel::SetVisible, true);
    cls.Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
    cls.Event("OnClick", &TLabel::OnClick);
    cls.Event("OnDblClick", &TLabel::OnDblClick);
    cls.Event("OnDragDrop", &TLabel::OnDragDrop);
    cls.Event("OnDragOver", &TLabel::OnDragOver);
    cls.Event("OnEndDrag", &TLabel::OnEndDrag);
    cls.Event("OnMouseDown", &TLabel::OnMouseDown);
    cls.Event("OnMouseMove", &TLabel::OnMouseMove);
    cls.Event("OnMouseUp", &TLabel::OnMouseUp);
    cls.Event("OnStartDrag", &TLabel::OnStartDrag);
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + csOpaque + csReplicatable);
    SetBounds(0, 0, 65, 17);
    SetColor(clBtnFace);
    SetParentColor(true);
}

TCustomLabel::~TCustomLabel() {
    PrepareDestroy();
}

String TCustomLabel::GetLabelText() const {
    return Caption();
}

String TLabelAccessible::Name() const {
    auto* label = static_cast<TCustomLabel*>(FControl);
    const String text = label->GetLabelText();
    return label->ShowAccelChar() ? StripAccelerator(text) : text;
}

std::unique_ptr<TAccessible> TCustomLabel::CreateAccessible() {
    return std::make_unique<TLabelAccessible>(this);
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    if (Value == FFocusControl) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
    if (Value) AccNotify(Value, TAccEventKind::NameChanged);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

unsigned TCustomLabel::DrawFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (FAlignment == taRightJustify)
        flags |= DT_RIGHT;
    else if (FAlignment == taCenter)
        flags |= DT_CENTER;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    return flags;
}

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    if (!FTransparent) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(r);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    String text = GetLabelText();
    if (text.empty()) return;
    unsigned flags = DrawFlags();
    if (FLayout != tlTop) {
        // Measure first, then move the text down by the free space.
        TRect calc = r;
        DrawTextA(canvas->Handle(), text.c_str(), -1, &calc, flags | DT_CALCRECT);
        const int free = r.Height() - calc.Height();
        r.Top += FLayout == tlBottom ? free : free / 2;
    }
    if (!Enabled()) {
        TRect shifted{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
        canvas->Font()->SetColor(clBtnHighlight);
        DrawTextA(canvas->Handle(), text.c_str(), -1, &shifted, flags);
        canvas->Font()->SetColor(clBtnShadow);
    }
    DrawTextA(canvas->Handle(), text.c_str(), -1, &r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || ComponentState().Contains(csLoading)) return;
    HDC dc = GetDC(0);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TRect r{0, 0, FWordWrap ? Width() : 0, 0};
    const String label = GetLabelText();
    const String text = label.empty() ? String(1, ' ') : label;
    DrawTextA(dc, text.c_str(), -1, &r, DrawFlags() | DT_CALCRECT);
    if (FWordWrap && r.Right > Width()) {
        // A word longer than the width widened the text; the lines are broken
        // again at the new width, so the height matches the width set (and a
        // form file that stores both reads back to the same size).
        r = TRect{0, 0, r.Right, 0};
        DrawTextA(dc, text.c_str(), -1, &r, DrawFlags() | DT_CALCRECT);
    }
    SelectObject(dc, old);
    ReleaseDC(0, dc);
    int left = Left();
    if (FAlignment == taRightJustify && !FWordWrap) left += Width() - r.Right;
    SetBounds(left, Top(), r.Right, r.Bottom);
}

void TCustomLabel::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    if (Value)
        SetControlStyle(ControlStyle() - csOpaque);
    else
        SetControlStyle(ControlStyle() + csOpaque);
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    if (Value == FShowAccelChar) return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::CMTextChanged(TMessage& Message) {
    TGraphicControl::CMTextChanged(Message);
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
    TGraphicControl::CMFontChanged(Message);
    AdjustBounds();
}

} // namespace fw
