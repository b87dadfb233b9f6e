#pragma once
// A form with a date edit, "today" fixed at Saturday 14 March 2026, and helpers to
// make a popup for the edit directly or to open it through the edit and drive it
// from inside its modal loop.

#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <framework/backends/headless/Automation.h>
#include <framework/forms/Form.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <functional>
#include <memory>
#include <tests/support/UiFixture.h>

namespace qztest {

class PopupFixture : public fw::test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<fw::TForm>(nullptr);
        form->SetName("Form1");
        form->SetBorderStyle(fw::bsNone);
        form->SetBounds(100, 100, 300, 200);
        edit = new qz::TQzDateEdit(form.get());
        edit->SetName("DateEdit1");
        edit->SetParent(form.get());
        edit->SetBounds(8, 8, 121, 20);
        form->Show();
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    // A popup for the edit, shown (not modal) and painted.
    std::unique_ptr<qz::TfrmQzCal> ShowPopup() {
        auto Popup = std::make_unique<qz::TfrmQzCal>(edit);
        Popup->Show();
        fw::Ui::Pump();
        return Popup;
    }

    // Opens the calendar through the edit's OpenCalendar; Step runs inside the
    // popup's modal loop and must end it.
    bool OpenAndDrive(const std::function<void(qz::TfrmQzCal*)>& Step) {
        fw::Ui::OnNextModal([Step](fw::TForm* Form) {
            auto* Popup = dynamic_cast<qz::TfrmQzCal*>(Form);
            ASSERT_NE(Popup, nullptr);
            Step(Popup);
        });
        return edit->OpenCalendar();
    }

    // The centre of grid cell Index, in the popup's client coordinates.
    static fw::TPoint CellCentre(const qz::TfrmQzCal* Popup, int Index) {
        const fw::TRect R = Popup->FindArrayRect(Index);
        return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }

    fw::TScopedClock clock{fw::EncodeDate(2026, 3, 14)};
    std::unique_ptr<fw::TForm> form;
    qz::TQzDateEdit* edit = nullptr;
};

} // namespace qztest
