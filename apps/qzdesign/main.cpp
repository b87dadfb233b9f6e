// qzdesign: the designer host. It loads a package module with the dynamic loader, calls its
// Register, and shows the palette, a form being designed and the object inspector.
//
//     qzdesign [--module PATH] [--tour] [--out DIR] [--headless | --window] [--scale N]
//
// PATH defaults to QzComponents5.so beside the program, or for an installed designer the module in
// the package's library folder. With a display the palette and the inspector open in windows for a
// person to use; the program ends when the palette is closed.
// With --tour (the only mode without a display) it runs the scripted tour on the headless screen,
// whatever the display, and leaves NN-step.png pictures, three close-ups and transcript.txt in DIR
// (default out/design). --headless, --window and --scale choose the backend as for any program
// (see fw::TApplication::Initialize). Exit code 0 when every step had its expected effect or the
// window was closed, 1 with a message on stderr otherwise, 2 for a bad command line.

#include "FormDesigner.h"
#include "Inspector.h"
#include "PaletteForm.h"
#include "Tour.h"

#include <cstring>
#include <filesystem>
#include <framework/designer/Packages.h>
#include <framework/forms/Application.h>
#include <framework/forms/Backend.h>
#include <framework/forms/Registration.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Windows.h>
#include <framework/resources/Resources.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <iostream>
#include <optional>
#include <regex>

namespace {

namespace fs = std::filesystem;

struct TOptions {
    fs::path Module;
    fs::path Out = fs::path("out") / "design";
    bool Tour = false;
};

constexpr int DesktopWidth = 1024;
constexpr int DesktopHeight = 680;

bool ParseArguments(int argc, char** argv, TOptions& Options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--module") == 0 && i + 1 < argc) {
            Options.Module = argv[++i];
        } else if (std::strcmp(arg, "--out") == 0 && i + 1 < argc) {
            Options.Out = argv[++i];
        } else if (std::strcmp(arg, "--tour") == 0) {
            Options.Tour = true;
        } else {
            std::cerr << "usage: qzdesign [--module PATH] [--tour] [--out DIR]\n";
            return false;
        }
    }
    if (Options.Module.empty()) {
        std::error_code error;
        const fs::path self = fs::read_symlink("/proc/self/exe", error);
        const fs::path folder = (error ? fs::path(argv[0]) : self).parent_path();
        Options.Module = folder / "QzComponents5.so";
#ifdef QZ_INSTALLED_MODULE
        // An installed designer: the module lies in the package's library folder.
        if (!fs::exists(Options.Module, error))
            Options.Module = (folder / QZ_INSTALLED_MODULE).lexically_normal();
#endif
    }
    return true;
}

// The windows' icon: the package's calendar glyph, as the demo shows it. The designer has the
// package only as a loaded module, so the glyph comes from the resource module it registered.
fw::TSurface PackageIcon() {
    for (fw::TResourceModule* module : fw::ResourceModules())
        if (module->Name() == "QzComponents5") return fw::GlyphIcon(module, 203);
    return fw::GlyphIcon(nullptr, 0);
}

void ClearOutput(const fs::path& Dir) {
    const std::regex picture(R"(\d\d-[A-Za-z0-9-]+\.png|palette\.png|inspector-dateformat\.png|about\.png)");
    for (const fs::directory_entry& entry : fs::directory_iterator(Dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && (name == "transcript.txt" || std::regex_match(name, picture)))
            fs::remove(entry.path());
    }
}

int Run(const TOptions& Options) {
    if (!Options.Tour && !fw::Application->Backend()->Interactive()) {
        std::cerr << "qzdesign: no display here; run the scripted tour with --tour\n";
        return 2;
    }
    // The tour's pictures are the same on every run: a fixed day and desktop. A person gets
    // today and the display's desktop.
    std::optional<fw::TScopedClock> clock;
    if (Options.Tour) {
        clock.emplace(fw::EncodeDate(2026, 3, 14));
        fw::Screen->SetSize(DesktopWidth, DesktopHeight);
    }
    fw::RegisterControlClasses();
    fw::Application->SetTitle("Qz Designer");

    qzdesign::TFormDesigner designer;
    qzdesign::TPaletteForm palette(&designer);
    qzdesign::TInspectorForm inspector(&designer);
    designer.OnSelectionChanged = [&] { inspector.SelectionChanged(); };
    // A change re-reads the values; the rows stay (the editor that made the change is still at work).
    designer.OnModified = [&] { inspector.ValuesChanged(); };
    palette.SetBounds(0, 0, palette.Width(), palette.Height());
    inspector.SetBounds(DesktopWidth - inspector.Width() - 4, 96, inspector.Width(), inspector.Height());
    palette.Show();
    inspector.Show();
    inspector.SelectionChanged();
    fw::Application->SetMainForm(&palette);

    // A module that does not load leaves the designer usable with an empty palette.
    const fw::String modulePath = Options.Module.string();
    try {
        const fw::TLoadedPackage& package = fw::LoadPackage(modulePath);
        palette.SetStatus(fw::String("Loaded ") + package.Info->Description + " (" +
                          Options.Module.filename().string() + ")");
    } catch (const fw::EPackageError& e) {
        std::cerr << "qzdesign: " << e.what() << "\n";
        palette.SetStatus(e.what());
        if (Options.Tour) return 1;
        fw::Application->MessageBox(e.what(), "Qz Designer", fw::MB_OK | fw::MB_ICONSTOP);
    }
    palette.ShowPage("QzComponents");

    if (!Options.Tour) {
        fw::Application->Backend()->SetIcon(PackageIcon());
        fw::Application->Run();
        fw::Application->SetMainForm(nullptr);
        return 0;
    }
    fs::create_directories(Options.Out);
    ClearOutput(Options.Out);
    std::cout << "qzdesign: scripted tour on the headless screen (" << DesktopWidth << " x " << DesktopHeight
              << ")\n";
    try {
        qzdesign::RunTour({&designer, &palette, &inspector}, modulePath, Options.Out, std::cout);
    } catch (...) {
        fw::Application->Reset();
        fw::Application->SetMainForm(nullptr);
        throw;
    }
    fw::Application->SetMainForm(nullptr);
    std::cout << "qzdesign: every step had its expected effect.\nPictures and transcript: "
              << (Options.Out / "").string() << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    try {
        fw::TBackendRequest request = fw::ReadBackendRequest(argc, argv);
        if (!ParseArguments(argc, argv, options)) return 2;
        if (options.Tour) request.Kind = fw::TBackendKind::Headless;
        fw::Application->SetBackend(fw::CreateBackend(request));
    } catch (const fw::EConvertError& e) {
        std::cerr << "qzdesign: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "qzdesign: " << e.what() << "\n";
        return 1;
    }
    // The window backend gives the display back before the program ends.
    struct TBackendGuard {
        ~TBackendGuard() { fw::Application->SetBackend(nullptr); }
    } backendGuard;
    try {
        return Run(options);
    } catch (const qzdesign::ETourFailed& e) {
        std::cerr << "qzdesign: FAILED: " << e.what() << "\nSee " << (options.Out / "transcript.txt").string()
                  << " and the -FAILED picture.\n";
    } catch (const std::exception& e) {
        std::cerr << "qzdesign: " << e.what() << "\n";
    }
    return 1;
}
