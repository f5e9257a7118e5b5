// Feeds arbitrary bytes to the WAV reader and plays what it accepts for a moment.
#include "sound/Mixer.h"
#include "sound/SampleData.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SampleData sample;
    if (sample.ParseWav(data, size) != 0) return 0;
    sample.loop = (size & 1) != 0;
    static Mixer mixer;
    static const bool opened = mixer.OpenForRendering() == 0;
    if (!opened) return 0;
    if (mixer.PlaySample(sample) < 0) return 0;
    static std::vector<uint8_t> buffer(2 * 4096);
    mixer.Mix(buffer.data(), static_cast<u32>(buffer.size()));
    mixer.StopAllSamples();
    return 0;
}
