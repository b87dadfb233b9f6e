// Handlers that raise or free things, in every flow of the date edit and its
// popup: the exception is reported once, nothing touches freed memory, no modal
// loop, popup or message box stays behind, and the next key reaches the edit.

#include "PopupFixture.h"

#include <framework/controls/Edit.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Application.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Screen.h>
#include <framework/rtl/Exceptions.h>

namespace qztest {
namespace {

using fw::Ui::OnNextModal;
using fw::Ui::PressKey;

bool AnyPopup() {
    for (int I = 0; I < fw::Screen->FormCount(); ++I)
        if (dynamic_cast<qz::TfrmQzCal*>(fw::Screen->Forms(I))) return true;
    return false;
}

class Faults : public PopupFixture {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        other = new fw::TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(8, 60, 121, 21);
        fw::Application->OnException = [this](fw::TObject*, const std::exception& E) {
            Reported.push_back(E.what());
        };
        edit->SetFocus();
    }

    // Nothing modal is left and the screen holds no popup.
    void ExpectNothingLeftBehind() {
        EXPECT_EQ(fw::Application->ModalLevel(), 0);
        EXPECT_EQ(fw::Ui::ActiveModalForm(), nullptr);
        EXPECT_FALSE(AnyPopup());
        EXPECT_TRUE(!form || form->AcceptsInput());
    }

    // A key typed now reaches the edit.
    void ExpectTypingReachesTheEdit() {
        ASSERT_TRUE(edit->Focused());
        edit->SelectAll();
        fw::Ui::TypeText("1");
        EXPECT_EQ(edit->Text(), "1");
        edit->SetText("");
    }

    // A handler that raises the first time only.
    static fw::TNotifyEvent RaiseOnce(const char* What) {
        return [What, Done = false](fw::TObject*) mutable {
            if (std::exchange(Done, true)) return;
            throw fw::Exception(What);
        };
    }

    fw::TEdit* other = nullptr;
    std::vector<std::string> Reported;
};

// The ways into the popup; a day is picked by key, then Escape.
enum class TOpen { AltDown, DropButton, Direct };

void OpenAndEscape(qz::TQzDateEdit* Edit, TOpen How) {
    OnNextModal([](fw::TForm*) {
        PressKey(fw::VK_RIGHT);
        PressKey(fw::VK_ESCAPE);
    });
    switch (How) {
    case TOpen::AltDown:
        PressKey(fw::VK_DOWN, {fw::ssAlt});
        break;
    case TOpen::DropButton:
        fw::Ui::Click(Edit->CalendarButton());
        break;
    case TOpen::Direct:
        EXPECT_THROW(Edit->OpenCalendar(), fw::Exception);
        break;
    }
}

TEST_F(Faults, AHandlerRaisingWhileThePopupClosesIsReportedOnce) {
    // Each handler runs while the popup ends: activation handed back to the
    // main form, the restore of the text by Escape, the close event.
    const struct {
        const char* Name;
        fw::TNotifyEvent* Handler;
    } Rows[] = {
        {"OnActivate", &form->OnActivate},
        {"OnChange", &edit->OnChange},
        {"OnCloseCalendar", &edit->OnCloseCalendar},
    };
    for (const auto& Row : Rows)
        for (TOpen How : {TOpen::AltDown, TOpen::DropButton}) {
            SCOPED_TRACE(std::string(Row.Name) + (How == TOpen::AltDown ? " Alt+Down" : " button"));
            Reported.clear();
            edit->SetDate(fw::EncodeDate(2026, 3, 1));
            // OnChange raises when Escape writes the opening text back.
            if (Row.Handler == &edit->OnChange)
                edit->OnChange = [this, Done = false](fw::TObject*) mutable {
                    if (edit->Text() == "01/03/2026" && !std::exchange(Done, true))
                        throw fw::Exception("change");
                };
            else
                *Row.Handler = RaiseOnce(Row.Name);
            OpenAndEscape(edit, How);
            EXPECT_EQ(Reported.size(), 1u);
            EXPECT_EQ(edit->Text(), "01/03/2026") << "Escape restored the text";
            ExpectNothingLeftBehind();
            ExpectTypingReachesTheEdit();
            form->OnActivate = nullptr;
            edit->OnChange = nullptr;
            edit->OnCloseCalendar = nullptr;
        }
}

TEST_F(Faults, OnOpenCalendarRaisingGivesTheFocusBackToTheEdit) {
    for (TOpen How : {TOpen::AltDown, TOpen::DropButton}) {
        Reported.clear();
        other->SetFocus();
        edit->OnOpenCalendar = RaiseOnce("open");
        if (How == TOpen::DropButton) {
            fw::Ui::Click(edit->CalendarButton());
        } else {
            edit->SetFocus();
            PressKey(fw::VK_DOWN, {fw::ssAlt});
        }
        EXPECT_EQ(Reported.size(), 1u);
        EXPECT_TRUE(edit->Focused()) << "not left on the drop button";
        ExpectNothingLeftBehind();
        ExpectTypingReachesTheEdit();
    }
}

TEST_F(Faults, OnActivateRaisingAfterTheInvalidDateBoxIsReportedOnce) {
    int Invalid = 0;
    edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
    form->OnActivate = RaiseOnce("activate");
    fw::Ui::TypeText("31/02/2026");
    OnNextModal([](fw::TForm*) { fw::Ui::PressButton("OK"); });
    fw::Ui::Tab();
    EXPECT_EQ(Invalid, 1);
    EXPECT_EQ(Reported.size(), 1u);
    ExpectNothingLeftBehind();
    ExpectTypingReachesTheEdit();
}

TEST_F(Faults, OnExitRaisingStillChecksTheTextAndKeepsTheFocus) {
    const struct {
        const char* Typed;
        const char* TextAfter;
        int InvalidEvents;
    } Rows[] = {{"1/2/26", "01/02/2026", 0}, {"45/2/2026", "45/2/2026", 1}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Typed);
        Reported.clear();
        int Invalid = 0;
        edit->SetErrorMessageType(qz::mtSilent);
        edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
        edit->OnExit = RaiseOnce("exit");
        edit->SetText(Row.Typed);
        fw::Ui::Tab();
        EXPECT_EQ(Reported.size(), 1u);
        EXPECT_EQ(edit->Text(), Row.TextAfter);
        EXPECT_EQ(Invalid, Row.InvalidEvents);
        EXPECT_TRUE(edit->Focused());
        EXPECT_EQ(form->ActiveControl(), edit);
        // Without the fault the next Tab leaves a valid text.
        edit->SetText("1/2/26");
        fw::Ui::Tab();
        EXPECT_TRUE(other->Focused());
        edit->SetFocus();
    }
}

TEST_F(Faults, FreeingTheEditFromItsHandlersIsSafeOnEveryPath) {
    // Which handler frees the edit, and how the popup is opened and ended.
    enum TWho { CloseHandler, OpenHandler, ChangeHandler, DeactivateHandler, TimerInPopup, TimerFreesForm };
    const struct {
        const char* Name;
        TWho Who;
        TOpen How;
        fw::Word EndKey;
    } Rows[] = {
        {"OnCloseCalendar, Alt+Down, Escape", CloseHandler, TOpen::AltDown, fw::VK_ESCAPE},
        {"OnCloseCalendar, button, Escape", CloseHandler, TOpen::DropButton, fw::VK_ESCAPE},
        {"OnCloseCalendar, button, Enter", CloseHandler, TOpen::DropButton, fw::VK_RETURN},
        {"OnOpenCalendar, Alt+Down", OpenHandler, TOpen::AltDown, 0},
        {"OnOpenCalendar, button", OpenHandler, TOpen::DropButton, 0},
        // The popup's first paint shows its date in the edit.
        {"OnChange as the popup paints, Alt+Down", ChangeHandler, TOpen::AltDown, 0},
        // The main form deactivates as the popup becomes active.
        {"the form's OnDeactivate as the popup shows, Alt+Down", DeactivateHandler, TOpen::AltDown, 0},
        {"a timer while the popup is open, Alt+Down", TimerInPopup, TOpen::AltDown, 0},
        {"a timer while the popup is open, button", TimerInPopup, TOpen::DropButton, 0},
        {"a timer frees the form while the popup is open", TimerFreesForm, TOpen::AltDown, 0},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        SetUp();
        auto* Edit = edit;
        auto FreeEdit = [this](fw::TObject*) { delete edit; };
        if (Row.Who == CloseHandler) Edit->OnCloseCalendar = FreeEdit;
        if (Row.Who == OpenHandler) Edit->OnOpenCalendar = FreeEdit;
        if (Row.Who == ChangeHandler) Edit->OnChange = FreeEdit;
        if (Row.Who == DeactivateHandler)
            form->OnDeactivate = [this](fw::TObject*) {
                form->OnDeactivate = nullptr;
                delete edit;
            };
        fw::TTimer* Timer = nullptr;
        if (Row.Who == TimerInPopup || Row.Who == TimerFreesForm) {
            Timer = new fw::TTimer(nullptr);
            Timer->SetEnabled(false);
            Timer->SetInterval(20);
            Timer->OnTimer = [&, Row](fw::TObject*) {
                Timer->SetEnabled(false);
                if (Row.Who == TimerFreesForm)
                    form.reset();
                else
                    delete edit;
            };
            OnNextModal([Timer](fw::TForm*) {
                Timer->SetEnabled(true);
                fw::Ui::Wait(50);
            });
        } else if (Row.EndKey) {
            OnNextModal([Key = Row.EndKey](fw::TForm*) { PressKey(Key); });
        }
        if (Row.How == TOpen::AltDown)
            PressKey(fw::VK_DOWN, {fw::ssAlt});
        else
            fw::Ui::Click(Edit->CalendarButton());
        delete Timer;
        ExpectNothingLeftBehind();
        if (form) {
            EXPECT_EQ(form->ComponentCount(), 1) << "only the other edit is left";
            EXPECT_TRUE(form->Active());
            PressKey(fw::VK_TAB);
        }
        EXPECT_TRUE(Reported.empty());
        TearDown();
    }
    SetUp();
}

TEST_F(Faults, TheCalendarComponentFreedWhileItsPopupIsOpen) {
    auto* Calendar = new qz::TQzCalendar(form.get());
    fw::TTimer Timer(nullptr);
    Timer.SetEnabled(false);
    Timer.SetInterval(20);
    Timer.OnTimer = [&](fw::TObject*) {
        Timer.SetEnabled(false);
        delete Calendar;
    };
    OnNextModal([&](fw::TForm*) {
        Timer.SetEnabled(true);
        fw::Ui::Wait(50);
    });
    EXPECT_FALSE(Calendar->OpenCalendar());
    ExpectNothingLeftBehind();
}

TEST_F(Faults, ADayEventFreeingItsOpenerEndsThePopupAndIsNotAskedAgain) {
    // OnDayStyle or OnDayDisabled frees the opener: while the popup asks about
    // its first month (as it is made), about the next one (Page Down), or
    // about the day a step lands on (Right).
    enum TWhen { AsItIsMade, NextMonth, DayStep };
    const struct {
        const char* Name;
        bool Calendar, Style;
        TWhen When;
    } Rows[] = {
        {"edit, OnDayStyle, as it is made", false, true, AsItIsMade},
        {"edit, OnDayDisabled, as it is made", false, false, AsItIsMade},
        {"edit, OnDayStyle, Page Down", false, true, NextMonth},
        {"edit, OnDayDisabled, Right", false, false, DayStep},
        {"component, OnDayStyle, as it is made", true, true, AsItIsMade},
        {"component, OnDayDisabled, Page Down", true, false, NextMonth},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        SetUp();
        qz::TQzCalendar* Calendar = Row.Calendar ? new qz::TQzCalendar(form.get()) : nullptr;
        fw::TComponent* Opener = Calendar ? static_cast<fw::TComponent*>(Calendar) : edit;
        qz::TQzCalendarSettings* Settings = Calendar ? static_cast<qz::TQzCalendarSettings*>(Calendar) : edit;
        bool Armed = Row.When == AsItIsMade, Freed = false;
        int AskedAfterwards = 0;
        auto Ask = [&](fw::TObject* Sender) {
            if (Freed) {
                ++AskedAfterwards;
                return;
            }
            EXPECT_EQ(Sender, Opener);
            if (!Armed) return;
            Freed = true;
            delete Opener;
            if (Opener == edit) edit = nullptr;
        };
        if (Row.Style)
            Settings->OnDayStyle = [Ask](fw::TObject* Sender, fw::TDateTime, qz::TDayStyle& Style) {
                Style.Bold = true;
                Ask(Sender);
            };
        else
            Settings->OnDayDisabled = [Ask](fw::TObject* Sender, fw::TDateTime, bool&) { Ask(Sender); };
        if (Row.When != AsItIsMade)
            OnNextModal([&, When = Row.When](fw::TForm*) {
                Armed = true;
                PressKey(When == NextMonth ? fw::VK_NEXT : fw::VK_RIGHT);
                PressKey(fw::VK_RIGHT);
            });
        if (Calendar)
            EXPECT_FALSE(Calendar->OpenCalendar());
        else
            PressKey(fw::VK_DOWN, {fw::ssAlt});
        EXPECT_TRUE(Freed);
        EXPECT_EQ(AskedAfterwards, 0);
        ExpectNothingLeftBehind();
        EXPECT_EQ(form->ComponentCount(), Calendar ? 2 : 1) << "the opener is gone and its popup with it";
        EXPECT_TRUE(Reported.empty());
        TearDown();
    }
    SetUp();
}

TEST_F(Faults, AMessageBoxOpenedFromThePopupIsOnTopAndActive) {
    OnNextModal([](fw::TForm*) { fw::Application->MessageBox("Inside", "Box"); });
    OnNextModal([](fw::TForm* Form) {
        EXPECT_NE(dynamic_cast<fw::TMessageForm*>(Form), nullptr);
        EXPECT_EQ(fw::Screen->ZOrder().back(), Form);
        EXPECT_EQ(fw::Screen->ActiveForm(), Form);
        fw::Ui::PressButton("OK");
    });
    OnNextModal([](fw::TForm* Form) {
        EXPECT_NE(dynamic_cast<qz::TfrmQzCal*>(Form), nullptr) << "the popup is the active modal form again";
        PressKey(fw::VK_ESCAPE);
    });
    PressKey(fw::VK_DOWN, {fw::ssAlt});
    ExpectNothingLeftBehind();
}

} // namespace
} // namespace qztest
