#pragma once
// Message boxes and message dialogs: real modal forms with a text, an icon
// and a row of buttons. MessageDlg's captions are the framework's own
// ("Warning", "Error", "Information", "Confirm"); Application->MessageBox
// takes its caption and buttons from the caller.

#include <framework/classes/Set.h>
#include <framework/forms/Form.h>
#include <vector>

namespace fw {

class TLabel;
class TButton;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = Set<TMsgDlgBtn>;

// Shows a modal dialog and returns the modal result of the button pressed
// (mrOk, mrYes...), or mrCancel when it was closed otherwise.
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);

// The icons a message form can show.
enum class TMessageIcon { None, Stop, Question, Warning, Information };

// The form behind MessageBox and MessageDlg.
class TMessageForm : public TForm {
    FW_CLASS(TMessageForm, TForm)

public:
    struct TButtonSpec {
        String Caption;
        TModalResult Result;
        bool Default;
        bool Cancel;
    };

    TMessageForm(TComponent* AOwner, const String& Caption, const String& Text, TMessageIcon Icon,
                 const std::vector<TButtonSpec>& Buttons);
    // The class registry needs a plain constructor; it makes an empty box.
    explicit TMessageForm(TComponent* AOwner);

    const String& MessageText() const { return FText; }
    TMessageIcon Icon() const { return FIcon; }
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TButton* Buttons(int Index) const { return FButtons.at(static_cast<std::size_t>(Index)); }
    // The button with this caption ('&' ignored, case ignored), or nullptr.
    TButton* FindButton(const String& Caption) const;

protected:
    void Paint() override;
    std::unique_ptr<TAccessible> CreateAccessible() override;

private:
    void Build(const std::vector<TButtonSpec>& buttons);

    String FText;
    TMessageIcon FIcon = TMessageIcon::None;
    TLabel* FMessage = nullptr;
    std::vector<TButton*> FButtons;
};

// The buttons and icon a MessageBox flag word asks for.
std::vector<TMessageForm::TButtonSpec> MessageBoxButtons(UINT Flags);
TMessageIcon MessageBoxIcon(UINT Flags);

} // namespace fw
