#include "Golden.h"

#include <cstdlib>
#include <filesystem>
#include <framework/graphics/Png.h>
#include <framework/rtl/Exceptions.h>
#include <sstream>

namespace qztest {

namespace {

namespace fs = std::filesystem;

bool UpdateRequested() {
    const char* flag = std::getenv("QZ_UPDATE_GOLDEN");
    return flag && std::string(flag) == "1";
}

std::string FailurePath(const std::string& suite, const std::string& state, const char* kind) {
    return std::string(QZ_BINARY_DIR) + "/golden-failures/" + suite + "/" + state + "." + kind + ".png";
}

// Matching pixels faded towards white, differing ones red.
fw::TSurface MakeDiff(const fw::TSurface& actual, const fw::TSurface& expected) {
    int w = std::max(actual.Width(), expected.Width());
    int h = std::max(actual.Height(), expected.Height());
    fw::TSurface diff(w, h, fw::clRed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!actual.Contains(x, y) || !expected.Contains(x, y)) continue;
            fw::TPixel a = actual.Pixel(x, y);
            if (a != expected.Pixel(x, y)) continue;
            auto fade = [](int c) { return 192 + c / 4; };
            diff.SetPixel(x, y,
                          fw::RGB(fade(fw::GetRValue(a)), fade(fw::GetGValue(a)), fade(fw::GetBValue(a))));
        }
    return diff;
}

} // namespace

std::string GoldenPath(const std::string& suite, const std::string& state) {
    return std::string(QZ_SOURCE_DIR) + "/tests/golden/" + suite + "/" + state + ".png";
}

::testing::AssertionResult MatchesGolden(const fw::TSurface& actual, const std::string& suite,
                                         const std::string& state) {
    const std::string golden = GoldenPath(suite, state);
    if (UpdateRequested()) {
        fs::create_directories(fs::path(golden).parent_path());
        fw::SavePng(actual, golden);
        return ::testing::AssertionSuccess() << "golden updated: " << golden;
    }
    auto writeActual = [&] {
        const std::string path = FailurePath(suite, state, "actual");
        fs::create_directories(fs::path(path).parent_path());
        fw::SavePng(actual, path);
        return path;
    };
    if (!fs::exists(golden)) {
        std::string path = writeActual();
        return ::testing::AssertionFailure() << "no golden image " << golden << " (actual written to " << path
                                             << "; run with QZ_UPDATE_GOLDEN=1 to accept it)";
    }
    fw::TSurface expected;
    try {
        expected = fw::LoadPng(golden);
    } catch (const fw::Exception& e) {
        return ::testing::AssertionFailure() << e.what();
    }
    if (actual == expected) return ::testing::AssertionSuccess();

    std::ostringstream what;
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        what << "size " << actual.Width() << " x " << actual.Height() << ", golden " << expected.Width()
             << " x " << expected.Height();
    } else {
        int count = 0;
        int fx = -1, fy = -1;
        for (int y = 0; y < actual.Height(); ++y)
            for (int x = 0; x < actual.Width(); ++x)
                if (actual.Pixel(x, y) != expected.Pixel(x, y)) {
                    if (count++ == 0) {
                        fx = x;
                        fy = y;
                    }
                }
        what << count << " pixels differ, the first at (" << fx << ", " << fy << "): actual " << std::hex
             << actual.Pixel(fx, fy) << ", golden " << expected.Pixel(fx, fy) << std::dec;
    }
    std::string actualPath = writeActual();
    std::string diffPath = FailurePath(suite, state, "diff");
    fw::SavePng(MakeDiff(actual, expected), diffPath);
    return ::testing::AssertionFailure() << suite << "/" << state << ": " << what.str() << " (see "
                                         << actualPath << " and " << diffPath << ")";
}

} // namespace qztest
