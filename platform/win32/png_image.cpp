#include "platform/win32/png_image.h"

#include <png.h>

namespace inkmoss {

namespace {

// libpng's own reader over memory keeps its errors inside (no longjmp into
// our frames) and delivers blue, green, red, alpha as a DIB wants them.
struct PngReader {
    png_image image{};
    PngReader() { image.version = PNG_IMAGE_VERSION; }
    ~PngReader() { png_image_free(&image); }
};

void premultiply(unsigned char* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, pixels += 4) {
        const unsigned alpha = pixels[3];
        for (int c = 0; c < 3; ++c) pixels[c] = static_cast<unsigned char>((pixels[c] * alpha + 127) / 255);
    }
}

}  // namespace

HBITMAP decodePng(std::span<const unsigned char> bytes) {
    PngReader reader;
    if (!png_image_begin_read_from_memory(&reader.image, bytes.data(), bytes.size())) return nullptr;
    reader.image.format = PNG_FORMAT_BGRA;
    const int width = static_cast<int>(reader.image.width);
    const int height = static_cast<int>(reader.image.height);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, like the PNG rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap) return nullptr;
    if (!png_image_finish_read(&reader.image, nullptr, pixels, width * 4, nullptr)) {
        DeleteObject(bitmap);
        return nullptr;
    }
    premultiply(static_cast<unsigned char*>(pixels), static_cast<std::size_t>(width) * height);
    return bitmap;
}

}  // namespace inkmoss
