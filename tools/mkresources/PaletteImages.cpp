// The designer's palette images, one 24 x 24 bitmap per registered class and named after it, and
// the module icon. Every date component shows a calendar leaf: a white page with a red month strip
// and a day number. The date edit adds an edit field under it, the data-aware edit a small data
// grid, the data-aware label a grid and a letter; the lamp is the LED's own lit red lamp in the
// middle of a white square.

#include "ArtFile.h"
#include "BmpWriter.h"

#include <stdexcept>

namespace mkres {

namespace {

constexpr int ImageSize = 24;
constexpr Rgb Ground = Silver; // the palette button's face
constexpr Rgb Maroon{128, 0, 0};
constexpr Rgb Teal{0, 128, 128};

// Digits of a 3 x 5 pixel font, one string per row, '#' set.
constexpr const char* Digits[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", "###", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", "..#", "..#", "..#"},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
};

void Glyph(RgbImage& image, const char* const rows[5], int x, int y, Rgb c) {
    for (int row = 0; row < 5; ++row)
        for (int col = 0; rows[row][col] != '\0'; ++col)
            if (rows[row][col] == '#') image.Set(x + col, y + row, c);
}

// A calendar leaf with its top-left corner at (x, y): a page with a shadow, a red month strip
// with two binding rings, and the day number 12 centred below.
void Leaf(RgbImage& image, int x, int y, int width, int height) {
    image.Fill(x + 1, y + 1, x + width, y + height, Grey); // shadow
    image.Fill(x, y, x + width - 1, y + height - 1, White);
    image.Frame(x, y, x + width - 1, y + height - 1, Black);
    image.Fill(x + 1, y + 1, x + width - 2, y + 3, Red);
    image.Set(x + 3, y, Maroon);
    image.Set(x + width - 4, y, Maroon);
    const int numberX = x + (width - 7) / 2;
    const int numberY = y + 4 + (height - 4 - 5) / 2;
    Glyph(image, Digits[1], numberX, numberY, Black);
    Glyph(image, Digits[2], numberX + 4, numberY, Black);
}

// A sunken edit field with a text caret.
void EditField(RgbImage& image, int left, int top, int right, int bottom) {
    image.Fill(left, top, right, bottom, White);
    image.Fill(left, top, right, top, Grey);
    image.Fill(left, top, left, bottom, Grey);
    image.Fill(left + 1, top + 1, right - 1, top + 1, Black);
    image.Fill(left + 1, top + 1, left + 1, bottom - 1, Black);
    image.Fill(left + 4, top + 3, left + 4, bottom - 2, Black);
}

// A small data grid: a navy title row and white cells ruled in grey.
void Grid(RgbImage& image, int left, int top, int columns, int rows) {
    constexpr int cell = 4;
    const int right = left + columns * cell;
    const int bottom = top + rows * cell;
    image.Fill(left, top, right, bottom, White);
    image.Fill(left, top, right, top + cell, Navy);
    for (int c = 0; c <= columns; ++c)
        image.Fill(left + c * cell, top, left + c * cell, bottom, Grey);
    for (int r = 1; r <= rows; ++r)
        image.Fill(left, top + r * cell, right, top + r * cell, Grey);
    image.Frame(left, top, right, bottom, Black);
}

ArtFile Vga(const char* name, RgbImage image) {
    return ArtFile{std::string(name) + ".bmp", std::move(image), VgaPalette(), 4};
}

RgbImage LitRedLamp() {
    for (ArtFile& file : MakeLedImages())
        if (file.FileName == "QZLEDLRD1.bmp") return file.Image;
    throw std::runtime_error("the lit red lamp is missing from the LED images");
}

} // namespace

std::vector<ArtFile> MakePaletteImages() {
    std::vector<ArtFile> files;

    RgbImage calendar(ImageSize, ImageSize, Ground);
    Leaf(calendar, 3, 2, 17, 19);
    files.push_back(Vga("TQZCALENDAR", std::move(calendar)));

    RgbImage dateEdit(ImageSize, ImageSize, Ground);
    Leaf(dateEdit, 6, 1, 13, 13);
    EditField(dateEdit, 1, 15, 22, 22);
    files.push_back(Vga("TQZDATEEDIT", std::move(dateEdit)));

    RgbImage dbDateEdit(ImageSize, ImageSize, Ground);
    Leaf(dbDateEdit, 9, 1, 13, 13);
    Grid(dbDateEdit, 1, 10, 3, 3);
    files.push_back(Vga("TQZDBDATEEDIT", std::move(dbDateEdit)));

    RgbImage dbDateText(ImageSize, ImageSize, Ground);
    Leaf(dbDateText, 9, 1, 13, 13);
    Grid(dbDateText, 1, 10, 3, 3);
    constexpr const char* LetterA[5] = {".#.", "#.#", "###", "#.#", "#.#"};
    dbDateText.Fill(15, 16, 21, 22, White);
    dbDateText.Frame(15, 16, 21, 22, Teal);
    Glyph(dbDateText, LetterA, 17, 17, Black);
    files.push_back(Vga("TQZDBDATETEXT", std::move(dbDateText)));

    RgbImage led(ImageSize, ImageSize, White);
    led.Blit(LitRedLamp(), 7, 7);
    std::vector<Rgb> palette = ColoursInOrder(led);
    files.push_back(ArtFile{"TQZLED.bmp", std::move(led), std::move(palette), 8});
    return files;
}

RgbImage MainIconImage() {
    RgbImage icon(32, 32, IconTransparent);
    Leaf(icon, 4, 3, 23, 25);
    return icon;
}

} // namespace mkres
