#pragma once
// TControl: the base of everything visible. A control has bounds in its
// parent's client coordinates, a parent, visibility, an enabled state, a
// colour and a font (either its own or its parent's), a hint and a cursor,
// and it receives messages through Perform -> WndProc -> Dispatch.
//
// Dispatch routes the message numbers a class handles to handlers named after
// the message (WMLButtonDown, CMEnabledChanged) and passes the rest to its
// base; what no class handles reaches DefaultHandler, which stands for the
// window system's own behaviour of the control's kind. The messages many
// classes handle are routed once, by the base that introduces them, to
// virtual handlers (WM_PAINT, WM_MOUSEWHEEL and the CM_*CHANGED group here, CM_ENTER,
// CM_EXIT and CM_DIALOGKEY in TWinControl); a class handles one of them by
// overriding its handler. A class that handles a message no base routes
// overrides Dispatch:
//
//     void TQzDateEdit::Dispatch(TMessage& Message) {
//         switch (Message.Msg) {
//         case WM_SIZE: WMSize(Message); break;
//         case WM_ENABLE: WMEnable(Message); break;
//         default: inherited::Dispatch(Message);
//         }
//     }
//
// A handler calls its base's handler (inherited::WMPaint) or DefaultHandler
// for the platform's behaviour.

#include <framework/classes/Component.h>
#include <framework/controls/Accessibility.h>
#include <framework/controls/ControlTypes.h>
#include <framework/graphics/Font.h>
#include <framework/platform/Messages.h>
#include <memory>

namespace fw {

class TAccessible;
class TWinControl;

class TControl : public TComponent {
    FW_CLASS(TControl, TComponent)

public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // ---- bounds, in the parent's client coordinates
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    // Moves and sizes at once. Every change of size sends WM_SIZE to a
    // windowed control (also before its window exists).
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    // Right and bottom are kept inside the int range for a control placed near its end.
    TRect BoundsRect() const { return {FLeft, FTop, ClampedSum(FLeft, FWidth), ClampedSum(FTop, FHeight)}; }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }

    // The frame outside the client area (a sunken edit border, a form's
    // caption): widths on each side, as a rectangle of insets.
    virtual TRect BorderInsets() const { return {}; }
    // (0, 0, ClientWidth, ClientHeight).
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& Point) const;
    TPoint ScreenToClient(const TPoint& Point) const;

    // ---- place in the control tree
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    // The form (or other top-level window) this control sits on; nullptr if none.
    TWinControl* TopLevel() const;

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a shown top-level window.
    virtual bool Showing() const;

    bool Enabled() const { return FEnabled; }
    // Overridable: a control that mirrors its enabled state (the LED) calls
    // this first and then does its own work.
    virtual void SetEnabled(bool Value);

    // ---- looks
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    // ShowHint is stored whenever it is the control's own, whatever its value.
    bool IsShowHintStored() const { return !FParentShowHint; }
    // Likewise a colour or font that does not follow the parent's: reading
    // inserts the control (taking the parent's values) before its own come.
    bool IsColorStored() const { return !FParentColor; }
    bool IsFontOwn() const { return !FParentFont; }
    void SetParentShowHint(bool Value);

    TCursor Cursor() const { return FCursor; }
    // The pointer over the control when Cursor is crDefault: the shape its
    // kind of window has on a desktop (an I-beam over edits).
    virtual TCursor ClassCursor() const { return crArrow; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    // A plain reference to the control's popup menu component (not shown by the framework).
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* Value);
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value) { FAlign = Value; }

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState Value) { FControlState = Value; }

    // In the designer a control whose text is its name follows a rename
    // (csSetCaption): a new label reads "Label1".
    void SetName(const String& NewName) override;

    // The control's text: an edit's Text, a label's or a form's Caption.
    const String& Text() const { return FText; }
    virtual void SetText(const String& Value);

    // ---- painting
    // Repaints later: the area is painted once by the loop's next paint pass.
    virtual void Invalidate();
    // Paints what is invalid now.
    virtual void Update();
    // Invalidate, then Update: paints at once.
    virtual void Repaint();
    void Refresh() { Repaint(); }
    // How often Invalidate was called on this control (for tests of setters).
    int InvalidateCount() const { return FInvalidateCount; }
    // A device context on the client area for drawing outside a paint
    // (clipped as a paint would be); the caller frees it with DeleteDC.
    virtual TDeviceContext* GetDeviceContext();

    // ---- messages
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // ---- events
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;

    // Whether the control has a window of its own (a TWinControl).
    virtual bool IsWindowed() const { return false; }

    // The control's accessible object (framework/controls/Accessibility.h),
    // made by CreateAccessible on first use and owned by the control.
    TAccessible* Accessible();
    // Whether it was made (nobody asked otherwise).
    bool HasAccessible() const { return FAccessible != nullptr; }

    // Component-model hooks: the parent encloses a control in a form file.
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

protected:
    // Makes the accessible object; a control with more to say than its base
    // classes (a role, a value, actions, elements) returns its own.
    virtual std::unique_ptr<TAccessible> CreateAccessible();

    // Dynamic methods that fire the events.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

    // Message handlers.
    void WMLButtonDown(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);
    void WMRButtonDown(TMessage& Message);
    void WMRButtonUp(TMessage& Message);
    void WMMButtonDown(TMessage& Message);
    void WMMButtonUp(TMessage& Message);
    void WMMouseMove(TMessage& Message);
    // The base paints nothing of its own and leaves the wheel alone: DefaultHandler.
    virtual void WMPaint(TMessage& Message);
    virtual void WMMouseWheel(TMessage& Message);
    virtual void CMEnabledChanged(TMessage& Message);
    virtual void CMVisibleChanged(TMessage& Message);
    virtual void CMColorChanged(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMParentColorChanged(TMessage& Message);
    virtual void CMParentFontChanged(TMessage& Message);
    virtual void CMParentShowHintChanged(TMessage& Message);
    virtual void CMTextChanged(TMessage& Message);

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    // The font's OnChange: the control's own font now differs from its parent's.
    virtual void FontChanged(TObject* Sender);
    // Called by SetBounds after the bounds changed (windowed controls send WM_SIZE).
    virtual void BoundsChanged(bool moved, bool resized);
    // Part of the parent's client area this control covers, invalidated in the parent.
    void InvalidateInParent();

    // Takes the control out of its parent before the derived parts go.
    void DetachFromParent();
    void CountInvalidate() { ++FInvalidateCount; }

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    String FText;

private:
    friend class TWinControl;

    void MouseButtonMessage(TMessage& Message, TMouseButton Button, bool down, bool dbl);

    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = false;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FUpdatingParentFont = false;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TComponent* FPopupMenu = nullptr;
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
    TAlign FAlign = alNone;
    TControlStyle FControlStyle;
    TControlState FControlState;
    int FInvalidateCount = 0;
    std::unique_ptr<TAccessible> FAccessible;
};

// The control that has the mouse from a press to its release (nullptr when
// none); a control that goes away stops having it.
TControl* CaptureControl();
void SetCaptureControl(TControl* Control);

// The shift state a mouse message's WParam and the keyboard give.
TShiftState MouseShiftState(WPARAM keys);
// The state of the modifier keys and mouse buttons as the loop last saw them.
TShiftState KeyboardShiftState();
void SetKeyboardShiftState(TShiftState state);

} // namespace fw
