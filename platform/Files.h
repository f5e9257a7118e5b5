// File services of the platform layer: the program folder, whole-file handles with positioned reads,
// and the "*.pdb" search. Paths use '/'; the game's own path rule lives in the database layer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

// The folder of the running executable, with its trailing '/'. Tests may point it elsewhere.
const std::string& ProgramFolder();
void SetProgramFolder(const std::string& folder);

class File {
public:
    virtual ~File() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly n bytes at offset; false on a short read or an error (the buffer is then undefined).
    virtual bool ReadAt(uint64_t offset, void* dst, size_t n) = 0;
    // Appends n bytes at the current end; false unless all were written.
    virtual bool Write(const void* src, size_t n) = 0;
    // Pushes written data to the disk; false on an error.
    virtual bool Flush() = 0;
};

// Only regular files are opened; anything else (a FIFO, a device, a folder) counts as missing and is
// never waited for.
std::unique_ptr<File> OpenFileForReading(const std::string& path);
// Creates the file, truncating an existing one; fails on anything but a regular file.
std::unique_ptr<File> CreateFileForWriting(const std::string& path);
bool DeleteFile(const std::string& path);
// Atomically replaces `to` by `from` (both in one folder), and syncs the folder so that the new name
// survives a power cut.
bool RenameFile(const std::string& from, const std::string& to);
// The folder an environment variable names, without trailing '/'; empty when it is unset or relative
// (a relative base folder is to be ignored, as the base-directory rules say).
std::string EnvironmentFolder(const char* name);
// The user's data folder of the game, with its trailing '/': $XDG_DATA_HOME/vantrel/, else
// ~/.local/share/vantrel/, else the program folder. It may not exist yet. Tests point it elsewhere
// (an empty folder returns to the environment's).
std::string UserDataFolder();
void SetUserDataFolder(const std::string& folder);
// Makes the folder and every folder above it that is missing; true when the folder is there.
bool EnsureFolder(const std::string& folder);
// Whether a regular file is there.
bool FileExists(const std::string& path);
// Why the last creating, writing, syncing, renaming or folder making of this thread failed, in the
// system's words ("Permission denied", "No space left on device"); empty when none failed since the
// last ClearFileError.
std::string LastFileError();
void ClearFileError();

// Names (without folder) of the files in `folder` whose names end in `extension`, compared without
// regard to case, sorted bytewise so that every run sees the same order.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& extension);

}  // namespace plat
