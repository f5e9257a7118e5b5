#include "world/GameMapObjects.h"

#include <algorithm>
#include <cstdint>

#include "core/Random.h"
#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "data/World.h"
#include "data/WorldLists.h"
#include "ui/ButtonBar.h"
#include "ui/ScreenIds.h"
#include "script/ScriptContext.h"
#include "script/ScriptMessages.h"
#include "world/Creatures.h"
#include "world/GameCreatures.h"
#include "world/PanelEntry.h"
#include "world/Player.h"

CGameMapObjects::CGameMapObjects(CGameScreen& view) : view_(view) {}

CGameMapObjects::~CGameMapObjects() = default;

CMapObjectTable* CGameMapObjects::Table() const { return view_.viewWorld ? &view_.viewWorld->Objects() : nullptr; }

// ---- the cell events ----

u32 CGameMapObjects::ObjectEventMask(u16 objectIndex) const {
    const CMapObjectTable* table = Table();
    const CMapObject* o = table ? table->At(objectIndex) : nullptr;
    return o ? o->typeExtra : 0;
}

// The creature records carry no mask of their own: every creature answers the events its handler
// knows (hit, spell, use, death).
u32 CGameMapObjects::CreatureEventMask(CMapSection& section, u8 creatureId) const {
    return section.FindMonster(creatureId) ? kCreatureEvents : 0;
}

const char* CGameMapObjects::ObjectScript(u16, const CPlacement* placement) const {
    return placement ? mapobject::PlacementScript(*placement) : nullptr;
}

IScriptMapObject* CGameMapObjects::PlacedObject(u16 objectIndex, CMapSection* section, CPlacement* placement) {
    CMapObjectTable* table = Table();
    CMapObject* o = table ? table->At(objectIndex) : nullptr;
    if (!o) return nullptr;
    return &Placed(section, o, placement);
}

CPlacedMapObject& CGameMapObjects::Placed(CMapSection* section, CMapObject* object, CPlacement* placement) {
    const u8 id = placement ? placement->id : 0;
    auto& slot = placed_[{section, id}];
    if (!slot) slot = std::make_unique<CPlacedMapObject>(object, placement);
    // The section's placements may have moved since: the pointers are taken afresh each time.
    slot->object = object;
    slot->placement = placement;
    slot->screen = 0;
    return *slot;
}

i32 CGameMapObjects::HandleObjectEvent(u32 code, CMapSection* section, u16 objectIndex, CPlacement* placement,
                                       i32 x, i32 y, i32, bool& changed) {
    changed = false;
    CMapObjectTable* table = Table();
    CMapObject* o = table ? table->At(objectIndex) : nullptr;
    if (!o) return 0;
    const i32 screen = o->HandleEvent(static_cast<i32>(code), section, placement, view_.window.Cell(x, y), x, y,
                                      changed);
    if (screen > 0) SwitchScreen(static_cast<u32>(screen));
    return screen;
}

i32 CGameMapObjects::HandleCreatureEvent(u32 code, CMapSection& section, u8 creatureId, i32, i32,
                                         bool& changed) {
    changed = false;
    CFight* fight = view_.Fight();
    if (!fight || !section.FindMonster(creatureId)) return 0;
    // The player's use or blow: the bound object's script first, else the creature's own handling
    // (a person talks, or is robbed from behind).
    CCreatureEvent event;
    fight->creatures.RaiseEvent(static_cast<int>(code), section, creatureId, event);
    changed = true;
    return 0;
}

void CGameMapObjects::SwitchScreen(u32 screen) {
    view_.keepOnStack = 1;
    view_.pendingScreen = screen;
}

// ---- the view's events and answers ----

void CGameMapObjects::PostDoorPrompt(const CDoorPrompt& prompt) {
    // The event keeps the door by its section, placement id and object index: the queue may outlive
    // the placements' storage.
    auto e = std::make_unique<CGameEvent>();
    e->type = kEventDoorPrompt;
    e->text.Assign(prompt.text.c_str());
    e->targetMap = prompt.section;
    e->x = static_cast<u32>(prompt.x);
    e->y = static_cast<u32>(prompt.y);
    e->args[0] = static_cast<u32>(std::max(0, prompt.open));
    e->args[1] = static_cast<u32>(std::max(0, prompt.disarm));
    e->args[2] = static_cast<u32>(std::max(0, prompt.pick));
    e->args[3] = static_cast<u32>(prompt.kind);
    const CMapObjectTable* table = Table();
    e->args[4] = table ? table->IndexOf(prompt.object) : 65535;
    e->args[5] = prompt.placement ? prompt.placement->id : 0;
    view_.events.push_back(std::move(e));
}

bool CGameMapObjects::DispatchEvent(CGameEvent& e) {
    switch (e.type) {
    case kEventDoorPrompt: break;
    case kEventPlayScene: interactions_.OnPlaySceneEvent(e.name.GetText()); return true;
    case kEventMark: travel_.OnMarkEvent(); return true;
    case kEventRecall: travel_.OnRecallEvent(); return true;
    case kEventTownPortal: travel_.OnTownPortalEvent(); return true;
    case kEventRecharge: travel_.OnRechargeEvent(); return true;
    case kEventEnchant: travel_.OnEnchantEvent(e.value); return true;
    case kEventStealPrompt: {
        // A victim gone since the use (dead, carried off by a script) is asked about no more.
        CMonster* victim = e.targetMap ? e.targetMap->FindMonster(static_cast<u8>(e.args[0])) : nullptr;
        if (!victim) return true;
        stealSection_ = e.targetMap;
        stealVictim_ = victim->id;
        stealing_.OnStealPrompt(e.targetMap, victim, e.args[1]);
        return true;
    }
    case kEventExamine: {
        const CMonster* creature = e.targetMap ? e.targetMap->FindMonster(static_cast<u8>(e.args[0])) : nullptr;
        if (creature) travel_.OnExamineCreatureEvent(e.targetMap, *creature, e.value);
        return true;
    }
    default: return false;
    }
    CDoorPrompt prompt;
    prompt.text = e.text.GetText();
    prompt.section = e.targetMap;
    prompt.x = static_cast<i32>(e.x);
    prompt.y = static_cast<i32>(e.y);
    prompt.open = static_cast<i32>(e.args[0]);
    prompt.disarm = static_cast<i32>(e.args[1]);
    prompt.pick = static_cast<i32>(e.args[2]);
    prompt.kind = static_cast<i32>(e.args[3]);
    const CMapObjectTable* table = Table();
    prompt.object = table ? table->At(e.args[4]) : nullptr;
    prompt.placement = prompt.section && e.args[5] ? prompt.section->FindPlacement(static_cast<u8>(e.args[5])) : nullptr;
    // A door gone with its map asks nothing.
    if (!prompt.placement || !prompt.object) return true;
    interactions_.OnDoorPrompt(prompt);
    return true;
}

void CGameMapObjects::AnswerDoorPrompt(u32 result) {
    switch (result) {
    case CMapInteractions::kOpen: interactions_.OpenTrappedDoor(); break;
    case CMapInteractions::kDisarm: interactions_.DisarmTrap(); break;
    case CMapInteractions::kPick: interactions_.OpenLockPicking(); break;
    default: break;
    }
}

void CGameMapObjects::AnswerStealPrompt(u32 result) {
    CMapSection* section = stealSection_;
    const u8 id = stealVictim_;
    stealSection_ = nullptr;
    stealVictim_ = 0;
    if (result != CButtonBar::kYes || !section) return;
    // The creatures went on while the player made up his mind: the victim is looked up again.
    CMonster* victim = section->FindMonster(id);
    if (!victim) return;
    stealing_.SetVictim(section, victim);
    // A robbed victim that noticed turns round in its own section (a surface piece beside the
    // player's, perhaps).
    alertSection_ = section;
    stealing_.TrySteal();
    alertSection_ = nullptr;
}

IScriptWorld::Target CGameMapObjects::FindByName(const char* name) {
    IScriptWorld::Target target;
    CWorld* world = view_.world;
    if (!world || !name || !*name) return target;
    CMapSection* section = nullptr;
    CPlacement* placement = world->FindMapObjectByName(name, section);
    if (!placement) return target;
    target.place.section = section;
    target.place.where = 1;
    // A creature bound to the placement takes the commands.
    for (const CMonster& m : section->monsters)
        if (placement->id != 0 && m.objectId == placement->id) {
            target.kind = 8;
            i32 wx = -1, wy = -1;
            if (view_.window.SectionToWindowCell(section, m.x, m.y, wx, wy)) {
                target.place.x = wx;
                target.place.y = wy;
            }
            if (CFight* fight = view_.Fight()) target.creature = fight->ScriptView(*section, m.id);
            return target;
        }
    target.kind = 4;
    const u16 index = view_.window.ResolveMapObjectTarget(section, *placement);
    i32 x = -1, y = -1, side = -1, layer = 1;
    if (index != kNoCellIndex && view_.window.LocateMapObject(section, *placement, x, y, side, layer)) {
        target.place.x = x;
        target.place.y = y;
        target.place.side = side;
        target.place.where = layer;
        CMapObjectTable* table = Table();
        if (CMapObject* o = table ? table->At(index) : nullptr) target.mapObject = &Placed(section, o, placement);
        return target;
    }
    // Outside the window the placement still takes the plain commands (open, close, visibility ...).
    target.mapObject = &Placed(section, &plainObject_, placement);
    return target;
}

IScriptMapObject* CGameMapObjects::DefaultObject() {
    if (!defaultObject_) defaultObject_ = std::make_unique<CPlacedMapObject>(&plainObject_, nullptr);
    return defaultObject_.get();
}

void CGameMapObjects::Forget() {
    placed_.clear();
    stealSection_ = nullptr;
    stealVictim_ = 0;
    eventSpell_ = nullptr;
    eventStrength_ = 0;
    pickedDoor_ = CDoorPrompt{};
}

// ---- IMapObjectHost ----

const CRuleContext& CGameMapObjects::GetRules() {
    const CPlayer* player = view_.GetPlayer();
    const CRuleContext* rules = player ? player->GetWorld() : nullptr;
    if (rules) return *rules;
    noRules_.random = view_.random;
    return noRules_;
}

CPlayer& CGameMapObjects::GetPlayer() {
    if (CPlayer* player = view_.GetPlayer()) return *player;
    if (!spare_) spare_ = std::make_unique<CPlayer>();
    return *spare_;
}

void CGameMapObjects::GetPlayerCell(i32& x, i32& y) const {
    x = view_.playerX;
    y = view_.playerY;
}

i32 CGameMapObjects::GetHour() const { return view_.GetHour(); }

bool CGameMapObjects::IsUndergroundMap() const { return view_.section && !view_.section->IsSurface(); }

// The door animation's phase counts the view's animation ticks.
u32 CGameMapObjects::GetAnimationCounter() const { return view_.phaseCount[4]; }

u32 CGameMapObjects::Random(i32 n) {
    if (n < 1 || !view_.random) return 0;
    return view_.random->Next(static_cast<u32>(n));
}

void CGameMapObjects::PlaySound(const char* name, i32 volume) { view_.PlaySound(name, volume); }

void CGameMapObjects::ShowGameMessage(const char* text) {
    if (!text || !*text) return;
    CStr expanded;
    expanded.Assign(text);
    if (CScriptContext* context = view_.GetHost() ? view_.GetHost()->GetScriptContext() : nullptr)
        ExpandTextMacros(*context, expanded);
    view_.ShowGameMessage(expanded.GetText());
}

void CGameMapObjects::PostMessageEvent(const char* text, i32 buttons) {
    view_.PostMessageEvent(text, static_cast<u32>(buttons), nullptr);
}

void CGameMapObjects::PostMapPromptEvent(const char* destination, const char* question, i32 transitionKind,
                                         bool stepBack) {
    view_.PostMapPromptEvent(destination, question, static_cast<u32>(transitionKind), stepBack ? 1 : 0);
}

void CGameMapObjects::ChangeMap(const char* destination, i32 transitionKind) {
    view_.ChangeMap(destination, static_cast<u32>(std::max(0, transitionKind)));
}

void CGameMapObjects::PostKeywordTransitionEvent(const char* destination, i32 transitionKind) {
    view_.PostKeywordTransitionEvent(destination, static_cast<u32>(std::max(0, transitionKind)));
}

void CGameMapObjects::OpenObjectBag(CMapSection* section, CPlacement& placement, i32 x, i32 y) {
    interactions_.OpenObjectBag(section, placement, x, y);
}

// The NPC behind a town door is the one the placement's text names; it receives the player within its
// opening hours.
bool CGameMapObjects::TalkToObjectNpc(CMapSection* section, CPlacement& placement, i32& screen) {
    screen = 0;
    IGameViewHost* host = view_.GetHost();
    const char* id = placement.text;
    CWorldLists* lists = host ? host->GetWorldLists() : nullptr;
    const CNpc* npc = lists && id && *id ? lists->npcs.FindById(id) : nullptr;
    u32 word = 0;
    const u32 code = npc ? host->TalkEntry(id, word) : 0;
    if (code == 0) {
        view_.PostMessageEvent("No answer", 1, nullptr);
        return false;
    }
    if (npc->GetServiceFlags() != 0) {
        const i32 hour = GetHour();
        const bool night = hour < 6 || hour > 21;
        if (night && !(npc->hours & 0x02)) {
            view_.PostMessageEvent("It's closed in the night-time.", 1, nullptr);
            return false;
        }
        if (!night && !(npc->hours & 0x01)) {
            view_.PostMessageEvent("It's closed in the day-time.", 1, nullptr);
            return false;
        }
    }
    view_.entryA = 0;
    view_.entryB = word;
    host->TalkPlace(id, section ? section : view_.section, view_.entryC, view_.entryD);
    screen = static_cast<i32>(code);
    return true;
}

void CGameMapObjects::ShowPlayerHit(i32 damage) { view_.ShowPlayerHit(damage, 0); }

const CSpell* CGameMapObjects::GetEventSpell(i32& strength) {
    strength = eventStrength_;
    return eventSpell_;
}

void CGameMapObjects::CastSpellAtPlayer(const CSpell* spell, i32 strength) {
    CPlayer* player = view_.GetPlayer();
    if (!player) return;
    if (spell) {
        player->ApplySpell(*spell, strength, false, 0, false);
    } else if (strength > 0) {
        player->AddHp(-strength, true);
        view_.ShowPlayerHit(strength, 0);
    }
    view_.UpdateGauges();
}

void CGameMapObjects::ShowPrompt(const char* text, i32 buttons, i32 screenMode) {
    view_.PostMessageEvent(text, static_cast<u32>(buttons), nullptr);
    view_.DispatchEvent(true);
    view_.screenMode = static_cast<u32>(screenMode);
}

void CGameMapObjects::OpenLockPickDialog(const CDoorPrompt& door) {
    if (!door.placement) return;
    pickedDoor_ = door;
    // A trap the picking springs fires the door's trap spell.
    view_.springTrap = [this](u16 word) { interactions_.FireTrap(word, pickedDoor_.object); };
    view_.PickLock(door.placement->level);
}

void CGameMapObjects::OpenMarkRecallDialog(bool mark) {
    view_.OpenModalDialog(CGameViewDialog::kMarkRecall, CGameScreen::kModeMarkRecall, mark ? "mark" : "recall");
}

void CGameMapObjects::OpenEnchantDialog(u16 item, bool recharge) { view_.OpenSpellEnchanting(item, recharge); }

i32 CGameMapObjects::GetFightCountdown() const { return static_cast<i32>(view_.surroundings.fightCountdown); }

CMapSection* CGameMapObjects::GetCurrentSection() { return view_.section; }

CMapSection* CGameMapObjects::FindSectionAt(i32 px, i32 py) {
    if (!view_.world || px < 0 || py < 0) return nullptr;
    return view_.world->FindSectionAt(static_cast<u32>(px), static_cast<u32>(py));
}

void CGameMapObjects::GetPlayerWorldPosition(i32& x, i32& y) const {
    x = view_.world ? static_cast<i32>(view_.world->worldX) : 0;
    y = view_.world ? static_cast<i32>(view_.world->worldY) : 0;
}

i32 CGameMapObjects::CountPeopleNearby() const {
    i32 count = 0;
    for (i32 y = view_.playerY - 2; y <= view_.playerY + 2; ++y)
        for (i32 x = view_.playerX - 2; x <= view_.playerX + 2; ++x) {
            const CMapCell* cell = view_.window.Cell(x, y);
            CMapSection* at = cell ? view_.window.SectorSection(x, y) : nullptr;
            if (!at) continue;
            for (u16 id : cell->creature) {
                const CMonster* m = id && id <= 255 ? at->FindMonster(static_cast<u8>(id)) : nullptr;
                if (m && CCreatures::IsPerson(*m)) ++count;
            }
        }
    return count;
}

// The monster records hold no perception of their own: a creature notices as much as its level.
i32 CGameMapObjects::GetCreaturePerception(const CMonster& creature) const {
    const CMonsterType* type = creature.Type();
    return type ? type->level : 0;
}

bool CGameMapObjects::DescribeCreature(CMapSection*, const CMonster& creature, CCreatureFacts& facts) {
    const CMonsterType* type = creature.Type();
    if (!type) return false;
    facts.name = type->displayName ? type->displayName : (type->GetName() ? type->GetName() : "");
    facts.person = CCreatures::IsPerson(creature);
    facts.level = type->level;
    facts.hp = creature.hp;
    facts.maxHp = static_cast<u32>(std::max(0, CCreatures::MaxHp(creature)));
    facts.xp = type->value;
    facts.perception = static_cast<u32>(GetCreaturePerception(creature));
    return true;
}

i32 CGameMapObjects::AlertStealVictim(CMonster& victim) {
    CFight* fight = view_.Fight();
    CMapSection* section = alertSection_ ? alertSection_ : view_.section;
    if (!fight || !section) return 0;
    fight->people.AlertStealVictim(*section, victim.id);
    return 1;
}

void CGameMapObjects::MakeViewThumbnail() { view_.MakeViewThumbnail(); }

void CGameMapObjects::RegisterChangedCell(CMapSection* section, i32 x, i32 y, i32 side) {
    CScriptContext* context = view_.GetHost() ? view_.GetHost()->GetScriptContext() : nullptr;
    if (context) context->FindOrAddStateRecord(section, 1, x, y, side);
}

void CGameMapObjects::EnterScreen(i32 screen, const CScreenEntry& entry) {
    if (screen == kScreenPanels) {
        // The bag travels through the panel's own entry call: the entry words cannot hold it.
        CItemBag* bag = const_cast<CItemBag*>(static_cast<const CItemBag*>(entry.what));
        if (view_.OpenPanel(entry.mode, bag, 0, 0)) SwitchScreen(kScreenPanels);
        return;
    }
    if (screen == kScreenPages && entry.what) {
        view_.entryA = entry.mode;
        view_.entryB = static_cast<u32>(reinterpret_cast<uintptr_t>(entry.what));
        view_.entryC = view_.entryD = 0;
        SwitchScreen(kScreenPages);
    }
}

bool CGameMapObjects::IsViewBusy() const { return view_.turning || view_.stepping || view_.HasBlockingAction(); }

void CGameMapObjects::OpenWorldMapDialog() { view_.OpenWorldMap(); }

// Page sequences are numbered by the game (the pages screen's entry word): the number stands for the
// sequence, 0 for none.
const void* CGameMapObjects::FindPageSequence(const char* name) {
    IGameViewHost* host = view_.GetHost();
    const u32 number = host && name ? host->FindPageSequence(name) : 0;
    return number ? reinterpret_cast<const void*>(static_cast<uintptr_t>(number)) : nullptr;
}

void CGameMapObjects::SetHandSprites() { view_.SetHandSprites(); }
