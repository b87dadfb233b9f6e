// TForm: frame, showing and hiding, activation, focus, modal loop.

#include <algorithm>
#include <cctype>
#include <framework/classes/ComponentRef.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/FormText.h>
#include <framework/classes/Published.h>
#include <framework/controls/Chrome.h>
#include <framework/forms/Application.h>
#include <framework/forms/Form.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Gdi.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Text.h>
#include <framework/resources/Resources.h>
#include <unordered_map>

namespace fw {

namespace {

// Classic frame metrics.
constexpr int CaptionHeight = 18; // the caption bar; one more pixel separates it from the client area
constexpr int FixedFrame = 3;     // single, dialog and tool-window frames
constexpr int SizingFrame = 4;    // sizeable frames
constexpr int ToolCaptionHeight = 15;
constexpr int CloseBoxHeight = 14;

const TEnumNames BorderIconNames{"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
const TEnumNames FormStyleNames{"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
const TEnumNames PositionNames{"poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
                               "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};

int FrameWidth(TFormBorderStyle style) {
    switch (style) {
    case bsNone:
        return 0;
    case bsSizeable:
    case bsSizeToolWin:
        return SizingFrame;
    default:
        return FixedFrame;
    }
}

int CaptionBarHeight(TFormBorderStyle style) {
    switch (style) {
    case bsNone:
        return 0;
    case bsToolWindow:
    case bsSizeToolWin:
        return ToolCaptionHeight;
    default:
        return CaptionHeight;
    }
}

// A raised edge: light on the top and left, dark on the bottom and right,
// two pixels deep.
void RaisedEdge(HDC dc, const TRect& r, TColor outerLight, TColor innerLight, TColor innerDark,
                TColor outerDark) {
    DrawSolidLine(dc, r.Left, r.Bottom - 1, r.Left, r.Top, outerLight);
    DrawSolidLine(dc, r.Left, r.Top, r.Right - 1, r.Top, outerLight);
    DrawSolidLine(dc, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, outerDark);
    DrawSolidLine(dc, r.Right - 1, r.Bottom - 1, r.Left - 1, r.Bottom - 1, outerDark);
    DrawSolidLine(dc, r.Left + 1, r.Bottom - 2, r.Left + 1, r.Top + 1, innerLight);
    DrawSolidLine(dc, r.Left + 1, r.Top + 1, r.Right - 2, r.Top + 1, innerLight);
    DrawSolidLine(dc, r.Right - 2, r.Top + 1, r.Right - 2, r.Bottom - 2, innerDark);
    DrawSolidLine(dc, r.Right - 2, r.Bottom - 2, r.Left, r.Bottom - 2, innerDark);
}

} // namespace

FW_PUBLISH(TForm) {
    cls.Component("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
    cls.SetOf("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons, BorderIconNames,
              TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    cls.Enum("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle, FormBorderStyleNames, bsSizeable);
    cls.Str("Caption", &TForm::Caption, &TForm::SetCaption, "");
    cls.Int("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
    cls.Int("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
    cls.Color("Color", &TForm::Color, &TForm::SetColor, clBtnFace);
    cls.Bool("Ctl3D", &TForm::Ctl3D, &TForm::SetCtl3D, true);
    cls.Object("Font", &TForm::Font);
    cls.Enum("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle, FormStyleNames, fsNormal);
    cls.Bool("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview, false);
    cls.Bool("OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder, false);
    cls.Enum("Position", &TForm::Position, &TForm::SetPosition, PositionNames, poDesigned);
    cls.Bool("ShowHint", &TForm::ShowHint, &TForm::SetShowHint, false);
    cls.Bool("Visible", &TForm::Visible, &TForm::SetVisible, false);
    cls.Event("OnActivate", &TForm::OnActivate);
    cls.Event("OnClick", &TForm::OnClick);
    cls.Event("OnClose", &TForm::OnClose);
    cls.Event("OnCloseQuery", &TForm::OnCloseQuery);
    cls.Event("OnCreate", &TForm::OnCreate);
    cls.Event("OnDblClick", &TForm::OnDblClick);
    cls.Event("OnDeactivate", &TForm::OnDeactivate);
    cls.Event("OnDestroy", &TForm::OnDestroy);
    cls.Event("OnHide", &TForm::OnHide);
    cls.Event("OnKeyDown", &TForm::OnKeyDown);
    cls.Event("OnKeyPress", &TForm::OnKeyPress);
    cls.Event("OnKeyUp", &TForm::OnKeyUp);
    cls.Event("OnMouseDown", &TForm::OnMouseDown);
    cls.Event("OnMouseMove", &TForm::OnMouseMove);
    cls.Event("OnMouseUp", &TForm::OnMouseUp);
    cls.Event("OnPaint", &TForm::OnPaint);
    cls.Event("OnShow", &TForm::OnShow);
    cls.Int("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch).NoDefault().WrittenLast();
    cls.Int("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight).NoDefault().WrittenLast();
    // A form stores its client size; its outer size follows from the frame.
    cls.Redeclare("Width").NotStored();
    cls.Redeclare("Height").NotStored();
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    SetColor(clBtnFace);
    SetParentFont(false);
    FCanvas->SetFont(Font());
    Screen->AddForm(this);
}

TForm::~TForm() {
    // Nothing may leave a destructor: what the handlers raise here is reported.
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            Application->ReportException(this);
        }
    }
    // Freed inside its own modal loop (by a timer, or with its owner): the
    // other forms take input again and the loop ends without touching it.
    if (FModal) EndModalState();
    if (Visible()) {
        try {
            SetVisible(false);
        } catch (...) {
            Application->ReportException(this);
        }
    }
    PrepareDestroy();
    FCanvas->FreeHandle();
    Screen->RemoveForm(this);
}

void TForm::LoadFormResource() {
    String name = ClassName();
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    LoadFormResource(name);
}

namespace {

// The parsed form resources by name. A form class reads the same resource each
// time one is made (a popup on every opening), and parsing was a fifth of that.
// An entry serves only while what the parse depends on is unchanged: the
// resource's text, and the code page a text that is not UTF-8 and names none
// is decoded from.
struct TParsedResource {
    String Text;
    int CodePage = 0;
    TFormParsed<TFormObject> Tree;
};

const TFormObject& ParsedFormResource(const String& name, const String& text) {
    static std::unordered_map<String, TParsedResource> cache;
    auto it = cache.find(name);
    const int codePage = FormFileCodePage();
    if (it == cache.end() || it->second.Text != text || it->second.CodePage != codePage) {
        TParsedResource parsed{text, codePage, ParseFormText(text)};
        it = cache.insert_or_assign(name, std::move(parsed)).first;
    }
    return *it->second.Tree;
}

} // namespace

void TForm::LoadFormResource(const String& name) {
    const String* text = FindFormResource(name);
    if (!text) throw EResourceError("Resource " + name + " not found");
    ReadRootFromTree(this, ParsedFormResource(name, *text));
    if (OnCreate) OnCreate(this);
}

// ---------------------------------------------------------------- frame

TRect TForm::BorderInsets() const {
    const int f = FrameWidth(FBorderStyle);
    const int c = CaptionBarHeight(FBorderStyle);
    return {f, f + (c ? c + 1 : 0), f, f};
}

void TForm::SetBorderStyle(TFormBorderStyle Value) {
    if (Value == FBorderStyle) return;
    // The client area keeps its size; the outer size follows the frame.
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    FBorderStyle = Value;
    const TRect b = BorderInsets();
    SetBounds(Left(), Top(), cw + b.Left + b.Right, ch + b.Top + b.Bottom);
    Invalidate();
}

void TForm::SetBorderIcons(TBorderIcons Value) {
    if (Value == FBorderIcons) return;
    FBorderIcons = Value;
    Invalidate();
}

void TForm::SetFormStyle(TFormStyle Value) {
    if (Value == FFormStyle) return;
    FFormStyle = Value;
    if (Visible()) BringToFront();
}

TRect TForm::CloseBoxRect() const {
    if (FBorderStyle == bsNone || !FBorderIcons.Contains(biSystemMenu)) return {};
    const int f = FrameWidth(FBorderStyle);
    const int c = CaptionBarHeight(FBorderStyle);
    const int h = std::min(CloseBoxHeight, c - 4);
    const int w = h + 2;
    const int right = Left() + Width() - f - 2;
    const int top = Top() + f + (c - h) / 2;
    return {right - w, top, right, top + h};
}

void TForm::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_CLIPSIBLINGS;
    switch (FBorderStyle) {
    case bsNone:
        break;
    case bsSingle:
    case bsToolWindow:
        Params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsDialog:
        Params.Style |= WS_CAPTION | WS_DLGFRAME;
        Params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        Params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    }
    if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) Params.Style |= WS_SYSMENU;
    if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
}

void TForm::PaintNonClient(HDC DC) {
    if (FBorderStyle == bsNone) return;
    const int w = Width();
    const int h = Height();
    const int f = FrameWidth(FBorderStyle);
    const int c = CaptionBarHeight(FBorderStyle);
    const TRect all{0, 0, w, h};
    // The frame: the face colour with a raised edge.
    TRect r = all;
    FillSolid(DC, {0, 0, w, f}, clBtnFace);
    FillSolid(DC, {0, h - f, w, h}, clBtnFace);
    FillSolid(DC, {0, 0, f, h}, clBtnFace);
    FillSolid(DC, {w - f, 0, w, h}, clBtnFace);
    RaisedEdge(DC, r, clBtnFace, clBtnHighlight, clBtnShadow, cl3DDkShadow);
    // The caption bar and the line under it.
    const TRect bar{f, f, w - f, f + c};
    FillSolid(DC, bar, FActive ? clActiveCaption : clInactiveCaption);
    FillSolid(DC, {f, f + c, w - f, f + c + 1}, clBtnFace);
    // The caption text.
    TFont font;
    font.Assign(Font());
    font.SetStyle({fsBold});
    font.SetColor(FActive ? clCaptionText : clInactiveCaptionText);
    HGDIOBJ oldFont = SelectObject(DC, font.Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(font.Color()));
    TRect textRect{bar.Left + 3, bar.Top, bar.Right - 2, bar.Bottom};
    const TRect box = CloseBoxRect();
    if (!box.IsEmpty()) textRect.Right = box.Left - Left() - 2;
    String caption = Caption();
    DrawTextA(DC, caption.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SelectObject(DC, oldFont);
    // The close box: a small raised button with a cross.
    if (!box.IsEmpty()) {
        const TRect b{box.Left - Left(), box.Top - Top(), box.Right - Left(), box.Bottom - Top()};
        FillSolid(DC, b, clBtnFace);
        RaisedEdge(DC, b, clBtnHighlight, clBtnFace, clBtnShadow, cl3DDkShadow);
        const int cx = b.Left + (b.Width() - 8) / 2;
        const int cy = b.Top + (b.Height() - 7) / 2;
        for (int i = 0; i < 7; ++i) {
            DrawSolidLine(DC, cx + i, cy + i, cx + i + 2, cy + i, clBtnText);
            DrawSolidLine(DC, cx + 6 - i, cy + i, cx + 8 - i, cy + i, clBtnText);
        }
    }
    (void)all;
}

// ---------------------------------------------------------------- painting

void TForm::PaintWindow(HDC DC) {
    FCanvas->FreeHandle();
    FCanvas->SetHandle(DC);
    // OnPaint may free the form (directly, or through a handler it sets off).
    TComponentRef<TForm> self(this);
    try {
        Paint();
    } catch (...) {
        if (self) FCanvas->SetHandle(nullptr);
        throw;
    }
    if (self) FCanvas->SetHandle(nullptr);
}

void TForm::Paint() {
    // A form whose destruction has begun (with its owner) may still be asked
    // to paint by a report's message box; its handlers belong to a
    // descendant that is already gone.
    if (ComponentState().Contains(csDestroying)) return;
    if (OnPaint) OnPaint(this);
}

void TForm::CMFontChanged(TMessage& Message) {
    TWinControl::CMFontChanged(Message);
    FCanvas->SetFont(Font());
}

void TForm::CMTextChanged(TMessage& Message) {
    TWinControl::CMTextChanged(Message);
    if (HandleAllocated()) InvalidateRect(nullptr);
}

bool TForm::Showing() const {
    return Visible();
}

void TForm::Update() {
    if (Visible()) TWinControl::Update();
}

// ---------------------------------------------------------------- showing and activation

void TForm::Show() {
    TComponentRef<TForm> self(this);
    SetVisible(true);
    if (self) BringToFront();
}

void TForm::Hide() {
    SetVisible(false);
}

void TForm::BringToFront() {
    Screen->BringToFront(this);
}

void TForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    TWinControl::GetChildren(proc, root);
    if (root == this) TComponent::GetChildren(proc, root);
}

void TForm::Loaded() {
    TWinControl::Loaded();
    FCanvas->SetFont(Font());
    if (Visible()) {
        // A form file that shows the form: show it now that it is read.
        TMessage m;
        m.Msg = CM_VISIBLECHANGED;
        m.WParam = 1;
        Dispatch(m);
    }
}

void TForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CLOSE:
        WMClose(Message);
        break;
    case WM_SYSCOMMAND:
        WMSysCommand(Message);
        break;
    case CM_BUTTONPRESSED:
        FModalResult = static_cast<TModalResult>(Message.WParam);
        break;
    case CM_VISIBLECHANGED:
        TWinControl::Dispatch(Message);
        if (ComponentState().Contains(csLoading)) break;
        if (Visible()) {
            PlaceByPosition();
            HandleNeeded();
            Screen->BringToFront(this);
            InvalidateRect(nullptr);
            // A raising OnShow still leaves the form active (it is on screen
            // and takes the keys); the exception goes on afterwards.
            TComponentRef<TForm> self(this);
            TAllSteps steps;
            steps.Run([&] { DoShow(); });
            if (self && Visible() && AcceptsInput()) steps.Run([&] { SetActive(true); });
            steps.Rethrow();
        } else {
            if (CaptureControl() && (CaptureControl() == this || ContainsControl(CaptureControl())))
                SetCaptureControl(nullptr);
            // Every step runs whatever a handler raises, so the activation
            // always passes on to the next form and no key is lost.
            const bool wasActive = FActive;
            TComponentRef<TForm> self(this);
            TAllSteps steps;
            if (FActive) steps.Run([&] { SetActive(false); });
            if (self) steps.Run([&] { DoHide(); });
            if (wasActive)
                steps.Run([&] {
                    if (TForm* next = Screen->NextActiveForm(self.Get())) next->SetActive(true);
                });
            steps.Rethrow();
        }
        break;
    default:
        TWinControl::Dispatch(Message);
        break;
    }
}

void TForm::PlaceByPosition() {
    const TForm* over = nullptr;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        break;
    case poMainFormCenter:
        over = Application->MainForm();
        break;
    case poOwnerFormCenter:
        over = dynamic_cast<const TForm*>(Owner());
        if (over == nullptr) over = Application->MainForm();
        break;
    default:
        return;
    }
    if (over == this) over = nullptr;
    if (over == nullptr) {
        SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
        return;
    }
    // Kept on the screen where it fits, its top-left corner first (in 64 bits:
    // bounds may lie anywhere in the int range).
    auto centre = [](std::int64_t start, std::int64_t outer, std::int64_t inner, std::int64_t screen) {
        const std::int64_t at = start + (outer - inner) / 2;
        return static_cast<int>(std::max<std::int64_t>(0, std::min(at, screen - inner)));
    };
    SetBounds(centre(over->Left(), over->Width(), Width(), Screen->Width()),
              centre(over->Top(), over->Height(), Height(), Screen->Height()), Width(), Height());
}

void TForm::SetActive(bool Value) {
    if (Value == FActive) return;
    if (Value) {
        // The form left behind deactivates first; its OnDeactivate may free this one.
        TComponentRef<TForm> self(this);
        if (TForm* old = Screen->ActiveForm(); old && old != this) {
            TComponentRef<TForm> oldSelf(old);
            old->SetActive(false);
            if (!self) {
                // This form went instead of taking over: the old one keeps the activation.
                if (oldSelf && oldSelf->Visible() && oldSelf->AcceptsInput()) oldSelf->SetActive(true);
                return;
            }
        }
        FActive = true;
        Screen->SetActiveForm(this);
        AccNotify(this, TAccEventKind::WindowActivated);
        if (HandleAllocated()) InvalidateRect(nullptr); // the caption changes colour
        // The focus is restored even when OnActivate raises (the keys must
        // reach the form); the exception goes on afterwards.
        TAllSteps steps;
        steps.Run([&] { Activate(); });
        if (self && FActive) steps.Run([&] { RestoreFocus(); });
        steps.Rethrow();
    } else {
        FActive = false;
        if (Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
        AccNotify(this, TAccEventKind::WindowDeactivated);
        if (FocusedWindow() && ContainsControl(FocusedWindow())) SetFocusedWindow(nullptr);
        if (HandleAllocated()) InvalidateRect(nullptr);
        Deactivate();
    }
}

// The focus comes back to where it was in this form, or goes to the active
// control, or to the first control in tab order.
void TForm::RestoreFocus() {
    if (FFocusedControl && FFocusedControl != this && FFocusedControl->CanFocus()) {
        SetFocusedWindow(FFocusedControl);
    } else if (FActiveControl && FActiveControl->CanFocus()) {
        SetFocusedControlImpl(FActiveControl);
    } else {
        SetFocusedWindow(this);
        if (!FFocusedControl) FFocusedControl = this;
        SelectFirst();
    }
}

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TForm::ModalDisable(bool disable) {
    FModalDisabled += disable ? 1 : -1;
}

// ---------------------------------------------------------------- closing and the modal loop

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close() {
    if (FModal) {
        if (FModalResult == mrNone) FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    switch (action) {
    case caNone:
        return;
    case caFree:
        Hide();
        PostMessage(this, CM_RELEASE);
        break;
    default:
        Hide();
        break;
    }
    if (Application->MainForm() == this) Application->Terminate();
}

bool TForm::CloseModal() {
    TComponentRef<TForm> self(this);
    const bool canClose = CloseQuery();
    if (!self) return true;
    if (!canClose) {
        FModalResult = mrNone;
        return false;
    }
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (!self) return true;
    if (action == caNone) {
        FModalResult = mrNone;
        return false;
    }
    return true;
}

void TForm::WMClose(TMessage&) {
    Close();
}

void TForm::WMSysCommand(TMessage& Message) {
    if ((Message.WParam & 0xFFF0) == SC_CLOSE)
        Perform(WM_CLOSE);
    else
        DefaultHandler(Message);
}

void TForm::EndModalState() {
    for (TForm* f : FModalDisabledForms)
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i) == f) f->ModalDisable(false);
    FModalDisabledForms.clear();
    FModal = false;
    Screen->PopModal(this);
}

// The clean-up runs in the open, not in a destructor: hiding hands the
// activation back (OnDeactivate, OnHide, the next form's OnActivate, perhaps an
// exit check), and an exception from those handlers must reach the caller
// instead of ending the process. When the loop itself left with an exception,
// that one goes on and one from the hiding is reported.
TModalResult TForm::ShowModal() {
    if (Visible() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
    SetCaptureControl(nullptr);
    // Every other form refuses input while this one is modal.
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (TForm* f = Screen->Forms(i); f != this) {
            f->ModalDisable(true);
            FModalDisabledForms.push_back(f);
        }
    FModal = true;
    FModalResult = mrNone;
    Screen->PushModal(this);
    TComponentRef<TForm> self(this);
    try {
        Show();
        if (self) Application->RunModalLoop(this);
    } catch (...) {
        if (self) {
            EndModalState();
            try {
                Hide();
            } catch (...) {
                Application->ReportException(this);
            }
        }
        throw;
    }
    // Freed during the loop: its destructor ended the modal state.
    if (!self) return mrCancel;
    const TModalResult result = FModalResult;
    EndModalState();
    Hide();
    return result;
}

// ---------------------------------------------------------------- keys

void TForm::KeyDown(Word& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
}

void TForm::CMDialogKey(TMessage& Message) {
    const Word key = static_cast<Word>(Message.WParam);
    const TShiftState shift = KeyboardShiftState();
    if (key == VK_TAB && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
        SelectNext(FActiveControl, !shift.Contains(ssShift), true);
        Message.Result = 1;
        return;
    }
    if (key == VK_RETURN || key == VK_ESCAPE) {
        // The default or cancel button takes Enter or Escape.
        std::vector<TWinControl*> list;
        GetTabOrderList(list);
        for (TWinControl* c : list) {
            if (c->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) {
                Message.Result = 1;
                return;
            }
        }
    }
    Message.Result = 0;
}

// ---------------------------------------------------------------- focus

void TForm::SetActiveControl(TWinControl* Control) {
    if (Control == FActiveControl) return;
    if (Control && (!ContainsControl(Control) || Control == this))
        throw EInvalidOperation("Cannot focus a control of another form");
    if (ComponentState().Contains(csLoading) || !FActive) {
        FActiveControl = Control;
        return;
    }
    if (Control)
        FocusControl(Control);
    else
        FActiveControl = nullptr;
}

void TForm::FocusControl(TWinControl* Control) {
    if (!Control) return;
    // A control that is hidden or disabled (or inside such a parent) cannot
    // take the focus.
    for (const TControl* c = Control; c && c != this; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            throw EInvalidOperation("Cannot focus a disabled or invisible window");
    if (!Visible() || !FActive) {
        // Remembered: it gets the focus when the form is shown or activated.
        FActiveControl = Control == this ? nullptr : Control;
        if (Visible() && AcceptsInput() && FModalDisabled == 0 && !Screen->ActiveForm()) SetActive(true);
        return;
    }
    SetFocusedControlImpl(Control);
}

bool TForm::SendFocusMessage(TWinControl* control, UINT msg) {
    const int count = FFocusCount;
    TComponentRef<TForm> self(this);
    TComponentRef<TWinControl> left(control);
    try {
        control->Perform(msg);
    } catch (...) {
        // An exit handler that raised keeps the focus where it was (unless it
        // moved the focus itself); the exception goes on.
        if (self && msg == CM_EXIT && FFocusCount == count && left && left->CanFocus()) {
            FFocusedControl = left.Get();
            FActiveControl = left.Get();
            SetFocusedWindow(left.Get());
        }
        throw;
    }
    return self && FFocusCount == count;
}

// The focus moves to Control: CM_EXIT to the controls it leaves (inner
// first), then CM_ENTER to those it enters (outer first). A handler that
// moves the focus elsewhere meanwhile wins: the rest of this move is dropped.
bool TForm::SetFocusedControlImpl(TWinControl* Control) {
    ++FFocusCount;
    FActiveControl = Control == this ? nullptr : Control;
    SetFocusedWindow(Control);
    if (Control->ControlState().Contains(csFocusing)) return false;
    Control->SetControlState(Control->ControlState() + csFocusing);
    // The exit and enter handlers may free the target (or this form): the move
    // then stops without touching either.
    TComponentRef<TWinControl> target(Control);
    struct TClearFocusing {
        TComponentRef<TWinControl>& Target;
        ~TClearFocusing() {
            if (Target) Target->SetControlState(Target->ControlState() - csFocusing);
        }
    } clear{target};
    if (!FFocusedControl) FFocusedControl = this;
    if (FFocusedControl == Control) return true;
    while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
        TWinControl* leaving = FFocusedControl;
        FFocusedControl = FFocusedControl->Parent();
        if (!SendFocusMessage(leaving, CM_EXIT) || !target) return false;
    }
    while (FFocusedControl != Control) {
        TWinControl* entering = Control;
        while (entering && entering->Parent() != FFocusedControl)
            entering = entering->Parent();
        if (!entering) return false; // the target left this form meanwhile
        FFocusedControl = entering;
        if (!SendFocusMessage(entering, CM_ENTER) || !target) return false;
    }
    return true;
}

void TForm::SelectFirst() {
    // The controls of a form being designed take no focus: the designer handles the input.
    if (ComponentState().Contains(csDesigning)) return;
    if (TWinControl* c = FindNextControl(nullptr, true, true)) c->SetFocus();
}

void TForm::ControlRemoving(TControl* AControl) {
    if (!AControl->IsWindowed()) return;
    auto* w = static_cast<TWinControl*>(AControl);
    if (FActiveControl && w->ContainsControl(FActiveControl)) FActiveControl = nullptr;
    if (FFocusedControl && FFocusedControl != this && w->ContainsControl(FFocusedControl))
        FFocusedControl = w->Parent() ? w->Parent() : this;
}

// The focus leaves a control that was disabled or hidden with the focus inside
// it: to the next control in tab order that can take it, else to the form. The
// controls left hear CM_EXIT as on any focus move.
void TForm::DefocusControl(TWinControl* Control) {
    if (!FActive || !ContainsControl(FocusedWindow())) return;
    TWinControl* next = FindNextControl(Control, true, true);
    if (next && Control->ContainsControl(next)) next = nullptr;
    SetFocusedControlImpl(next ? next : this);
}

void TForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == FActiveControl) FActiveControl = nullptr;
        if (AComponent == FFocusedControl) FFocusedControl = this;
    }
}

} // namespace fw
