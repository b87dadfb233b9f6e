// The paint pipeline: coalesced invalidations, Refresh, window creation with
// CreateParams, WM_SIZE and WM_ENABLE, WS_CLIPCHILDREN, paint messages that
// carry their own device context, windowless children, timers.

#include <framework/backends/headless/Automation.h>
#include <framework/controls/ControlCanvas.h>
#include <framework/controls/Edit.h>
#include <framework/controls/GraphicControl.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Application.h>
#include <framework/forms/Form.h>
#include <framework/platform/Keys.h>
#include <memory>
#include <string>
#include <tests/support/UiFixture.h>
#include <vector>

namespace fw {
namespace {

// A windowed control that fills itself with one colour and can ask for WS_CLIPCHILDREN.
class TFillControl : public TCustomControl {
public:
    TFillControl(TComponent* owner, TColor fill, bool clipChildren)
        : TCustomControl(owner), FFill(fill), FClip(clipChildren) {}
    int CreateParamsCalls = 0;
    std::vector<std::string> Messages;

    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_SIZE)
            Messages.push_back("size " + std::to_string(LoWordSigned(m.LParam)) + "x" +
                               std::to_string(HiWordSigned(m.LParam)));
        else if (m.Msg == WM_ENABLE)
            Messages.push_back("enable " + std::to_string(m.WParam));
        TCustomControl::Dispatch(m);
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TCustomControl::CreateParams(params);
        ++CreateParamsCalls;
        if (FClip) params.Style |= WS_CLIPCHILDREN;
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(FFill);
        Canvas()->FillRect(ClientRect());
    }

private:
    TColor FFill;
    bool FClip;
};

class TDot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(ClientRect());
    }
};

class PaintTest : public test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 200, 100);
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }
    TColor At(int x, int y) { return Ui::FormImage(form.get()).Pixel(x, y); }

    std::unique_ptr<TForm> form;
};

TEST_F(PaintTest, CreateParamsRunsWhenTheWindowIsMadeAndWmSizeFollows) {
    auto* c = new TFillControl(form.get(), clRed, true);
    c->SetBounds(10, 10, 50, 40);
    EXPECT_EQ(c->Messages, (std::vector<std::string>{"size 50x40"})); // a size change, before any window
    c->SetParent(form.get());
    EXPECT_EQ(c->CreateParamsCalls, 0);
    EXPECT_FALSE(c->HandleAllocated());
    form->Show();
    EXPECT_EQ(c->CreateParamsCalls, 1);
    EXPECT_TRUE(c->WindowStyle() & WS_CLIPCHILDREN);
    EXPECT_TRUE(c->WindowStyle() & WS_CHILD);
    EXPECT_EQ(c->Messages.back(), "size 50x40"); // sent again when the window is made
    // A control parented onto a form whose window exists gets its window at once.
    auto* late = new TFillControl(form.get(), clBlue, false);
    late->SetParent(form.get());
    EXPECT_EQ(late->CreateParamsCalls, 1);
}

TEST_F(PaintTest, EnabledChangesSendWmEnable) {
    auto* c = new TFillControl(form.get(), clRed, false);
    c->SetParent(form.get());
    c->SetEnabled(false);
    c->SetEnabled(false);
    c->SetEnabled(true);
    EXPECT_EQ(c->Messages, (std::vector<std::string>{"enable 0", "enable 1"}));
}

TEST_F(PaintTest, InvalidationsAreCoalescedIntoOnePaint) {
    auto* c = new TFillControl(form.get(), clRed, false);
    c->SetParent(form.get());
    c->SetBounds(10, 10, 50, 40);
    form->Show();
    Ui::Pump();
    const int paints = c->PaintCount();
    const int invalidations = c->InvalidateCount();
    for (int i = 0; i < 5; ++i)
        c->Invalidate();
    EXPECT_EQ(c->PaintCount(), paints);
    EXPECT_EQ(c->InvalidateCount(), invalidations + 5);
    Ui::Pump();
    EXPECT_EQ(c->PaintCount(), paints + 1);
    c->Refresh();
    EXPECT_EQ(c->PaintCount(), paints + 2); // at once, without the loop
    EXPECT_EQ(At(20, 20), ColorToRGB(clRed));
}

TEST_F(PaintTest, HiddenFormsDoNotPaintUntilShown) {
    auto* c = new TFillControl(form.get(), clRed, false);
    c->SetParent(form.get());
    c->SetBounds(10, 10, 50, 40);
    Ui::Pump();
    EXPECT_EQ(c->PaintCount(), 0);
    form->Show();
    Ui::Pump();
    EXPECT_EQ(c->PaintCount(), 1);
}

TEST_F(PaintTest, ClipChildrenKeepsTheParentsPaintingOffItsChildren) {
    for (const bool clip : {true, false}) {
        SCOPED_TRACE(clip ? "WS_CLIPCHILDREN" : "no WS_CLIPCHILDREN");
        TForm f(nullptr);
        f.SetBorderStyle(bsNone);
        f.SetBounds(0, 0, 200, 100);
        auto* parent = new TFillControl(&f, clRed, clip);
        parent->SetParent(&f);
        parent->SetBounds(0, 0, 120, 60);
        auto* child = new TFillControl(&f, clBlue, false);
        child->SetParent(parent);
        child->SetBounds(80, 10, 30, 30);
        f.Show();
        Ui::Pump();
        const int childPaints = child->PaintCount();
        EXPECT_EQ(Ui::FormImage(&f).Pixel(90, 20), ColorToRGB(clBlue));

        // The parent alone is invalidated and repainted.
        parent->Invalidate();
        Ui::Pump();
        if (clip) {
            // Its painting left the child's pixels alone: the child needs no repaint.
            EXPECT_EQ(child->PaintCount(), childPaints);
        } else {
            // It painted over the child, which was painted again after it.
            EXPECT_EQ(child->PaintCount(), childPaints + 1);
        }
        EXPECT_EQ(Ui::FormImage(&f).Pixel(90, 20), ColorToRGB(clBlue));
        EXPECT_EQ(Ui::FormImage(&f).Pixel(70, 20), ColorToRGB(clRed));

        // A paint of the parent alone, straight through its own context.
        parent->Perform(WM_PAINT);
        EXPECT_EQ(Ui::FormImage(&f).Pixel(90, 20), ColorToRGB(clip ? clBlue : clRed));
    }
}

TEST_F(PaintTest, ChildrenInsideAMergedUpdateAreaArePaintedAgain) {
    // Two small invalidations far apart merge into one area that the form
    // repaints whole; the child between them must be painted again after it.
    auto* child = new TFillControl(form.get(), clBlue, false);
    child->SetParent(form.get());
    child->SetBounds(80, 30, 40, 40);
    form->Show();
    Ui::Pump();
    const int paints = child->PaintCount();
    const TRect left{0, 0, 10, 10};
    const TRect right{190, 90, 200, 100};
    form->InvalidateRect(&left);
    form->InvalidateRect(&right);
    Ui::Pump();
    EXPECT_EQ(child->PaintCount(), paints + 1);
    EXPECT_EQ(At(100, 50), ColorToRGB(clBlue));
}

TEST_F(PaintTest, AWindowHiddenAfterItWasInvalidatedIsNotPainted) {
    // A child invalidated and then hidden (itself, or its parent) leaves the
    // parent's pixels alone.
    for (const bool HideParent : {false, true}) {
        auto* outer = new TFillControl(form.get(), clBlue, true);
        outer->SetParent(form.get());
        outer->SetBounds(10, 10, 100, 60);
        auto* inner = new TFillControl(form.get(), clRed, false);
        inner->SetParent(outer);
        inner->SetBounds(10, 10, 40, 40);
        form->Show();
        Ui::Pump();
        inner->Invalidate();
        outer->Invalidate();
        (HideParent ? static_cast<TControl*>(outer) : inner)->SetVisible(false);
        Ui::Pump();
        EXPECT_NE(At(40, 40), ColorToRGB(clRed)) << "hidden " << (HideParent ? "parent" : "child");
        delete outer;
    }
}

TEST_F(PaintTest, APaintOverAClippingChildRepaintsItsChildrenToo) {
    // The child keeps its own painting off the grandchild, but the form's
    // painting covers both, so both are painted again after it.
    auto* child = new TFillControl(form.get(), clRed, true);
    child->SetParent(form.get());
    child->SetBounds(10, 10, 120, 60);
    auto* grandchild = new TFillControl(form.get(), clBlue, false);
    grandchild->SetParent(child);
    grandchild->SetBounds(80, 10, 30, 30);
    form->Show();
    Ui::Pump();
    const int paints = grandchild->PaintCount();
    form->Invalidate();
    Ui::Pump();
    EXPECT_EQ(grandchild->PaintCount(), paints + 1);
    EXPECT_EQ(At(100, 30), ColorToRGB(clBlue));
}

// A form whose own painting leaves its children alone, so only their own
// invalidations repaint them.
class TClippingForm : public TForm {
public:
    using TForm::TForm;

protected:
    void CreateParams(TCreateParams& params) override {
        TForm::CreateParams(params);
        params.Style |= WS_CLIPCHILDREN;
    }
};

TEST_F(PaintTest, FocusMovingToAnotherFormAndBackRepaintsTheFocusedControl) {
    TClippingForm clipping(nullptr);
    clipping.SetBorderStyle(bsNone);
    clipping.SetBounds(0, 0, 200, 100);
    auto* edit = new TEdit(&clipping);
    edit->SetParent(&clipping);
    edit->SetBounds(10, 10, 100, 21);
    clipping.Show();
    edit->SetFocus();
    Ui::Pump();
    const int paints = edit->PaintCount();
    Ui::OnNextModal([](TForm*) {
        Ui::Pump();
        Ui::PressKey(VK_RETURN);
    });
    Application->MessageBox("Shown over the edit's form", "Focus", MB_OK);
    Ui::Pump();
    EXPECT_TRUE(edit->Focused());
    // Losing the focus to the box and getting it back each change what the
    // edit shows (its caret), so it was painted again.
    EXPECT_GE(edit->PaintCount(), paints + 1);
}

TEST_F(PaintTest, PaintMessageWithItsOwnContextDrawsThere) {
    auto* c = new TFillControl(form.get(), clRed, false);
    c->SetParent(form.get());
    c->SetBounds(0, 0, 20, 20);
    TSurface target(20, 20, ColorToRGB(clWhite));
    HDC dc = CreateSurfaceDC(&target, {}, target.Bounds());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    DeleteDC(dc);
    EXPECT_EQ(target.Pixel(5, 5), ColorToRGB(clRed));
}

TEST_F(PaintTest, WindowlessChildrenPaintOnTheParentAtTheirPlace) {
    auto* dot = new TDot(form.get());
    dot->SetParent(form.get());
    dot->SetBounds(30, 40, 5, 5);
    form->Show();
    Ui::Pump();
    EXPECT_EQ(dot->Paints, 1);
    EXPECT_EQ(At(30, 40), ColorToRGB(clLime));
    EXPECT_EQ(At(34, 44), ColorToRGB(clLime));
    EXPECT_EQ(At(35, 44), ColorToRGB(clBtnFace));
    // Invalidating the windowless control repaints it through its parent.
    dot->Invalidate();
    Ui::Pump();
    EXPECT_EQ(dot->Paints, 2);
    dot->SetVisible(false);
    Ui::Pump();
    EXPECT_EQ(At(30, 40), ColorToRGB(clBtnFace));
}

TEST_F(PaintTest, ControlCanvasDrawsOutsideAPaintAndItsHandleCanBeSetAndReset) {
    auto* c = new TFillControl(form.get(), clRed, false);
    c->SetParent(form.get());
    c->SetBounds(10, 10, 40, 40);
    form->Show();
    Ui::Pump();
    TControlCanvas canvas(c);
    canvas.Brush()->SetColor(clYellow);
    canvas.FillRect({0, 0, 5, 5}); // makes its own context on the control
    EXPECT_EQ(At(10, 10), ColorToRGB(clYellow));
    EXPECT_EQ(At(15, 15), ColorToRGB(clRed));
    FreeDeviceContexts();
    EXPECT_FALSE(canvas.HandleAllocated());
    TSurface other(8, 8, 0);
    HDC dc = CreateSurfaceDC(&other, {}, other.Bounds());
    canvas.SetHandle(dc);
    canvas.FillRect({0, 0, 8, 8});
    canvas.SetHandle(nullptr);
    DeleteDC(dc);
    EXPECT_EQ(other.Pixel(3, 3), ColorToRGB(clYellow));
}

TEST_F(PaintTest, TimerFiresEveryIntervalWhileEnabled) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    };
    timer.SetInterval(100);
    Ui::Wait(250);
    EXPECT_EQ(ticks, 2);
    timer.SetEnabled(false);
    Ui::Wait(500);
    EXPECT_EQ(ticks, 2);
    timer.SetEnabled(true);
    Ui::Wait(99);
    EXPECT_EQ(ticks, 2);
    Ui::Wait(1);
    EXPECT_EQ(ticks, 3);
    // A new interval restarts the count.
    Ui::Wait(50);
    timer.SetInterval(200);
    Ui::Wait(150);
    EXPECT_EQ(ticks, 3);
    Ui::Wait(50);
    EXPECT_EQ(ticks, 4);
}

TEST_F(PaintTest, TimersFireInTheOrderTheyAreDue) {
    TTimer slow(nullptr);
    TTimer fast(nullptr);
    std::vector<std::string> log;
    slow.OnTimer = [&](TObject*) { log.push_back("slow"); };
    fast.OnTimer = [&](TObject*) { log.push_back("fast"); };
    slow.SetInterval(70);
    fast.SetInterval(30);
    Ui::Wait(100);
    EXPECT_EQ(log, (std::vector<std::string>{"fast", "fast", "slow", "fast"}));
}

} // namespace
} // namespace fw
