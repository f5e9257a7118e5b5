#include "data/SaveGameManager.h"

#include <string>

#include "core/PdbFile.h"

std::unique_ptr<CSavedGameInfo> CSaveGameManager::List(u32 slot) {
    if (slot > 4) return nullptr;
    CPdbFile database(owner, finder);
    std::string name = "VantrelSave" + std::to_string(slot);
    bool found = database.Open(name.c_str(), "VnTS") && database.HasType("VnTS");
    database.Close();
    if (!found) return nullptr;
    auto info = std::make_unique<CSavedGameInfo>();
    info->slot = slot;
    return info;
}

int CSaveGameManager::Load(u32 slot, CProgressDialog*) {
    ++loadsRequested;
    lastSlot = slot;
    return 0;
}
