#include "sound/TrackMix.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VANTREL_TRACK_MIX_SSE41 1
#endif

namespace {

// Eight positions from the first byte's fraction reach at most 4,095 + 7 x step: below byte 16.
constexpr u32 kShuffleMaxStep = (16 * 4096 - 4096) / 7;

// Four at a time, so that the positions are independent sums.
u32 MixPlain(i32* out, u32 count, const i8* data, u32 at, u32 step, i32 volume) {
    const u32 step2 = step * 2, step3 = step * 3, step4 = step * 4;
    u32 k = 0;
    for (; k + 4 <= count; k += 4, at += step4) {
        const i32 a = data[at >> 12], b = data[(at + step) >> 12];
        const i32 c = data[(at + step2) >> 12], d = data[(at + step3) >> 12];
        out[k] += a * volume;
        out[k + 1] += b * volume;
        out[k + 2] += c * volume;
        out[k + 3] += d * volume;
    }
    for (; k < count; ++k, at += step) out[k] += data[at >> 12] * volume;
    return at;
}

#ifdef VANTREL_TRACK_MIX_SSE41
// Eight at a time where the processor shuffles bytes. At a step below two bytes per sample the eight
// positions lie within sixteen bytes of the first: one load fetches them, and a byte shuffle picks
// each lane's byte by its distance from the first, which only the position's fraction and the step
// decide. The loop stops while the sixteen bytes are still readable.
__attribute__((target("sse4.1"))) u32 MixShuffled(i32* out, u32 count, const i8* data, u32 readable, u32 at,
                                                  u32 step, i32 volume) {
    u32 k = 0;
    if (step <= kShuffleMaxStep && readable >= 16) {
        const __m128i lanes =
            _mm_mullo_epi32(_mm_setr_epi32(0, 1, 2, 3), _mm_set1_epi32(static_cast<i32>(step)));
        const __m128i four = _mm_set1_epi32(static_cast<i32>(4 * step));
        const __m128i scale = _mm_set1_epi32(volume);
        const u32 lastFirst = readable - 16;  // the last first byte whose sixteen bytes fit
        for (; k + 8 <= count && (at >> 12) <= lastFirst; k += 8, at += 8 * step) {
            const __m128i low = _mm_add_epi32(_mm_set1_epi32(static_cast<i32>(at & 0xFFF)), lanes);
            const __m128i high = _mm_add_epi32(low, four);
            const __m128i distance = _mm_packus_epi32(_mm_srli_epi32(low, 12), _mm_srli_epi32(high, 12));
            const __m128i pick = _mm_packus_epi16(distance, distance);
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + (at >> 12)));
            const __m128i samples = _mm_shuffle_epi8(bytes, pick);
            const __m128i a = _mm_mullo_epi32(_mm_cvtepi8_epi32(samples), scale);
            const __m128i b = _mm_mullo_epi32(_mm_cvtepi8_epi32(_mm_srli_si128(samples, 4)), scale);
            auto* o = reinterpret_cast<__m128i*>(out + k);
            _mm_storeu_si128(o, _mm_add_epi32(_mm_loadu_si128(o), a));
            _mm_storeu_si128(o + 1, _mm_add_epi32(_mm_loadu_si128(o + 1), b));
        }
    }
    return MixPlain(out + k, count - k, data, at, step, volume);
}

const bool kShuffles = __builtin_cpu_supports("sse4.1");
#endif

}  // namespace

u32 MixTrackRun(i32* out, u32 count, const i8* data, u32 readable, u32 at, u32 step, i32 volume) {
#ifdef VANTREL_TRACK_MIX_SSE41
    if (kShuffles && count >= 16) return MixShuffled(out, count, data, readable, at, step, volume);
#endif
    return MixPlain(out, count, data, at, step, volume);
}
