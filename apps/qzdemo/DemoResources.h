#pragma once
// The demo's own resource module: it holds the main form's form file, read from
// the source tree when the program starts, as the form resource "TFRMQZDEMO".

#include <filesystem>
#include <framework/resources/ResourceModule.h>
#include <optional>

namespace qzdemo {

// Where the form file lies: the path given on the command line, else
// apps/qzdemo/MainForm.dfm under the working folder or under one of the folders
// above the program (a build folder sits in the source tree). Empty when none
// exists.
std::optional<std::filesystem::path> FindFormFile(const std::filesystem::path& Given);

// Registers a module holding the form file for as long as it lives. Raises
// fw::EResourceError when the file cannot be read.
class TDemoResources {
public:
    explicit TDemoResources(const std::filesystem::path& FormFile);
    ~TDemoResources();
    TDemoResources(const TDemoResources&) = delete;
    TDemoResources& operator=(const TDemoResources&) = delete;

private:
    fw::TResourceModule FModule{"qzdemo"};
};

} // namespace qzdemo
