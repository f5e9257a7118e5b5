// Stand-ins of the craft dialogs' surroundings: the form that owns a dialog and records what it
// hears, and a craft host with its own rules (or a world's), gold and carried items.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "screens/npc/CraftHost.h"
#include "ui/Form.h"
#include "ui/ListBox.h"

namespace craft_testing {

// The owner of a dialog, a form or a screen: records each command and takes the dialog down, as the
// owners do.
template <class Base>
class RecordingOwner : public Base {
public:
    u32 OnCommand(u32 command) override {
        commands.push_back(command);
        this->CloseModal();
        return 0;
    }
    std::vector<u32> commands;
};
using OwnerStandIn = RecordingOwner<CForm>;

// The labels of a list's rows.
inline std::vector<std::string> ListLabels(const CListBox& list) {
    std::vector<std::string> out;
    for (i32 i = 0; i < list.GetCount(); ++i) out.emplace_back(list.GetItem(i)->label.GetText());
    return out;
}

class FakeCraftHost : public ICraftHost {
public:
    FakeCraftHost() = default;
    explicit FakeCraftHost(const CRuleContext& world) : rules(&world) {}
    const CRuleContext& GetRules() const override { return *rules; }
    u32 GetGold() const override { return gold; }
    void SetGold(u32 value) override { gold = value; }
    int GetPriceLevel(const CNpc& npc) const override { return npc.GetPriceLevel(); }
    std::vector<CItemInstance*> GetCarriedItems() override {
        std::vector<CItemInstance*> out;
        for (auto& item : items) out.push_back(item.get());
        return out;
    }
    bool KnowsAnySpell() const override { return knowsSpells; }
    void ReapplyEquipmentEffects() override { ++reapplied; }
    CItemInstance* Carry(const CItemType& type, u16 count = 1000) {
        items.push_back(std::make_unique<CItemInstance>());
        items.back()->type = &type;
        items.back()->count = count;
        return items.back().get();
    }

    CRuleContext ownRules;
    const CRuleContext* rules = &ownRules;
    u32 gold = 5000;
    bool knowsSpells = false;
    int reapplied = 0;
    std::vector<std::unique_ptr<CItemInstance>> items;
};

}  // namespace craft_testing
