#pragma once

#include "RgbImage.h"

#include <string>
#include <vector>

namespace mkres {

// One bitmap resource to be written: its file name, its picture, and the palette and depth it is
// stored with.
struct ArtFile {
    std::string FileName;
    RgbImage Image;
    std::vector<Rgb> Palette;
    int BitsPerPixel;
};

// The drop-button glyphs 200-205: two frames each, the normal picture and the greyed one.
std::vector<ArtFile> MakeButtonGlyphs();

// The popup's navigation buttons 210-217: single and double arrows, black when up, red when pressed.
std::vector<ArtFile> MakeNavigationButtons();

// The 56 lamp images of the LED: two sizes, nine hues in three states, and a grey unlit lamp per size.
std::vector<ArtFile> MakeLedImages();

// The designer's palette images, 24 x 24, named after the registered classes.
std::vector<ArtFile> MakePaletteImages();

// The module icon's 32 x 32 picture; Teal marks where it is transparent.
RgbImage MainIconImage();
inline constexpr Rgb IconTransparent{0, 128, 128};

} // namespace mkres
