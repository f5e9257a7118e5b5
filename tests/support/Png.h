// Small PNG files for tests: RGB565 pictures written as 8-bit RGB and read back exactly, and the
// golden-image comparison that every drawing test uses. A golden file is rewritten only when the
// environment variable VANTREL_UPDATE_GOLDEN is 1; otherwise a missing or different file fails the
// test, and the picture that was drawn is left beside it as <name>.actual.png for review.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct Rgb565Image {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;  // rows packed
    uint16_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The rectangle (x, y, width, height) of an image, which must lie inside it.
Rgb565Image Crop(const Rgb565Image& image, int x, int y, int width, int height);

bool WritePng(const std::string& path, const Rgb565Image& image);
// False for a missing or unreadable file; every PNG colour type is accepted and turned into RGB565.
bool ReadPng(const std::string& path, Rgb565Image& image);

// Compares with tests/golden/<name>.png of the given source folder.
testing::AssertionResult MatchesGoldenIn(const std::string& sourceDir, const std::string& name,
                                         const Rgb565Image& image);

#ifdef VANTREL_SOURCE_DIR
inline testing::AssertionResult MatchesGolden(const std::string& name, const Rgb565Image& image) {
    return MatchesGoldenIn(VANTREL_SOURCE_DIR, name, image);
}
#endif

}  // namespace testing_support
