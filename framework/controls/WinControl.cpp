// TWinControl: children, the window, focus, keys and the paint layers.

#include <algorithm>
#include <framework/classes/ComponentRef.h>
#include <framework/controls/MessageQueue.h>
#include <framework/controls/WinControl.h>
#include <framework/platform/Gdi.h>
#include <framework/platform/Rects.h>

namespace fw {

namespace {

TWinControl* TheFocusedWindow = nullptr;

TRect Offset(TRect r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
    return r;
}

TRect Union(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

// Whether child is parent or lies inside it.
bool Inside(const TControl* child, const TWinControl* parent) {
    for (const TControl* c = child; c; c = c->Parent())
        if (c == parent) return true;
    return false;
}

} // namespace

TWinControl* FocusedWindow() {
    return TheFocusedWindow;
}
void SetFocusedWindow(TWinControl* Control) {
    if (Control == TheFocusedWindow) return;
    TWinControl* old = TheFocusedWindow;
    TheFocusedWindow = Control;
    // What a window shows of the focus (caret, selection, focus frame)
    // changes with it, also when the focus moves between forms.
    if (old) old->InvalidateRect(nullptr);
    if (Control) Control->InvalidateRect(nullptr);
    if (AccListening()) {
        if (old) AccNotifyState(old, asFocused, false);
        if (Control) AccNotifyFocus(Control);
    }
}

// ---------------------------------------------------------------- the window

class TWinControl::TWindow : public TPlatformWindow {
public:
    explicit TWindow(TWinControl* control) : FControl(control) {}

    HDC BeginPaint(PAINTSTRUCT& ps) override {
        ps.rcPaint = FControl->FUpdateRect.IsEmpty() ? FControl->ClientRect() : FControl->FUpdateRect;
        ps.fErase = true;
        FControl->FUpdateRect = {};
        MessageQueue().RemoveDirty(FControl);
        HDC dc = FControl->GetClientDC();
        IntersectClipRect(dc, ps.rcPaint.Left, ps.rcPaint.Top, ps.rcPaint.Right, ps.rcPaint.Bottom);
        ps.hdc = dc;
        return dc;
    }
    void EndPaint(const PAINTSTRUCT& ps) override { DeleteDC(ps.hdc); }
    HDC GetDC() override { return FControl->GetClientDC(); }
    void ReleaseDC(HDC dc) override { DeleteDC(dc); }
    void InvalidateRect(const TRect* rect) override { FControl->InvalidateRect(rect); }

    // Only a top-level window keeps pixels: its children draw on them.
    TSurface Surface;

private:
    TWinControl* FControl;
};

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FBrush(std::make_unique<TBrush>()) {
    FBrush->SetColor(Color());
}

TWinControl::~TWinControl() {
    PrepareDestroy();
    if (TheFocusedWindow && Inside(TheFocusedWindow, this)) TheFocusedWindow = nullptr;
    // Children go with their parent, whoever owns them.
    while (!FControls.empty()) {
        TControl* child = FControls.back();
        RemoveControl(child);
        delete child;
    }
    DetachFromParent();
    MessageQueue().Forget(this);
    FWindow.reset();
}

HWND TWinControl::Handle() {
    if (!FWindow) CreateHandle();
    return FWindow.get();
}

void TWinControl::CreateHandle() {
    if (FWindow) return;
    if (FParent) FParent->CreateHandle();
    if (FWindow) // the parent made ours while making its own
        return;
    CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params = {};
    Params.Caption = FText;
    Params.Style = FParent ? WS_CHILD | WS_CLIPSIBLINGS : WS_POPUP;
    if (Visible()) Params.Style |= WS_VISIBLE;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    if (FTabStop) Params.Style |= WS_TABSTOP;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    FStyle = params.Style;
    FExStyle = params.ExStyle;
    FWindow = std::make_unique<TWindow>(this);
    if (!FParent)
        FWindow->Surface = TSurface(std::max(FWidth, 1), std::max(FHeight, 1), ColorToRGB(clBtnFace));
    Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
    for (TControl* c : std::vector<TControl*>(FControls))
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->CreateHandle();
    InvalidateRect(nullptr);
}

void TWinControl::DestroyWnd() {
    for (TControl* c : FControls)
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyWnd();
    MessageQueue().RemoveDirty(this);
    FUpdateRect = {};
    FWindow.reset();
}

TSurface* TWinControl::WindowSurface() const {
    if (FParent || !FWindow) return nullptr;
    return &FWindow->Surface;
}

TPoint TWinControl::WindowOriginOnSurface() const {
    if (!FParent) return {0, 0};
    const TPoint p = FParent->WindowOriginOnSurface();
    const TRect b = FParent->BorderInsets();
    return {p.X + b.Left + FLeft, p.Y + b.Top + FTop};
}

TPoint TWinControl::ClientOrigin() const {
    return TControl::ClientOrigin();
}

void TWinControl::BoundsChanged(bool moved, bool resized) {
    if (!FParent && FWindow && resized) {
        FWindow->Surface.Resize(std::max(FWidth, 1), std::max(FHeight, 1), ColorToRGB(clBtnFace));
        InvalidateRect(nullptr);
    }
    if (resized) Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
    if (moved && FWindow) InvalidateRect(nullptr);
}

// The client area of this control as it shows on the top-level surface:
// its own client rectangle cut by every ancestor's client area.
TRect TWinControl::VisibleClientOnSurface() const {
    const TPoint o = WindowOriginOnSurface();
    const TRect b = BorderInsets();
    TRect r{o.X + b.Left, o.Y + b.Top, o.X + b.Left + ClientWidth(), o.Y + b.Top + ClientHeight()};
    for (const TWinControl* p = FParent; p; p = p->FParent) {
        const TPoint po = p->WindowOriginOnSurface();
        const TRect pb = p->BorderInsets();
        const TRect pc{po.X + pb.Left, po.Y + pb.Top, po.X + pb.Left + p->ClientWidth(),
                       po.Y + pb.Top + p->ClientHeight()};
        IntersectRect(&r, &r, &pc);
    }
    return r;
}

HDC TWinControl::GetClientDC() {
    const TWinControl* top = TopLevel();
    TSurface* surface = top ? top->WindowSurface() : nullptr;
    const TPoint o = WindowOriginOnSurface();
    const TRect b = BorderInsets();
    HDC dc = CreateSurfaceDC(surface, {o.X + b.Left, o.Y + b.Top}, VisibleClientOnSurface());
    ClipChildren(dc);
    return dc;
}

void TWinControl::ClipChildren(HDC DC) const {
    if (!(FStyle & WS_CLIPCHILDREN)) return;
    for (const TControl* c : FControls)
        if (c->IsWindowed() && c->Visible())
            ExcludeClipRect(DC, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
}

// ---------------------------------------------------------------- children

void TWinControl::InsertControl(TControl* AControl) {
    if (!AControl || AControl->FParent == this) return;
    FControls.push_back(AControl);
    AControl->FParent = this;
    if (AControl->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(AControl);
        int windowed = 0;
        for (TControl* c : FControls)
            if (c->IsWindowed() && c != AControl) ++windowed;
        if (w->FTabOrder < 0 || w->FTabOrder > windowed)
            w->FTabOrder = windowed;
        else
            w->SetTabOrder(w->FTabOrder);
    }
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    if (AControl->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(AControl);
        if (w->FParentCtl3D) w->FCtl3D = FCtl3D;
        if (FWindow) w->CreateHandle();
    }
    AControl->InvalidateInParent();
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it == FControls.end()) return;
    AControl->InvalidateInParent();
    if (TWinControl* top = TopLevel()) top->ControlRemoving(AControl);
    if (AControl->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(AControl);
        if (TheFocusedWindow && Inside(TheFocusedWindow, w)) TheFocusedWindow = nullptr;
        w->DestroyWnd();
        const int order = w->FTabOrder;
        for (TControl* c : FControls)
            if (c->IsWindowed() && static_cast<TWinControl*>(c)->FTabOrder > order)
                --static_cast<TWinControl*>(c)->FTabOrder;
        w->FTabOrder = -1;
    }
    FControls.erase(std::find(FControls.begin(), FControls.end(), AControl));
    AControl->FParent = nullptr;
}

// Only a control that takes child controls in the designer (csAcceptsControls,
// like a form) has children in a form file; the parts a control makes for
// itself (a date edit's button) are not written.
void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    if (!ControlStyle().Contains(csAcceptsControls)) return;
    for (TControl* c : FControls)
        if (c->Owner() == root) proc(c);
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (const TControl* c = Control; c; c = c->FParent)
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
        if (Pos.X >= c->Left() && Pos.Y >= c->Top() && Pos.X < c->Left() + c->Width() &&
            Pos.Y < c->Top() + c->Height())
            return c;
    }
    return nullptr;
}

TControl* TWinControl::DeepestControlAtPos(const TPoint& Pos) {
    TControl* child = ControlAtPos(Pos, true);
    if (!child) return this;
    if (!child->IsWindowed()) return child;
    auto* w = static_cast<TWinControl*>(child);
    const TRect b = w->BorderInsets();
    const TPoint inner{Pos.X - w->Left() - b.Left, Pos.Y - w->Top() - b.Top};
    if (inner.X < 0 || inner.Y < 0 || inner.X >= w->ClientWidth() || inner.Y >= w->ClientHeight()) return w;
    return w->DeepestControlAtPos(inner);
}

// ---------------------------------------------------------------- focus

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const {
    return TheFocusedWindow == this;
}

void TWinControl::SetFocus() {
    TWinControl* top = TopLevel();
    if (top) top->FocusControl(this);
}

void TWinControl::FocusControl(TWinControl* Control) {
    if (Control == TheFocusedWindow) return;
    if (TheFocusedWindow) TheFocusedWindow->Perform(CM_EXIT);
    TheFocusedWindow = Control;
    if (Control) Control->Perform(CM_ENTER);
}

void TWinControl::SetTabStop(bool Value) {
    if (Value == FTabStop) return;
    FTabStop = Value;
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
    return FTabOrder;
}

void TWinControl::SetTabOrder(int Value) {
    if (!FParent || ComponentState().Contains(csLoading)) {
        FTabOrder = Value;
        return;
    }
    std::vector<TWinControl*> siblings;
    for (TControl* c : FParent->FControls)
        if (c->IsWindowed() && c != this) siblings.push_back(static_cast<TWinControl*>(c));
    std::sort(siblings.begin(), siblings.end(),
              [](const TWinControl* a, const TWinControl* b) { return a->FTabOrder < b->FTabOrder; });
    if (Value < 0 || Value > static_cast<int>(siblings.size())) Value = static_cast<int>(siblings.size());
    siblings.insert(siblings.begin() + Value, this);
    for (std::size_t i = 0; i < siblings.size(); ++i)
        siblings[i]->FTabOrder = static_cast<int>(i);
}

// The windowed children ranked by the tab orders they hold (the values a
// form file gave them; equal ones in the order of the children), then
// numbered 0, 1, 2...
void TWinControl::ChildTabOrders() {
    std::vector<TWinControl*> children;
    for (TControl* c : FControls)
        if (c->IsWindowed()) children.push_back(static_cast<TWinControl*>(c));
    std::stable_sort(children.begin(), children.end(),
                     [](const TWinControl* a, const TWinControl* b) { return a->FTabOrder < b->FTabOrder; });
    for (std::size_t i = 0; i < children.size(); ++i)
        children[i]->FTabOrder = static_cast<int>(i);
}

void TWinControl::Loaded() {
    inherited::Loaded();
    // A control read into a parent that is not loading takes its place now.
    if (FParent && !FParent->ComponentState().Contains(csLoading)) SetTabOrder(FTabOrder);
    ChildTabOrders();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
    std::vector<TWinControl*> children;
    for (TControl* c : FControls)
        if (c->IsWindowed()) children.push_back(static_cast<TWinControl*>(c));
    std::stable_sort(children.begin(), children.end(),
                     [](const TWinControl* a, const TWinControl* b) { return a->FTabOrder < b->FTabOrder; });
    for (TWinControl* c : children) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[static_cast<std::size_t>(i)] == CurControl) start = i;
    if (start < 0) start = GoForward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = GoForward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* c = list[static_cast<std::size_t>(i)];
        if (c == CurControl && step < n - 1) continue;
        if ((!CheckTabStop || c->TabStop()) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop)) next->SetFocus();
}

void TWinControl::SetCtl3D(bool Value) {
    if (Value == FCtl3D) return;
    FCtl3D = Value;
    FParentCtl3D = false;
    Perform(CM_CTL3DCHANGED);
    Invalidate();
}

void TWinControl::SetParentCtl3D(bool Value) {
    if (Value == FParentCtl3D) return;
    FParentCtl3D = Value;
    if (Value && FParent && FCtl3D != FParent->Ctl3D()) {
        FCtl3D = FParent->Ctl3D();
        Invalidate();
    }
}

// ---------------------------------------------------------------- invalidation and painting

// A window repaints itself; its parent is not involved.
void TWinControl::Invalidate() {
    CountInvalidate();
    InvalidateRect(nullptr);
}

void TWinControl::AddToUpdate(const TRect& clientRect) {
    TRect r = clientRect;
    const TRect all = ClientRect();
    IntersectRect(&r, &r, &all);
    if (r.IsEmpty()) return;
    FUpdateRect = Union(FUpdateRect, r);
    if (FWindow) MessageQueue().AddDirty(this);
}

void TWinControl::InvalidateRect(const TRect* Rect) {
    AddToUpdate(Rect ? *Rect : ClientRect());
    // Without WS_CLIPCHILDREN the window repaints its whole merged update area
    // over its windowed children, so those inside it are painted again after it.
    if (!(FStyle & WS_CLIPCHILDREN)) InvalidateCoveredChildren(FUpdateRect);
}

// The windowed children lying in `area` (client coordinates) are painted over
// by this window, and so are their own children there, whatever a child's own
// clip style says: that style only keeps the child's painting off them.
void TWinControl::InvalidateCoveredChildren(const TRect& area) {
    for (TControl* c : FControls) {
        if (!c->IsWindowed() || !c->Visible()) continue;
        TRect cr = c->BoundsRect();
        if (!IntersectRect(&cr, &cr, &area)) continue;
        auto* w = static_cast<TWinControl*>(c);
        const TRect b = w->BorderInsets();
        const TRect inner = Offset(cr, -c->Left() - b.Left, -c->Top() - b.Top);
        w->AddToUpdate(inner);
        w->InvalidateCoveredChildren((w->FStyle & WS_CLIPCHILDREN) ? inner : w->FUpdateRect);
    }
}

void TWinControl::Update() {
    // Paint this window and its children if they wait, parents first.
    if (!FWindow) return;
    // A paint handler may free this window or a later child.
    TComponentRef<TWinControl> self(this);
    if (!FUpdateRect.IsEmpty() && Showing()) {
        Perform(WM_NCPAINT);
        if (self) Perform(WM_PAINT);
        if (!self) return;
    }
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (!self) return;
        if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->Update();
    }
}

void TWinControl::WMPaint(TMessage& Message) {
    ++FPaintCount;
    PaintHandler(Message);
}

void TWinControl::PaintHandler(TMessage& Message) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    PAINTSTRUCT ps;
    const bool began = dc == nullptr;
    if (began) dc = BeginPaint(Handle(), &ps);
    // A paint handler may free the control: nothing here touches it once it
    // is gone, and the paint's device context, which outlives it, is freed here.
    TComponentRef<TWinControl> self(this);
    const auto end = [&] {
        if (!began) return;
        if (self)
            EndPaint(Handle(), &ps);
        else
            DeleteDC(dc);
    };
    try {
        if (began) EraseBackground(dc);
        PaintWindow(dc);
        if (self) PaintControls(dc);
    } catch (...) {
        end();
        throw;
    }
    end();
}

void TWinControl::EraseBackground(HDC DC) {
    const TRect r = ClientRect();
    FillRect(DC, &r, FBrush->Handle());
}

void TWinControl::PaintNonClient(HDC) {}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
    if (!DC || !DC->Surface()) return;
    TRect bounds = DC->ClipBox(); // logical
    const TRect own{X, Y, X + FWidth, Y + FHeight};
    IntersectRect(&bounds, &bounds, &own);
    if (bounds.IsEmpty()) return;
    const TPoint o{DC->Origin().X + X, DC->Origin().Y + Y};
    const TRect clip{DC->Origin().X + bounds.Left, DC->Origin().Y + bounds.Top, DC->Origin().X + bounds.Right,
                     DC->Origin().Y + bounds.Bottom};
    auto release = [](HDC dc) { DeleteDC(dc); };
    std::unique_ptr<TDeviceContext, decltype(release)> frame(CreateSurfaceDC(DC->Surface(), o, clip),
                                                             release);
    PaintNonClient(frame.get());
    const TRect b = BorderInsets();
    const TPoint co{o.X + b.Left, o.Y + b.Top};
    TRect clientClip{co.X, co.Y, co.X + ClientWidth(), co.Y + ClientHeight()};
    IntersectRect(&clientClip, &clientClip, &clip);
    if (clientClip.IsEmpty()) return;
    std::unique_ptr<TDeviceContext, decltype(release)> client(CreateSurfaceDC(DC->Surface(), co, clientClip),
                                                              release);
    EraseBackground(client.get());
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(client.get()), 0);
    for (TControl* child : FControls)
        if (child->Visible() && child->IsWindowed())
            static_cast<TWinControl*>(child)->PaintTo(client.get(), child->Left(), child->Top());
}

// The frame is painted apart from WM_PAINT, as the window system does, so a
// control that paints its client area itself keeps its frame.
void TWinControl::WMNCPaint(TMessage&) {
    const TWinControl* top = TopLevel();
    TSurface* surface = top ? top->WindowSurface() : nullptr;
    if (!surface) return;
    const TPoint o = WindowOriginOnSurface();
    TRect clip{o.X, o.Y, o.X + FWidth, o.Y + FHeight};
    if (FParent) {
        const TRect pc = FParent->VisibleClientOnSurface();
        IntersectRect(&clip, &clip, &pc);
    }
    HDC frame = CreateSurfaceDC(surface, o, clip);
    try {
        PaintNonClient(frame);
    } catch (...) {
        DeleteDC(frame);
        throw;
    }
    DeleteDC(frame);
}

void TWinControl::PaintWindow(HDC DC) {
    TMessage m;
    m.Msg = WM_PAINT;
    m.WParam = reinterpret_cast<WPARAM>(DC);
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC) {
    TRect box;
    GetClipBox(DC, &box);
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (c->IsWindowed() || !c->Visible()) continue;
        TRect r = c->BoundsRect();
        if (!IntersectRect(&r, &r, &box)) continue;
        // A context of the child's own: its origin at the child's top-left,
        // clipped to the part of it that this paint covers.
        const TPoint o = DC->Origin();
        HDC child = CreateSurfaceDC(DC->Surface(), {o.X + c->Left(), o.Y + c->Top()}, Offset(r, o.X, o.Y));
        try {
            c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(child));
        } catch (...) {
            DeleteDC(child);
            throw;
        }
        DeleteDC(child);
    }
}

// ---------------------------------------------------------------- messages

void TWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCPAINT:
        WMNCPaint(Message);
        break;
    case WM_KEYDOWN:
        WMKeyDown(Message);
        break;
    case WM_KEYUP:
        WMKeyUp(Message);
        break;
    case WM_CHAR:
        WMChar(Message);
        break;
    case WM_SYSKEYDOWN:
        WMSysKeyDown(Message);
        break;
    case WM_SYSKEYUP:
        WMSysKeyUp(Message);
        break;
    case CM_ENTER:
        CMEnter(Message);
        break;
    case CM_EXIT:
        CMExit(Message);
        break;
    case CM_DIALOGKEY:
        CMDialogKey(Message);
        break;
    default:
        TControl::Dispatch(Message);
        break;
    }
}

void TWinControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        // A plain window has nothing of its own to draw: its background was
        // filled by the erase step.
        break;
    default:
        break;
    }
}

bool TWinControl::DoKeyDown(TMessage& Message) {
    // The form's preview or the control's own handler may free the control.
    TComponentRef<TWinControl> self(this);
    Word key = static_cast<Word>(Message.WParam);
    const TShiftState shift = KeyboardShiftState();
    TWinControl* form = TopLevel();
    if (form && form != this && form->KeyPreviewActive()) {
        form->KeyDown(key, shift);
        if (key == 0 || !self) {
            Message.WParam = key;
            return true;
        }
    }
    KeyDown(key, shift);
    if (!self) return true;
    Message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
    // The form's preview or the control's own handler may free the control.
    TComponentRef<TWinControl> self(this);
    Word key = static_cast<Word>(Message.WParam);
    const TShiftState shift = KeyboardShiftState();
    TWinControl* form = TopLevel();
    if (form && form != this && form->KeyPreviewActive()) {
        form->KeyUp(key, shift);
        if (key == 0 || !self) {
            Message.WParam = key;
            return true;
        }
    }
    KeyUp(key, shift);
    if (!self) return true;
    Message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
    // The form's preview or the control's own handler may free the control.
    TComponentRef<TWinControl> self(this);
    Char key = static_cast<Char>(Message.WParam);
    TWinControl* form = TopLevel();
    if (form && form != this && form->KeyPreviewActive()) {
        form->KeyPress(key);
        if (key == 0 || !self) {
            Message.WParam = key;
            return true;
        }
    }
    KeyPress(key);
    if (!self) return true;
    Message.WParam = key;
    return key == 0;
}

void TWinControl::WMKeyDown(TMessage& Message) {
    if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
    if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
    if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TMessage& Message) {
    if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyUp(TMessage& Message) {
    if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::CMDialogKey(TMessage& Message) {
    DefaultHandler(Message);
}

void TWinControl::CMEnter(TMessage&) {
    DoEnter();
}
void TWinControl::CMExit(TMessage&) {
    DoExit();
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
    // The window system tells the window of its new state.
    Perform(WM_ENABLE, Enabled() ? 1 : 0);
    TControl::CMEnabledChanged(Message);
    if (!Enabled()) LoseFocus();
}

void TWinControl::LoseFocus() {
    // A disabled or hidden window takes no keys: the focus moves on, as the
    // window system moves it.
    if (!TheFocusedWindow || !Inside(TheFocusedWindow, this) || ComponentState().Contains(csDestroying))
        return;
    TWinControl* top = TopLevel();
    if (top && top != this) top->DefocusControl(this);
}

void TWinControl::CMFontChanged(TMessage& Message) {
    TControl::CMFontChanged(Message);
    for (TControl* c : std::vector<TControl*>(FControls))
        c->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
    FBrush->SetColor(Color());
    TControl::CMColorChanged(Message);
    for (TControl* c : std::vector<TControl*>(FControls))
        c->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
    TControl::CMVisibleChanged(Message);
    if (Visible() && FWindow) InvalidateRect(nullptr);
    if (!Visible()) LoseFocus();
}

// ---------------------------------------------------------------- key and focus events

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(Char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

} // namespace fw
