#include "data/WorldList.h"

#include <cstring>
#include <utility>

#include "core/PdbFile.h"
#include "core/Settings.h"
#include "core/Str.h"
#include "data/WorldLists.h"
#include "data/WorldScan.h"
#include "sound/Mixer.h"
#include "sound/SoundManager.h"

CWorldList::CWorldList(CWorldLists& lists, CFileFinder* finder, CGameSettings* settings)
    : lists_(lists), finder_(finder), settings_(settings) {}

CWorldList::~CWorldList() { CloseAllWorlds(); }

void CWorldList::ClearError() {
    lastError_.clear();
    lastLoadError_ = CWorldLoadError{};
}

int CWorldList::LoadOpened(std::unique_ptr<CPdbFile> db, const std::string& file) {
    auto world = std::make_unique<CWorld>();
    CWorldLoadError error;
    if (!world->Load(std::move(db), lists_, &error)) {
        lastLoadError_ = error;
        CStr text;
        text.Format("%s: record %u (%s) is missing or damaged.", file.c_str(), error.record,
                    error.kind.c_str());
        lastError_ = text.GetText();
        return 0;
    }
    lists_.AfterLoad();
    current_ = world.get();
    worlds_.push_back(std::move(world));
    return 1;
}

int CWorldList::OpenWorldByName(const char* name) {
    if (name == nullptr) return 0;
    auto db = std::make_unique<CPdbFile>(nullptr, finder_);
    if (!db->Open(name, "VnTl")) return 0;
    return LoadOpened(std::move(db), std::string(name) + ".pdb");
}

int CWorldList::OpenFoundWorld(const CWorldEntry& entry) {
    auto db = std::make_unique<CPdbFile>(nullptr, finder_);
    if (!OpenWorldEntry(*db, entry)) return 0;
    return LoadOpened(std::move(db), WorldEntryFile(entry));
}

int CWorldList::OpenNamed(const char* name, std::string& why) {
    const std::string file = std::string(name) + ".pdb";
    const std::string before = lastError_;
    lastError_.clear();
    if (OpenWorldByName(name)) {
        lastError_ = before;
        return 1;
    }
    // A load that failed named its record; a file that did not open did not get that far.
    why = lastError_.empty() ? file + " is missing or cannot be opened." : lastError_;
    if (lastError_.empty()) lastError_ = before;
    return 0;
}

bool CWorldList::CheckBaseWorld(std::string& why) const {
    const std::string file = std::string(kBaseDatabase) + ".pdb";
    const CWorld* base = current_;
    // Every look-up of the game finds the base world by this name: a damaged one hides the world.
    if (base == nullptr || !base->shortName.Equals("base")) {
        why = file + ": record " + std::to_string(CWorld::kHeaderRecord) +
              " (header) is damaged: the world is named \"" + (base ? base->shortName.GetText() : "") +
              "\", not \"base\".";
        return false;
    }
    CMapSection* section = nullptr;
    if (base->FindMapObjectByName(kStartPlace, section) != nullptr) return true;
    // The start belongs in the first section's placements: that is the record to name.
    if (base->SectionCount() == 0)
        why = file + ": the section directory is damaged: it holds no map section.";
    else
        why = file + ": record " + std::to_string(base->SectionAt(0)->baseRecord + 3u) +
              " (map objects) is damaged: it holds no start place \"" + kStartPlace + "\".";
    return false;
}

void CWorldList::NoteSkipped(const std::string& file, const std::string& why) {
    for (const std::string& seen : skippedFiles_)
        if (seen == file) return;
    skippedFiles_.push_back(file);
    skipNotes_.push_back(why);
}

std::vector<std::string> CWorldList::TakeSkipNotes() { return std::exchange(skipNotes_, {}); }

int CWorldList::OpenGameDatabases(const std::function<void()>& advance) {
    if (CSoundManager* sound = lists_.resources.GetSoundManager()) {
        sound->ReleaseMusic();
        if (Mixer* mixer = sound->GetMixer()) {
            mixer->StopAllMusic();
            mixer->StopAllSamples();
        }
    }
    openProblem_.clear();
    for (const char* name : {kMusicDatabase, kSoundDatabase, kResourceDatabase, kBaseDatabase}) {
        // The pictures and the world are the game: without them it could only show a black view.
        // Music and sounds are not; the game goes on quietly without them.
        if (name == kMusicDatabase || name == kSoundDatabase) {
            OpenOptionalDatabase(name);
        } else if (std::string why; !OpenNamed(name, why) || (name == kBaseDatabase && !CheckBaseWorld(why))) {
            if (openProblem_.empty()) openProblem_ = why;
        }
        if (advance) advance();
    }
    return openProblem_.empty() ? 1 : 0;
}

int CWorldList::OpenOptionalDatabase(const char* name) {
    std::string why;
    if (OpenNamed(name, why)) return 1;
    NoteSkipped(std::string(name) + ".pdb", why + " The game goes on without it.");
    return 0;
}

void CWorldList::OpenInstalledWorlds() {
    for (u32 i = 0; i < installed_.GetCount(); ++i) {
        if (!installed_[i].enabled) continue;
        const std::string before = lastError_;
        lastError_.clear();
        if (!OpenFoundWorld(installed_[i])) {
            const std::string file = WorldEntryFile(installed_[i]);
            NoteSkipped(file, (lastError_.empty() ? file + " is missing or cannot be opened." : lastError_) +
                                  " The game goes on without this additional world.");
        }
        if (lastError_.empty()) lastError_ = before;
    }
}

void CWorldList::UpdateInstalledWorlds() {
    {
        CPdbFile db(nullptr, finder_);
        ScanWorldDatabases(db, installed_);
    }
    if (settings_ == nullptr) return;
    CWorldSetting* remembered = settings_->Worlds;
    const u32 slots = CGameSettings::kWorldCount;
    for (u32 i = 0; i < installed_.GetCount(); ++i) {
        const CStr& name = installed_[i].shortName;
        bool known = false;
        for (u32 s = 0; s < slots && !known; ++s) known = RemembersWorld(remembered[s], name);
        if (known) continue;
        for (u32 s = 0; s < slots; ++s) {
            if (!remembered[s].IsFree()) continue;
            std::memset(remembered[s].Name, 0, sizeof remembered[s].Name);
            std::strncpy(remembered[s].Name, name.GetText(), 4);
            remembered[s].Active = static_cast<u8>(1 | (name.IsEmpty() ? CWorldSetting::kNameless : 0));
            break;
        }
    }
    for (u32 s = 0; s < slots; ++s) {
        if (remembered[s].IsFree()) continue;
        for (u32 i = 0; i < installed_.GetCount(); ++i) {
            if (RemembersWorld(remembered[s], installed_[i].shortName)) {
                installed_[i].enabled = remembered[s].Enabled();
                break;
            }
        }
    }
}

bool RemembersWorld(const CWorldSetting& slot, const CStr& shortName) {
    if (slot.IsFree()) return false;
    // An empty short name has its own marked slot; it is not a free one.
    if (shortName.IsEmpty()) return slot.Name[0] == 0;
    return std::strncmp(slot.Name, shortName.GetText(), 4) == 0 && shortName.GetLength() <= 4;
}

void CWorldList::RemoveInstalledWorldEntry(const char* shortName) {
    if (shortName == nullptr) return;
    for (u32 i = 0; i < installed_.GetCount(); ++i) {
        if (installed_[i].shortName.Equals(shortName)) {
            RemoveWorldEntryAt(installed_, i);
            return;
        }
    }
}

void CWorldList::AddWorldStartEntries(u32 n, const std::function<void(const char*, const char*)>& add) const {
    const u32 price = n == 1 ? 50 : n == 2 ? 100 : 200;
    for (u32 i = 0; i < installed_.GetCount(); ++i) {
        const CWorldEntry& e = installed_[i];
        if (!e.enabled || e.expansion != n) continue;
        CStr id, label;
        id.Format("%s_STARTGAME", e.shortName.GetText());
        label.Format("%s (%lu\t)", e.title.GetText(), static_cast<unsigned long>(price));
        add(label.GetText(), id.GetText());
    }
}

CWorld* CWorldList::FindWorldByShortName(const char* name) const {
    if (name == nullptr) return nullptr;
    char cut[5] = {};
    for (int i = 0; i < 4 && name[i] != 0; ++i) cut[i] = name[i];
    for (const auto& w : worlds_)
        if (w->shortName.Equals(cut)) return w.get();
    return nullptr;
}

CMapSection* CWorldList::FindSectionInAllWorlds(const char* name) const {
    for (const auto& w : worlds_)
        if (CMapSection* s = w->FindSectionByName(name)) return s;
    return nullptr;
}

void CWorldList::CloseAllWorlds() {
    // The lists point into the worlds' records and databases: they go first.
    lists_.Clear();
    current_ = nullptr;
    while (!worlds_.empty()) {
        worlds_.front()->Release();
        worlds_.erase(worlds_.begin());
    }
}
