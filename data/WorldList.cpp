#include "data/WorldList.h"

#include <cstring>

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

int CWorldList::OpenGameDatabases(const std::function<void()>& advance) {
    if (CSoundManager* sound = lists_.resources.GetSoundManager()) {
        sound->ReleaseMusic();
        if (Mixer* mixer = sound->GetMixer()) {
            mixer->StopAllMusic();
            mixer->StopAllSamples();
        }
    }
    for (const char* name : {kMusicDatabase, kSoundDatabase, kResourceDatabase, kBaseDatabase}) {
        OpenWorldByName(name);
        if (advance) advance();
    }
    return FindWorldByShortName("base") != nullptr ? 1 : 0;
}

void CWorldList::OpenInstalledWorlds() {
    for (u32 i = 0; i < installed_.GetCount(); ++i)
        if (installed_[i].enabled) OpenFoundWorld(installed_[i]);
}

void CWorldList::UpdateInstalledWorlds() {
    {
        CPdbFile db(nullptr, finder_);
        ScanWorldDatabases(db, installed_);
    }
    if (settings_ == nullptr) return;
    CWorldSetting* remembered = settings_->Worlds;
    const u32 slots = CGameSettings::kWorldCount;
    auto sameName = [](const CWorldSetting& slot, const CStr& name) {
        return std::strncmp(slot.Name, name.GetText(), 4) == 0 && name.GetLength() <= 4;
    };
    for (u32 i = 0; i < installed_.GetCount(); ++i) {
        const CStr& name = installed_[i].shortName;
        bool known = false;
        for (u32 s = 0; s < slots && !known; ++s)
            known = remembered[s].Name[0] != 0 && sameName(remembered[s], name);
        if (known) continue;
        for (u32 s = 0; s < slots; ++s) {
            if (remembered[s].Name[0] != 0) continue;
            std::memset(remembered[s].Name, 0, sizeof remembered[s].Name);
            std::strncpy(remembered[s].Name, name.GetText(), 4);
            remembered[s].Active = 1;
            break;
        }
    }
    for (u32 s = 0; s < slots; ++s) {
        if (remembered[s].Name[0] == 0) continue;
        for (u32 i = 0; i < installed_.GetCount(); ++i) {
            if (sameName(remembered[s], installed_[i].shortName)) {
                installed_[i].enabled = remembered[s].Active;
                break;
            }
        }
    }
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
