// Persistent settings in the game's own terms: named 32-bit words and strings under a key path
// ("SOFTWARE\\Vantrel", "SOFTWARE\\Kavrel"), as the handheld kept them in its registry. Key paths and
// value names compare without regard to the case of A..Z, as the registry's did. Each value keeps
// its type: reading a string as a word, or a word as a string, finds nothing.
//
// Writes change the store at once; Save makes them last beyond the run.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace plat {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // True and the value in out when the value exists with that type; out is untouched otherwise.
    virtual bool ReadDword(const std::string& key, const std::string& name, uint32_t& out) const = 0;
    virtual bool ReadString(const std::string& key, const std::string& name, std::string& out) const = 0;
    virtual void WriteDword(const std::string& key, const std::string& name, uint32_t value) = 0;
    virtual void WriteString(const std::string& key, const std::string& name, const std::string& value) = 0;
    // False when the values could not be made permanent.
    virtual bool Save() = 0;
};

// Values in memory only; Save succeeds and counts how often it ran (tests).
class MemorySettingsStore : public SettingsStore {
public:
    bool ReadDword(const std::string& key, const std::string& name, uint32_t& out) const override;
    bool ReadString(const std::string& key, const std::string& name, std::string& out) const override;
    void WriteDword(const std::string& key, const std::string& name, uint32_t value) override;
    void WriteString(const std::string& key, const std::string& name, const std::string& value) override;
    bool Save() override {
        ++saves_;
        return true;
    }

    int SaveCount() const { return saves_; }
    size_t ValueCount() const { return values_.size(); }
    void Clear() { values_.clear(); }
    bool Remove(const std::string& key, const std::string& name);

protected:
    struct Value {
        std::string key;   // as first written
        std::string name;  // as first written
        bool isString = false;
        uint32_t dword = 0;
        std::string text;
    };
    // Ordered by the folded key and name, so that the file lists each key's values together.
    std::map<std::pair<std::string, std::string>, Value> values_;

private:
    Value& Slot(const std::string& key, const std::string& name);
    int saves_ = 0;
};

// The store kept in one readable text file, by default settings.txt in $XDG_CONFIG_HOME/vantrel/
// (~/.config/vantrel/ when that is unset). The file is read when the store is made: a missing file is
// a first run, and a damaged line is skipped. A file that is there but cannot be read gives a first
// run too, said once on stderr, and is never replaced: Save then fails. Of a file larger than
// kMaxFileSize the lines within the cap are read, and the first save keeps the whole file aside as
// "<name>.old". Save writes a temporary file beside it and renames it over the old one, so a failed
// save leaves the old file whole.
class FileSettingsStore final : public MemorySettingsStore {
public:
    FileSettingsStore();
    explicit FileSettingsStore(std::string path);

    const std::string& Path() const { return path_; }
    // Reads the file again, replacing every value in memory.
    void Load();
    bool Save() override;

    // The default file path from the environment.
    static std::string DefaultPath();
    // What is read of a file at most.
    static constexpr uint64_t kMaxFileSize = 1u << 20;

private:
    void Unreadable();

    std::string path_;
    bool keepFile_ = false;   // the file could not be read: no save may replace it
    bool keepAside_ = false;  // the file was read only in part: the next save keeps it aside first
};

// The one store that the game and the frame share: a FileSettingsStore at the default path, made on
// first use, unless a test installed another.
SettingsStore& CurrentSettings();
void SetSettings(SettingsStore* store);  // null restores the default store

class ScopedSettings {
public:
    explicit ScopedSettings(SettingsStore& store) { SetSettings(&store); }
    ~ScopedSettings() { SetSettings(nullptr); }
    ScopedSettings(const ScopedSettings&) = delete;
    ScopedSettings& operator=(const ScopedSettings&) = delete;
};

}  // namespace plat
