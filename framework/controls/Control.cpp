// TControl: bounds, parent, looks, mouse messages and events.

#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>
#include <framework/controls/Control.h>
#include <framework/controls/MessageQueue.h>
#include <framework/controls/WinControl.h>
#include <framework/platform/Gdi.h>

namespace fw {

FW_PUBLISH(TControl) {
    cls.Int("Left", &TControl::Left, &TControl::SetLeft).NoDefault();
    cls.Int("Top", &TControl::Top, &TControl::SetTop).NoDefault();
    cls.Int("Width", &TControl::Width, &TControl::SetWidth).NoDefault();
    cls.Int("Height", &TControl::Height, &TControl::SetHeight).NoDefault();
    cls.Int("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault).Idents(CursorIdentKind);
    cls.Str("Hint", &TControl::Hint, &TControl::SetHint, "");
}

FW_PUBLISH(TWinControl) {}

namespace {

TShiftState CurrentShift;
TControl* Capture = nullptr;

} // namespace

TControl* CaptureControl() {
    return Capture;
}
void SetCaptureControl(TControl* Control) {
    Capture = Control;
}

TShiftState KeyboardShiftState() {
    return CurrentShift;
}
void SetKeyboardShiftState(TShiftState state) {
    CurrentShift = state;
}

TShiftState MouseShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s << ssShift;
    if (keys & MK_CONTROL) s << ssCtrl;
    if (keys & MK_LBUTTON) s << ssLeft;
    if (keys & MK_RBUTTON) s << ssRight;
    if (keys & MK_MBUTTON) s << ssMiddle;
    if (CurrentShift.Contains(ssAlt)) s << ssAlt;
    return s;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
    RegisterControlIdents();
    FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
    PrepareDestroy();
    FAccessible.reset();
    DetachFromParent();
    MessageQueue().Forget(this);
    if (Capture == this) Capture = nullptr;
}

void TControl::DetachFromParent() {
    if (FParent) FParent->RemoveControl(this);
}

// ---------------------------------------------------------------- bounds

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    const bool moved = ALeft != FLeft || ATop != FTop;
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    if (!moved && !resized) return;
    InvalidateInParent();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    InvalidateInParent();
    BoundsChanged(moved, resized);
}

void TControl::BoundsChanged(bool, bool) {}

int TControl::ClientWidth() const {
    const TRect b = BorderInsets();
    return std::max(0, FWidth - b.Left - b.Right);
}

int TControl::ClientHeight() const {
    const TRect b = BorderInsets();
    return std::max(0, FHeight - b.Top - b.Bottom);
}

void TControl::SetClientWidth(int Value) {
    const TRect b = BorderInsets();
    SetWidth(Value + b.Left + b.Right);
}

void TControl::SetClientHeight(int Value) {
    const TRect b = BorderInsets();
    SetHeight(Value + b.Top + b.Bottom);
}

TPoint TControl::ClientOrigin() const {
    const TRect b = BorderInsets();
    if (!FParent) return {ClampedSum(FLeft, b.Left), ClampedSum(FTop, b.Top)};
    const TPoint p = FParent->ClientOrigin();
    return {ClampedSum(p.X, std::int64_t{FLeft} + b.Left), ClampedSum(p.Y, std::int64_t{FTop} + b.Top)};
}

// Coordinates may come from settings that hold any integer: the sums saturate
// at the int limits instead of overflowing.
TPoint TControl::ClientToScreen(const TPoint& Point) const {
    const TPoint o = ClientOrigin();
    return {ClampedSum(Point.X, o.X), ClampedSum(Point.Y, o.Y)};
}

TPoint TControl::ScreenToClient(const TPoint& Point) const {
    const TPoint o = ClientOrigin();
    return {ClampedSum(Point.X, -std::int64_t{o.X}), ClampedSum(Point.Y, -std::int64_t{o.Y})};
}

// ---------------------------------------------------------------- parent

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) throw EComponentError("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

TWinControl* TControl::TopLevel() const {
    const TControl* c = this;
    while (c->FParent)
        c = c->FParent;
    return c->IsWindowed() ? static_cast<TWinControl*>(const_cast<TControl*>(c)) : nullptr;
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* p = dynamic_cast<TWinControl*>(Value)) SetParent(p);
}

bool TControl::Showing() const {
    if (!FVisible) return false;
    return FParent ? FParent->Showing() : false;
}

void TControl::SetVisible(bool Value) {
    if (Value == FVisible) return;
    if (!Value) InvalidateInParent();
    FVisible = Value;
    // Showing runs handlers (a form's activation), which may free the control.
    TComponentRef<TControl> self(this);
    // A window appears before its activation and focus are told, and goes after.
    if (Value && !FParent) AccNotify(this, TAccEventKind::WindowShown);
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    if (Value && self) InvalidateInParent();
    if (self && FParent && AccListening()) AccNotifyState(this, asShowing, Value && Showing());
    else if (self && !FParent && !Value) AccNotify(this, TAccEventKind::WindowHidden);
}

void TControl::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
    AccNotifyState(this, asEnabled, Value);
}

// ---------------------------------------------------------------- looks

void TControl::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
    if (Value == FParentColor) return;
    FParentColor = Value;
    if (FParent && Value && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(TFont* Value) {
    if (Value) FFont->Assign(Value);
}

void TControl::FontChanged(TObject*) {
    if (!FUpdatingParentFont) FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool Value) {
    if (Value == FParentFont) return;
    FParentFont = Value;
    if (FParent && Value && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetShowHint(bool Value) {
    // An assignment makes the value the control's own, even an unchanged one.
    FParentShowHint = false;
    if (Value == FShowHint) return;
    FShowHint = Value;
}

void TControl::SetParentShowHint(bool Value) {
    if (Value == FParentShowHint) return;
    FParentShowHint = Value;
    if (FParent && Value) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TComponent* Value) {
    if (Value == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TControl::SetName(const String& NewName) {
    const bool follow = FControlStyle.Contains(csSetCaption) && ComponentState().Contains(csDesigning) &&
                        !ComponentState().Contains(csLoading) && FText == Name();
    TComponent::SetName(NewName);
    if (follow) SetText(NewName);
}

void TControl::SetText(const String& Value) {
    if (Value == FText) return;
    FText = Value;
    TComponentRef<TControl> self(this);
    Perform(CM_TEXTCHANGED);
    if (self) AccTextSet(this);
}

TAccessible* TControl::Accessible() {
    if (!FAccessible) FAccessible = CreateAccessible();
    return FAccessible.get();
}

std::unique_ptr<TAccessible> TControl::CreateAccessible() {
    return std::make_unique<TControlAccessible>(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::Loaded() {
    inherited::Loaded();
    if (FParent) {
        if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
        if (FParentFont) Perform(CM_PARENTFONTCHANGED);
    }
}

// ---------------------------------------------------------------- painting

void TControl::Invalidate() {
    ++FInvalidateCount;
    InvalidateInParent();
}

void TControl::InvalidateInParent() {
    if (!FParent || !FVisible) return;
    const TRect r = BoundsRect();
    FParent->InvalidateRect(&r);
}

TDeviceContext* TControl::GetDeviceContext() {
    if (!FParent) return CreateSurfaceDC(nullptr, {}, {});
    HDC dc = FParent->GetDeviceContext();
    const TPoint o = dc->Origin();
    dc->SetOrigin({o.X + FLeft, o.Y + FTop});
    IntersectClipRect(dc, 0, 0, FWidth, FHeight);
    return dc;
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

// ---------------------------------------------------------------- messages

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage m;
    m.Msg = Msg;
    m.WParam = WParam;
    m.LParam = LParam;
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message) {
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_ACCACTION:
        if (FAccessible) reinterpret_cast<TAccessible*>(Message.LParam)->RunAction(static_cast<int>(Message.WParam));
        break;
    case WM_LBUTTONDOWN:
        WMLButtonDown(Message);
        break;
    case WM_LBUTTONUP:
        WMLButtonUp(Message);
        break;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(Message);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        WMRButtonDown(Message);
        break;
    case WM_RBUTTONUP:
        WMRButtonUp(Message);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        WMMButtonDown(Message);
        break;
    case WM_MBUTTONUP:
        WMMButtonUp(Message);
        break;
    case WM_MOUSEMOVE:
        WMMouseMove(Message);
        break;
    case WM_PAINT:
        WMPaint(Message);
        break;
    case WM_MOUSEWHEEL:
        WMMouseWheel(Message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(Message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(Message);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(Message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(Message);
        break;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(Message);
        break;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(Message);
        break;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(Message);
        break;
    case CM_TEXTCHANGED:
        CMTextChanged(Message);
        break;
    default:
        DefaultHandler(Message);
        break;
    }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::WMPaint(TMessage& Message) {
    DefaultHandler(Message);
}

void TControl::WMMouseWheel(TMessage& Message) {
    DefaultHandler(Message);
}

void TControl::MouseButtonMessage(TMessage& Message, TMouseButton Button, bool down, bool dbl) {
    const int x = LoWordSigned(Message.LParam);
    const int y = HiWordSigned(Message.LParam);
    TShiftState shift = MouseShiftState(Message.WParam);
    // A handler may free the control: nothing touches it afterwards.
    TComponentRef<TControl> self(this);
    if (down) {
        // The first press and release click; the second press of a double click
        // fires DblClick, and its release clicks no more.
        if (FControlStyle.Contains(csClickEvents) && Button == mbLeft && !dbl) FControlState << csClicked;
        if (Button == mbLeft) FControlState << csLButtonDown;
        if (dbl) {
            shift << ssDouble;
            DblClick();
            if (!self) return;
        }
        MouseDown(Button, shift, x, y);
    } else {
        if (Button == mbLeft) {
            FControlState >> csLButtonDown;
            if (FControlState.Contains(csClicked)) {
                FControlState >> csClicked;
                if (x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
                if (!self) return;
            }
        }
        MouseUp(Button, shift, x, y);
    }
    if (self) DefaultHandler(Message);
}

void TControl::WMLButtonDown(TMessage& Message) {
    MouseButtonMessage(Message, mbLeft, true, false);
}
void TControl::WMLButtonUp(TMessage& Message) {
    MouseButtonMessage(Message, mbLeft, false, false);
}
void TControl::WMLButtonDblClk(TMessage& Message) {
    MouseButtonMessage(Message, mbLeft, true, FControlStyle.Contains(csDoubleClicks));
}
void TControl::WMRButtonDown(TMessage& Message) {
    MouseButtonMessage(Message, mbRight, true, false);
}
void TControl::WMRButtonUp(TMessage& Message) {
    MouseButtonMessage(Message, mbRight, false, false);
}
void TControl::WMMButtonDown(TMessage& Message) {
    MouseButtonMessage(Message, mbMiddle, true, false);
}
void TControl::WMMButtonUp(TMessage& Message) {
    MouseButtonMessage(Message, mbMiddle, false, false);
}

void TControl::WMMouseMove(TMessage& Message) {
    MouseMove(MouseShiftState(Message.WParam), LoWordSigned(Message.LParam), HiWordSigned(Message.LParam));
    DefaultHandler(Message);
}

void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}
void TControl::CMVisibleChanged(TMessage&) {}
void TControl::CMColorChanged(TMessage&) {
    Invalidate();
}
void TControl::CMFontChanged(TMessage&) {
    Invalidate();
}
void TControl::CMTextChanged(TMessage&) {}

void TControl::CMParentColorChanged(TMessage&) {
    if (FParentColor && FParent) {
        FColor = FParent->Color();
        Perform(CM_COLORCHANGED);
        FParentColor = true;
    }
}

void TControl::CMParentFontChanged(TMessage&) {
    if (FParentFont && FParent) {
        FUpdatingParentFont = true;
        try {
            FFont->Assign(FParent->Font());
        } catch (...) {
            FUpdatingParentFont = false;
            throw;
        }
        FUpdatingParentFont = false;
    }
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (FParentShowHint && FParent) {
        FShowHint = FParent->ShowHint();
    }
}

// ---------------------------------------------------------------- events

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

} // namespace fw
