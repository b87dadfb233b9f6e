// mkresources: draws the package's bitmap resources and writes them as BMP files.
//
//     mkresources <resources-folder>
//
// writes <resources-folder>/bitmaps/*.bmp and <resources-folder>/icons/MAINICON.ico. The output is
// the same byte for byte on every run; the files under resources/bitmaps and resources/icons are
// its output, committed.

#include "ArtFile.h"
#include "BmpWriter.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mkresources <resources-folder>\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / "bitmaps";
        const std::filesystem::path icons = std::filesystem::path(argv[1]) / "icons";
        std::filesystem::create_directories(folder);
        std::filesystem::create_directories(icons);
        int count = 0;
        for (auto make : {mkres::MakeButtonGlyphs, mkres::MakeNavigationButtons, mkres::MakeLedImages,
                          mkres::MakePaletteImages}) {
            for (const mkres::ArtFile& file : make()) {
                const auto bytes = mkres::EncodeBmp(file.Image, file.Palette, file.BitsPerPixel);
                mkres::WriteFile((folder / file.FileName).string(), bytes);
                ++count;
            }
        }
        mkres::WriteFile((icons / "MAINICON.ico").string(),
                         mkres::EncodeIcon(mkres::MainIconImage(), mkres::IconTransparent));
        std::cout << "mkresources: wrote " << count << " bitmaps and one icon under " << argv[1] << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "mkresources: " << e.what() << "\n";
        return 1;
    }
}
