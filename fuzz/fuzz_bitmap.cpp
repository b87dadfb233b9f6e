// Bitmap and resource bytes: BMP decoding, a bitmap loaded, drawn and saved,
// and resource module files (bitmaps, string table, version record) loaded
// through the module calls the components use.

#include "FuzzSupport.h"

#include <framework/graphics/Bitmap.h>
#include <framework/graphics/BmpCodec.h>
#include <framework/graphics/Canvas.h>
#include <framework/platform/Gdi.h>
#include <framework/resources/ResourceModule.h>
#include <framework/resources/Resources.h>
#include <framework/rtl/Exceptions.h>
#include <span>
#include <sstream>

namespace {

void LoadDrawSave(const std::string& bytes) {
    fw::TBitmap bitmap;
    std::istringstream in(bytes);
    try {
        bitmap.LoadFromStream(in);
    } catch (const fw::EInvalidGraphic&) {
        FUZZ_CHECK(bitmap.Empty(), "a refused file changed the bitmap");
        return;
    }
    fw::TBitmap target;
    target.SetSize(24, 24);
    target.Canvas()->Draw(-3, 2, &bitmap);
    target.Canvas()->BrushCopy({0, 0, 10, 10}, &bitmap, {0, 0, 10, 10}, fw::clWhite);
    target.Canvas()->StretchDraw({2, 2, 20, 9}, &bitmap);
    std::ostringstream out;
    bitmap.SaveToStream(out);
    fw::TBitmap again;
    std::istringstream back(out.str());
    again.LoadFromStream(back);
    FUZZ_CHECK(again.Width() == bitmap.Width() && again.Height() == bitmap.Height(), "size after saving");
}

void LoadResources(fuzz::TInput& in) {
    static const char* const Paths[] = {"bitmaps/300.bmp", "bitmaps/QZFUZZ.bmp", "strings",
                                        "version",         "forms/TFUZZ.dfm",    "icons/FUZZ.ico"};
    const char* path = Paths[in.Pick(std::size(Paths))];
    const std::string bytes = in.Rest();
    fw::TResourceModule module("fuzz");
    try {
        module.AddFile(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    } catch (const fw::EResourceError&) {
        return;
    }
    fw::RegisterResourceModule(&module);
    if (fw::HBITMAP b = fw::LoadBitmapA(&module, 300)) fw::DeleteObject(b);
    if (fw::HBITMAP b = fw::LoadBitmapA(&module, "qzfuzz")) fw::DeleteObject(b);
    for (int id = 0; id < 4; ++id)
        (void)fw::LoadStr(&module, id);
    (void)fw::FindFormResource("TFUZZ");
    fw::UnregisterResourceModule(&module);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput in(data, size);
    switch (in.Pick(3)) {
    case 0: {
        const std::string bytes = in.Rest();
        try {
            (void)fw::DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        } catch (const fw::EInvalidGraphic&) {
        }
        break;
    }
    case 1:
        LoadDrawSave(in.Rest());
        break;
    default:
        LoadResources(in);
        break;
    }
    return 0;
}
