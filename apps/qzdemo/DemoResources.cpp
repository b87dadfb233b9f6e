#include "DemoResources.h"

#include <framework/resources/Resources.h>
#include <framework/rtl/Exceptions.h>
#include <fstream>
#include <sstream>
#include <system_error>

namespace qzdemo {

namespace {

const std::filesystem::path FormFileInTree = std::filesystem::path("apps") / "qzdemo" / "MainForm.dfm";

// The form file in Folder or in one of the folders above it.
std::optional<std::filesystem::path> SearchUpwards(std::filesystem::path Folder) {
    while (!Folder.empty()) {
        const std::filesystem::path Candidate = Folder / FormFileInTree;
        std::error_code Error;
        if (std::filesystem::is_regular_file(Candidate, Error)) return Candidate;
        if (Folder == Folder.parent_path()) break;
        Folder = Folder.parent_path();
    }
    return std::nullopt;
}

} // namespace

std::optional<std::filesystem::path> FindFormFile(const std::filesystem::path& Given) {
    if (!Given.empty()) return Given;
    std::error_code Error;
    if (auto Found = SearchUpwards(std::filesystem::current_path(Error)); Found) return Found;
    const std::filesystem::path Program = std::filesystem::read_symlink("/proc/self/exe", Error);
    if (!Error) return SearchUpwards(Program.parent_path());
    return std::nullopt;
}

TDemoResources::TDemoResources(const std::filesystem::path& FormFile) {
    std::ifstream In(FormFile, std::ios::binary);
    if (!In) throw fw::EResourceError("Cannot read the form file " + FormFile.string());
    std::ostringstream Text;
    Text << In.rdbuf();
    FModule.AddForm("TFRMQZDEMO", Text.str());
    fw::RegisterResourceModule(&FModule);
}

TDemoResources::~TDemoResources() {
    fw::UnregisterResourceModule(&FModule);
}

} // namespace qzdemo
