#include <framework/classes/Published.h>
#include <framework/graphics/Bitmap.h>
#include <framework/graphics/BmpCodec.h>
#include <framework/rtl/Exceptions.h>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fw {

FW_PUBLISH(TBitmap) {
    cls.Binary("Data", &TBitmap::Data, &TBitmap::SetData);
}

namespace {

// A new bitmap object whose ownership passes to the TBitmap that takes it (SetHandle).
TGdiBitmap* NewHandle(TSurface surface) {
    return std::make_unique<TGdiBitmap>(std::move(surface)).release();
}

void Free(TGdiBitmap* handle) {
    if (!handle || !IsLiveGdiObject(handle)) return;
    TDeviceContext::DeselectEverywhere(handle);
    delete handle;
}

} // namespace

TBitmap::TBitmap() {
    RegisterGraphicsIdents();
}

TBitmap::~TBitmap() {
    FCanvas.reset();
    FCanvasDC.reset();
    Free(FHandle);
}

int TBitmap::Width() const {
    return FHandle ? FHandle->Surface.Width() : 0;
}
int TBitmap::Height() const {
    return FHandle ? FHandle->Surface.Height() : 0;
}

const TSurface* TBitmap::Surface() const {
    return FHandle ? &FHandle->Surface : nullptr;
}
TSurface* TBitmap::Surface() {
    return FHandle ? &FHandle->Surface : nullptr;
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (width == Width() && height == Height()) return;
    if (!FHandle) {
        SetHandle(NewHandle(TSurface(width, height, clWhite)));
        return;
    }
    FHandle->Surface.Resize(width, height, clWhite);
    Changed();
}

void TBitmap::SetHandle(TGdiBitmap* handle) {
    if (handle == FHandle) return;
    if (handle && (!IsLiveGdiObject(handle) || handle->Kind() != TGdiKind::Bitmap || handle->Stock()))
        throw EInvalidGraphic("Invalid bitmap handle");
    TGdiBitmap* old = FHandle;
    FHandle = handle;
    FBitsPerPixel = 24;
    Free(old);
    AttachCanvas();
    Changed();
}

TGdiBitmap* TBitmap::ReleaseHandle() {
    TGdiBitmap* handle = FHandle;
    if (handle) TDeviceContext::DeselectEverywhere(handle);
    FHandle = nullptr;
    Changed();
    return handle;
}

void TBitmap::Assign(const TPersistent* Source) {
    if (!Source) {
        SetHandle(nullptr);
        return;
    }
    if (auto* other = dynamic_cast<const TBitmap*>(Source)) {
        if (other == this) return;
        int bpp = other->FBitsPerPixel;
        SetHandle(other->FHandle ? NewHandle(other->FHandle->Surface) : nullptr);
        FBitsPerPixel = bpp;
        return;
    }
    inherited::Assign(Source);
}

void TBitmap::AttachCanvas() {
    if (!FCanvasDC) return;
    FCanvasDC->Select(FHandle ? static_cast<TGdiObject*>(FHandle) : StockEmptyBitmap());
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvasDC = std::make_unique<TDeviceContext>();
        FCanvasDC->SetMemory(true);
        AttachCanvas();
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->SetHandle(FCanvasDC.get());
    }
    return FCanvas.get();
}

void TBitmap::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    TBmpImage image = DecodeBmp(bytes);
    SetHandle(NewHandle(std::move(image.Pixels)));
    FBitsPerPixel = image.BitsPerPixel;
}

void TBitmap::LoadFromStream(std::istream& stream) {
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                    std::istreambuf_iterator<char>());
    LoadFromBytes(bytes);
}

void TBitmap::LoadFromFile(const String& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EInvalidGraphic("Cannot open " + path);
    LoadFromStream(in);
}

void TBitmap::SaveToStream(std::ostream& stream) const {
    TSurface empty;
    auto bytes = EncodeBmp(FHandle ? FHandle->Surface : empty);
    stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void TBitmap::SaveToFile(const String& path) const {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw EInvalidGraphic("Cannot write " + path);
    SaveToStream(out);
    if (!out) throw EInvalidGraphic("Cannot write " + path);
}

TColor TBitmap::TransparentColor() const {
    if (Empty()) return clNone;
    return FHandle->Surface.Pixel(0, Height() - 1);
}

String TBitmap::Data() const {
    if (Empty()) return {};
    std::ostringstream out;
    SaveToStream(out);
    String bmp = out.str();
    auto n = std::uint32_t(bmp.size());
    String data;
    for (int i = 0; i < 4; ++i)
        data += char(n >> (8 * i) & 0xFF);
    return data + bmp;
}

void TBitmap::SetData(const String& data) {
    if (data.empty()) {
        SetHandle(nullptr);
        return;
    }
    if (data.size() < 4) throw EInvalidGraphic("Invalid bitmap data");
    std::uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= std::uint32_t(static_cast<unsigned char>(data[std::size_t(i)])) << (8 * i);
    if (n != data.size() - 4) throw EInvalidGraphic("Invalid bitmap data: wrong length");
    LoadFromBytes({reinterpret_cast<const std::uint8_t*>(data.data()) + 4, n});
}

void TBitmap::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace fw
