#include "world/MapInteractions.h"

#include <string>

#include "data/MapCells.h"
#include "data/MapSection.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "world/CellWindow.h"
#include "world/MapDoors.h"
#include "world/Player.h"

using namespace mapobject;

const char* const CMapInteractions::kTrapSpells[8] = {
    nullptr,
    "base_spellfireball",
    "base_spelllightningbolt",
    "base_spellharmundead",
    "base_spellplague",
    "base_spellwarrt",
    "base_spellpoisontouch",
    "base_spellcurse",
};

i32 CMapInteractions::DoorPromptButtons(const CDoorPrompt& p) {
    i32 buttons = kCancel;
    if (p.open > 0) buttons |= kOpen;
    if (p.disarm > 0) buttons |= kDisarm;
    if (p.pick > 0) buttons |= kPick;
    return buttons;
}

void CMapInteractions::OnDoorPrompt(const CDoorPrompt& prompt) {
    door_ = prompt;
    host_.ShowPrompt(prompt.text.c_str(), DoorPromptButtons(prompt), 9);
}

u8 CMapInteractions::TrapSpellCode(const CMapObject* object) {
    return object ? static_cast<u8>((object->cellViewBits >> 4) & 7) : 0;
}

void CMapInteractions::DisarmTrap() {
    CPlacement* p = door_.placement;
    if (!p) return;
    CPlayer& player = host_.GetPlayer();
    const i32 difficulty = 10 * TrapLevel(p->level);
    const i32 s = player.GetSkillValue(kSkillDisarm);
    const i32 roll = static_cast<i32>(host_.Random(s / 5)) + 9 * s / 10;
    player.CountSkillUse(kSkillDisarm);
    if (roll <= difficulty) {
        host_.PlaySound("bsnd_lockdisarmtry", 10);
        FireTrap(p->level, door_.object);
        return;
    }
    const std::string text = std::string("You have disarmed the ") +
                             (door_.kind == 20 || door_.kind == 22 ? "door" : "object") + ".";
    // Told as the player's own report: it joins the message that is open.
    host_.ShowGameMessage(text.c_str());
    host_.PlaySound("bsnd_lockdisarmok", 10);
    SetTrapLevel(p->level, 0);
}

void CMapInteractions::OpenTrappedDoor() {
    if (door_.kind != 20 || !door_.placement) return;
    FireTrap(door_.placement->level, door_.object);
    if (const auto* door = dynamic_cast<const CDoor*>(door_.object)) door->Open(*door_.placement, door_.x, door_.y);
}

void CMapInteractions::OpenLockPicking() { host_.OpenLockPickDialog(door_); }

void CMapInteractions::FireTrap(u16 level, const CMapObject* object) {
    const i32 trap = TrapLevel(level);
    // A trap of level 0 has nothing to fire.
    if (trap == 0) return;
    const u8 code = TrapSpellCode(object);
    const CSpellList* spells = host_.GetRules().spells;
    const CSpell* spell = code && spells ? spells->FindById(kTrapSpells[code]) : nullptr;
    // A spell the world lacks leaves the trap without effect, as a missing record does everywhere.
    if (code && !spell) return;
    const i32 strength = code == 2 ? 5 * trap : 10 * trap;
    host_.CastSpellAtPlayer(spell, strength);
}

CMapInteractions::Footstep CMapInteractions::ChooseFootstep(const CMapObjectTable& table, const CMapCell& cell,
                                                            const CPlacement* centre,
                                                            const CMapObject* sectionGround, i32 x, i32 y,
                                                            bool quiet) const {
    Footstep step;
    step.volume = quiet ? 6 : 10;
    const CMapObject* ground = nullptr;
    if (const CMapObject* c = table.At(cell.centre); c && c->typeCode == 4 && c->Sound(1) && *c->Sound(1) &&
                                                     (!centre || (centre->flags & kVisible)))
        ground = c;
    if (!ground) ground = table.At(cell.layer2);
    if (!ground) ground = table.At(cell.layer1);
    if (!ground) ground = sectionGround;
    const bool right = ((x + y) & 1) == 0;
    const CPlayer& player = host_.GetPlayer();
    const bool barefoot = player.equipment[11] == nullptr;
    if ((!ground || ground->typeCode != 3) && barefoot) {
        step.sound = right ? "bsnd_stepbarefoot-right" : "bsnd_stepbarefoot-left";
        return step;
    }
    if (!ground) return step;
    // The ground's own steps: sound 1 the right foot, sound 2 the left (sound 1 when it has none).
    const char* own = right ? ground->Sound(1) : ground->Sound(2);
    if ((!own || !*own) && !right) own = ground->Sound(1);
    step.sound = own && *own ? own : nullptr;
    return step;
}

void CMapInteractions::PlayFootstep(const CMapObjectTable& table, const CMapCell& cell, const CPlacement* centre,
                                    const CMapObject* sectionGround, i32 x, i32 y, bool quiet) {
    const Footstep step = ChooseFootstep(table, cell, centre, sectionGround, x, y, quiet);
    if (step.sound) host_.PlaySound(step.sound, step.volume);
}

void CMapInteractions::PlayGroundSound(const CMapObjectTable& table, const CMapCell& cell,
                                       const CMapObject* sectionGround, i32 x, i32 y) {
    const CMapObject* ground = table.At(cell.layer2);
    if (!ground) ground = table.At(cell.layer1);
    if (!ground) ground = sectionGround;
    const char* sound = ground ? ground->Sound(1) : nullptr;
    if (sound && *sound) host_.PlaySound(sound, VolumeByDistance(host_, x, y));
}

// ---- bags, the world map, scenes ----

bool CMapInteractions::OpenObjectBag(CMapSection* section, CPlacement& placement, i32 x, i32 y) {
    if (!section || placement.bagId == 0) return false;
    CItemBag* bag = section->bags.FindBagById(placement.bagId);
    if (!bag) return false;
    host_.MakeViewThumbnail();
    host_.PlaySound("bsnd_bagopen", 10);
    host_.RegisterChangedCell(section, x, y, -1);
    CScreenEntry entry;
    entry.what = bag;
    entry.object = &placement;
    entry.section = section;
    host_.EnterScreen(4, entry);
    return true;
}

bool CMapInteractions::OpenGroundBag(CCellWindow& window, const CMapObjectTable& table) {
    i32 x = 0, y = 0;
    host_.GetPlayerCell(x, y);
    CMapCell* cell = window.Cell(x, y);
    CMapSection* section = nullptr;
    i32 sx = 0, sy = 0;
    if (!cell || !window.WindowToSectionCell(x, y, section, sx, sy)) return false;
    CItemBag* bag = cell->bag ? section->bags.FindBagById(static_cast<u8>(cell->bag)) : nullptr;
    const CMapObject* centre = table.At(cell->centre);
    if (!bag && !(centre && (centre->typeFlags & kNoGroundBags))) {
        bag = section->bags.CreateBag(0);
        if (bag) window.PutBagInCell(section, sx, sy, *bag);
    }
    host_.RegisterChangedCell(section, x, y, -1);
    host_.MakeViewThumbnail();
    host_.PlaySound("bsnd_bagopen", 10);
    CScreenEntry entry;
    entry.mode = 1;
    entry.what = bag;
    entry.section = host_.GetCurrentSection();
    host_.EnterScreen(4, entry);
    return true;
}

bool CMapInteractions::OpenWorldMap() {
    if (host_.IsViewBusy()) return false;
    host_.OpenWorldMapDialog();
    host_.PlaySound("bsnd_letteropenclose", 10);
    return true;
}

bool CMapInteractions::OnPlaySceneEvent(const char* name) {
    const void* sequence = name ? host_.FindPageSequence(name) : nullptr;
    if (!sequence) return false;
    CScreenEntry entry;
    entry.mode = 1;
    entry.what = sequence;
    host_.EnterScreen(11, entry);
    return true;
}

void CMapInteractions::OnParalysisEnded() {
    CPlayer& player = host_.GetPlayer();
    if (!player.IsParalyzed()) return;
    host_.ShowGameMessage("You're no longer paralyzed.");
    player.RemoveEffectsOfKind(28);
    host_.SetHandSprites();
}
