#include "screens/panels/SpellBookRules.h"

#include <algorithm>
#include <cstring>

#include "data/Effect.h"
#include "data/ItemText.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "screens/npc/ListPaging.h"
#include "world/Player.h"

namespace {

constexpr u8 kTypeHidden = 0x10;
constexpr char kScrollGlyph = static_cast<char>(0xB5);
constexpr char kWandGlyph = static_cast<char>(0xB6);

void ShortName(const CItemInstance& item, const CRuleContext* rules, CStr& out) {
    if (rules) {
        FormatItemName(*item.type, &item, true, *rules, out);
        return;
    }
    const char* name = item.type->name ? item.type->name : item.type->GetName();
    out = name ? name : "";
}

bool IsListedScroll(const CItemInstance& item) {
    const CItemType& type = *item.type;
    return type.itemClass == kItemMagic && (type.subclass == 1 || (type.subclass == 3 && item.effects));
}

bool IsListedWand(const CItemInstance& item) {
    const CItemType& type = *item.type;
    if (type.itemClass != kItemMagic || type.subclass <= 3) return false;
    return type.subclass != 5 || (item.effects && item.effects->Count() > 0);
}

}  // namespace

std::vector<CMagicItemLine> BuildMagicItemLines(const CPlayer& player, const CRuleContext* rules) {
    std::vector<CMagicItemLine> lines;
    struct Group {
        const CItemType* type;
        int index;
        u32 count;
    };
    std::vector<Group> scrolls;
    for (size_t i = 0; i < player.items.size(); ++i) {
        const CItemInstance* item = player.items[i].get();
        if (!item || !item->type || (item->type->flags & kTypeHidden) || !IsListedScroll(*item) ||
            !player.CanUseWand(*item->type, item))
            continue;
        auto same = std::find_if(scrolls.begin(), scrolls.end(),
                                 [&](const Group& g) { return g.type == item->type; });
        if (same != scrolls.end())
            ++same->count;
        else
            scrolls.push_back({item->type, static_cast<int>(i), 1});
    }
    for (const Group& group : scrolls) {
        CStr name, line;
        ShortName(*player.items[static_cast<size_t>(group.index)], rules, name);
        FormatScrollLine(name.GetText(), group.count, line);
        CMagicItemLine entry;
        entry.index = group.index;
        entry.text.Format("%c%s", kScrollGlyph, line.GetText());
        lines.push_back(std::move(entry));
    }
    for (size_t i = 0; i < player.items.size(); ++i) {
        const CItemInstance* item = player.items[i].get();
        if (!item || !item->type || (item->type->flags & kTypeHidden) || !IsListedWand(*item) ||
            item->count == 0 || !player.CanUseWand(*item->type, item))
            continue;
        CStr name, line;
        ShortName(*item, rules, name);
        FormatWandLine(*item, name.GetText(), line);
        CMagicItemLine entry;
        entry.index = static_cast<int>(i);
        entry.text.Format("%c%s", kWandGlyph, line.GetText());
        lines.push_back(std::move(entry));
    }
    return lines;
}

void FormatSpellPageMessage(int page, int race, bool empty, const char* schoolName, CStr& out) {
    if (race == 1 && page == 1)
        out = "You can't have any heal spells, since you're undead.";
    else if (race != 1 && page == 5)
        out = "You can't have any undead spells, since you aren't undead.";
    else if (!empty)
        out = "";
    else if (page == 7)
        out = "You don't have any magical items.";
    else
        out.Format("You don't know any %s.", page >= 1 && page <= 7 && schoolName ? schoolName : "?");
}

int ParseItemEntryKey(const char* key, int itemCount) {
    if (!key || !*key) return -1;
    u64 value = 0;
    for (const char* c = key; *c; ++c) {
        if (*c < '0' || *c > '9') return -1;
        value = value * 10 + static_cast<u64>(*c - '0');
        if (value >= static_cast<u64>(itemCount < 0 ? 0 : itemCount)) return -1;
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

bool MarkPosition(CPlayer& player, int slot, const CMarkPlace& place) {
    if (slot < 0 || static_cast<size_t>(slot) >= player.marks.size()) return false;
    player.SetMarkedPosition(slot, place.worldId, place.mapId, place.x, place.y,
                             FacingToDirection(place.facingDegrees));
    CMarkedPosition& stored = player.marks[static_cast<size_t>(slot)];
    stored.text3 = place.worldName ? place.worldName : "";
    stored.text4 = place.mapName ? place.mapName : "";
    return true;
}

CRecallOutcome RecallSlot(const CMarkedPosition& slot, const IRecallWorlds& worlds) {
    CRecallOutcome outcome;
    if (slot.world == "-") return outcome;
    // An empty slot names no world: the recall fails plainly rather than searching for an empty id.
    if (!slot.world.empty() && worlds.HasWorld(slot.world.c_str()) &&
        worlds.HasMap(slot.world.c_str(), slot.map.c_str())) {
        outcome.travel = true;
        return outcome;
    }
    outcome.message = "Teleport failed.";
    return outcome;
}
