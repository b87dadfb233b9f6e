#include <fontconfig/fontconfig.h>
#include <framework/graphics/FontEngine.h>
#include <framework/rtl/Exceptions.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <strings.h>
#include <tuple>

namespace fw {

namespace {

// The Western code page's 0x80-0x9F block; the rest of the page is Latin-1.
constexpr char32_t Cp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

// Weights of a-z and space in the classic average character width (they sum to 1000).
constexpr int AverageWeights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                    56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};

// Pixel em sizes of the classic dialog font family: 8, 10, 12, 14, 18 and 24 points at 96 dpi.
constexpr int DialogFontSizes[] = {11, 13, 16, 19, 24, 32};

// The face that stands in for the classic dialog and system fonts.
constexpr const char* SansFamily = "Liberation Sans";

// Monochrome hinted rendering: crisp at the small sizes the controls use, and exact to compare.
constexpr bool RenderMono = true;

bool SameName(const String& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

long long ScaleCeil(long long units, int em, int unitsPerEm) {
    return (units * em + unitsPerEm - 1) / unitsPerEm;
}

int ScaleRound(long long units, int em, int unitsPerEm) {
    return int(std::llround(double(units) * em / unitsPerEm));
}

struct FaceFile {
    String File;
    int Index = 0;
    bool SynthBold = false;
    bool SynthItalic = false;
};

// Process-wide font state: the FreeType library, fontconfig and the caches.
class FontLibrary {
public:
    FontLibrary() {
        if (FT_Init_FreeType(&FLibrary) != 0) throw EInvalidGraphic("Cannot start the font renderer");
        FConfig = FcInitLoadConfigAndFonts();
    }
    ~FontLibrary() {
        FInstances.clear();
        FRequests.clear();
        for (auto& [key, face] : FProbeFaces)
            FT_Done_Face(face);
        FT_Done_FreeType(FLibrary);
        if (FConfig) FcConfigDestroy(FConfig);
    }
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    FT_Library Library() const { return FLibrary; }

    TFontInstance& Instance(const TFontRequest& request) {
        auto key = std::make_tuple(request.Name, request.Height, request.Bold, request.Italic);
        auto found = FRequests.find(key);
        if (found != FRequests.end()) return *found->second;
        FaceFile file = Locate(request);
        int em = EmPixels(request, file);
        auto instanceKey = std::make_tuple(file.File, file.Index, em, file.SynthBold, file.SynthItalic);
        auto& slot = FInstances[instanceKey];
        if (!slot)
            slot =
                std::make_unique<TFontInstance>(file.File, file.Index, em, file.SynthBold, file.SynthItalic);
        FRequests[key] = slot.get();
        return *slot;
    }

    int EmPixels(const TFontRequest& request) { return EmPixels(request, Locate(request)); }

private:
    FaceFile Locate(const TFontRequest& request) {
        auto key = std::make_tuple(request.Name, request.Bold, request.Italic);
        auto found = FFiles.find(key);
        if (found != FFiles.end()) return found->second;
        String family = request.Name;
        bool bold = request.Bold;
        if (SameName(family, "MS Sans Serif") || family.empty()) family = SansFamily;
        if (SameName(family, SystemFontName)) {
            family = SansFamily;
            bold = true;
        }
        FaceFile result;
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, request.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(FConfig, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult res = FcResultNoMatch;
        FcPattern* match = FcFontMatch(FConfig, pattern, &res);
        if (match) {
            FcChar8* path = nullptr;
            int index = 0;
            FcBool embolden = FcFalse;
            int weight = 0;
            int slant = 0;
            if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
                result.File = reinterpret_cast<char*>(path);
            if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) result.Index = index;
            FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
            if (FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) != FcResultMatch)
                weight = FC_WEIGHT_REGULAR;
            if (FcPatternGetInteger(match, FC_SLANT, 0, &slant) != FcResultMatch) slant = FC_SLANT_ROMAN;
            result.SynthBold = bold && (embolden || weight < FC_WEIGHT_DEMIBOLD);
            result.SynthItalic = request.Italic && slant == FC_SLANT_ROMAN;
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        if (result.File.empty()) throw EInvalidGraphic("No font file found for '" + request.Name + "'");
        FFiles[key] = result;
        return result;
    }

    FT_Face Probe(const FaceFile& file) {
        auto key = std::make_pair(file.File, file.Index);
        auto found = FProbeFaces.find(key);
        if (found != FProbeFaces.end()) return found->second;
        FT_Face face = nullptr;
        if (FT_New_Face(FLibrary, file.File.c_str(), file.Index, &face) != 0)
            throw EInvalidGraphic("Cannot open font file " + file.File);
        FProbeFaces[key] = face;
        return face;
    }

    int EmPixels(const TFontRequest& request, const FaceFile& file) {
        int em = 0;
        if (request.Height < 0) {
            em = -request.Height;
        } else if (request.Height > 0) {
            // A cell height: the em size whose ascent plus descent makes that height.
            FT_Face face = Probe(file);
            long cell = face->ascender - face->descender;
            em = cell > 0 ? int(std::lround(double(request.Height) * face->units_per_EM / double(cell)))
                          : request.Height;
        } else {
            em = DialogFontSizes[0];
        }
        if (SameName(request.Name, "MS Sans Serif")) {
            int snapped = DialogFontSizes[0];
            for (int size : DialogFontSizes)
                if (size <= em) snapped = size;
            em = snapped;
        }
        return std::clamp(em, 1, 1000);
    }

    FT_Library FLibrary = nullptr;
    FcConfig* FConfig = nullptr;
    std::map<std::tuple<String, bool, bool>, FaceFile> FFiles;
    std::map<std::pair<String, int>, FT_Face> FProbeFaces;
    std::map<std::tuple<String, int, int, bool, bool>, std::unique_ptr<TFontInstance>> FInstances;
    std::map<std::tuple<String, int, bool, bool>, TFontInstance*> FRequests;
};

// The process's font library: a deliberate cache, made on first use.
FontLibrary& Fonts() {
    static FontLibrary library;
    return library;
}

} // namespace

struct TFontInstance::Face {
    FT_Face Handle = nullptr;
    bool SynthBold = false;
    bool SynthItalic = false;
    ~Face() {
        if (Handle) FT_Done_Face(Handle);
    }
};

char32_t CodePageToUnicode(unsigned char ch) {
    if (ch >= 0x80 && ch < 0xA0) return Cp1252High[ch - 0x80];
    return ch;
}

TFontInstance::TFontInstance(const String& file, int faceIndex, int emPixels, bool synthBold,
                             bool synthItalic)
    : FFace(std::make_unique<Face>()) {
    if (FT_New_Face(Fonts().Library(), file.c_str(), faceIndex, &FFace->Handle) != 0)
        throw EInvalidGraphic("Cannot open font file " + file);
    FFace->SynthBold = synthBold;
    FFace->SynthItalic = synthItalic;
    FT_Set_Pixel_Sizes(FFace->Handle, 0, FT_UInt(emPixels));
    FMetrics.EmPixels = emPixels;
    ComputeMetrics(synthBold, synthItalic);
}

TFontInstance::~TFontInstance() = default;

void TFontInstance::ComputeMetrics(bool synthBold, bool synthItalic) {
    FT_Face face = FFace->Handle;
    const int em = FMetrics.EmPixels;
    const int upm = face->units_per_EM ? face->units_per_EM : 2048;
    FMetrics.Ascent = int(ScaleCeil(face->ascender, em, upm));
    FMetrics.Descent = int(ScaleCeil(-face->descender, em, upm));
    FMetrics.Height = FMetrics.Ascent + FMetrics.Descent;
    FMetrics.InternalLeading = FMetrics.Height - em;
    long gap = face->height - (face->ascender - face->descender);
    FMetrics.ExternalLeading = std::max(0, ScaleRound(gap, em, upm));
    FMetrics.MaxCharWidth = ScaleRound(face->max_advance_width, em, upm);

    long long weighted = 0;
    for (int i = 0; i < 27; ++i) {
        char32_t ch = i < 26 ? char32_t('a' + i) : U' ';
        FT_Fixed advance = 0;
        FT_Get_Advance(face, FT_Get_Char_Index(face, ch), FT_LOAD_NO_SCALE, &advance);
        weighted += (long long)advance * AverageWeights[i];
    }
    FMetrics.AveCharWidth = int(std::llround(double(weighted) * em / (1000.0 * upm)));

    bool bold = synthBold || (face->style_flags & FT_STYLE_FLAG_BOLD);
    FMetrics.Weight = bold ? 700 : 400;
    FMetrics.Italic = synthItalic || (face->style_flags & FT_STYLE_FLAG_ITALIC);
    FMetrics.LineThickness = std::max(1, ScaleRound(face->underline_thickness, em, upm));
    FMetrics.UnderlinePosition = std::max(1, ScaleRound(-face->underline_position, em, upm));
    FMetrics.StrikeOutPosition = std::max(1, FMetrics.Ascent / 3);
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF)
        FMetrics.StrikeOutPosition = std::max(1, ScaleRound(os2->yStrikeoutPosition, em, upm));
}

std::unique_ptr<TGlyph> TFontInstance::Render(unsigned char ch) {
    ++FRenderCount;
    auto glyph = std::make_unique<TGlyph>();
    if (ch < 0x20) return glyph; // control characters take no room and show nothing
    FT_Face face = FFace->Handle;
    FT_UInt index = FT_Get_Char_Index(face, CodePageToUnicode(ch));
    FT_Int32 flags = RenderMono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
    if (FT_Load_Glyph(face, index, flags) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (FFace->SynthItalic) FT_GlyphSlot_Oblique(slot);
    if (FFace->SynthBold) FT_GlyphSlot_Embolden(slot);
    glyph->Advance = int((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, RenderMono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph->Left = slot->bitmap_left;
    glyph->Top = slot->bitmap_top;
    glyph->Width = int(bitmap.width);
    glyph->Height = int(bitmap.rows);
    glyph->Coverage.assign(std::size_t(glyph->Width) * std::size_t(glyph->Height), 0);
    for (int y = 0; y < glyph->Height; ++y) {
        const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
        std::uint8_t* out = glyph->Coverage.data() + std::size_t(y) * std::size_t(glyph->Width);
        for (int x = 0; x < glyph->Width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else
                out[x] = row[x];
        }
    }
    return glyph;
}

int TFontInstance::TextWidth(std::string_view text) {
    int width = 0;
    for (char c : text)
        width += Glyph(static_cast<unsigned char>(c)).Advance;
    return width;
}

TFontInstance& GetFontInstance(const TFontRequest& request) {
    return Fonts().Instance(request);
}

int ResolveEmPixels(const TFontRequest& request) {
    return Fonts().EmPixels(request);
}

} // namespace fw
