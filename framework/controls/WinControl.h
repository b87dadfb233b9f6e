#pragma once
// TWinControl: a control with a window of its own. It holds child controls,
// can take the keyboard focus, turns key messages into KeyDown / KeyPress /
// KeyUp, and paints through WM_PAINT.
//
// The window. A windowed control's window is made (CreateParams is called and
// its style kept) when the control comes to sit on a top-level window whose
// window exists (a form's window is made when it is first shown or painted),
// when it is given a parent that already has a window, or when Handle() is
// asked for. Parents get their window before their children; making a window
// sends WM_SIZE once, as the window system does.
//
// Painting. An invalidated windowed control waits in the message queue; the
// loop sends it WM_NCPAINT (its frame, PaintNonClient) and then WM_PAINT with
// WParam 0, and the control paints through BeginPaint/EndPaint. A WM_PAINT may
// also carry a device context in WParam, which is then used as it is. The
// default handling (PaintHandler) erases the background, paints the window
// itself (PaintWindow: the platform's own painting of the control's kind, or
// Paint for a custom control) and then the windowless children on top. With WS_CLIPCHILDREN in the style, the
// control's own painting leaves the areas of its windowed children alone; without it, it paints over them and
// they are painted again after it.

#include <framework/controls/Control.h>
#include <framework/graphics/Brush.h>
#include <framework/platform/Gdi.h>
#include <framework/platform/Windows.h>
#include <vector>

namespace fw {

class TWinControl : public TControl {
    FW_CLASS(TWinControl, TControl)

public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // ---- children (windowless and windowed), in z-order bottom first
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(static_cast<std::size_t>(Index)); }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* Control) const;
    // The topmost visible child at a client point (nullptr if none).
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled) const;
    // The deepest visible control at a client point; this control when no child is hit.
    TControl* DeepestControlAtPos(const TPoint& Pos);

    // ---- the window
    HWND Handle();
    bool HandleAllocated() const { return FWindow != nullptr; }
    void HandleNeeded() { (void)Handle(); }
    // The style CreateParams gave when the window was made (0 before).
    Cardinal WindowStyle() const { return FStyle; }
    Cardinal WindowExStyle() const { return FExStyle; }

    // ---- focus
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    // Moves the control to that place among its windowed siblings (the end
    // for a value out of range), renumbering them 0, 1, 2... While a form
    // file is read the value is only kept: the values read are put in
    // order when the parent has loaded, so they need not ascend in the file.
    void SetTabOrder(int Value);
    // Windowed descendants in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& List);
    // The next (or previous) control after CurControl in tab order that can
    // take the focus, wrapping around; nullptr if none.
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    // Gives the focus to Control, which lies inside this top-level control:
    // CM_EXIT goes to the controls losing it, CM_ENTER to those gaining it.
    // Forms override it; the base only records the focus.
    virtual void FocusControl(TWinControl* Control);

    // The brush the window system fills the background with: its colour is
    // the control's Color.
    TBrush* Brush() const { return FBrush.get(); }

    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    bool IsCtl3DStored() const { return !FParentCtl3D; }
    void SetParentCtl3D(bool Value);

    // Invalidates part of the client area (nullptr: all of it).
    void InvalidateRect(const TRect* Rect);
    void Invalidate() override;
    void Update() override;
    // Paints the control (frame, client area and children) into DC with its
    // top-left corner at logical (X, Y), wherever the control really is: how
    // the data-aware control grid paints copies of its controls.
    void PaintTo(HDC DC, int X, int Y);
    // The part of the client area waiting to be painted (empty when none).
    const TRect& UpdateRect() const { return FUpdateRect; }
    // How many WM_PAINT messages this control handled.
    int PaintCount() const { return FPaintCount; }

    TPoint ClientOrigin() const override;
    bool IsWindowed() const override { return true; }
    TDeviceContext* GetDeviceContext() override { return GetClientDC(); }

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    // Whether a mouse press gives this control the focus (edits and buttons do).
    virtual bool FocusOnClick() const { return false; }
    // Keys the control wants before the form's dialog handling (Tab, Enter,
    // Escape); the base wants none of them.
    virtual bool WantsKey(Word Key) const { return false; }

    // The writer nests the child controls that the root owns inside their parent.
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Where a top-level window's pixels live (its frame and client area);
    // nullptr for a child or before the window is made.
    TSurface* WindowSurface() const;
    // Position of this control's window (frame included) on its top-level
    // window's surface.
    TPoint WindowOriginOnSurface() const;

protected:
    // Once the whole form is read, the children take the tab order of the
    // values the file gave them (see SetTabOrder).
    void Loaded() override;
    // Fills in the window's creation parameters: overrides call the base
    // first and then add to Params.Style (WS_CLIPCHILDREN...).
    virtual void CreateParams(TCreateParams& Params);
    // Makes the window (after CreateParams), then the children's windows.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    void CreateHandle();

    // Dynamic methods.
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(Char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // KeyPreview of the form first, then the control's own method; true when
    // the key was used up (set to 0).
    bool DoKeyDown(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    bool DoKeyPress(TMessage& Message);

    // Message handlers.
    void WMPaint(TMessage& Message) override;
    void WMNCPaint(TMessage& Message);
    void WMKeyDown(TMessage& Message);
    void WMKeyUp(TMessage& Message);
    void WMChar(TMessage& Message);
    void WMSysKeyDown(TMessage& Message);
    void WMSysKeyUp(TMessage& Message);
    virtual void CMEnter(TMessage& Message);
    virtual void CMExit(TMessage& Message);
    // A key that may belong to a dialog's button (Enter, Escape); the base
    // leaves it to DefaultHandler.
    virtual void CMDialogKey(TMessage& Message);
    void CMEnabledChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;

    // Painting in layers.
    virtual void PaintHandler(TMessage& Message);
    // The window's own painting: the base hands a WM_PAINT carrying DC to
    // DefaultHandler, which paints the control's kind (an edit paints its text).
    virtual void PaintWindow(HDC DC);
    // Draws the windowless children onto DC (the client area of this control).
    void PaintControls(HDC DC);
    // Draws the frame outside the client area; DC's origin is the window's top-left.
    virtual void PaintNonClient(HDC DC);
    // The background the window system fills before painting (WM_ERASEBKGND).
    virtual void EraseBackground(HDC DC);

    // A form with KeyPreview sees its controls' keys first.
    virtual bool KeyPreviewActive() const { return false; }
    // Told by RemoveControl, on the top-level control, before a control
    // inside it leaves (forms drop their focus references).
    virtual void ControlRemoving(TControl* AControl) {}
    // Told, on the top-level control, when Control (holding the focus, or with
    // the focus inside it) was disabled or hidden: the focus must move on.
    virtual void DefocusControl(TWinControl* Control) {}

    void BoundsChanged(bool moved, bool resized) override;

    // The device context for painting this control's client area outside
    // WM_PAINT, clipped as a paint would be; free with ReleaseDC.
    HDC GetClientDC();

private:
    friend class TControl;
    class TWindow;

    // Moves the focus on when it lies inside this control, now disabled or hidden.
    void LoseFocus();

    void AddToUpdate(const TRect& clientRect);
    void InvalidateCoveredChildren(const TRect& area);
    void ClipChildren(HDC DC) const;
    TRect VisibleClientOnSurface() const;
    void ChildTabOrders();

    std::unique_ptr<TBrush> FBrush;
    std::vector<TControl*> FControls;
    std::unique_ptr<TWindow> FWindow;
    Cardinal FStyle = 0;
    Cardinal FExStyle = 0;
    bool FTabStop = false;
    int FTabOrder = -1;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    TRect FUpdateRect;
    int FPaintCount = 0;
};

// The windowed control that has the keyboard focus (the system's focus window), or nullptr.
TWinControl* FocusedWindow();
// Set by the forms layer as the focus moves.
void SetFocusedWindow(TWinControl* Control);

} // namespace fw
