// mkresources: draws the package's bitmap resources and writes them as BMP files.
//
//     mkresources <output-folder>
//
// The output is the same byte for byte on every run; the files under resources/bitmaps are its
// output, committed.

#include "ArtFile.h"
#include "BmpWriter.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mkresources <output-folder>\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        int count = 0;
        for (auto make : {mkres::MakeButtonGlyphs, mkres::MakeNavigationButtons, mkres::MakeLedImages}) {
            for (const mkres::ArtFile& file : make()) {
                const auto bytes = mkres::EncodeBmp(file.Image, file.Palette, file.BitsPerPixel);
                mkres::WriteFile((folder / file.FileName).string(), bytes);
                ++count;
            }
        }
        std::cout << "mkresources: wrote " << count << " bitmaps to " << folder.string() << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "mkresources: " << e.what() << "\n";
        return 1;
    }
}
