#pragma once
// The floor for painting a popup-sized calendar frame: a plain loop that fills a 176 x 144
// buffer and blits 42 two-digit day numbers and a title from a hand-made glyph cache, with no
// device context, canvas or text layout in between. Benchmarks of real painting (the canvas
// bench, the popup bench) measure against it in the same run.

#include <array>
#include <framework/graphics/FontEngine.h>
#include <framework/graphics/Surface.h>
#include <string>
#include <vector>

namespace qzbench {

struct FloorGlyph {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Advance = 0;
    std::vector<std::uint8_t> Coverage;
};

struct FloorCache {
    std::array<FloorGlyph, 256> Regular;
    std::array<FloorGlyph, 256> Bold;
    int Ascent = 0;
    int Height = 0;
};

constexpr int FloorWidth = 176;
constexpr int FloorHeight = 144;
constexpr int FloorCellWidth = 24;
constexpr int FloorCellHeight = 17;
inline const std::string FloorTitle = "September 2025";

// Copies the glyphs of the popup's form font (regular and bold) out of the font engine once.
inline FloorCache MakeFloorCache() {
    FloorCache cache;
    auto copy = [](fw::TFontInstance& font, std::array<FloorGlyph, 256>& out) {
        for (int c = 32; c < 127; ++c) {
            const fw::TGlyph& g = font.Glyph(static_cast<unsigned char>(c));
            out[std::size_t(c)] = {g.Left, g.Top, g.Width, g.Height, g.Advance, g.Coverage};
        }
    };
    fw::TFontInstance& regular = fw::GetFontInstance({"MS Sans Serif", -8, false, false});
    copy(regular, cache.Regular);
    copy(fw::GetFontInstance({"MS Sans Serif", -8, true, false}), cache.Bold);
    cache.Ascent = regular.Metrics().Ascent;
    cache.Height = regular.Metrics().Height;
    return cache;
}

inline void FloorBlit(fw::TSurface& s, const FloorGlyph& g, int penX, int baseline, fw::TPixel colour) {
    for (int y = 0; y < g.Height; ++y) {
        int sy = baseline - g.Top + y;
        if (sy < 0 || sy >= s.Height()) continue;
        fw::TPixel* row = s.Row(sy);
        const std::uint8_t* cov = g.Coverage.data() + std::size_t(y) * std::size_t(g.Width);
        for (int x = 0; x < g.Width; ++x) {
            int sx = penX + g.Left + x;
            if (cov[x] && sx >= 0 && sx < s.Width()) row[sx] = colour;
        }
    }
}

// One frame: background, 42 right-aligned two-digit numbers with a trailing blank, bold title.
inline void DrawFloorFrame(const FloorCache& cache, fw::TSurface& s) {
    const fw::TPixel face = fw::RGB(192, 192, 192);
    for (fw::TPixel& p : s.Pixels())
        p = face;
    const fw::TPixel black = 0;
    int titleWidth = 0;
    for (char c : FloorTitle)
        titleWidth += cache.Bold[std::size_t(c)].Advance;
    int pen = 36 + (105 - titleWidth) / 2;
    for (char c : FloorTitle) {
        FloorBlit(s, cache.Bold[std::size_t(c)], pen, 4 + cache.Ascent, black);
        pen += cache.Bold[std::size_t(c)].Advance;
    }
    const int gridTop = 2 * FloorCellHeight + 3;
    for (int i = 0; i < 42; ++i) {
        int day = 10 + i % 19;
        char text[3] = {char('0' + day / 10), char('0' + day % 10), ' '};
        int width = 0;
        for (char c : text)
            width += cache.Regular[std::size_t(c)].Advance;
        int left = 4 + (i % 7) * FloorCellWidth;
        int top = gridTop + (i / 7) * FloorCellHeight;
        int x = left + FloorCellWidth - width;
        int baseline = top + (FloorCellHeight - cache.Height) / 2 + cache.Ascent;
        for (char c : text) {
            FloorBlit(s, cache.Regular[std::size_t(c)], x, baseline, black);
            x += cache.Regular[std::size_t(c)].Advance;
        }
    }
}

} // namespace qzbench
