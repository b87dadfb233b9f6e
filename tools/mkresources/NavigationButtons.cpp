// The calendar popup's four navigation buttons, each as an up (black) and a pressed (red) image.
// The images are 17 x 17 on white, which is drawn transparent; the popup copies only the top-left
// 16 x 16, so the arrows are centred in that square.

#include "ArtFile.h"
#include "BmpWriter.h"

#include <string>

namespace mkres {

namespace {

constexpr int ButtonSize = 17;
constexpr int ArrowWidth = 4; // columns from tip to base; the base is 2 * ArrowWidth - 1 rows tall
constexpr int CentreRow = 7;  // the 16 x 16 square's middle rows are 7 and 8

enum class Direction { Left, Right };

// A solid triangle with its tip in column tipX; step is the direction from the tip to the base.
void DrawArrowHead(RgbImage& image, int tipX, Direction dir, Rgb ink) {
    const int step = dir == Direction::Left ? 1 : -1;
    for (int k = 0; k < ArrowWidth; ++k) {
        const int x = tipX + k * step;
        image.Fill(x, CentreRow - k, x, CentreRow + k, ink);
    }
}

RgbImage Arrow(Direction dir, bool twoHeads, Rgb ink) {
    RgbImage image(ButtonSize, ButtonSize, White);
    // The single head spans columns 6-9, the double one 4-11: both centred on 7.5.
    if (dir == Direction::Left) {
        DrawArrowHead(image, twoHeads ? 4 : 6, dir, ink);
        if (twoHeads) DrawArrowHead(image, 8, dir, ink);
    } else {
        DrawArrowHead(image, twoHeads ? 11 : 9, dir, ink);
        if (twoHeads) DrawArrowHead(image, 7, dir, ink);
    }
    return image;
}

} // namespace

std::vector<ArtFile> MakeNavigationButtons() {
    struct Button {
        Direction dir;
        bool twoHeads;
    };
    // In resource order: month back, month forward, year back, year forward.
    const Button buttons[] = {{Direction::Left, false},
                              {Direction::Right, false},
                              {Direction::Left, true},
                              {Direction::Right, true}};
    std::vector<ArtFile> files;
    int id = 210;
    for (const Button& b : buttons) {
        for (Rgb ink : {Black, Red}) {
            files.push_back(
                ArtFile{std::to_string(id) + ".bmp", Arrow(b.dir, b.twoHeads, ink), VgaPalette(), 4});
            ++id;
        }
    }
    return files;
}

} // namespace mkres
