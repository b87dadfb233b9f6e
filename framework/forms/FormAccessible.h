#pragma once
// The accessible objects of forms and of the application, the root of the
// accessibility tree: its children are the shown forms, bottom first.

#include <framework/controls/Accessibility.h>

namespace fw {

class TForm;

// A form: a frame, or a dialog when it has a dialog frame or runs modally;
// named by its caption; active and modal states; children are its visible
// controls.
class TFormAccessible : public TControlAccessible {
public:
    explicit TFormAccessible(TForm* Form);

    TAccRole Role() const override;
    String Name() const override;
    TAccStates States() const override;
    TAccessible* Parent() const override;
    int ActionCount() const override { return 1; }
    String ActionName(int Index) const override { return Index == 0 ? "close" : String(); }
    void RunAction(int Index) override;

protected:
    TForm* Form() const;
};

// The application's object (made on first use, lives for the process).
TAccessible* ApplicationAccessible();

} // namespace fw
