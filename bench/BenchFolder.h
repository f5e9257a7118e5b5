// A fresh folder under the system's temporary folder for a benchmark's files, removed with them.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace bench_support {

class BenchFolder {
public:
    BenchFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("vantrel-bench-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string Path() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

}  // namespace bench_support
