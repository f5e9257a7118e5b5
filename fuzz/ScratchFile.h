// The fuzz targets that read databases hand the input to the database reader as a file: one scratch
// file per process, in a folder removed when the fuzzer exits.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace fuzz_support {

class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device rd;
        folder_ = std::filesystem::temp_directory_path() /
                  ("vantrel-fuzz-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(folder_);
        file_ = (folder_ / "input.pdb").string();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& File() const { return file_; }

private:
    std::filesystem::path folder_;
    std::string file_;
};

inline const std::string& ScratchFile() {
    static const ScratchFolder scratch;
    return scratch.File();
}

}  // namespace fuzz_support
