#pragma once
// The demo's own resource module: it holds the main form's form file and the
// records form's, read from the source tree when the program starts, as the form
// resources "TFRMQZDEMO" and "TFRMQZRECORDS".

#include <filesystem>
#include <framework/resources/ResourceModule.h>
#include <optional>

namespace qzdemo {

// Where the form file lies: the path given on the command line, else
// apps/qzdemo/MainForm.dfm under the working folder or under one of the folders
// above the program (a build folder sits in the source tree). Empty when none
// exists.
std::optional<std::filesystem::path> FindFormFile(const std::filesystem::path& Given);

// Where the records form's file lies: RecordsForm.dfm beside the main form file,
// else apps/qzdemo/RecordsForm.dfm found as above. Empty when none exists.
std::optional<std::filesystem::path> FindRecordsFormFile(const std::filesystem::path& MainFormFile);

// Registers a module holding the form files for as long as it lives. Raises
// fw::EResourceError when a file cannot be read.
class TDemoResources {
public:
    TDemoResources(const std::filesystem::path& FormFile, const std::filesystem::path& RecordsFormFile);
    ~TDemoResources();
    TDemoResources(const TDemoResources&) = delete;
    TDemoResources& operator=(const TDemoResources&) = delete;

private:
    fw::TResourceModule FModule{"qzdemo"};
};

} // namespace qzdemo
