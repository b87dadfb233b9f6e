// The accessible objects of forms, message boxes and the application.

#include <filesystem>
#include <framework/forms/Application.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Form.h>
#include <framework/forms/FormAccessible.h>
#include <framework/forms/Screen.h>

namespace fw {

namespace {

// The shown forms, bottom first.
std::vector<TForm*> ShownForms() {
    std::vector<TForm*> list;
    for (TForm* form : Screen->ZOrder())
        if (form->Visible()) list.push_back(form);
    return list;
}

// The program's name as the system knows it (its executable's file name).
String ProgramName() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? String("application") : exe.filename().string();
}

class TApplicationAccessible : public TAccessible {
public:
    TAccRole Role() const override { return TAccRole::Application; }
    String Name() const override {
        const String& title = Application->Title();
        return title.empty() ? ProgramName() : title;
    }
    TRect Bounds() const override { return {0, 0, Screen->Width(), Screen->Height()}; }
    TAccessible* Parent() const override { return nullptr; }
    int ChildCount() const override { return static_cast<int>(ShownForms().size()); }
    TAccessible* Child(int Index) const override {
        const std::vector<TForm*> list = ShownForms();
        return Index >= 0 && Index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(Index)]->Accessible()
                                                                    : nullptr;
    }
};

// A message box: a dialog whose description is its message.
class TMessageFormAccessible : public TFormAccessible {
public:
    using TFormAccessible::TFormAccessible;
    TAccRole Role() const override { return TAccRole::Dialog; }
    String Description() const override { return static_cast<TMessageForm*>(FControl)->MessageText(); }
};

} // namespace

TFormAccessible::TFormAccessible(TForm* Form) : TControlAccessible(Form) {}

TForm* TFormAccessible::Form() const {
    return static_cast<TForm*>(FControl);
}

TAccRole TFormAccessible::Role() const {
    return Form()->BorderStyle() == bsDialog || Form()->Modal() ? TAccRole::Dialog : TAccRole::Frame;
}

String TFormAccessible::Name() const {
    return Form()->Caption().empty() ? Form()->Hint() : Form()->Caption();
}

TAccStates TFormAccessible::States() const {
    TAccStates s = TControlAccessible::States();
    s.Exclude(asFocusable);
    s.Exclude(asFocused);
    if (Form()->Active()) s << asActive;
    if (Form()->Modal()) s << asModal;
    return s;
}

TAccessible* TFormAccessible::Parent() const {
    return Form()->Parent() ? TControlAccessible::Parent() : ApplicationAccessible();
}

void TFormAccessible::RunAction(int Index) {
    if (Index == 0 && Form()->Visible()) Form()->Close();
}

std::unique_ptr<TAccessible> TForm::CreateAccessible() {
    return std::make_unique<TFormAccessible>(this);
}

std::unique_ptr<TAccessible> TMessageForm::CreateAccessible() {
    return std::make_unique<TMessageFormAccessible>(this);
}

TAccessible* ApplicationAccessible() {
    static TApplicationAccessible* root = new TApplicationAccessible(); // lives for the process
    return root;
}

} // namespace fw
