#include "platform/png.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "platform/files.h"

namespace qx {

bool write_png(const Surface& surface, const std::string& path, int requested_scale,
               std::string* error) {
    if (surface.empty()) {
        if (error) *error = "empty picture";
        return false;
    }
    const int scale = requested_scale < 1 || requested_scale > 16 ? 1 : requested_scale;
    const int width = surface.width() * scale;
    const int height = surface.height() * scale;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = surface.row(y / scale);
        std::uint8_t* dst = &pixels[static_cast<std::size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) std::memcpy(dst + 3 * x, src + 3 * (x / scale), 3);
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
        if (error) *error = std::string("PNG encoding failed: ") + image.message;
        return false;
    }
    std::string encoded(size, '\0');
    if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, pixels.data(), 0, nullptr)) {
        if (error) *error = std::string("PNG encoding failed: ") + image.message;
        return false;
    }
    encoded.resize(size);
    return replace_file(path, encoded, error);
}

bool read_png(const std::string& path, Surface& out, std::string* error) {
    std::string bytes;
    if (!read_file(path, bytes, 64u << 20, error)) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        if (error) *error = std::string("not a PNG picture: ") + image.message;
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > 4096 || image.height > 4096) {
        png_image_free(&image);
        if (error) *error = "picture too large";
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        if (error) *error = std::string("PNG decoding failed: ") + image.message;
        return false;
    }
    Surface s(static_cast<int>(image.width), static_cast<int>(image.height));
    for (int y = 0; y < s.height(); ++y)
        std::memcpy(s.row(y), &pixels[static_cast<std::size_t>(y) * image.width * 3], image.width * 3);
    out = std::move(s);
    return true;
}

}  // namespace qx
