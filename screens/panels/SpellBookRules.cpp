#include "screens/panels/SpellBookRules.h"

#include <cstring>

#include "data/Effect.h"
#include "data/ItemType.h"
#include "screens/npc/ListPaging.h"
#include "world/Player.h"

int ParseItemEntryKey(const char* key, int itemCount) {
    if (!key || !*key)
        return -1;
    u64 value = 0;
    for (const char* c = key; *c; ++c) {
        if (*c < '0' || *c > '9')
            return -1;
        value = value * 10 + static_cast<u64>(*c - '0');
        if (value >= static_cast<u64>(itemCount < 0 ? 0 : itemCount))
            return -1;
    }
    return static_cast<int>(value);
}

CItemInstance* ItemForEntryKey(const CPlayer& player, const char* key) {
    const int index = ParseItemEntryKey(key, static_cast<int>(player.items.size()));
    return index < 0 ? nullptr : player.items[static_cast<size_t>(index)].get();
}

void FormatWandLine(const CItemInstance& wand, const char* name, CStr& out) {
    const CEffectList* list = nullptr;
    if (wand.type && wand.type->subclass == 5)
        list = wand.effects;
    else if (wand.type)
        list = wand.type->effects;
    const char* shown = name ? name : "";
    if (!list || list->Count() == 0) {
        out = shown;
        return;
    }
    const u32 current = wand.count;
    const u32 maximum = static_cast<u16>(list->At(0)->amount);
    if (current == maximum)
        out.Format("%s (%u ch)", shown, current);
    else
        out.Format("%s (%u/%u ch)", shown, current, maximum);
}

void FormatScrollLine(const char* name, u32 count, CStr& out) {
    if (count > 1)
        out.Format("%s (%u)", name ? name : "", count);
    else
        out = name ? name : "";
}

i32 FirstVisibleRow(i32 selection, i32 listHeight, i32 rowHeight) {
    return PageStartOf(selection, RowsPerPage(listHeight, rowHeight));
}

void FormatMarkSlotLine(int index, const CMarkedPosition& slot, CStr& out) {
    const unsigned number = static_cast<unsigned>(index + 1);
    if (slot.world.empty())
        out.Format("%u. -", number);
    else
        out.Format("%u. %s, %s", number, (slot.text3.empty() ? slot.world : slot.text3).c_str(),
                   (slot.text4.empty() ? slot.map : slot.text4).c_str());
}

u8 FacingToDirection(int degrees) {
    const int normal = ((degrees % 360) + 360) % 360;
    return static_cast<u8>(normal / 90);
}

CRecallOutcome RecallSlot(const CMarkedPosition& slot, const IRecallWorlds& worlds) {
    CRecallOutcome outcome;
    if (slot.world == "-")
        return outcome;
    // An empty slot names no world: the recall fails plainly rather than searching for an empty id.
    if (!slot.world.empty() && worlds.HasWorld(slot.world.c_str()) &&
        worlds.HasMap(slot.world.c_str(), slot.map.c_str())) {
        outcome.travel = true;
        return outcome;
    }
    outcome.message = "Teleport failed.";
    return outcome;
}
