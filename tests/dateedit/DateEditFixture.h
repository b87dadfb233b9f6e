#pragma once
// A form with a date edit (focused) and a plain edit to Tab to, "today" fixed at
// 14 March 2026, and helpers that act as a person would.

#include <Qzde/QzDateControls.h>
#include <framework/backends/headless/Automation.h>
#include <framework/controls/Edit.h>
#include <framework/forms/Form.h>
#include <framework/platform/Windows.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <memory>
#include <string>
#include <tests/support/UiFixture.h>

namespace qztest {

// The date edit as its descendants see it.
class TProbeDateEdit : public qz::TQzDateEdit {
public:
    using TQzDateEdit::TQzDateEdit;
    bool DateValid() const { return FDateValid; }
};

class DateEditFixture : public fw::test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<fw::TForm>(nullptr);
        form->SetBounds(100, 100, 260, 120);
        edit = new TProbeDateEdit(form.get());
        edit->SetName("DateEdit1");
        edit->SetParent(form.get());
        edit->SetBounds(8, 8, 121, 20);
        other = new fw::TEdit(form.get());
        other->SetName("Edit2");
        other->SetParent(form.get());
        other->SetBounds(8, 40, 121, 21);
        form->Show();
        ASSERT_TRUE(edit->Focused());
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    // Replaces the edit's text by typing (after selecting all of it) and leaves with Tab.
    void TypeAndLeave(const std::string& text) {
        edit->SelectAll();
        fw::Ui::TypeText(text);
        fw::Ui::Tab();
    }
    // Puts a text in place (as a paste would) and leaves with Tab.
    void SetAndLeave(const std::string& text) {
        edit->SetText(text);
        fw::Ui::Tab();
    }

    fw::TScopedClock clock{fw::EncodeDate(2026, 3, 14)};
    std::unique_ptr<fw::TForm> form;
    TProbeDateEdit* edit = nullptr;
    fw::TEdit* other = nullptr;
};

} // namespace qztest
