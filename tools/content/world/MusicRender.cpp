#include "tools/content/world/MusicRender.h"

#include <cstdio>
#include <vector>

#include "sound/Mixer.h"
#include "sound/ModuleData.h"
#include "tools/content/Wav.h"
#include "tools/content/world/Music.h"

namespace world {

bool RenderMusic(const std::string& folder, int seconds) {
    const MusicContent music = ComposeMusic();
    for (const Song& song : music.songs) {
        const Bank* bank = nullptr;
        for (const Bank& b : music.banks)
            if (b.name == song.bank) bank = &b;
        if (bank == nullptr) return false;
        // The blocks as the catalogue hands them over: a sample past 64,000 bytes in two parts.
        std::vector<ModuleBlock> patterns, first, second;
        for (const auto& p : song.patterns) patterns.push_back({p.data(), static_cast<u32>(p.size())});
        for (const auto& s : bank->samples) {
            const u32 size = static_cast<u32>(s.size());
            first.push_back({s.data(), size > kModuleFirstPart ? kModuleFirstPart : size});
            second.push_back(size > kModuleFirstPart
                                 ? ModuleBlock{s.data() + kModuleFirstPart, size - kModuleFirstPart}
                                 : ModuleBlock{});
        }
        ModuleData module;
        module.loop = true;
        if (module.Set(song.header.data(), patterns, first, second) != 0) {
            std::fprintf(stderr, "vantrel_content: %s does not play\n", song.name.c_str());
            return false;
        }
        Mixer mixer;
        if (mixer.OpenForRendering() != 0) return false;
        if (mixer.PlayModule(module) < 0) return false;
        const u32 rate = mixer.OutputRate();
        std::vector<int16_t> samples(static_cast<size_t>(rate) * seconds);
        mixer.Mix(reinterpret_cast<u8*>(samples.data()), static_cast<u32>(samples.size() * 2));
        mixer.Close();
        const std::string path = folder + "/" + song.name + ".wav";
        const std::vector<uint8_t> wav = MakeWav(samples, static_cast<int>(rate));
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return false;
        const bool ok = std::fwrite(wav.data(), 1, wav.size(), f) == wav.size();
        std::fclose(f);
        if (!ok) return false;
        std::printf("vantrel_content: rendered %s\n", path.c_str());
    }
    return true;
}

}  // namespace world
