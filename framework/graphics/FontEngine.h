#pragma once
// Font faces and rendered glyphs: FreeType renders, fontconfig finds the files, and every face,
// size and glyph is kept in caches of our own so that text is rasterised once per character.

#include <array>
#include <cstdint>
#include <framework/rtl/Types.h>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fw {

// What a font object asks for. Height follows the classic rule: negative is the em size in
// pixels, positive the cell height (ascent + descent), 0 the default size.
struct TFontRequest {
    String Name;
    int Height = 0;
    bool Bold = false;
    bool Italic = false;
    friend bool operator==(const TFontRequest&, const TFontRequest&) = default;
};

struct TFontMetrics {
    int EmPixels = 0;        // the pixel size the face is rendered at
    int Ascent = 0;          // above the baseline, rounded up
    int Descent = 0;         // below the baseline, rounded up
    int Height = 0;          // Ascent + Descent
    int InternalLeading = 0; // Height - EmPixels
    int ExternalLeading = 0;
    int AveCharWidth = 0; // weighted average advance of a-z and space, unhinted
    int MaxCharWidth = 0;
    int Weight = 400;
    bool Italic = false;
    int UnderlinePosition = 1; // rows below the baseline
    int StrikeOutPosition = 3; // rows above the baseline
    int LineThickness = 1;
};

// A rendered glyph: 8-bit coverage, placed at (pen x + Left, baseline - Top).
struct TGlyph {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Advance = 0;
    std::vector<std::uint8_t> Coverage;
};

// One face at one pixel size. Characters are Unicode code points; text is UTF-8. A character
// the face has no glyph for is drawn from a fallback face that fontconfig names for it, at the
// same pixel size and on the same baseline; where no face has it, the face's missing-glyph box
// stands in.
class TFontInstance {
public:
    TFontInstance(const String& file, int faceIndex, int emPixels, bool synthBold, bool synthItalic);
    ~TFontInstance();
    TFontInstance(const TFontInstance&) = delete;
    TFontInstance& operator=(const TFontInstance&) = delete;

    const TFontMetrics& Metrics() const { return FMetrics; }
    const TGlyph& Glyph(char32_t ch) {
        auto& slot = ch < FLatin.size() ? FLatin[ch] : FOther[ch];
        if (!slot) slot = Render(ch);
        return *slot;
    }
    // The advance of UTF-8 text; a byte that does not start a well-formed sequence counts as
    // its Western code page (1252) character.
    int TextWidth(std::string_view text);
    // Whether the face itself (not a fallback) has a glyph for ch.
    bool HasGlyph(char32_t ch) const;
    // How many times a glyph has been rasterised for this instance (once per character).
    int RenderCount() const { return FRenderCount; }

private:
    struct Face;
    std::unique_ptr<TGlyph> Render(char32_t ch);
    std::unique_ptr<TGlyph> RenderOwn(char32_t ch);
    void ComputeMetrics(bool bold, bool italic);

    std::unique_ptr<Face> FFace;
    TFontMetrics FMetrics;
    std::array<std::unique_ptr<TGlyph>, 256> FLatin;
    std::unordered_map<char32_t, std::unique_ptr<TGlyph>> FOther;
    int FRenderCount = 0;
};

// The cached instance for a request (made on first use, kept for the life of the process).
TFontInstance& GetFontInstance(const TFontRequest& request);

// The em size a request is rendered at: "MS Sans Serif" snaps to its family's classic sizes.
int ResolveEmPixels(const TFontRequest& request);

// How many times a fallback face has been looked for: once per character and face, however many
// sizes and instances draw it.
int FallbackSearchCount();

// Name of the system font that a screen device context starts with.
inline constexpr const char* SystemFontName = "System";

} // namespace fw
