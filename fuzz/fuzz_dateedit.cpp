// A date edit driven by a stream of events: keys, characters, clicks on the
// edit, its drop button, the popup and message boxes, focus changes, time
// passing, and handlers armed to raise or to free the edit. The popup and the
// message boxes open and close on the way; whenever a modal loop waits, the
// next event comes from the input, like a person at the screen.
//
// After every event at the top: no modal loop, popup or message box is left;
// Date is 0 or a date of the years 1-9999. After every exit check that accepts
// the text, the text shows the date; one that rejects it fires OnInvalidDate.
// AddressSanitizer watches for memory touched after it was freed.

#include "FuzzSupport.h"

#include <QzComponents5/QzRegister.h>
#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <Qzde/QzDateLayouts.h>
#include <framework/classes/ComponentRef.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Application.h>
#include <framework/forms/Backend.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Form.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/Exceptions.h>
#include <memory>

namespace {

using namespace fw;

// Where a fault can be armed.
enum TSpot {
    spChange,
    spExit,
    spEnter,
    spKeyDown,
    spOpenCalendar,
    spCloseCalendar,
    spInvalidDate,
    spActivate,
    spDeactivate,
    spTimer,
    spCount
};

struct TFault {
    int Raise = 0;     // raise this many times
    bool Free = false; // free the edit (once)
};

class TProbeEdit;

struct TWorld {
    TForm* Main = nullptr;
    TProbeEdit* Edit = nullptr;
    std::unique_ptr<TComponentRef<TProbeEdit>> EditAlive;
    TEdit* Other = nullptr;
    TButton* Pick = nullptr;
    qz::TQzCalendar* Calendar = nullptr;
    TTimer* Timer = nullptr;
    TFault Faults[spCount];
    int InvalidEvents = 0;
};

TWorld* World = nullptr;
fuzz::TInput* Input = nullptr;
int ModalActions = 0;

// Runs a fault armed at a spot: raise, or free the edit.
void Spot(TSpot spot);

// The date edit with a check after each exit.
class TProbeEdit : public qz::TQzDateEdit {
public:
    using TQzDateEdit::TQzDateEdit;

protected:
    void DoExit() override {
        TComponentRef<TProbeEdit> self(this);
        const int invalidBefore = World->InvalidEvents;
        try {
            TQzDateEdit::DoExit();
        } catch (...) {
            if (self) Check(invalidBefore);
            throw;
        }
        if (self) Check(invalidBefore);
    }

private:
    void Check(int invalidBefore) const {
        if (!FDateValid) {
            FUZZ_CHECK(World->InvalidEvents > invalidBefore, Text());
            return;
        }
        if (Text().empty()) return;
        FUZZ_CHECK(Text() == qz::FormatDateByPattern(Date(), DateFormat()), Text());
    }
};

void NewEdit() {
    TWorld& w = *World;
    auto* e = new TProbeEdit(w.Main);
    e->SetParent(w.Main);
    e->SetBounds(8, 8, 121, 20);
    e->SetTabOrder(0);
    e->OnChange = [](TObject*) { Spot(spChange); };
    e->OnExit = [](TObject*) { Spot(spExit); };
    e->OnEnter = [](TObject*) { Spot(spEnter); };
    e->OnKeyDown = [](TObject*, Word&, TShiftState) { Spot(spKeyDown); };
    e->OnOpenCalendar = [](TObject*) { Spot(spOpenCalendar); };
    e->OnCloseCalendar = [](TObject*) { Spot(spCloseCalendar); };
    e->OnInvalidDate = [](TObject*) {
        ++World->InvalidEvents;
        Spot(spInvalidDate);
    };
    w.Edit = e;
    w.EditAlive = std::make_unique<TComponentRef<TProbeEdit>>(e);
}

bool EditAlive() {
    return World->EditAlive && *World->EditAlive;
}

void Spot(TSpot spot) {
    TFault& f = World->Faults[spot];
    if (f.Free && EditAlive()) {
        f.Free = false;
        delete World->Edit;
        return;
    }
    if (f.Raise > 0) {
        --f.Raise;
        throw Exception("fault");
    }
}

void PostKey(TInputKind kind, Word key) {
    TInputEvent e;
    e.Kind = kind;
    e.Key = key;
    MessageQueue().PostInput(e);
}

void PostKeyStroke(Word key, TShiftState shift) {
    if (shift.Contains(ssAlt)) PostKey(TInputKind::KeyDown, VK_MENU);
    if (shift.Contains(ssShift)) PostKey(TInputKind::KeyDown, VK_SHIFT);
    PostKey(TInputKind::KeyDown, key);
    PostKey(TInputKind::KeyUp, key);
    if (shift.Contains(ssShift)) PostKey(TInputKind::KeyUp, VK_SHIFT);
    if (shift.Contains(ssAlt)) PostKey(TInputKind::KeyUp, VK_MENU);
}

void PostMouse(TInputKind kind, TPoint p, TMouseButton button = mbLeft) {
    TInputEvent e;
    e.Kind = kind;
    e.Pos = p;
    e.Button = button;
    MessageQueue().PostInput(e);
}

void PostClick(TPoint p, TMouseButton button = mbLeft) {
    PostMouse(TInputKind::MouseDown, p, button);
    PostMouse(TInputKind::MouseUp, p, button);
}

TPoint CentreOf(TControl* c) {
    return c->ClientToScreen({c->Width() / 2, c->Height() / 2});
}

TForm* TopModal() {
    const auto& modal = Screen->ModalForms();
    return modal.empty() ? nullptr : modal.back();
}

int Offset(fuzz::TInput& in, int n) {
    return static_cast<int>(in.Pick(static_cast<unsigned>(n > 0 ? n : 1)));
}

// One event from the input: posted, not run (the loop runs it).
void Act() {
    TWorld& w = *World;
    fuzz::TInput& in = *Input;
    static const char Typed[] = "0123456789//-a ";
    static const Word Keys[] = {VK_TAB,   VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT, VK_UP,     VK_DOWN,
                                VK_PRIOR, VK_NEXT,   VK_HOME,   VK_END,  VK_BACK,  VK_DELETE, VK_SPACE};
    const unsigned what = in.Pick(16);
    switch (what) {
    case 0:
    case 1:
    case 2: {
        TKeyStroke stroke;
        if (KeyForChar(Typed[in.Pick(sizeof(Typed) - 1)], stroke))
            PostKeyStroke(stroke.Key, stroke.Shift ? TShiftState{ssShift} : TShiftState{});
        break;
    }
    case 3:
    case 4: {
        const Word key = Keys[in.Pick(std::size(Keys))];
        const unsigned mod = in.Pick(4);
        PostKeyStroke(key, mod == 1 ? TShiftState{ssShift} : mod == 2 ? TShiftState{ssAlt} : TShiftState{});
        break;
    }
    case 5:
        PostKeyStroke(VK_DOWN, {ssAlt});
        break;
    case 6: // the edit, its drop button, the other edit, the calendar button
        switch (in.Pick(4)) {
        case 0:
            if (EditAlive()) PostClick(CentreOf(w.Edit));
            break;
        case 1:
            if (EditAlive() && w.Edit->CalendarButton()) PostClick(CentreOf(w.Edit->CalendarButton()));
            break;
        case 2:
            PostClick(CentreOf(w.Other));
            break;
        default:
            PostClick(CentreOf(w.Pick));
            break;
        }
        break;
    case 7:
    case 8: { // somewhere on the topmost modal form (the popup's grid and arrows)
        TForm* f = TopModal();
        if (!f) f = w.Main;
        const TPoint p{f->Left() + Offset(in, f->Width() + 1), f->Top() + Offset(in, f->Height() + 1)};
        switch (in.Pick(4)) {
        case 0: // a drag from here to another point
            PostMouse(TInputKind::MouseDown, p);
            PostMouse(TInputKind::MouseMove, {p.X + Offset(in, 40) - 20, p.Y + Offset(in, 40) - 20});
            PostMouse(TInputKind::MouseUp, {p.X + Offset(in, 40) - 20, p.Y + Offset(in, 40) - 20});
            break;
        case 1:
            PostClick(p, mbRight);
            break;
        default:
            PostClick(p);
            break;
        }
        break;
    }
    case 9: // a message box's button
        if (auto* box = dynamic_cast<TMessageForm*>(TopModal()))
            for (int i = 0; i < box->ComponentCount(); ++i)
                if (auto* b = dynamic_cast<TButton*>(box->Components(i))) {
                    PostClick(CentreOf(b));
                    break;
                }
        break;
    case 10: // time passes
        MessageQueue().AdvanceClockTo(MessageQueue().TickCount() + in.Byte() * 4u);
        break;
    case 11:
    case 12: { // arm a fault
        const auto spot = static_cast<TSpot>(in.Pick(spCount));
        if (in.Byte() & 1)
            w.Faults[spot].Free = true;
        else
            w.Faults[spot].Raise += 1;
        if (spot == spTimer) {
            w.Timer->SetInterval(1 + in.Pick(100));
            w.Timer->SetEnabled(true);
        }
        break;
    }
    case 13: // how errors are reported: boxes or quietly
        if (in.Byte() & 1)
            Application->OnException = nullptr;
        else
            Application->OnException = [](TObject*, const std::exception&) {};
        break;
    case 14: // the edit's settings
        if (!EditAlive()) break;
        switch (in.Pick(6)) {
        case 0:
            w.Edit->SetErrorMessageType(static_cast<qz::TMessageTypes>(in.Pick(4)));
            break;
        case 1:
            w.Edit->SetDateFormat(fw::String(qz::DateFormatPatterns[in.Pick(qz::DateFormatPatterns.size())]));
            break;
        case 2:
            w.Edit->SetAllowKeyEntry(in.Byte() & 1);
            break;
        case 3:
            w.Edit->SetCalendarEnabled(in.Byte() & 1);
            break;
        case 4:
            w.Edit->SetCalendarStyle(in.Byte() & 1 ? qz::csDialog : qz::csStandard);
            break;
        default:
            w.Edit->SetReadOnly(in.Pick(4) == 0);
            break;
        }
        break;
    default:
        PostKeyStroke(VK_TAB, in.Byte() & 1 ? TShiftState{ssShift} : TShiftState{});
        break;
    }
}

// Closes whatever is modal once the input has run out.
void CloseModal() {
    TForm* f = TopModal();
    if (!f) return;
    if (ModalActions % 3 != 0)
        PostKeyStroke(VK_ESCAPE, {});
    else
        f->SetModalResult(mrCancel);
}

// The loop waits: inside a modal loop the next event comes from the input.
class TDriver : public TBackend {
public:
    bool Idle(bool hasTimer, Cardinal due) override {
        if (Input && Application->ModalLevel() > 0) {
            // A timer waits (the popup's button delay): time passes, or the
            // person acts first.
            const bool more = !Input->Empty() && ModalActions < 4000;
            if (hasTimer && (!more || Input->Byte() & 1)) {
                MessageQueue().AdvanceClockTo(due);
                return true;
            }
            ++ModalActions;
            if (more)
                Act();
            else
                CloseModal();
            return true;
        }
        if (!hasTimer) return false;
        MessageQueue().AdvanceClockTo(due);
        return true;
    }
    bool Interactive() const override { return true; }
};

void Pump() {
    for (int i = 0; i < 10000 && Application->ProcessMessage(); ++i) {
    }
}

bool InRange(TDateTime d) {
    Word y = 0, m = 0, dd = 0;
    DecodeDate(d, y, m, dd);
    return y >= 1 && y <= 9999;
}

void CheckTop(int baseForms) {
    FUZZ_CHECK(Application->ModalLevel() == 0, "");
    FUZZ_CHECK(Screen->ModalForms().empty(), "a modal form is left");
    FUZZ_CHECK(Screen->FormCount() == baseForms, "a popup or message box is left");
    FUZZ_CHECK(World->Main->AcceptsInput(), "the main form refuses input");
    if (EditAlive()) {
        const TDateTime d = World->Edit->Date();
        FUZZ_CHECK(d == 0 || InRange(d), World->Edit->Text());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        qz::RegisterPackageClasses();
        Application->SetBackend(std::make_unique<TDriver>());
        SetClock([] { return EncodeDate(2026, 3, 14); });
        return true;
    }();
    (void)ready;
    Application->Reset();
    Application->OnException = [](TObject*, const std::exception&) {};
    const int baseForms = Screen->FormCount();

    TWorld world;
    World = &world;
    world.Main = new TForm(nullptr);
    world.Main->SetBounds(0, 0, 400, 300);
    world.Main->OnActivate = [](TObject*) { Spot(spActivate); };
    world.Main->OnDeactivate = [](TObject*) { Spot(spDeactivate); };
    NewEdit();
    world.Other = new TEdit(world.Main);
    world.Other->SetParent(world.Main);
    world.Other->SetBounds(8, 60, 121, 21);
    world.Pick = new TButton(world.Main);
    world.Pick->SetParent(world.Main);
    world.Pick->SetBounds(8, 100, 75, 25);
    world.Calendar = new qz::TQzCalendar(world.Main);
    world.Pick->OnClick = [](TObject*) { World->Calendar->OpenCalendar(); };
    world.Timer = new TTimer(world.Main);
    world.Timer->SetEnabled(false);
    world.Timer->OnTimer = [](TObject*) {
        World->Timer->SetEnabled(false);
        Spot(spTimer);
    };
    world.Main->Show();
    Pump();

    fuzz::TInput in(data, size);
    Input = &in;
    ModalActions = 0;
    const int allForms = Screen->FormCount();
    while (!in.Empty()) {
        Act();
        Pump();
        CheckTop(allForms);
        if (!EditAlive()) NewEdit();
    }
    Input = nullptr;
    world.EditAlive.reset();
    delete world.Main;
    World = nullptr;
    Pump();
    FUZZ_CHECK(Screen->FormCount() == baseForms, "forms left after the run");
    return 0;
}
