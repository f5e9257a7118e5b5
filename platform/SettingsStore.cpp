#include "platform/SettingsStore.h"

#include "platform/Files.h"

#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace plat {
namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string FoldText(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = Fold(c);
    return out;
}

std::pair<std::string, std::string> MapKey(const std::string& key, const std::string& name) {
    return {FoldText(key), FoldText(name)};
}

// ---- the text form ----

bool IsBareChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == '-' || c == '%' || c == '\\';
}

std::string Quote(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20 || u == 0x7F) {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A name or key as it stands in the file: bare when it is plain, quoted otherwise.
std::string Token(const std::string& text) {
    bool bare = !text.empty();
    for (char c : text) bare = bare && IsBareChar(c);
    return bare ? text : Quote(text);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A cursor over one line; every read checks the end of the line.
struct LineReader {
    const std::string& line;
    size_t pos = 0;

    bool AtEnd() const { return pos >= line.size(); }
    char Peek() const { return AtEnd() ? '\0' : line[pos]; }
    void SkipBlanks() {
        while (!AtEnd() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    }
    bool Expect(char c) {
        if (Peek() != c || AtEnd()) return false;
        ++pos;
        return true;
    }
    bool ReadQuoted(std::string& out) {
        if (!Expect('"')) return false;
        out.clear();
        while (!AtEnd()) {
            char c = line[pos++];
            if (c == '"') return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (AtEnd()) return false;
            char e = line[pos++];
            switch (e) {
            case '\\':
            case '"': out += e; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'x': {
                if (pos + 2 > line.size()) return false;
                int hi = HexDigit(line[pos]), lo = HexDigit(line[pos + 1]);
                if (hi < 0 || lo < 0) return false;
                out += static_cast<char>(hi * 16 + lo);
                pos += 2;
                break;
            }
            default: return false;
            }
        }
        return false;  // no closing quote
    }
    bool ReadBare(std::string& out) {
        out.clear();
        while (!AtEnd() && IsBareChar(line[pos])) out += line[pos++];
        return !out.empty();
    }
    bool ReadToken(std::string& out) { return Peek() == '"' ? ReadQuoted(out) : ReadBare(out); }
    bool ReadWord(const char* word) {
        size_t n = std::char_traits<char>::length(word);
        if (line.compare(pos, n, word) != 0) return false;
        pos += n;
        return true;
    }
    bool ReadDecimal(uint32_t& out) {
        uint64_t value = 0;
        size_t start = pos;
        while (!AtEnd() && line[pos] >= '0' && line[pos] <= '9') {
            value = value * 10 + static_cast<uint64_t>(line[pos++] - '0');
            if (value > 0xFFFFFFFFu) return false;
        }
        out = static_cast<uint32_t>(value);
        return pos > start;
    }
    bool Finished() {
        SkipBlanks();
        return AtEnd();
    }
};

bool MakeFolders(const std::string& path) {
    // Every folder along the path of the file, as mkdir -p would.
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

std::atomic<SettingsStore*> g_store{nullptr};

}  // namespace

// ---- MemorySettingsStore ----

MemorySettingsStore::Value& MemorySettingsStore::Slot(const std::string& key, const std::string& name) {
    auto [it, added] = values_.try_emplace(MapKey(key, name));
    if (added) {
        it->second.key = key;
        it->second.name = name;
    }
    return it->second;
}

bool MemorySettingsStore::ReadDword(const std::string& key, const std::string& name, uint32_t& out) const {
    auto it = values_.find(MapKey(key, name));
    if (it == values_.end() || it->second.isString) return false;
    out = it->second.dword;
    return true;
}

bool MemorySettingsStore::ReadString(const std::string& key, const std::string& name,
                                     std::string& out) const {
    auto it = values_.find(MapKey(key, name));
    if (it == values_.end() || !it->second.isString) return false;
    out = it->second.text;
    return true;
}

void MemorySettingsStore::WriteDword(const std::string& key, const std::string& name, uint32_t value) {
    Value& v = Slot(key, name);
    v.isString = false;
    v.dword = value;
    v.text.clear();
}

void MemorySettingsStore::WriteString(const std::string& key, const std::string& name,
                                      const std::string& value) {
    Value& v = Slot(key, name);
    v.isString = true;
    v.dword = 0;
    v.text = value;
}

bool MemorySettingsStore::Remove(const std::string& key, const std::string& name) {
    return values_.erase(MapKey(key, name)) != 0;
}

// ---- FileSettingsStore ----

FileSettingsStore::FileSettingsStore() : FileSettingsStore(DefaultPath()) {}

FileSettingsStore::FileSettingsStore(std::string path) : path_(std::move(path)) { Load(); }

std::string FileSettingsStore::DefaultPath() {
    std::string config = EnvironmentFolder("XDG_CONFIG_HOME");
    if (!config.empty()) return config + "/vantrel/settings.txt";
    std::string home = EnvironmentFolder("HOME");
    if (!home.empty()) return home + "/.config/vantrel/settings.txt";
    return ProgramFolder() + "settings.txt";
}

void FileSettingsStore::Load() {
    Clear();
    keepFile_ = false;
    keepAside_ = false;
    auto file = OpenFileForReading(path_);
    if (!file) {
        // A file that is there but cannot be read holds the player's settings all the same: the run
        // goes on defaults and no save replaces it.
        if (FileExists(path_)) Unreadable();
        return;
    }
    uint64_t size = file->Size();
    if (size == 0) return;
    if (size > kMaxFileSize) {
        // Its values are read as far as the cap, and the whole file is kept aside before a save
        // replaces it.
        keepAside_ = true;
        std::fprintf(stderr,
                     "Vantrel: the settings file %s is larger than %llu bytes: only its start is read, "
                     "and it is kept as %s when the settings are saved\n",
                     path_.c_str(), static_cast<unsigned long long>(kMaxFileSize), (path_ + ".old").c_str());
        size = kMaxFileSize;
    }
    std::string text(static_cast<size_t>(size), '\0');
    if (!file->ReadAt(0, text.data(), text.size())) {
        keepAside_ = false;
        Unreadable();
        return;
    }
    if (keepAside_) {
        // A line cut by the cap is not a value.
        size_t lastLine = text.rfind('\n');
        text.resize(lastLine == std::string::npos ? 0 : lastLine + 1);
    }

    std::string key;
    bool inKey = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();

        LineReader in{line};
        in.SkipBlanks();
        if (in.AtEnd() || in.Peek() == '#' || in.Peek() == ';') continue;
        if (in.Expect('[')) {
            // A damaged key line loses the values under it rather than filing them under another key.
            std::string name;
            inKey = in.ReadToken(name) && in.Expect(']') && in.Finished();
            if (inKey) key = name;
            continue;
        }
        std::string name;
        if (!inKey || !in.ReadToken(name)) continue;
        in.SkipBlanks();
        if (!in.Expect('=')) continue;
        in.SkipBlanks();
        if (in.ReadWord("dword")) {
            uint32_t value = 0;
            in.SkipBlanks();
            if (in.ReadDecimal(value) && in.Finished()) WriteDword(key, name, value);
        } else if (in.ReadWord("string")) {
            std::string value;
            in.SkipBlanks();
            if (in.ReadQuoted(value) && in.Finished()) WriteString(key, name, value);
        }
    }
}

void FileSettingsStore::Unreadable() {
    keepFile_ = true;
    std::fprintf(stderr,
                 "Vantrel: the settings file %s cannot be read: the game runs on default settings "
                 "and leaves the file as it is\n",
                 path_.c_str());
}

bool FileSettingsStore::Save() {
    if (keepFile_) return false;
    std::string text = "# Vantrel settings: one value a line, Name = dword 123 or Name = string \"text\".\n";
    std::string currentKey;
    bool first = true;
    for (const auto& [mapKey, value] : values_) {
        const std::string& folded = mapKey.first;
        if (first || folded != currentKey) {
            text += "\n[" + Token(value.key) + "]\n";
            currentKey = folded;
            first = false;
        }
        text += Token(value.name);
        text += value.isString ? " = string " + Quote(value.text) : " = dword " + std::to_string(value.dword);
        text += '\n';
    }

    if (!MakeFolders(path_)) return false;
    std::string temp = path_ + ".tmp";
    {
        auto file = CreateFileForWriting(temp);
        if (!file) return false;
        if (!file->Write(text.data(), text.size()) || !file->Flush()) {
            file.reset();
            DeleteFile(temp);
            return false;
        }
    }
    if (keepAside_) {
        if (!RenameFile(path_, path_ + ".old")) {
            DeleteFile(temp);
            return false;
        }
        keepAside_ = false;
    }
    if (!RenameFile(temp, path_)) {
        DeleteFile(temp);
        return false;
    }
    return true;
}

// ---- the shared store ----

SettingsStore& CurrentSettings() {
    SettingsStore* store = g_store.load(std::memory_order_acquire);
    if (store) return *store;
    static FileSettingsStore fileStore;
    return fileStore;
}

void SetSettings(SettingsStore* store) { g_store.store(store, std::memory_order_release); }

}  // namespace plat
