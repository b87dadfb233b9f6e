#include "DemoResources.h"

#include <framework/resources/Resources.h>
#include <framework/rtl/Exceptions.h>
#include <fstream>
#include <sstream>
#include <system_error>

namespace qzdemo {

namespace {

const std::filesystem::path FormFileInTree = std::filesystem::path("apps") / "qzdemo" / "MainForm.dfm";
const std::filesystem::path RecordsFileInTree = std::filesystem::path("apps") / "qzdemo" / "RecordsForm.dfm";

// The form file InTree in Folder or in one of the folders above it.
std::optional<std::filesystem::path> SearchUpwards(std::filesystem::path Folder,
                                                   const std::filesystem::path& InTree) {
    while (!Folder.empty()) {
        const std::filesystem::path Candidate = Folder / InTree;
        std::error_code Error;
        if (std::filesystem::is_regular_file(Candidate, Error)) return Candidate;
        if (Folder == Folder.parent_path()) break;
        Folder = Folder.parent_path();
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> SearchTree(const std::filesystem::path& InTree) {
    std::error_code Error;
    if (auto Found = SearchUpwards(std::filesystem::current_path(Error), InTree); Found) return Found;
    const std::filesystem::path Program = std::filesystem::read_symlink("/proc/self/exe", Error);
    if (Error) return std::nullopt;
    if (auto Found = SearchUpwards(Program.parent_path(), InTree); Found) return Found;
    // An installed demo (bin/qzdemo): the form files lie in share/qzdemo.
    const std::filesystem::path Installed =
        Program.parent_path().parent_path() / "share" / "qzdemo" / InTree.filename();
    if (std::filesystem::is_regular_file(Installed, Error)) return Installed;
    return std::nullopt;
}

fw::String ReadFormFile(const std::filesystem::path& File) {
    std::ifstream In(File, std::ios::binary);
    if (!In) throw fw::EResourceError("Cannot read the form file " + File.string());
    std::ostringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

} // namespace

std::optional<std::filesystem::path> FindFormFile(const std::filesystem::path& Given) {
    if (!Given.empty()) return Given;
    return SearchTree(FormFileInTree);
}

std::optional<std::filesystem::path> FindRecordsFormFile(const std::filesystem::path& MainFormFile) {
    std::error_code Error;
    const std::filesystem::path Beside = MainFormFile.parent_path() / RecordsFileInTree.filename();
    if (std::filesystem::is_regular_file(Beside, Error)) return Beside;
    return SearchTree(RecordsFileInTree);
}

TDemoResources::TDemoResources(const std::filesystem::path& FormFile,
                               const std::filesystem::path& RecordsFormFile) {
    FModule.AddForm("TFRMQZDEMO", ReadFormFile(FormFile));
    FModule.AddForm("TFRMQZRECORDS", ReadFormFile(RecordsFormFile));
    fw::RegisterResourceModule(&FModule);
}

TDemoResources::~TDemoResources() {
    fw::UnregisterResourceModule(&FModule);
}

} // namespace qzdemo
