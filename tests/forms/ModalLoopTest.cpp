// Modal loops, waits on ProcessMessages, exceptions escaping handlers,
// message boxes and the idle-loop error, all driven through queued input.

#include <framework/backends/headless/Automation.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Form.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Utf8.h>
#include <memory>
#include <string>
#include <tests/support/UiFixture.h>
#include <vector>

namespace fw {
namespace {

class ModalLoopTest : public test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        main = std::make_unique<TForm>(nullptr);
        main->SetName("MainForm");
        mainEdit = new TEdit(main.get());
        mainEdit->SetParent(main.get());
        main->Show();

        dialog = std::make_unique<TForm>(nullptr);
        dialog->SetName("Dialog");
        dialog->SetBorderStyle(bsDialog);
        dialog->SetBounds(300, 200, 200, 120);
        ok = new TButton(dialog.get());
        ok->SetParent(dialog.get());
        ok->SetCaption("OK");
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        ok->SetBounds(10, 50, 75, 25);
        edit = new TEdit(dialog.get());
        edit->SetParent(dialog.get());
        edit->SetBounds(10, 10, 121, 21);
        edit->SetTabOrder(0);
    }
    void TearDown() override {
        dialog.reset();
        main.reset();
        UiFixture::TearDown();
    }

    std::unique_ptr<TForm> main;
    TEdit* mainEdit = nullptr;
    std::unique_ptr<TForm> dialog;
    TButton* ok = nullptr;
    TEdit* edit = nullptr;
};

TEST_F(ModalLoopTest, QueuedEnterEndsTheModalLoopThroughTheDefaultButton) {
    Ui::OnNextModal([this](TForm* form) {
        EXPECT_EQ(form, dialog.get());
        EXPECT_TRUE(edit->Focused());
        Ui::TypeText("12");
        Ui::PressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(edit->Text(), "12");
    EXPECT_FALSE(dialog->Visible());
    // The main form is active again, with its focus where it was.
    EXPECT_EQ(Screen->ActiveForm(), main.get());
    EXPECT_TRUE(mainEdit->Focused());
}

TEST_F(ModalLoopTest, CloseBoxEndsTheModalLoopWithCancel) {
    Ui::OnNextModal([this](TForm*) {
        const TRect box = dialog->CloseBoxRect();
        ASSERT_FALSE(box.IsEmpty());
        Ui::ClickAt({(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2});
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(ModalLoopTest, OtherFormsRefuseInputWhileAFormIsModal) {
    Ui::OnNextModal([this](TForm*) {
        Ui::Click(mainEdit);
        Ui::TypeText("x");
        EXPECT_FALSE(mainEdit->Focused());
        EXPECT_EQ(mainEdit->Text(), "");
        EXPECT_EQ(edit->Text(), "x");
        Ui::PressKey(VK_ESCAPE); // no cancel button: Escape does nothing
        EXPECT_EQ(dialog->ModalResult(), mrNone);
        dialog->Close();
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    Ui::TypeText("y");
    EXPECT_EQ(mainEdit->Text(), "y");
}

TEST_F(ModalLoopTest, OnCloseQueryCanKeepAModalFormOpen) {
    int asked = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
    Ui::OnNextModal([](TForm*) { Ui::PressKey(VK_RETURN); });
    Ui::OnNextModal([](TForm*) { Ui::PressKey(VK_RETURN); });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(asked, 2);
}

TEST_F(ModalLoopTest, IdleModalLoopRaisesNamingTheFormInsteadOfHanging) {
    try {
        dialog->ShowModal();
        FAIL() << "ShowModal returned";
    } catch (const EModalLoopIdle& e) {
        EXPECT_NE(std::string(e.what()).find("'Dialog' (TForm)"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(dialog->Modal());
    // Everything is back to normal afterwards.
    EXPECT_TRUE(main->AcceptsInput());
    Ui::TypeText("z");
    EXPECT_EQ(mainEdit->Text(), "z");
}

TEST_F(ModalLoopTest, NestedProcessMessagesWaitEndsWithTheTimerAndKeepsOrder) {
    // A wait like a button's pressed delay: a timer, then ProcessMessages until it fires.
    auto* timer = new TTimer(dialog.get());
    timer->SetEnabled(false);
    std::vector<std::string> log;
    timer->OnTimer = [&](TObject*) {
        log.push_back("timer");
        timer->SetEnabled(false);
    };
    edit->OnKeyPress = [&](TObject*, Char& key) { log.push_back("key " + CharToUtf8(key)); };
    edit->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        if (key != VK_F2) return;
        log.push_back("wait");
        const Cardinal start = MessageQueue().TickCount();
        timer->SetInterval(60);
        timer->SetEnabled(true);
        while (timer->Enabled())
            Application->ProcessMessages();
        log.push_back("waited " + std::to_string(MessageQueue().TickCount() - start));
    };
    Ui::OnNextModal([&](TForm*) {
        // F2 starts the wait; the keys typed behind it are handled during it.
        TInputEvent e;
        e.Kind = TInputKind::KeyDown;
        e.Key = VK_F2;
        MessageQueue().PostInput(e);
        e.Kind = TInputKind::KeyUp;
        MessageQueue().PostInput(e);
        Ui::TypeText("ab");
        dialog->SetModalResult(mrOk);
    });
    edit->SetFocus();
    dialog->ShowModal();
    EXPECT_EQ(log, (std::vector<std::string>{"wait", "key a", "key b", "timer", "waited 60"}));
}

TEST_F(ModalLoopTest, ExceptionInAHandlerIsReportedAndTheLoopGoesOn) {
    ok->SetModalResult(mrNone);
    int clicks = 0;
    ok->OnClick = [&](TObject*) {
        if (++clicks == 1) throw EConvertError("'x' is not a valid integer value");
        dialog->SetModalResult(mrYes);
    };
    std::string caption;
    std::string text;
    Ui::OnNextModal([&](TForm*) { Ui::Click(ok); });
    Ui::OnNextModal([&](TForm*) {
        caption = Ui::MessageBoxCaption();
        text = Ui::MessageBoxText();
        Ui::PressButton("OK");
    });
    Ui::OnNextModal([&](TForm*) { Ui::Click(ok); });
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(text, "'x' is not a valid integer value.");
    EXPECT_EQ(Application->HandledExceptionCount(), 1);
}

TEST_F(ModalLoopTest, FailingPaintIsReportedOncePerInvalidation) {
    int paints = 0;
    std::vector<std::string> seen;
    Application->OnException = [&](TObject*, const std::exception& e) { seen.push_back(e.what()); };
    main->OnPaint = [&](TObject*) {
        ++paints;
        throw Exception("paint failed");
    };
    main->Invalidate();
    Ui::Pump();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"paint failed"}));
    Ui::TypeText("k"); // the loop goes on
    EXPECT_EQ(mainEdit->Text(), "k");
}

TEST_F(ModalLoopTest, MessageBoxesAreCentredOnTheScreen) {
    Ui::OnNextModal([](TForm* box) {
        EXPECT_EQ(box->Left(), (Screen->Width() - box->Width()) / 2);
        EXPECT_EQ(box->Top(), (Screen->Height() - box->Height()) / 2);
        EXPECT_EQ(box->BorderStyle(), bsDialog);
        Ui::PressKey(VK_RETURN);
    });
    Application->MessageBox("Centred", "Title", MB_OK);
}

TEST_F(ModalLoopTest, OnExceptionReplacesTheErrorBox) {
    std::vector<std::string> seen;
    Application->OnException = [&](TObject*, const std::exception& e) { seen.push_back(e.what()); };
    mainEdit->OnKeyPress = [](TObject*, Char&) { throw Exception("bad key"); };
    Ui::TypeText("q");
    EXPECT_EQ(seen, (std::vector<std::string>{"bad key"}));
    EXPECT_EQ(mainEdit->Text(), "");
}

TEST_F(ModalLoopTest, MessageBoxIsReadAndAnswered) {
    Ui::OnNextModal([](TForm* box) {
        EXPECT_EQ(Ui::MessageBoxCaption(), "Invalid Date!");
        EXPECT_EQ(Ui::MessageBoxText(), "Save changes?");
        EXPECT_EQ(Ui::ActiveMessageBox()->Icon(), TMessageIcon::Question);
        EXPECT_EQ(Ui::ActiveMessageBox()->ButtonCount(), 2);
        Ui::PressButton("No");
    });
    EXPECT_EQ(Application->MessageBox("Save changes?", "Invalid Date!", MB_YESNO | MB_ICONQUESTION), IDNO);

    Ui::OnNextModal([](TForm*) { Ui::PressKey(VK_RETURN); });
    EXPECT_EQ(Application->MessageBox("Stop", "Title", MB_OK | MB_ICONSTOP), IDOK);

    Ui::OnNextModal([](TForm*) { Ui::PressKey(VK_ESCAPE); });
    EXPECT_EQ(Application->MessageBox("Stop", "Title", MB_OK), IDOK);

    Ui::OnNextModal([](TForm*) { Ui::PressKey(VK_ESCAPE); });
    EXPECT_EQ(Application->MessageBox("Retry?", "Title", MB_RETRYCANCEL), IDCANCEL);

    Ui::OnNextModal([](TForm*) { Ui::PressKey(VK_RETURN); });
    EXPECT_EQ(Application->MessageBox("Second?", "Title", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
}

TEST_F(ModalLoopTest, MessageDlgUsesTheFrameworksCaptionsAndButtons) {
    Ui::OnNextModal([](TForm*) {
        EXPECT_EQ(Ui::MessageBoxCaption(), "Error");
        EXPECT_EQ(Ui::MessageBoxText(), "'31/02/2003' is not a valid date!");
        EXPECT_EQ(Ui::ActiveMessageBox()->Icon(), TMessageIcon::Stop);
        Ui::PressButton("OK");
    });
    EXPECT_EQ(MessageDlg("'31/02/2003' is not a valid date!", mtError, {mbOK}, 0), mrOk);

    Ui::OnNextModal([](TForm*) {
        EXPECT_EQ(Ui::MessageBoxCaption(), "Confirm");
        Ui::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(MessageDlg("Sure?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0), mrCancel);

    Ui::OnNextModal([](TForm*) {
        EXPECT_EQ(Ui::MessageBoxCaption(), "Warning");
        Ui::PressButton("&Yes");
    });
    EXPECT_EQ(MessageDlg("Careful", mtWarning, {mbYes, mbNo}, 0), mrYes);
}

TEST_F(ModalLoopTest, NestedModalLoopsTakeTheirStepsInOrder) {
    ok->SetModalResult(mrNone);
    int answer = 0;
    ok->OnClick = [&](TObject*) {
        answer = Application->MessageBox("Inner", "Nested", MB_OKCANCEL);
        dialog->SetModalResult(mrRetry);
    };
    Ui::OnNextModal([this](TForm* form) {
        EXPECT_EQ(form, dialog.get());
        Ui::Click(ok);
    });
    Ui::OnNextModal([](TForm* form) {
        EXPECT_EQ(form->Caption(), "Nested");
        Ui::PressButton("Cancel");
    });
    EXPECT_EQ(dialog->ShowModal(), mrRetry);
    EXPECT_EQ(answer, IDCANCEL);
}

TEST_F(ModalLoopTest, ShowModalOfAVisibleFormRaises) {
    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
}

TEST_F(ModalLoopTest, BeepsAreCounted) {
    EXPECT_EQ(Ui::BeepCount(), 0);
    MessageBeep(MB_OK);
    MessageBeep(MB_ICONSTOP);
    EXPECT_EQ(Ui::BeepCount(), 2);
    EXPECT_EQ(LastBeepType(), MB_ICONSTOP);
}

} // namespace
} // namespace fw
