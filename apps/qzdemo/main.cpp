// qzdemo: the package's components on a form loaded from a form file. With a
// display the form opens in a window for a person to use; on the headless screen
// (or with --tour) a scripted tour drives it and saves a numbered picture of the
// screen after each step and a transcript of what happened.
//
//     qzdemo [--tour] [--out DIR] [--form FILE] [--database CONNINFO] [--headless | --window] [--scale N]
//
// DIR (default out/demo) receives the tour's NN-step.png and transcript.txt;
// earlier pictures there are removed first. FILE is the main form's form file
// (default: found in the source tree, see DemoResources.h). CONNINFO, a
// PostgreSQL connection string ("postgresql://user@host/db", "host=/run/postgresql
// dbname=db"), puts the tour's Records form on the table "events" of that server
// (made or reset there) instead of an SQLite file beside the pictures.
// --headless, --window and --scale choose the backend (see
// fw::TApplication::Initialize). Exit code 0 when the window was closed or every
// step of the tour had its expected effect, 1 with a message on stderr otherwise,
// 2 for a bad command line.

#include "DemoForm.h"
#include "DemoResources.h"
#include "RecordsDatabase.h"
#include "RecordsForm.h"
#include "Tour.h"

#include <QzComponents5/QzModule.h>
#include <QzComponents5/QzRegister.h>
#include <cstring>
#include <filesystem>
#include <framework/forms/Application.h>
#include <framework/forms/Registration.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Windows.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <iostream>
#include <memory>
#include <regex>

namespace {

namespace fs = std::filesystem;

struct TOptions {
    fs::path Out = fs::path("out") / "demo";
    fs::path Form;
    bool Tour = false;
    std::string Database; // a PostgreSQL connection string, or empty for the SQLite file
};

// The desktop of the tour: room for the form, its popups and a message box, and
// no more, so that the pictures show the form large.
constexpr int DesktopWidth = 800;
constexpr int DesktopHeight = 440;

bool ParseArguments(int argc, char** argv, TOptions& Options) {
    for (int I = 1; I < argc; ++I) {
        const char* Arg = argv[I];
        if ((std::strcmp(Arg, "--out") == 0 || std::strcmp(Arg, "--form") == 0) && I + 1 < argc) {
            (std::strcmp(Arg, "--out") == 0 ? Options.Out : Options.Form) = argv[++I];
        } else if (std::strcmp(Arg, "--tour") == 0) {
            Options.Tour = true;
        } else if (std::strcmp(Arg, "--database") == 0 && I + 1 < argc && argv[I + 1][0] != '\0') {
#ifdef QZ_HAVE_PG
            Options.Database = argv[++I];
#else
            std::cerr << "qzdemo: built without PostgreSQL support (libpq), so --database is not available\n";
            return false;
#endif
        } else {
            std::cerr
                << "usage: qzdemo [--tour] [--out DIR] [--form FILE] [--database CONNINFO] [--headless | "
                   "--window] [--scale N]\n";
            return false;
        }
    }
    return true;
}

// Removes the pictures and the transcript of an earlier run, so that the folder
// shows this run only.
void ClearOutput(const fs::path& Dir) {
    const std::regex Picture(R"(\d\d-[A-Za-z0-9-]+\.png)");
    for (const fs::directory_entry& Entry : fs::directory_iterator(Dir)) {
        const std::string Name = Entry.path().filename().string();
        if (Entry.is_regular_file() && (Name == "transcript.txt" || std::regex_match(Name, Picture)))
            fs::remove(Entry.path());
    }
}

// The form in a window for a person: today is today, the desktop is the
// display's, and the program ends when the window is closed.
int RunInWindow(const fs::path& FormFile, const fs::path& RecordsFile, const fs::path& Out) {
    qzdemo::TDemoResources Resources(FormFile, RecordsFile);
    fw::RegisterControlClasses();
    qz::RegisterPackageClasses();
    fw::Application->SetTitle("Qz Components demo");
    fw::Application->Backend()->SetIcon(qz::PackageIcon());
    auto Form = std::make_unique<qzdemo::TfrmQzDemo>(nullptr);
    // The Records button opens the second form over the events file beside
    // the tour's pictures (made the first time, kept afterwards).
    std::unique_ptr<qzdemo::TfrmQzRecords> Records;
    Form->OnShowRecords = [&Records, Out] {
        if (!Records) {
            fs::create_directories(Out);
            const fs::path Database = Out / "events.db";
            qzdemo::PrepareRecordsDatabase(Database, false);
            Records = std::make_unique<qzdemo::TfrmQzRecords>(nullptr, Database);
        }
        Records->Show();
    };
    fw::Application->SetMainForm(Form.get());
    Form->Show();
    fw::Application->Run();
    fw::Application->SetMainForm(nullptr);
    Records.reset();
    Form.reset();
    return 0;
}

int Run(const TOptions& Options) {
    const std::optional<fs::path> FormFile = qzdemo::FindFormFile(Options.Form);
    if (!FormFile) {
        std::cerr
            << "qzdemo: cannot find apps/qzdemo/MainForm.dfm; run from the source tree or pass --form FILE\n";
        return 1;
    }
    const std::optional<fs::path> RecordsFile = qzdemo::FindRecordsFormFile(*FormFile);
    if (!RecordsFile) {
        std::cerr
            << "qzdemo: cannot find apps/qzdemo/RecordsForm.dfm beside the main form or in the source tree\n";
        return 1;
    }
    const bool Windowed = fw::Application->Backend()->Interactive();
    if (Windowed && !Options.Tour) return RunInWindow(*FormFile, *RecordsFile, Options.Out);
    fs::create_directories(Options.Out);
    ClearOutput(Options.Out);

    // A fixed "today" makes every run's pictures the same.
    fw::TScopedClock Clock(fw::EncodeDate(2026, 3, 14));
    qzdemo::TDemoResources Resources(*FormFile, *RecordsFile);
    fw::RegisterControlClasses();
    qz::RegisterPackageClasses();
    fw::Screen->SetSize(DesktopWidth, DesktopHeight);
    // A steady caret keeps the pictures the same in a window too.
    fw::SetCaretBlinkTime(0);

    auto Form = std::make_unique<qzdemo::TfrmQzDemo>(nullptr);
    fw::Application->SetMainForm(Form.get());
    if (Windowed) fw::Application->Backend()->SetIcon(qz::PackageIcon());
    Form->Show();

    std::cout << "qzdemo: scripted tour " << (Windowed ? "in a window" : "on the headless screen") << " ("
              << DesktopWidth << " x " << DesktopHeight << ")\n";
    try {
        qzdemo::RunTour(Form.get(), Options.Out, FormFile->string(), std::cout, Options.Database);
    } catch (...) {
        fw::Application->Reset();
        fw::Application->SetMainForm(nullptr);
        throw;
    }
    fw::Application->SetMainForm(nullptr);
    Form.reset();
    std::cout << "qzdemo: every step had its expected effect.\n"
              << "Pictures and transcript: " << (Options.Out / "").string()
              << " (transcript.txt, NN-*.png)\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    TOptions Options;
    try {
        fw::Application->Initialize(argc, argv);
    } catch (const fw::EConvertError& E) {
        std::cerr << "qzdemo: " << E.what() << "\n";
        return 2;
    } catch (const std::exception& E) {
        std::cerr << "qzdemo: " << E.what() << "\n";
        return 1;
    }
    if (!ParseArguments(argc, argv, Options)) return 2;
    // The window backend gives the display back before the program ends.
    struct TBackendGuard {
        ~TBackendGuard() { fw::Application->SetBackend(nullptr); }
    } BackendGuard;
    try {
        return Run(Options);
    } catch (const qzdemo::ETourFailed& E) {
        std::cerr << "qzdemo: FAILED: " << E.what() << "\n"
                  << "See " << (Options.Out / "transcript.txt").string() << " and the -FAILED picture.\n";
    } catch (const std::exception& E) {
        std::cerr << "qzdemo: " << E.what() << "\n";
    }
    return 1;
}
