// What the player meets through the view's event queue in a running game: the gallery's floor trap and
// its trapped door (noticed, disarmed, or sprung by opening it), the picture of the view a bag opens
// over, the magic the player's spells leave to the view (mark, recall, town portal, enchanting,
// recharging) and the examination of a creature, a person sharing the player's cell, and the steal
// prompt behind a person's back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Game.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/SavedGame.h"
#include "data/Spells.h"
#include "data/World.h"
#include "data/WorldRecords.h"
#include "data/WorldLists.h"
#include "screens/npc/EnchantSelectDialog.h"
#include "screens/panels/MarkRecallDialog.h"
#include "tests/app/PlayRig.h"
#include "ui/ButtonBar.h"
#include "ui/WidgetGameData.h"
#include "ui/ScreenIds.h"
#include "world/Creatures.h"
#include "world/Fight.h"
#include "world/GameCreatures.h"
#include "world/GameMapObjects.h"
#include "world/GameScreen.h"
#include "world/MapDoors.h"
#include "world/MapInteractions.h"
#include "world/MapObject.h"

namespace {

using testing_support::kNorth;
using testing_support::kSouth;
constexpr u32 kForwardKey = 38;

using testing_support::PlayRig;

struct EventRig : PlayRig {
    CPlayer& Player() { return Game()->player; }
    // Whether any queued message holds the text.
    bool Queued(const std::string& text) const {
        for (const auto& e : View()->events)
            if (e->type == kEventMessage && std::string(e->text.GetText()).find(text) != std::string::npos)
                return true;
        return false;
    }
    // The text of the message box that shows ("" when none): the next queued event is dispatched
    // first.
    std::string ShownMessage() {
        for (int i = 0; i < 5 && View()->screenMode == CGameScreen::kModeNormal && !View()->events.empty(); ++i)
            Tick(30);
        if (View()->screenMode != CGameScreen::kModeMessage && View()->screenMode != CGameScreen::kModeStealPrompt &&
            View()->screenMode != CGameScreen::kModeDoorPrompt)
            return "";
        return View()->messageText.GetText();
    }
    // A spell of one effect of the kind, applied to the player as his own casting would.
    void CastOnPlayer(u8 kind, i16 amount = 0) {
        CSpell spell;
        auto* effect = new CEffect;
        effect->kind = kind;
        effect->amount = amount;
        spell.effects.Add(effect);
        Player().ApplySpell(spell, 50, true, 0, false);
    }
    // Ticks until the view has handled its queue (or a dialog stops it).
    void Dispatch() {
        for (int i = 0; i < 10 && !View()->events.empty() && View()->screenMode == CGameScreen::kModeNormal &&
                        !View()->modalChild;
             ++i)
            Tick(30);
    }
};

// ---- traps ----

// The gallery's floor trap, walked onto: its blades strike (damage level 2 less the armour) and the
// hit shows; a trap that is disabled (its closed bit) lets the player pass unharmed.
TEST(TrapsInPlay, TheFloorTrapStrikesWhoWalksOntoIt) {
    EventRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    CPlacement* trap = rig.Placement("base_gallery42");
    ASSERT_NE(trap, nullptr);
    CPlayer& player = rig.Player();
    const i32 armour = player.GetArmorClass(nullptr, 1);
    ASSERT_LT(armour, 20) << "a new player's armour stops less than the trap's blades";

    for (bool disabled : {false, true}) {
        SCOPED_TRACE(disabled ? "disabled" : "armed");
        trap->flags = static_cast<u8>(disabled ? (trap->flags | mapobject::kClosed) : (trap->flags & ~mapobject::kClosed));
        player.hp = player.GetMaxHp();
        const i32 before = player.hp;
        view->events.clear();
        rig.PlaceAt(trap->x, trap->y + 1, kNorth);
        rig.Key(kForwardKey);
        rig.SettleView();
        ASSERT_EQ(view->playerX, trap->x);
        ASSERT_EQ(view->playerY, trap->y) << "the trap does not block";
        if (disabled) {
            EXPECT_EQ(player.hp, before);
            EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal) << view->messageText.GetText();
        } else {
            const i32 damage = 20 - armour;
            EXPECT_EQ(player.hp, before - damage);
            EXPECT_EQ(view->hpGauge, player.hp * 100 / player.GetMaxHp()) << "the hit shows on the gauge";
            EXPECT_EQ(rig.ShownMessage(), "Your hp has been decreased by " + std::to_string(damage) + ".");
            rig.CloseMessage();
        }
    }
}

// The gallery's trapped door (opened by hand, its trap a fireball of level 2): a player skilled enough
// to notice it gets the door prompt with Open and Disarm; Disarm by a practised hand clears the trap
// and says so, a clumsy one springs it; Open springs it and the door opens.
TEST(TrapsInPlay, TheTrappedDoorIsNoticedAndDisarmedOrSprung) {
    EventRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    CPlacement* door = rig.Placement("base_gallery20");
    ASSERT_NE(door, nullptr);
    CPlayer& player = rig.Player();
    const u16 trapped = door->level;
    ASSERT_EQ(mapobject::TrapLevel(trapped), 2);

    struct Case {
        const char* what;
        i32 disarm;    // the player's Disarm skill
        u32 answer;    // the prompt's button
        bool hurt;     // the fireball lands
        bool cleared;  // the trap is gone afterwards
        bool opens;    // the door starts to open
        const char* message;
    };
    // Difficulty 20: a skill of 7 notices it (7 >= 20 / 3) but rolls 6; a skill of 100 rolls 90..109.
    const Case cases[] = {
        {"disarmed", 100, CMapInteractions::kDisarm, false, true, false, "You have disarmed the door."},
        {"clumsy", 7, CMapInteractions::kDisarm, true, false, false, nullptr},
        {"opened", 100, CMapInteractions::kOpen, true, false, true, nullptr},
        {"cancelled", 100, CMapInteractions::kCancel, false, false, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        door->level = trapped;
        door->flags = mapobject::kVisible | mapobject::kClosed;
        player.skills[kSkillDisarm] = static_cast<u8>(c.disarm);
        player.hp = player.GetMaxHp();
        view->UpdateGauges();
        view->events.clear();
        rig.PlaceAt(door->x, door->y + 1, kNorth);
        rig.Use();
        const std::string prompt = rig.ShownMessage();
        ASSERT_EQ(view->screenMode, CGameScreen::kModeDoorPrompt);
        EXPECT_EQ(prompt.rfind("The door seems to be trapped.", 0), 0u) << prompt;
        EXPECT_EQ(prompt.find("may not be enough") != std::string::npos, c.disarm < 20) << prompt;
        EXPECT_EQ(view->messageOptions,
                  static_cast<u32>(CMapInteractions::kCancel | CMapInteractions::kOpen | CMapInteractions::kDisarm));
        view->OnCommand(c.answer);
        EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
        EXPECT_EQ(player.hp < player.GetMaxHp(), c.hurt) << player.hp;
        EXPECT_EQ(mapobject::TrapLevel(door->level) == 0, c.cleared);
        EXPECT_EQ((door->flags & mapobject::kOpening) != 0, c.opens);
        if (c.message) {
            EXPECT_TRUE(rig.Queued(c.message));
        }
        // The fireball's burn shows as a hit: the hurt display runs and the gauge follows.
        EXPECT_EQ(view->Fight()->actions.HasKind(kActionPlayerHit), c.hurt);
        EXPECT_EQ(view->hpGauge, player.hp * 100 / player.GetMaxHp());
        EXPECT_EQ(mapobject::LockLevel(door->level), mapobject::LockLevel(trapped)) << "the lock is not touched";
    }
    // A door without its trap opens by hand at once.
    view->events.clear();
    door->flags = mapobject::kVisible | mapobject::kClosed;
    mapobject::SetTrapLevel(door->level, 0);
    rig.PlaceAt(door->x, door->y + 1, kNorth);
    rig.Use();
    EXPECT_NE(door->flags & mapobject::kOpening, 0);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
}

// ---- the view's picture ----

// The chest's bag opens over a picture of the view kept at that moment; the panel drawn over the
// view does not get into the picture a save then takes; a reset game has no picture of the old one.
TEST(ViewPictureInPlay, OpeningAChestKeepsThePictureOfTheView) {
    EventRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    rig.PlaceAt(12, 1, kNorth);  // before the gallery's chest
    const std::vector<u16> black(savegame::kThumbnailPixels, 0);
    std::vector<u16> before(savegame::kThumbnailPixels);
    rig.Game()->MakeThumbnail(before.data());
    ASSERT_NE(before, black);

    std::fill(view->viewThumbnail.begin(), view->viewThumbnail.end(), u16(0));
    rig.Use();
    rig.Tick(30);
    ASSERT_NE(rig.Current(), view) << "the panels show the chest's bag";
    EXPECT_EQ(view->viewThumbnail, before) << "kept when the bag opened";
    rig.Tick(30);
    std::vector<u16> saved(savegame::kThumbnailPixels);
    rig.Game()->MakeThumbnail(saved.data());
    EXPECT_EQ(saved, before) << "the view, not the panel over it";
    rig.Game()->SwitchScreen(kScreenBack);

    rig.Game()->ResetGameViewState();
    EXPECT_EQ(view->viewThumbnail, black);
    rig.Game()->MakeThumbnail(saved.data());
    EXPECT_EQ(saved, black);
}

// The built world's potions name their visual effect record (text 6): drunk, its pictures play over
// the player's portrait, one every 100 ms in the record's order, and the portrait shows alone again
// after the last; a potion without one, or naming one the world lacks, shows nothing.
TEST(ViewPictureInPlay, ADrunkPotionPlaysItsEffectOverThePortrait) {
    EventRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    CWorldLists* lists = rig.Game()->GetWorldLists();
    auto* potion = const_cast<CItemType*>(lists->items.FindItemType("base_phealsmall"));
    ASSERT_NE(potion, nullptr);
    const char* own = potion->texts[2];
    const CPictureSet* effect = lists->pictureSets.FindById(own);
    ASSERT_NE(effect, nullptr) << "the potion names a record the world has";
    ASSERT_GE(effect->pictureIndices.size(), 2u);

    struct Case {
        const char* record;
        bool plays;
    };
    for (const Case& c : {Case{own, true}, Case{nullptr, false}, Case{"bres_nosuchset", false}}) {
        SCOPED_TRACE(c.record ? c.record : "none");
        potion->texts[2] = c.record;
        rig.Player().AddItemCopies(1, *potion);
        CItemInstance* drunk = rig.Player().items.back().get();
        ASSERT_EQ(drunk->type, potion);
        ASSERT_TRUE(view->DrinkSelected(drunk));
        std::vector<const CRecordHolder*> shown;
        for (int i = 0; i < 20; ++i) {
            rig.Tick(50);
            if (view->portrait.secondPicture && (shown.empty() || shown.back() != view->portrait.secondPicture))
                shown.push_back(view->portrait.secondPicture);
        }
        EXPECT_EQ(view->portrait.secondPicture, nullptr) << "the portrait alone after the last picture";
        if (!c.plays) {
            EXPECT_TRUE(shown.empty());
            continue;
        }
        std::vector<const CRecordHolder*> expected;
        for (u32 index : effect->pictureIndices) expected.push_back(WidgetGameData().PictureAt(index));
        ASSERT_EQ(std::count(expected.begin(), expected.end(), nullptr), 0) << "the record's pictures exist";
        EXPECT_EQ(shown, expected);
    }
    potion->texts[2] = own;
}

// ---- the magic the spells leave to the view ----

// A mark spell opens the mark dialog over the view; a map that denies marking, or teleport magic,
// refuses it with its message. Recall without a marked place refuses; with one the dialog opens.
TEST(SpellEventsInPlay, MarkAndRecallOpenTheirDialogOrRefuse) {
    EventRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    CMapSection* map = view->section;
    ASSERT_NE(map, nullptr);
    const u16 flags = map->flags;

    struct Case {
        u16 mapFlags;
        u8 kind;  // 46 mark, 47 recall
        const char* refusal;
    };
    const Case cases[] = {
        {0, 47, "You haven't marked any positions to recall."},
        {0x0008, 46, "Mark is denied on this map."},
        {0x0008 | 0x0400, 46, "Mark is denied on this map."},
        {0x0400, 46, "Teleport magic is denied on this map."},
        {0x0400, 47, "Teleport magic is denied on this map."},
        {0, 46, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mapFlags << " " << int(c.kind));
        map->flags = static_cast<u16>(flags | c.mapFlags);
        rig.CastOnPlayer(c.kind);
        ASSERT_FALSE(view->events.empty()) << "the spell posts its event";
        EXPECT_EQ(view->events.back()->type, c.kind == 46 ? kEventMark : kEventRecall);
        if (c.refusal) {
            EXPECT_EQ(rig.ShownMessage(), c.refusal);
            rig.CloseMessage();
            continue;
        }
        rig.Dispatch();
        EXPECT_EQ(view->screenMode, CGameScreen::kModeMarkRecall);
        auto* dialog = dynamic_cast<CMarkRecallDialog*>(view->modalChild);
        ASSERT_NE(dialog, nullptr);
        // The first slot takes the current place and the dialog goes with its OK.
        dialog->slots.selection = 0;
        dialog->OnCommand(CMarkRecallDialog::kOk);
        EXPECT_NE(view->modalChild, dialog) << "the dialog went";
        EXPECT_EQ(rig.ShownMessage(), "Position has been marked.");
        rig.CloseMessage();
        EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    }
    map->flags = flags;
    ASSERT_TRUE(rig.Player().HasMarkedPosition());
    const i32 markedX = view->playerX, markedY = view->playerY;

    // Elsewhere, the recall opens its dialog; the marked slot takes the player back.
    rig.PlaceAt(markedX, markedY + 1, kSouth);
    ASSERT_NE(view->playerY, markedY);
    view->events.clear();
    rig.CastOnPlayer(47);
    rig.Dispatch();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeMarkRecall);
    auto* dialog = dynamic_cast<CMarkRecallDialog*>(view->modalChild);
    ASSERT_NE(dialog, nullptr);
    dialog->slots.selection = 0;
    dialog->OnCommand(CMarkRecallDialog::kOk);
    for (int i = 0; i < 40 && view->playerY != markedY; ++i) rig.Tick(30);
    rig.SettleView();
    EXPECT_EQ(view->playerX, markedX);
    EXPECT_EQ(view->playerY, markedY);
}

// The town portal looks for a town in the rings of vale pieces around the player's own piece and
// takes him to the town's arrival place with the teleport; without a town in reach, or on a map that
// denies teleport magic, it fails and the player stays.
TEST(SpellEventsInPlay, TheTownPortalFindsTheNearestTown) {
    EventRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    CWorld* world = rig.Game()->worlds->Current();
    CMapSection* meadow = world->FindSectionByName("base_s0102");
    CMapSection* town = world->FindSectionByName("base_s0202");
    ASSERT_NE(meadow, nullptr);
    ASSERT_NE(town, nullptr);
    ASSERT_NE(town->flags & 0x0200, 0) << "the town is one the portal reaches";
    const CPlacement* arrival = town->FindPlacementByName("base_s0202townportal");
    ASSERT_NE(arrival, nullptr) << "the town has its arrival place";
    view->EnterMapAt(world, meadow, 10, 10, 0);
    rig.Calm();
    ASSERT_EQ(view->section, meadow);

    const u16 townFlags = town->flags, meadowFlags = meadow->flags;
    const struct {
        u16 town, meadow;
        const char* refusal;
    } refusals[] = {
        {static_cast<u16>(townFlags & ~0x0200), meadowFlags, "Teleport failed."},
        {townFlags, static_cast<u16>(meadowFlags | 0x0400), "Teleport magic is denied on this map."},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.refusal);
        town->flags = r.town;
        meadow->flags = r.meadow;
        rig.CastOnPlayer(48);
        EXPECT_EQ(rig.ShownMessage(), r.refusal);
        rig.CloseMessage();
        EXPECT_EQ(view->section, meadow);
    }
    town->flags = townFlags;
    meadow->flags = meadowFlags;

    rig.CastOnPlayer(48);
    rig.Dispatch();
    for (int i = 0; i < 40 && view->section == meadow; ++i) rig.Tick(30);
    rig.SettleView();
    EXPECT_EQ(view->section, town);
    EXPECT_EQ(view->playerX, arrival->x + 7);
    EXPECT_EQ(view->playerY, arrival->y + 7);
}

// The enchanting and recharging spells open the item selection over the view (the world stands
// still), which its close button takes down; while a fight is on they refuse.
TEST(SpellEventsInPlay, EnchantingAndRechargingOpenTheSelectionOutsideAFight) {
    EventRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    struct Case {
        u8 kind;  // 49 recharge, 50 enchant
        u32 fight;
        const char* refusal;
    };
    const Case cases[] = {
        {49, 4, "You cannot recharge wands when there might be immediate threat."},
        {50, 2, "You cannot enchant items when there might be immediate threat."},
        {49, 0, nullptr},
        {50, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.kind) << " " << c.fight);
        rig.CastOnPlayer(c.kind, 30);
        ASSERT_FALSE(view->events.empty());
        EXPECT_EQ(view->events.back()->type, c.kind == 49 ? kEventRecharge : kEventEnchant);
        view->surroundings.fightCountdown = c.fight;
        view->DispatchEvent(false);
        if (c.refusal) {
            view->surroundings.fightCountdown = 0;
            EXPECT_EQ(rig.ShownMessage(), c.refusal);
            rig.CloseMessage();
            continue;
        }
        EXPECT_EQ(view->screenMode, CGameScreen::kModeEnchant);
        auto* selection = dynamic_cast<CEnchantSelectDialog*>(view->modalChild);
        ASSERT_NE(selection, nullptr);
        const u32 clock = view->gameClock.minutes;
        rig.Tick(30);
        EXPECT_EQ(view->gameClock.minutes, clock);
        EXPECT_EQ(view->screenMode, CGameScreen::kModeEnchant) << "the selection stays until closed";
        selection->OnCommand(CEnchantSelectDialog::kClose);
        rig.Tick(30);
        EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
        EXPECT_EQ(view->modalChild, nullptr);
    }
}

// A creature hit by an examining spell is described in a message that tells more the stronger the
// spell; a second examination while one waits is dropped.
TEST(SpellEventsInPlay, AnExaminedCreatureIsDescribed) {
    EventRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CFight* fight = view->Fight();
    ASSERT_NE(fight, nullptr);
    CMapSection* map = view->section;
    ASSERT_FALSE(map->monsters.empty()) << "the start map has its creatures";
    CMonster& creature = map->monsters.front();
    const CMonsterType* type = creature.Type();
    ASSERT_NE(type, nullptr);
    ASSERT_FALSE(CCreatures::IsPerson(creature));

    auto examine = [&](i16 power) {
        CSpell spell;
        auto* effect = new CEffect;
        effect->kind = 43;
        effect->amount = power;
        spell.effects.Add(effect);
        CCreatureEvent event;
        event.spell = &spell;
        event.strength = 0;
        fight->creatures.RaiseEvent(16, *map, creature.id, event);
    };
    view->events.clear();
    examine(10);
    examine(60);
    ASSERT_EQ(view->events.size(), 1u) << "one examination at a time";
    EXPECT_EQ(view->events.front()->value, 10);
    view->DispatchEvent(false);
    const std::string brief = rig.ShownMessage();
    const std::string name = type->displayName ? type->displayName : type->GetName();
    EXPECT_EQ(brief.rfind(name + "\rLevel: ", 0), 0u) << brief;
    EXPECT_EQ(brief.find("Xp:"), std::string::npos) << brief;
    rig.CloseMessage();

    view->events.clear();
    examine(60);
    view->DispatchEvent(false);
    const std::string full = rig.ShownMessage();
    EXPECT_NE(full.find("Xp: "), std::string::npos) << full;
    EXPECT_NE(full.find("Active effects:"), std::string::npos) << full;
}

// ---- a person in the player's own cell ----

// The card player shares the player's cell: on the side the player looks at he is the target (no
// health bar, a person) and takes the use, which starts the talk; behind the player's back he is
// neither, and the use goes to the cell in front.
TEST(PeopleInPlay, APersonInTheOwnCellCountsOnlyOnTheFacedSide) {
    EventRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    ASSERT_TRUE(view->ChangeMap("base_town_arrive", 0));
    rig.SettleView();
    rig.PlaceAt(9, 11, kSouth);  // where he sits
    const CMapCell* cell = view->window.Cell(view->playerX, view->playerY);
    ASSERT_NE(cell, nullptr);
    ASSERT_NE(cell->creature[0], 0);
    CMonster* fenn = view->section->FindMonster(static_cast<u8>(cell->creature[0]));
    ASSERT_NE(fenn, nullptr);
    ASSERT_NE(view->creatures, nullptr);
    CCellObject* sprite = view->creatures->SpriteOf(*fenn);
    ASSERT_NE(sprite, nullptr);
    const std::string name = fenn->Type()->displayName;

    const struct {
        i32 facing;
        u16 x, y;
        bool faced;
    } cases[] = {
        {0, 0x8000, 0x4000, true},   {0, 0x8000, 0xC000, false}, {90, 0x4000, 0x8000, true},
        {90, 0xC000, 0x8000, false}, {180, 0x8000, 0xC000, true}, {180, 0x8000, 0x4000, false},
        {270, 0xC000, 0x8000, true}, {270, 0x4000, 0x8000, false}, {0, 0x8000, 0x8000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.facing << " " << c.x << " " << c.y);
        view->facing = view->targetFacing = c.facing;
        sprite->x = static_cast<i16>(c.x);
        sprite->y = static_cast<i16>(c.y);
        view->UpdateTarget();
        const bool named = view->targets[0].visible && name == view->targets[0].name.GetText();
        EXPECT_EQ(named, c.faced);
        if (named) {
            EXPECT_FALSE(view->targets[0].bar);
        }
    }

    auto talks = [&] {
        for (const auto& e : view->events)
            if (e->type == kEventTalk) return true;
        return false;
    };
    view->facing = view->targetFacing = kSouth;  // his face: he looks north
    for (bool faced : {true, false}) {
        SCOPED_TRACE(faced);
        sprite->x = static_cast<i16>(0x8000);
        sprite->y = static_cast<i16>(faced ? 0xC000 : 0x4000);
        view->events.clear();
        view->UseInFront(-1, 0);
        EXPECT_EQ(talks(), faced);
    }
}

// ---- stealing ----

// Behind the card player's back the use key asks whether to steal, with the chance; No leaves him
// be; Yes either takes one of his things or makes the player a criminal, never both.
TEST(StealingInPlay, BehindAPersonsBackTheUseKeyOffersToSteal) {
    EventRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    ASSERT_TRUE(view->ChangeMap("base_town_arrive", 0));
    rig.SettleView();
    CFight* fight = view->Fight();
    ASSERT_NE(fight, nullptr);
    CPlayer& player = rig.Player();

    for (u32 answer : {CButtonBar::kNo, CButtonBar::kYes}) {
        SCOPED_TRACE(answer);
        // He sits at (9, 11) facing north: the player stands south of him and looks at his back.
        rig.PlaceAt(9, 12, kNorth);
        const CMapCell* cell = view->window.Cell(view->playerX, view->playerY - 1);
        ASSERT_NE(cell, nullptr);
        CMonster* fenn = cell->creature[0] ? view->section->FindMonster(static_cast<u8>(cell->creature[0])) : nullptr;
        ASSERT_NE(fenn, nullptr);
        view->events.clear();
        rig.Use();
        const std::string prompt = rig.ShownMessage();
        ASSERT_EQ(view->screenMode, CGameScreen::kModeStealPrompt) << prompt;
        EXPECT_NE(prompt.find("Do you try to steal (chance: "), std::string::npos) << prompt;

        const u32 crime = player.crime;
        const size_t items = player.items.size();
        const CItemBag* bag = fenn->bagId ? view->section->bags.FindBagById(fenn->bagId) : nullptr;
        const i32 his = bag ? bag->GetItemCount() : 0;
        const u16 practice = player.skillUse[kSkillStealth];
        view->OnCommand(answer);
        EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
        if (answer == CButtonBar::kNo) {
            EXPECT_EQ(player.crime, crime);
            EXPECT_EQ(player.items.size(), items);
            EXPECT_EQ(player.skillUse[kSkillStealth], practice);
            continue;
        }
        EXPECT_EQ(player.skillUse[kSkillStealth], std::min<u16>(practice + 1, 255));
        const bool caught = player.crime == std::min<u32>(crime + 2, 1000) && player.crime != crime;
        const bool stole = player.items.size() == items + 1;
        EXPECT_NE(caught, stole || rig.Queued("There's nothing to steal!"));
        if (stole) {
            EXPECT_EQ(bag->GetItemCount(), his - 1);
        }
        if (caught) {
            EXPECT_TRUE(rig.Queued("You failed!"));
        }
    }
}

}  // namespace
