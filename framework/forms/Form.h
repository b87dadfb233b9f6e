#pragma once
// TForm: a top-level window with a frame, a caption, a canvas, the focus of
// its controls, and a modal loop.
//
// Making a form. `new TForm(owner)` makes an empty form without a resource
// (320 x 240, clBtnFace, the default font). A form class with a form
// resource loads it as the first statement of its own constructor, once the
// derived object exists and its published fields and methods can be bound:
//
//     TfrmQzCal::TfrmQzCal(TComponent* AOwner) : TForm(AOwner) {
//         LoadFormResource();      // reads "TFRMQZCAL": makes tmr, binds FormPaint...
//         ... read settings from the owner, size and place the form ...
//     }
//
// LoadFormResource finds the resource named after the form's class in
// capitals in the registered resource modules, reads it into the form through
// the form-file reader (the setters run, children are made and parented,
// events bound) and then fires OnCreate.
//
// ShowModal runs a nested message loop until ModalResult is not mrNone, with
// the other forms refusing input meanwhile, and returns the result. The
// close box and Close of a modal form end it with mrCancel.

#include <framework/controls/ControlCanvas.h>
#include <framework/controls/WinControl.h>

namespace fw {

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon>;

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
// Where a form goes when it is shown: where its bounds say (poDesigned and
// the poDefault ones), centred on the screen (poScreenCenter, and
// poDesktopCenter: the desktop is the one screen), over the main form, or
// over the form that owns it (the main form when its owner is none). A form
// centred over another stays on the screen where it fits; one centred over
// itself, or over no form, is centred on the screen.
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
    FW_CLASS(TForm, TWinControl)

public:
    // A form without a resource.
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // ---- appearance
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    const String& Caption() const { return Text(); }
    void SetCaption(const String& Value) { SetText(Value); }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    // Stored for form files; they change nothing here.
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
    int TextHeight() const { return FTextHeight; }
    void SetTextHeight(int Value) { FTextHeight = Value; }

    // The canvas of the client area: during OnPaint it draws on the paint's
    // context, outside a paint directly on the form's pixels. Its font is the
    // form's font.
    TControlCanvas* Canvas() const { return FCanvas.get(); }

    // ---- showing
    void Show();
    void Hide();
    // Closes the form: a modal form ends with mrCancel (unless a result is
    // set already); another form is hidden (or freed, as OnClose decides).
    void Close();
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool Modal() const { return FModal; }
    // Whether the form is shown on the screen.
    bool Showing() const override;
    // Paints whatever waits, now.
    void Update() override;
    // Moves the form above the other forms of its band (stay-on-top forms stay above).
    void BringToFront();

    // ---- focus
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    bool Active() const { return FActive; }
    void FocusControl(TWinControl* Control) override;
    // Focuses the first control in tab order.
    void SelectFirst();
    // Input is refused while another form is modal.
    bool AcceptsInput() const { return Enabled() && FModalDisabled == 0; }

    TRect BorderInsets() const override;
    // Screen rectangle of the close box in the caption (empty without one).
    TRect CloseBoxRect() const;

    void Dispatch(TMessage& Message) override;
    // The controls, then (for the root) the non-visual components it owns.
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    // ---- events
    TNotifyEvent OnPaint;
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Used by the application and the screen; not for forms' own code.
    void SetActive(bool Value);
    void ModalDisable(bool disable);
    TWinControl* FocusedControl() const { return FFocusedControl; }
    // Ends a modal loop whose result is set: OnCloseQuery and OnClose may
    // keep the form open (the result is then cleared); true when it closes.
    bool CloseModal();

protected:
    // Reads the form's resource (the class name in capitals, or `name`) into
    // this form and fires OnCreate. Raises EResourceError without a resource.
    void LoadFormResource();
    void LoadFormResource(const String& name);

    virtual void Paint();
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();
    virtual bool CloseQuery();

    std::unique_ptr<TAccessible> CreateAccessible() override;
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    void PaintNonClient(HDC DC) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    bool KeyPreviewActive() const override { return FKeyPreview; }
    void ControlRemoving(TControl* AControl) override;
    void DefocusControl(TWinControl* Control) override;
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    void WMClose(TMessage& Message);
    void WMSysCommand(TMessage& Message);
    void CMDialogKey(TMessage& Message) override;

private:
    friend bool SetFocusedControl(TForm* form, TWinControl* control);
    bool SendFocusMessage(TWinControl* control, UINT msg);
    bool SetFocusedControlImpl(TWinControl* Control);
    void RestoreFocus();
    // Moves the form where Position puts it (when shown).
    void PlaceByPosition();
    // Gives the other forms their input back and leaves the modal bands.
    void EndModalState();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    bool FOldCreateOrder = false;
    int FPixelsPerInch = 96;
    int FTextHeight = 13;
    std::unique_ptr<TControlCanvas> FCanvas;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FActive = false;
    int FModalDisabled = 0;
    std::vector<TForm*> FModalDisabledForms; // the forms this modal form disabled
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    int FFocusCount = 0;
};

// Errors that end a loop instead of being reported in a message box: the
// headless loop's idle error and the automation's misuse errors.
class ELoopError : public Exception {
public:
    using Exception::Exception;
};

// A modal loop that can never end: nothing is queued, no timer is due and no
// scripted step waits.
class EModalLoopIdle : public ELoopError {
public:
    using ELoopError::ELoopError;
};

// Invalid operation on a control or form (focusing a hidden control, showing
// a form modally twice).
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

} // namespace fw
