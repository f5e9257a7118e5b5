#include "screens/npc/NpcEnchanting.h"

#include "screens/ScreenHost.h"
#include "screens/npc/CraftRules.h"
#include "screens/npc/PlayerCrafts.h"
#include "script/ScriptContext.h"
#include "script/ScriptValue.h"
#include "world/Player.h"

CNpcEnchanting::CNpcEnchanting() = default;
CNpcEnchanting::~CNpcEnchanting() = default;

void CNpcEnchanting::Prepare(CScreenHost& host) {
    // Made anew for each visit: the player's items and the world's rules may have changed since.
    crafts_ = std::make_unique<CPlayerCrafts>(host.GetPlayer(), host.GetRules(), host.GetRecipes());
    crafts_->SetVariableLookup([&host](const char* name, i32& value) {
        CScriptContext* context = host.GetScriptContext();
        CScriptValue* global = context && context->GetWorld() ? context->GetWorld()->FindGlobal(name) : nullptr;
        if (!global) return false;
        value = global->GetNumber();
        return true;
    });
    entries.Attach(&host, crafts_.get());
    selection.Attach(&host);
    selection.SetHost(crafts_.get(), &entries);
}

CEnchantSelectDialog& CNpcEnchanting::Open(CScreenHost& host, const CNpc& enchanter, int level) {
    Prepare(host);
    selection.Open(&enchanter, level, false);
    return selection;
}

CEnchantSelectDialog& CNpcEnchanting::OpenForSpell(CScreenHost& host, int level, bool recharge) {
    Prepare(host);
    selection.Open(nullptr, level, recharge);
    return selection;
}

bool CNpcEnchanting::HasCandidates(CScreenHost& host) {
    std::vector<const CItemInstance*> carried;
    for (const auto& item : host.GetPlayer().items) carried.push_back(item.get());
    return craft::HasSelectableItem(carried, false);
}
