// A fresh folder under the system's temporary folder, removed with everything in it at scope end.
#pragma once

#include <string>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder with its trailing '/'.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

}  // namespace testing_support
