#include <fontconfig/fontconfig.h>
#include <framework/graphics/FontEngine.h>
#include <framework/rtl/Exceptions.h>
#include <framework/rtl/Utf8.h>
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
#include <unordered_map>

namespace fw {

namespace {

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

// The faces fontconfig would fall back to from one face (in its order of preference, trimmed to
// those that add characters), and the choice made for each character asked about so far
// (-1: none has it).
struct FallbackChain {
    FcFontSet* Fonts = nullptr;
    std::unordered_map<char32_t, int> Chosen;
};

// Process-wide font state: the FreeType library, fontconfig and the caches.
class FontLibrary {
public:
    FontLibrary() {
        if (FT_Init_FreeType(&FLibrary) != 0) throw EInvalidGraphic("Cannot start the font renderer");
        FConfig = FcInitLoadConfigAndFonts();
    }
    ~FontLibrary() {
        for (auto& [key, chain] : FFallbacks)
            if (chain.Fonts) FcFontSetDestroy(chain.Fonts);
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
        TFontInstance& instance = Instance(file, EmPixels(request, file));
        FRequests[key] = &instance;
        return instance;
    }

    // The instance that draws ch for a face that lacks it, or nullptr when no face has it. The
    // face is looked for once per character and face; its instances are shared like any other.
    TFontInstance* Fallback(const String& file, int index, const String& family, bool bold, bool italic,
                            int em, char32_t ch) {
        FallbackChain& chain = FFallbacks[std::make_tuple(file, index, bold, italic)];
        if (!chain.Fonts) chain.Fonts = SortedFaces(family, bold, italic);
        auto found = chain.Chosen.find(ch);
        if (found == chain.Chosen.end()) {
            ++FFallbackSearches;
            found = chain.Chosen.emplace(ch, FindFace(*chain.Fonts, file, index, ch)).first;
        }
        if (found->second < 0) return nullptr;
        FcPattern* font = chain.Fonts->fonts[found->second];
        FaceFile face;
        FcChar8* path = nullptr;
        FcPatternGetString(font, FC_FILE, 0, &path);
        face.File = reinterpret_cast<char*>(path);
        FcPatternGetInteger(font, FC_INDEX, 0, &face.Index);
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        face.SynthBold = bold && weight < FC_WEIGHT_DEMIBOLD;
        face.SynthItalic = italic && slant == FC_SLANT_ROMAN;
        return &Instance(face, em);
    }

    int FallbackSearches() const { return FFallbackSearches; }

    int EmPixels(const TFontRequest& request) { return EmPixels(request, Locate(request)); }

private:
    TFontInstance& Instance(const FaceFile& file, int em) {
        auto instanceKey = std::make_tuple(file.File, file.Index, em, file.SynthBold, file.SynthItalic);
        auto& slot = FInstances[instanceKey];
        if (!slot)
            slot =
                std::make_unique<TFontInstance>(file.File, file.Index, em, file.SynthBold, file.SynthItalic);
        return *slot;
    }

    // Every scalable face in fontconfig's fallback order for a family, style and weight.
    FcFontSet* SortedFaces(const String& family, bool bold, bool italic) {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(FConfig, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult res = FcResultNoMatch;
        FcFontSet* fonts = FcFontSort(FConfig, pattern, FcTrue, nullptr, &res);
        FcPatternDestroy(pattern);
        return fonts ? fonts : FcFontSetCreate();
    }

    // The first face of the set, other than the one asking, that is scalable and has ch.
    static int FindFace(const FcFontSet& fonts, const String& file, int index, char32_t ch) {
        for (int i = 0; i < fonts.nfont; ++i) {
            FcPattern* font = fonts.fonts[i];
            FcCharSet* charset = nullptr;
            FcChar8* path = nullptr;
            FcBool scalable = FcFalse;
            int faceIndex = 0;
            if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch ||
                FcPatternGetString(font, FC_FILE, 0, &path) != FcResultMatch)
                continue;
            FcPatternGetInteger(font, FC_INDEX, 0, &faceIndex);
            if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable) continue;
            if (file == reinterpret_cast<char*>(path) && faceIndex == index) continue;
            if (FcCharSetHasChar(charset, ch)) return i;
        }
        return -1;
    }

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
    std::map<std::tuple<String, int, bool, bool>, FallbackChain> FFallbacks;
    int FFallbackSearches = 0;
};

// The process's font library: a deliberate cache, made on first use.
FontLibrary& Fonts() {
    static FontLibrary library;
    return library;
}

} // namespace

struct TFontInstance::Face {
    FT_Face Handle = nullptr;
    String File;
    int Index = 0;
    bool SynthBold = false;
    bool SynthItalic = false;
    ~Face() {
        if (Handle) FT_Done_Face(Handle);
    }
};

TFontInstance::TFontInstance(const String& file, int faceIndex, int emPixels, bool synthBold,
                             bool synthItalic)
    : FFace(std::make_unique<Face>()) {
    if (FT_New_Face(Fonts().Library(), file.c_str(), faceIndex, &FFace->Handle) != 0)
        throw EInvalidGraphic("Cannot open font file " + file);
    FFace->File = file;
    FFace->Index = faceIndex;
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

namespace {

// Characters that show nothing and take no room: the C0 and C1 controls.
bool IsControl(char32_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
}

} // namespace

bool TFontInstance::HasGlyph(char32_t ch) const {
    return FT_Get_Char_Index(FFace->Handle, ch) != 0;
}

std::unique_ptr<TGlyph> TFontInstance::Render(char32_t ch) {
    ++FRenderCount;
    if (IsControl(ch)) return std::make_unique<TGlyph>();
    if (!HasGlyph(ch)) {
        FT_Face face = FFace->Handle;
        const String family = face->family_name ? face->family_name : "";
        if (TFontInstance* other = Fonts().Fallback(FFace->File, FFace->Index, family, FMetrics.Weight >= 700,
                                                    FMetrics.Italic, FMetrics.EmPixels, ch))
            return other->RenderOwn(ch);
    }
    return RenderOwn(ch);
}

// The face's own glyph for ch (its missing-glyph box when it has none).
std::unique_ptr<TGlyph> TFontInstance::RenderOwn(char32_t ch) {
    auto glyph = std::make_unique<TGlyph>();
    FT_Face face = FFace->Handle;
    FT_UInt index = FT_Get_Char_Index(face, ch);
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
    for (std::size_t pos = 0; pos < text.size();)
        width += Glyph(NextCodePoint(text, pos)).Advance;
    return width;
}

TFontInstance& GetFontInstance(const TFontRequest& request) {
    return Fonts().Instance(request);
}

int ResolveEmPixels(const TFontRequest& request) {
    return Fonts().EmPixels(request);
}

int FallbackSearchCount() {
    return Fonts().FallbackSearches();
}

} // namespace fw
