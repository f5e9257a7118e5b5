#include "sound/SampleData.h"

#include <algorithm>
#include <cstring>

namespace {
u32 ReadU32(const u8* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<u32>(p[3]) << 24); }
u16 ReadU16(const u8* p) { return static_cast<u16>(p[0] | (p[1] << 8)); }
constexpr size_t kMaxFrames = 0xFFFFFF;
}  // namespace

SampleData::~SampleData() {
    if (ownsData) delete[] data;
}

i32 SampleData::ParseWav(const u8* image, size_t size) {
    if (ownsData) delete[] data;
    data = nullptr;
    ownsData = false;
    if (image == nullptr) return -10;
    // The RIFF header is taken on trust; the format chunk must come first and hold the PCM fields.
    if (size < 36 || std::memcmp(image + 12, "fmt ", 4) != 0) return -300;
    const u32 fmtSize = ReadU32(image + 16);
    if (fmtSize < 16 || fmtSize > size - 20) return -300;
    const u16 tag = ReadU16(image + 20);
    const u16 channels = ReadU16(image + 22);
    const u32 rate = ReadU32(image + 24);
    const u16 bits = ReadU16(image + 34);
    // Only plain PCM: any other tag would play its coded bytes as noise.
    if (tag != 1 || (bits != 8 && bits != 16) || (channels != 1 && channels != 2) || rate == 0) return -100;

    // Chunks are bounded by the image, and an odd-sized chunk is followed by its RIFF pad byte.
    size_t at = 20 + static_cast<size_t>(fmtSize) + (fmtSize & 1);
    while (at <= size && size - at >= 8) {
        const u32 chunkSize = ReadU32(image + at + 4);
        const size_t body = at + 8;
        if (std::memcmp(image + at, "data", 4) == 0) {
            // A truncated image plays what it holds, in whole frames.
            const size_t available = std::min<size_t>(chunkSize, size - body);
            const u32 frameBytes = (bits / 8) * channels;
            data = image + body;
            sampleRate = rate;
            playbackRate = rate;
            // Positions are frames in 24.8 fixed point, so longer data is cut at 2^24 frames.
            length = static_cast<u32>(std::min<size_t>(available / frameBytes, kMaxFrames));
            is8Bit = bits == 8;
            stereo = channels == 2;
            pan = 128;
            ownsData = false;
            return 0;
        }
        if (chunkSize > size - body) break;
        at = body + chunkSize + (chunkSize & 1);
    }
    return -300;
}
