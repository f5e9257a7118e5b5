// Feeds arbitrary bytes to the module reader as a whole module file, and plays whatever it accepts
// for a second of output.
#include "sound/Mixer.h"
#include "sound/ModuleData.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ModuleImage image;
    if (!SplitModuleImage(data, size, image)) return 0;
    ModuleData module;
    if (module.Set(image.header, image.patterns, image.samples, image.samples2) != 0) return 0;
    module.loop = (size & 1) != 0;
    static Mixer mixer;
    static const bool opened = mixer.OpenForRendering() == 0;
    if (!opened) return 0;
    if (mixer.PlayModule(module) < 0) return 0;
    static std::vector<uint8_t> buffer(2 * 44100);
    mixer.Mix(buffer.data(), static_cast<u32>(buffer.size()));
    mixer.StopModule(&module);
    return 0;
}
