// Arbitrary bytes as the settings file: load them, save what was understood, and load that again.
// Nothing may crash or leak, and what a save writes must read back to the same values.
#include "platform/SettingsStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace {

class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device rd;
        folder_ = std::filesystem::temp_directory_path() /
                  ("vantrel-fuzz-settings-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(folder_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string File(const char* name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
};

const ScratchFolder& Scratch() {
    static const ScratchFolder scratch;
    return scratch;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = Scratch().File("settings.txt");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    plat::FileSettingsStore loaded(path);
    uint32_t word = 0;
    std::string text;
    loaded.ReadDword("SOFTWARE\\Vantrel", "Key1", word);
    loaded.ReadString("SOFTWARE\\Vantrel", "WorldID00", text);
    if (!loaded.Save()) std::abort();
    const std::string saved = ReadAll(path);

    // What a save wrote reads back to the same values, which save to the same text.
    plat::FileSettingsStore reread(path);
    if (reread.ValueCount() != loaded.ValueCount() || !reread.Save() || ReadAll(path) != saved) std::abort();
    return 0;
}
