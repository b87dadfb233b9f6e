// soak_demo: a long run of random input on the demo's main form, like a person
// at the screen for a long time: typing, Tab, clicks on the edits, their drop
// buttons, the popups and the message boxes, time passing.
//
//     soak_demo [--events N] [--seed S] [--form FILE]
//
// Prints, every 100,000 events, the events per second (of processor time) of
// the last stretch and the resident memory; at the end, the comparison of the
// last stretch with the stretch after the first 10,000 events (speed) and of
// the memory now with the memory then. Exit code 1 when the memory grew by more than 1 MB or the speed
// fell by more than 20%.

#include "DemoForm.h"
#include "DemoResources.h"

#include <QzComponents5/QzRegister.h>
#include <cstdio>
#include <cstring>
#include <framework/controls/Buttons.h>
#include <framework/forms/Application.h>
#include <framework/forms/Backend.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Registration.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <time.h>
#include <unistd.h>

namespace {

using namespace fw;

std::mt19937 Random;

unsigned Pick(unsigned n) {
    return std::uniform_int_distribution<unsigned>(0, n - 1)(Random);
}

void PostKey(TInputKind kind, Word key) {
    TInputEvent e;
    e.Kind = kind;
    e.Key = key;
    MessageQueue().PostInput(e);
}

void PostStroke(Word key, TShiftState shift = {}) {
    if (shift.Contains(ssAlt)) PostKey(TInputKind::KeyDown, VK_MENU);
    if (shift.Contains(ssShift)) PostKey(TInputKind::KeyDown, VK_SHIFT);
    PostKey(TInputKind::KeyDown, key);
    PostKey(TInputKind::KeyUp, key);
    if (shift.Contains(ssShift)) PostKey(TInputKind::KeyUp, VK_SHIFT);
    if (shift.Contains(ssAlt)) PostKey(TInputKind::KeyUp, VK_MENU);
}

void PostClick(TPoint p, TMouseButton button = mbLeft) {
    TInputEvent e;
    e.Pos = p;
    e.Button = button;
    e.Kind = TInputKind::MouseDown;
    MessageQueue().PostInput(e);
    e.Kind = TInputKind::MouseUp;
    MessageQueue().PostInput(e);
}

TPoint Centre(TControl* c) {
    return c->ClientToScreen({c->Width() / 2, c->Height() / 2});
}

qzdemo::TfrmQzDemo* Demo = nullptr;
long long Events = 0;

// One random event, posted (the loop runs it).
void Act() {
    ++Events;
    qz::TQzDateEdit* edits[] = {Demo->edtDayFirst, Demo->edtMonthFirst, Demo->edtYearFirst};
    const auto& modal = Screen->ModalForms();
    TForm* top = modal.empty() ? nullptr : modal.back();
    switch (Pick(12)) {
    case 0:
    case 1:
    case 2:
    case 3: { // a digit or a slash, now and then a letter
        static const char Typed[] = "0123456789//1/a";
        TKeyStroke stroke;
        if (KeyForChar(Typed[Pick(sizeof(Typed) - 1)], stroke))
            PostStroke(stroke.Key, stroke.Shift ? TShiftState{ssShift} : TShiftState{});
        break;
    }
    case 4:
        PostStroke(VK_TAB, Pick(3) == 0 ? TShiftState{ssShift} : TShiftState{});
        break;
    case 5: {
        static const Word Keys[] = {VK_BACK, VK_LEFT, VK_RIGHT, VK_UP,     VK_DOWN,  VK_PRIOR,
                                    VK_NEXT, VK_HOME, VK_END,   VK_RETURN, VK_ESCAPE};
        PostStroke(Keys[Pick(std::size(Keys))]);
        break;
    }
    case 6:
        if (!top) PostStroke(VK_DOWN, {ssAlt});
        break;
    case 7: // an edit or its drop button
        if (!top) {
            qz::TQzDateEdit* e = edits[Pick(3)];
            PostClick(Centre(Pick(2) ? static_cast<TControl*>(e) : e->CalendarButton()));
        }
        break;
    case 8:
        if (!top) PostClick(Centre(Demo->btnPickDate));
        break;
    case 9:
    case 10: { // somewhere on the topmost modal form, or the main form
        TForm* f = top ? top : Demo;
        const TPoint p{f->Left() + static_cast<int>(Pick(static_cast<unsigned>(f->Width()))),
                       f->Top() + static_cast<int>(Pick(static_cast<unsigned>(f->Height())))};
        // The main form's close box would end the session: the person stays.
        const TRect box = Demo->CloseBoxRect();
        if (f == Demo && p.X >= box.Left && p.Y >= box.Top && p.X < box.Right && p.Y < box.Bottom) break;
        PostClick(p, Pick(8) == 0 ? mbRight : mbLeft);
        break;
    }
    default: // a message box's button, or time passing
        if (auto* box = dynamic_cast<TMessageForm*>(top)) {
            for (int i = 0; i < box->ComponentCount(); ++i)
                if (auto* b = dynamic_cast<TButton*>(box->Components(i))) {
                    PostClick(Centre(b));
                    break;
                }
        } else {
            MessageQueue().AdvanceClockTo(MessageQueue().TickCount() + Pick(200));
        }
        break;
    }
}

// While a modal loop waits, the next event comes at once; a pending timer
// lets time pass first now and then.
class TSoakBackend : public TBackend {
public:
    bool Idle(bool hasTimer, Cardinal due) override {
        if (hasTimer && (Application->ModalLevel() == 0 || Pick(2) == 0)) {
            MessageQueue().AdvanceClockTo(due);
            return true;
        }
        if (Application->ModalLevel() == 0) return false;
        Act();
        return true;
    }
    bool Interactive() const override { return true; }
};

void Pump() {
    while (Application->ProcessMessage()) {
    }
}

// The speed is events per second of the program's own processor time, so other
// work on the machine does not count as the program slowing down.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double ResidentMB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    long long total = 1000000;
    unsigned seed = 15;
    std::filesystem::path formFile;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--events") == 0 && i + 1 < argc)
            total = std::atoll(argv[++i]);
        else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
            seed = static_cast<unsigned>(std::atol(argv[++i]));
        else if (std::strcmp(argv[i], "--form") == 0 && i + 1 < argc)
            formFile = argv[++i];
        else {
            std::cerr << "usage: soak_demo [--events N] [--seed S] [--form FILE]\n";
            return 2;
        }
    }
    const auto found = qzdemo::FindFormFile(formFile);
    if (!found) {
        std::cerr << "soak_demo: cannot find apps/qzdemo/MainForm.dfm; pass --form FILE\n";
        return 2;
    }
    Random.seed(seed);
    TScopedClock clock(EncodeDate(2026, 3, 14));
    const auto records = qzdemo::FindRecordsFormFile(*found);
    if (!records) {
        std::cerr << "soak_demo: cannot find apps/qzdemo/RecordsForm.dfm beside the main form file\n";
        return 2;
    }
    qzdemo::TDemoResources resources(*found, *records);
    RegisterControlClasses();
    qz::RegisterPackageClasses();
    Screen->SetSize(800, 440);
    Application->SetBackend(std::make_unique<TSoakBackend>());
    long long exceptions = 0;
    Application->OnException = [&](TObject*, const std::exception&) { ++exceptions; };
    auto form = std::make_unique<qzdemo::TfrmQzDemo>(nullptr);
    Demo = form.get();
    form->Show();
    Pump();

    constexpr long long Warmup = 10000;
    constexpr long long Stretch = 100000;
    double startRate = 0, startMB = 0, lastRate = 0;
    long long mark = 0;
    double markTime = CpuSeconds();
    auto rateSince = [&](long long from) {
        const double seconds = CpuSeconds() - markTime;
        return static_cast<double>(Events - from) / (seconds > 0 ? seconds : 1e-9);
    };
    while (Events < total) {
        Act();
        Pump();
        if (!Demo->Visible()) {
            // Nothing would reach the demo any more: the rest of the run would measure nothing.
            std::printf("soak: FAILED: the demo's form closed after %lld events\n", Events);
            return 1;
        }
        if (mark == 0 && Events >= Warmup) {
            startMB = ResidentMB();
            mark = Events;
            markTime = CpuSeconds();
        } else if (mark != 0 && Events - mark >= Stretch) {
            lastRate = rateSince(mark);
            if (startRate == 0) startRate = lastRate;
            std::printf("%9lld events  %8.0f events/s  %6.1f MB\n", Events, lastRate, ResidentMB());
            std::fflush(stdout);
            mark = Events;
            markTime = CpuSeconds();
        }
    }
    const double endMB = ResidentMB();
    if (startRate == 0) startRate = lastRate = rateSince(mark);
    // The demo's own log counts what its handlers saw: a run that reached no
    // control would show next to nothing here.
    std::printf(
        "soak: %lld events, %zu handler events logged by the demo, %lld handler exceptions reported\n",
        Events, Demo->Events().Count(), exceptions);
    std::printf("soak: memory after %lld events %.1f MB, at the end %.1f MB (%+.2f MB)\n", Warmup, startMB,
                endMB, endMB - startMB);
    std::printf("soak: speed of the first stretch %.0f events/s, of the last %.0f events/s (%+.1f%%)\n",
                startRate, lastRate, 100.0 * (lastRate - startRate) / startRate);
    Demo = nullptr;
    form.reset();
    const bool ok = endMB - startMB <= 1.0 && lastRate >= 0.8 * startRate;
    std::printf("soak: %s\n", ok ? "memory and speed held" : "FAILED: memory grew or speed fell");
    return ok ? 0 : 1;
}
