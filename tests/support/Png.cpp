#include "tests/support/Png.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace testing_support {

Rgb565Image Crop(const Rgb565Image& image, int x, int y, int width, int height) {
    Rgb565Image out;
    out.width = width;
    out.height = height;
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) out.pixels.push_back(image.At(x + col, y + row));
    return out;
}
namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};

}  // namespace

bool WritePng(const std::string& path, const Rgb565Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height)
        return false;
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            uint16_t p = image.At(x, y);
            unsigned r = p >> 11, g = (p >> 5) & 63, b = p & 31;
            row[3 * x] = static_cast<png_byte>((r << 3) | (r >> 2));
            row[3 * x + 1] = static_cast<png_byte>((g << 2) | (g >> 4));
            row[3 * x + 2] = static_cast<png_byte>((b << 3) | (b >> 2));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool ReadPng(const std::string& path, Rgb565Image& image) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file.get());
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    const int width = static_cast<int>(png_get_image_width(png, info));
    const int height = static_cast<int>(png_get_image_height(png, info));
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 3 || width <= 0 || height <= 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    std::vector<png_byte> bytes(static_cast<size_t>(width) * height * 3);
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y) rows[y] = bytes.data() + static_cast<size_t>(y) * width * 3;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<uint16_t>(((bytes[3 * i] >> 3) << 11) | ((bytes[3 * i + 1] >> 2) << 5) |
                                                (bytes[3 * i + 2] >> 3));
    }
    return true;
}

testing::AssertionResult MatchesGoldenIn(const std::string& sourceDir, const std::string& name,
                                         const Rgb565Image& image) {
    const std::string path = sourceDir + "/tests/golden/" + name + ".png";
    const char* update = std::getenv("VANTREL_UPDATE_GOLDEN");
    if (update && std::strcmp(update, "1") == 0) {
        if (!WritePng(path, image)) return testing::AssertionFailure() << "cannot write " << path;
        return testing::AssertionSuccess() << "rewrote " << path;
    }
    Rgb565Image golden;
    if (!ReadPng(path, golden)) {
        WritePng(sourceDir + "/tests/golden/" + name + ".actual.png", image);
        return testing::AssertionFailure()
               << "no golden image " << path << " (run with VANTREL_UPDATE_GOLDEN=1 to write it)";
    }
    if (golden.width != image.width || golden.height != image.height)
        return testing::AssertionFailure() << name << ": size " << image.width << "x" << image.height
                                           << ", golden " << golden.width << "x" << golden.height;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (golden.At(x, y) != image.At(x, y)) {
                WritePng(sourceDir + "/tests/golden/" + name + ".actual.png", image);
                return testing::AssertionFailure()
                       << name << ": first difference at (" << x << ", " << y << "): 0x" << std::hex
                       << image.At(x, y) << ", golden 0x" << golden.At(x, y);
            }
        }
    }
    return testing::AssertionSuccess();
}

}  // namespace testing_support
