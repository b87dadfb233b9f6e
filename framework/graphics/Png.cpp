#include <cstring>
#include <framework/graphics/Png.h>
#include <framework/rtl/Exceptions.h>
#include <png.h>

namespace fw {

namespace {

std::vector<std::uint8_t> ToRgb(const TSurface& surface) {
    std::vector<std::uint8_t> rgb(std::size_t(surface.Width()) * std::size_t(surface.Height()) * 3);
    std::size_t i = 0;
    for (TPixel p : surface.Pixels()) {
        rgb[i++] = std::uint8_t(GetRValue(p));
        rgb[i++] = std::uint8_t(GetGValue(p));
        rgb[i++] = std::uint8_t(GetBValue(p));
    }
    return rgb;
}

png_image MakeImage(const TSurface& surface) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(surface.Width());
    image.height = png_uint_32(surface.Height());
    image.format = PNG_FORMAT_RGB;
    return image;
}

} // namespace

void SavePng(const TSurface& surface, const String& path) {
    if (surface.Empty()) throw EInvalidGraphic("Cannot write an empty image to " + path);
    auto rgb = ToRgb(surface);
    png_image image = MakeImage(surface);
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr))
        throw EInvalidGraphic("Cannot write " + path + ": " + image.message);
}

std::vector<std::uint8_t> EncodePng(const TSurface& surface) {
    if (surface.Empty()) throw EInvalidGraphic("Cannot encode an empty image");
    auto rgb = ToRgb(surface);
    png_image image = MakeImage(surface);
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
        throw EInvalidGraphic(String("Cannot encode PNG: ") + image.message);
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr))
        throw EInvalidGraphic(String("Cannot encode PNG: ") + image.message);
    out.resize(size);
    return out;
}

TSurface LoadPng(const String& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        throw EInvalidGraphic("Cannot read " + path + ": " + image.message);
    image.format = PNG_FORMAT_RGB;
    try {
        CheckSurfaceSize(image.width, image.height);
    } catch (...) {
        png_image_free(&image);
        throw;
    }
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        throw EInvalidGraphic("Cannot read " + path + ": " + image.message);
    TSurface surface(int(image.width), int(image.height));
    std::size_t i = 0;
    for (TPixel& p : surface.Pixels()) {
        p = RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
        i += 3;
    }
    return surface;
}

} // namespace fw
