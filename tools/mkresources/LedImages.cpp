// The LED's lamp images: 10 x 10, 256 colours, named QZLED + size letter + hue code + state digit,
// plus one grey unlit lamp per size. Pure white marks where the background shows through, so the
// lamp itself never uses it, except at the highlight of a few images where the background is meant
// to glint through. The shading is a small sphere lit from the upper left; only arithmetic and sqrt
// are used, so every run writes the same bytes.

#include "ArtFile.h"
#include "BmpWriter.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

namespace mkres {

namespace {

constexpr int LampSize = 10;

struct Hue {
    const char* code;
    Rgb full; // the colour at full brightness
};

// In the order of the LED's colour enumeration.
constexpr Hue Hues[] = {
    {"AM", {255, 170, 0}},  {"BL", {20, 60, 255}},  {"GN", {0, 180, 0}},
    {"LB", {90, 190, 255}}, {"LM", {170, 255, 40}}, {"PK", {255, 110, 190}},
    {"PP", {160, 50, 230}}, {"RD", {255, 20, 20}},  {"TL", {0, 170, 160}},
};

constexpr Rgb UnlitGrey{120, 120, 120};
constexpr double UnlitLevel = 0.75;

// Brightness and how far the highlight pixel is lifted towards white, for off, on and bright.
constexpr double StateLevel[] = {0.45, 0.72, 1.0};
constexpr double StateGlint[] = {0.15, 0.35, 0.85};
constexpr double HaloGlint = 0.40; // around the highlight, bright state only

// Images whose highlight pixel is pure white, so the background glints through it.
const std::set<std::string>& ClearHighlightImages() {
    static const std::set<std::string> names{"QZLEDLAM1", "QZLEDLAM2", "QZLEDLBL1", "QZLEDLBL2",
                                             "QZLEDLLM1", "QZLEDLLM2", "QZLEDLPP1"};
    return names;
}

struct Shape {
    char letter;
    double radius;  // of the lit disc, in pixels
    int highlightX; // the brightest pixel
    int highlightY;
    // First and last covered column of each row; a row with first > last is empty.
    int first[LampSize];
    int last[LampSize];

    bool Covers(int x, int y) const { return x >= first[y] && x <= last[y]; }
};

constexpr Shape Small{'S', 4.0, 3, 3, {9, 3, 2, 1, 1, 1, 1, 2, 3, 9}, {0, 6, 7, 8, 8, 8, 8, 7, 6, 0}};
constexpr Shape Large{'L', 5.0, 3, 2, {2, 1, 0, 0, 0, 0, 0, 0, 1, 2}, {7, 8, 9, 9, 9, 9, 9, 9, 8, 7}};

std::uint8_t Channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

Rgb Scale(Rgb c, double f) {
    return Rgb{Channel(c.r * f), Channel(c.g * f), Channel(c.b * f)};
}

Rgb TowardsWhite(Rgb c, double t) {
    return Rgb{Channel(c.r + (255 - c.r) * t), Channel(c.g + (255 - c.g) * t),
               Channel(c.b + (255 - c.b) * t)};
}

// Diffuse light on a sphere seen from the front, lit from the upper left, with a darker rim.
double Lighting(const Shape& shape, int x, int y) {
    const double centre = LampSize / 2.0;
    const double dx = (x + 0.5 - centre) / shape.radius;
    const double dy = (y + 0.5 - centre) / shape.radius;
    const double r2 = std::min(1.0, dx * dx + dy * dy);
    const double nz = std::sqrt(1.0 - r2);
    const double lx = -0.45, ly = -0.55, lz = 0.70;
    const double len = std::sqrt(lx * lx + ly * ly + lz * lz);
    const double diffuse = std::max(0.0, (dx * lx + dy * ly + nz * lz) / len);
    double level = 0.35 + 0.75 * diffuse;
    if (r2 > 0.72) level *= 0.8;
    return level;
}

RgbImage Lamp(const Shape& shape, Rgb full, double level, double glint, double halo) {
    RgbImage image(LampSize, LampSize, White);
    for (int y = 0; y < LampSize; ++y) {
        for (int x = 0; x < LampSize; ++x) {
            if (!shape.Covers(x, y)) continue;
            Rgb c = Scale(full, level * Lighting(shape, x, y));
            const int distance = std::abs(x - shape.highlightX) + std::abs(y - shape.highlightY);
            if (distance == 0)
                c = TowardsWhite(c, glint);
            else if (distance == 1)
                c = TowardsWhite(c, halo);
            if (c == White) c = Rgb{254, 254, 254}; // white would let the background through
            image.Set(x, y, c);
        }
    }
    return image;
}

ArtFile Stored(std::string name, RgbImage image) {
    std::vector<Rgb> palette = ColoursInOrder(image);
    return ArtFile{name + ".bmp", std::move(image), std::move(palette), 8};
}

} // namespace

std::vector<ArtFile> MakeLedImages() {
    std::vector<ArtFile> files;
    for (const Shape& shape : {Small, Large}) {
        const std::string prefix = std::string("QZLED") + shape.letter;
        for (const Hue& hue : Hues) {
            for (int state = 0; state < 3; ++state) {
                const std::string name = prefix + hue.code + std::to_string(state);
                const double halo = state == 2 ? HaloGlint : 0.0;
                RgbImage image = Lamp(shape, hue.full, StateLevel[state], StateGlint[state], halo);
                if (ClearHighlightImages().count(name) != 0)
                    image.Set(shape.highlightX, shape.highlightY, White);
                files.push_back(Stored(name, std::move(image)));
            }
        }
        files.push_back(Stored(prefix + "GY0", Lamp(shape, UnlitGrey, UnlitLevel, StateGlint[0], 0.0)));
    }
    return files;
}

} // namespace mkres
