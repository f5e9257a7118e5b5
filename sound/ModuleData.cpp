#include "sound/ModuleData.h"

#include <algorithm>

namespace {
u32 ReadBE16(const u8* p) { return (static_cast<u32>(p[0]) << 8) | p[1]; }
bool IsDigit(u8 c) { return c >= '0' && c <= '9'; }
}  // namespace

u32 GetModuleTrackCount(const u8* s) {
    if (s[0] == 'M' && s[2] == 'K') return 4;
    if (s[1] == 'C' || s[2] == 'C') {
        u32 count = IsDigit(s[0]) ? s[0] - '0' : 0;
        if (IsDigit(s[1])) count = count * 10 + (s[1] - '0');
        return count;
    }
    return 0;
}

i32 ModuleData::Set(const u8* h, std::span<const ModuleBlock> pats, std::span<const ModuleBlock> smp,
                    std::span<const ModuleBlock> smp2) {
    header = nullptr;
    trackCount = 0;
    songLength = 0;
    patterns.clear();
    samples = {};
    samples2 = {};
    if (h == nullptr) return -1;
    const u32 tracks = GetModuleTrackCount(h + 1080);
    if (tracks == 0 || tracks > 32) return -100;
    const u32 length = h[950];
    if (length == 0 || length > 128) return -1;
    const u32 patternBytes = kModuleRows * tracks * 4;
    for (u32 order = 0; order < length; ++order) {
        const u32 p = h[952 + order];
        if (p >= pats.size() || pats[p].data == nullptr || pats[p].size < patternBytes) return -1;
    }
    for (u32 i = 0; i < kModuleInstruments; ++i) {
        const u32 bytes = ReadBE16(h + 20 + i * 30 + 22) * 2;
        if (bytes == 0) continue;
        const ModuleBlock first = i < smp.size() ? smp[i] : ModuleBlock{};
        const ModuleBlock second = i < smp2.size() ? smp2[i] : ModuleBlock{};
        if (first.data == nullptr || first.size < std::min(bytes, kModuleFirstPart)) return -1;
        if (bytes > kModuleFirstPart && (second.data == nullptr || second.size < bytes - kModuleFirstPart))
            return -1;
        samples[i] = first;
        samples2[i] = second;
    }
    header = h;
    trackCount = tracks;
    songLength = length;
    patterns.assign(pats.begin(), pats.end());
    tempoBaseRate = 44100;
    return 0;
}

bool SplitModuleImage(const u8* image, size_t size, ModuleImage& out) {
    out = ModuleImage{};
    if (image == nullptr || size < kModuleHeaderSize) return false;
    const u32 tracks = GetModuleTrackCount(image + 1080);
    if (tracks == 0 || tracks > 32) return false;
    // Like the common players, every order entry counts towards the number of stored patterns.
    u32 patternCount = 0;
    for (u32 i = 0; i < 128; ++i) patternCount = std::max<u32>(patternCount, image[952 + i] + 1u);
    const size_t patternBytes = size_t{kModuleRows} * tracks * 4;
    size_t at = kModuleHeaderSize;
    if (patternCount * patternBytes > size - at) return false;
    for (u32 p = 0; p < patternCount; ++p, at += patternBytes)
        out.patterns.push_back({image + at, static_cast<u32>(patternBytes)});
    for (u32 i = 0; i < kModuleInstruments; ++i) {
        const u32 bytes = ReadBE16(image + 20 + i * 30 + 22) * 2;
        if (bytes > size - at) return false;
        const u32 first = std::min(bytes, kModuleFirstPart);
        out.samples[i] = {bytes ? image + at : nullptr, first};
        if (bytes > kModuleFirstPart) out.samples2[i] = {image + at + first, bytes - first};
        at += bytes;
    }
    out.header = image;
    return true;
}
