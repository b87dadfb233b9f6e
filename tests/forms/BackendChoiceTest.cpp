// Which backend a program gets: its options and environment, and the
// headless screen wherever no window can be opened.

#include <cstdlib>
#include <framework/forms/Backend.h>
#include <framework/forms/Form.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fw {
namespace {

// Sets environment variables for a scope and puts the old values back.
class TScopedEnvironment {
public:
    void Set(const char* Name, const char* Value) {
        const char* Old = std::getenv(Name);
        FSaved.push_back({Name, Old ? Old : "", Old != nullptr});
        if (Value)
            setenv(Name, Value, 1);
        else
            unsetenv(Name);
    }
    ~TScopedEnvironment() {
        for (auto It = FSaved.rbegin(); It != FSaved.rend(); ++It)
            It->Had ? setenv(It->Name.c_str(), It->Value.c_str(), 1) : unsetenv(It->Name.c_str());
    }

private:
    struct TSaved {
        std::string Name, Value;
        bool Had;
    };
    std::vector<TSaved> FSaved;
};

struct TParsed {
    TBackendRequest Request;
    std::vector<std::string> Left;
};

TParsed Parse(std::vector<std::string> Args) {
    std::vector<char*> Argv;
    for (std::string& A : Args)
        Argv.push_back(A.data());
    Argv.push_back(nullptr);
    int Argc = static_cast<int>(Args.size());
    TParsed P{ReadBackendRequest(Argc, Argv.data()), {}};
    for (int I = 0; I < Argc; ++I)
        P.Left.emplace_back(Argv[static_cast<std::size_t>(I)]);
    return P;
}

TEST(BackendChoice, OptionsWinOverTheEnvironmentAndLeaveTheProgramsOwn) {
    struct Row {
        const char* Backend; // QZ_BACKEND
        const char* Scale;   // QZ_SCALE
        std::vector<std::string> Args;
        TBackendKind Kind;
        int ScaleWanted;
        std::vector<std::string> Left;
    };
    const Row Rows[] = {
        {nullptr, nullptr, {"prog", "--out", "x"}, TBackendKind::Auto, 0, {"prog", "--out", "x"}},
        {nullptr, nullptr, {"prog", "--headless", "--tour"}, TBackendKind::Headless, 0, {"prog", "--tour"}},
        {nullptr, nullptr, {"prog", "--window", "--scale", "2"}, TBackendKind::Window, 2, {"prog"}},
        {nullptr, nullptr, {"prog", "--scale=3", "a"}, TBackendKind::Auto, 3, {"prog", "a"}},
        {"headless", "2", {"prog"}, TBackendKind::Headless, 2, {"prog"}},
        {"WINDOW", nullptr, {"prog"}, TBackendKind::Window, 0, {"prog"}},
        {"window", "2", {"prog", "--headless", "--scale", "1"}, TBackendKind::Headless, 1, {"prog"}},
        {"auto", nullptr, {"prog"}, TBackendKind::Auto, 0, {"prog"}},
    };
    for (const Row& R : Rows) {
        TScopedEnvironment Env;
        Env.Set("QZ_BACKEND", R.Backend);
        Env.Set("QZ_SCALE", R.Scale);
        const TParsed P = Parse(R.Args);
        EXPECT_EQ(P.Request.Kind, R.Kind) << R.Args[1 % R.Args.size()];
        EXPECT_EQ(P.Request.Scale, R.ScaleWanted);
        EXPECT_EQ(P.Left, R.Left);
    }
}

TEST(BackendChoice, BadValuesAreReportedNotGuessed) {
    struct Row {
        const char* Backend;
        const char* Scale;
        std::vector<std::string> Args;
    };
    const Row Rows[] = {
        {"sdl2", nullptr, {"prog"}},
        {nullptr, "0", {"prog"}},
        {nullptr, "2x", {"prog"}},
        {nullptr, nullptr, {"prog", "--scale"}},
        {nullptr, nullptr, {"prog", "--scale", "9"}},
        {nullptr, nullptr, {"prog", "--scale=-1"}},
    };
    for (const Row& R : Rows) {
        TScopedEnvironment Env;
        Env.Set("QZ_BACKEND", R.Backend);
        Env.Set("QZ_SCALE", R.Scale);
        EXPECT_THROW(Parse(R.Args), EConvertError);
    }
}

TEST(BackendChoice, WithoutADisplayAutoIsHeadlessAndAWindowIsAnError) {
    TScopedEnvironment Env;
    Env.Set("DISPLAY", nullptr);
    Env.Set("WAYLAND_DISPLAY", nullptr);
    Env.Set("SDL_VIDEODRIVER", nullptr);
    EXPECT_FALSE(CreateBackend({TBackendKind::Auto, 0})->Interactive());
    EXPECT_FALSE(CreateBackend({TBackendKind::Headless, 0})->Interactive());
    Env.Set("SDL_VIDEODRIVER", "x11"); // no server to talk to
    try {
        CreateBackend({TBackendKind::Window, 0});
        ADD_FAILURE() << "a window backend opened without a display";
    } catch (const EInvalidOperation& E) {
        EXPECT_EQ(std::string(E.what()).rfind("No window can be opened: ", 0), 0u) << E.what();
    }
}

} // namespace
} // namespace fw
