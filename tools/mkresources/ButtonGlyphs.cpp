// The drop button's built-in pictures. Each bitmap holds two frames of equal width side by side: the
// normal picture and the disabled one. The button takes the colour of a frame's lower-left pixel as
// transparent, so every frame keeps a uniform ground that includes that pixel.

#include "ArtFile.h"
#include "BmpWriter.h"

#include <map>
#include <string>
#include <string_view>

namespace mkres {

namespace {

// The ellipsis sits on white. The calendar pictures contain white paper, which must not vanish
// into a white transparent ground, so they and the arrows use the button face colour instead.
constexpr Rgb EllipsisGround = White;
constexpr Rgb FaceGround = Silver;

using Glyph = std::vector<std::string_view>; // rows of '#' (ink) and '.' (no ink)

// A 3 x 5 capital font for the month abbreviation.
const std::map<char, Glyph>& SmallLetters() {
    static const std::map<char, Glyph> letters{
        {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
        {'E', {"###", "#..", "##.", "#..", "###"}},
        {'C', {".##", "#..", "#..", "#..", ".##"}},
    };
    return letters;
}

// A bold 5 x 8 font for the day number.
const std::map<char, Glyph>& LargeDigits() {
    static const std::map<char, Glyph> digits{
        {'1', {"..##.", ".###.", "..##.", "..##.", "..##.", "..##.", "..##.", ".####"}},
        {'3', {".###.", "##.##", "...##", "..##.", "...##", "...##", "##.##", ".###."}},
    };
    return digits;
}

// Draws the text with one blank column between characters, starting at (x, y).
void DrawText(RgbImage& image, int x, int y, std::string_view text, const std::map<char, Glyph>& font,
              Rgb ink) {
    for (char ch : text) {
        const Glyph& glyph = font.at(ch);
        for (std::size_t row = 0; row < glyph.size(); ++row)
            for (std::size_t col = 0; col < glyph[row].size(); ++col)
                if (glyph[row][col] == '#')
                    image.Set(x + static_cast<int>(col), y + static_cast<int>(row), ink);
        x += static_cast<int>(glyph.front().size()) + 1;
    }
}

// Light colours (white paper, the face grey, the ground) drop out of the disabled picture; every
// darker pixel becomes part of the embossed shape.
bool IsInk(Rgb c, Rgb ground) {
    return c != ground && static_cast<int>(c.r) + c.g + c.b < 3 * 192;
}

// The classic greyed look: the shape in grey over a white copy of it shifted one pixel down and right.
RgbImage Disabled(const RgbImage& normal, Rgb ground) {
    RgbImage out(normal.Width(), normal.Height(), ground);
    for (int y = 0; y < normal.Height(); ++y)
        for (int x = 0; x < normal.Width(); ++x)
            if (IsInk(normal.At(x, y), ground)) out.Set(x + 1, y + 1, White);
    for (int y = 0; y < normal.Height(); ++y)
        for (int x = 0; x < normal.Width(); ++x)
            if (IsInk(normal.At(x, y), ground)) out.Set(x, y, Grey);
    return out;
}

ArtFile TwoFrames(std::string fileName, const RgbImage& normal, Rgb ground) {
    RgbImage both(normal.Width() * 2, normal.Height(), ground);
    both.Blit(normal, 0, 0);
    both.Blit(Disabled(normal, ground), normal.Width(), 0);
    return ArtFile{std::move(fileName), std::move(both), VgaPalette(), 4};
}

// Three 2 x 2 dots across the middle.
RgbImage Ellipsis() {
    RgbImage image(10, 10, EllipsisGround);
    for (int left : {1, 4, 7})
        image.Fill(left, 4, left + 1, 5, Black);
    return image;
}

// A downward triangle whose top row is topWidth pixels wide (an odd number), centred in the frame.
RgbImage DropArrow(int frameWidth, int topWidth, int top) {
    RgbImage image(frameWidth, 10, FaceGround);
    const int centre = frameWidth / 2;
    for (int half = topWidth / 2, y = top; half >= 0; --half, ++y)
        image.Fill(centre - half, y, centre + half, y, Black);
    return image;
}

// A calendar sheet on two binder pins: blue title bar, four rows of five day dots, one of them red.
RgbImage SmallSheet() {
    RgbImage image(15, 15, FaceGround);
    image.Fill(2, 14, 14, 14, Grey); // drop shadow
    image.Fill(14, 2, 14, 14, Grey);
    image.Fill(1, 1, 13, 13, White);
    image.Frame(1, 1, 13, 13, Black);
    image.Set(4, 0, Black);
    image.Set(10, 0, Black);
    image.Fill(2, 2, 12, 3, Blue);
    for (int y = 5; y <= 11; y += 2)
        for (int x = 3; x <= 11; x += 2)
            image.Set(x, y, Black);
    image.Set(7, 9, Red);
    return image;
}

// A tear-off page: the month abbreviation in white on a blue band above a big red day number.
RgbImage TearOffPage() {
    RgbImage image(18, 20, FaceGround);
    image.Fill(1, 19, 17, 19, Grey); // drop shadow
    image.Fill(17, 1, 17, 19, Grey);
    image.Fill(0, 0, 16, 18, White);
    image.Frame(0, 0, 16, 18, Black);
    image.Fill(1, 1, 15, 7, Blue);
    DrawText(image, 3, 2, "DEC", SmallLetters(), White);
    DrawText(image, 3, 9, "31", LargeDigits(), Red);
    return image;
}

// A month grid: blue band on top, then three weeks of five white day cells in grey rules; the last
// column and one other day are marked red.
RgbImage MonthGrid() {
    RgbImage image(16, 16, FaceGround);
    image.Fill(0, 0, 15, 14, Grey);
    image.Frame(0, 0, 15, 14, Black);
    image.Fill(1, 1, 14, 4, Blue);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 5; ++col) {
            const int left = 1 + 3 * col;
            const int top = 6 + 3 * row;
            const bool marked = col == 4 || (col == 1 && row == 1);
            image.Fill(left, top, left + 1, top + 1, marked ? Red : White);
        }
    }
    return image;
}

} // namespace

std::vector<ArtFile> MakeButtonGlyphs() {
    std::vector<ArtFile> files;
    files.push_back(TwoFrames("200.bmp", Ellipsis(), EllipsisGround));
    files.push_back(TwoFrames("201.bmp", DropArrow(9, 7, 3), FaceGround));
    files.push_back(TwoFrames("202.bmp", DropArrow(7, 5, 4), FaceGround));
    files.push_back(TwoFrames("203.bmp", SmallSheet(), FaceGround));
    files.push_back(TwoFrames("204.bmp", TearOffPage(), FaceGround));
    files.push_back(TwoFrames("205.bmp", MonthGrid(), FaceGround));
    return files;
}

} // namespace mkres
