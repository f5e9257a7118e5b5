#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace plat {
namespace {

std::string& FolderOverride() {
    static std::string folder;
    return folder;
}

std::string ExecutableFolder() {
    std::string path(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return "./";
    path.resize(static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// The error number of the last failed write-side call of this thread (0: none).
thread_local int t_lastFileError = 0;

bool Failed() {
    t_lastFileError = errno;
    return false;
}

class PosixFile final : public File {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { close(fd_); }

    uint64_t Size() const override {
        struct stat st;
        return fstat(fd_, &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
    }

    bool ReadAt(uint64_t offset, void* dst, size_t n) override {
        auto* out = static_cast<char*>(dst);
        while (n > 0) {
            ssize_t got = pread(fd_, out, n, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            out += got;
            offset += static_cast<uint64_t>(got);
            n -= static_cast<size_t>(got);
        }
        return true;
    }

    bool Write(const void* src, size_t n) override {
        auto* in = static_cast<const char*>(src);
        while (n > 0) {
            ssize_t put = write(fd_, in, n);
            if (put < 0 && errno == EINTR) continue;
            if (put == 0) errno = ENOSPC;
            if (put <= 0) return Failed();
            in += put;
            n -= static_cast<size_t>(put);
        }
        return true;
    }

    bool Flush() override { return fsync(fd_) == 0 || Failed(); }

private:
    int fd_;
};

bool EndsWithNoCase(const std::string& name, const std::string& ext) {
    return name.size() >= ext.size() &&
           strncasecmp(name.c_str() + name.size() - ext.size(), ext.c_str(), ext.size()) == 0;
}

}  // namespace

const std::string& ProgramFolder() {
    std::string& folder = FolderOverride();
    if (folder.empty()) folder = ExecutableFolder();
    return folder;
}

void SetProgramFolder(const std::string& folder) {
    FolderOverride() = folder.empty() || folder.back() == '/' ? folder : folder + '/';
}

namespace {

// Opens without blocking and keeps only regular files: opening a FIFO waits for its other end,
// which would hold the game's only thread with a black window. The flag is dropped afterwards.
int OpenRegular(const std::string& path, int flags) {
    int fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || fcntl(fd, F_SETFL, flags & O_ACCMODE) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<File> OpenFileForReading(const std::string& path) {
    int fd = OpenRegular(path, O_RDONLY);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixFile>(fd);
}

std::unique_ptr<File> CreateFileForWriting(const std::string& path) {
    int fd = OpenRegular(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0) return Failed(), nullptr;
    return std::make_unique<PosixFile>(fd);
}

bool DeleteFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
    if (rename(from.c_str(), to.c_str()) != 0) return Failed();
    // The new name is only lasting once the folder that holds it is on the disk too.
    size_t slash = to.rfind('/');
    std::string folder = slash == std::string::npos ? std::string(".") : to.substr(0, slash + 1);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    return true;
}

std::string EnvironmentFolder(const char* name) {
    const char* value = std::getenv(name);
    std::string path = value && value[0] == '/' ? value : "";
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

static std::string& UserFolderOverride() {
    static std::string folder;
    return folder;
}

void SetUserDataFolder(const std::string& folder) { UserFolderOverride() = folder; }

std::string UserDataFolder() {
    if (!UserFolderOverride().empty()) return UserFolderOverride();
    std::string data = EnvironmentFolder("XDG_DATA_HOME");
    if (!data.empty()) return data + "/vantrel/";
    std::string home = EnvironmentFolder("HOME");
    if (!home.empty()) return home + "/.local/share/vantrel/";
    return ProgramFolder();
}

bool EnsureFolder(const std::string& folder) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return Failed();
    }
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return Failed();
    if (!S_ISDIR(st.st_mode)) return errno = ENOTDIR, Failed();
    return true;
}

std::string LastFileError() { return t_lastFileError ? std::strerror(t_lastFileError) : std::string(); }

void ClearFileError() { t_lastFileError = 0; }

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > extension.size() && EndsWithNoCase(name, extension)) {
            std::string path = (folder.empty() ? std::string("./") : folder) + name;
            struct stat st;
            if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace plat
