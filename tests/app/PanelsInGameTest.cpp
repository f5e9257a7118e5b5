// The panel screen as a player reaches it from the game view of a new game: the portrait's tap or the
// inventory key opens the player's items beside the bag of the player's cell, a tap low in the view
// looks into a bag lying there, the tabs lead to the character and journal pages, and closing gives
// the view back as it was. What the player does there goes through taps on the screens' own widgets:
// loot taken, worn and dropped, a potion drunk from the view, points spent after a level, a quest read,
// a potion brewed and a weapon mended with the player's own tools, a place marked and recalled to, a
// spell put into a wand and cast from it, a lasting potion on the effects page, and a first evening
// played through in one game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/Game.h"
#include "app/GameViewDialogs.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "screens/npc/TradeRules.h"
#include "screens/npc/AlchemyDialog.h"
#include "screens/npc/CraftRules.h"
#include "screens/npc/EnchantDialog.h"
#include "screens/npc/EnchantSelectDialog.h"
#include "screens/npc/EnchantSpellEntryDialog.h"
#include "screens/npc/NpcServiceRules.h"
#include "screens/npc/PotionDialog.h"
#include "screens/npc/RepairDialog.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/ShopScreen.h"
#include "screens/panels/MarkRecallDialog.h"
#include "screens/panels/PanelScreen.h"
#include "screens/panels/SpellBookDialog.h"
#include "data/Spells.h"
#include "tests/app/NewGameRig.h"
#include "tests/app/PlayRig.h"
#include "tests/support/Png.h"
#include "ui/Draw.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetHelpers.h"
#include "world/GameScreen.h"
#include "world/MapObject.h"
#include "world/MapInteractions.h"
#include "screens/npc/TrainingDialog.h"
#include "screens/npc/SmithRepairDialog.h"
#include "screens/npc/LockPickDialog.h"

namespace {

constexpr u16 kHudGroup = 43;
constexpr u32 kPortrait = 36;
constexpr u32 kPotionButton = 546;

struct PanelPlayRig : testing_support::PlayRig {
    CPanelScreen* Panel() const { return Game()->GetPanelScreen(); }
    CPlayer& Player() const { return Game()->GetPlayer(); }
    const CItemType* Type(const char* id) const { return Game()->worldLists->items.FindItemType(id); }
    CItemInstance* Give(const char* id, int count = 1) {
        const CItemType* type = Type(id);
        return type ? Player().AddItemCopies(count, *type) : nullptr;
    }
    bool TapElement(u16 group, u32 element) {
        const bool ok = TapLayoutElement(group, element);
        Tick(30);
        return ok;
    }
    bool OpenFromPortrait() {
        if (!TapElement(kHudGroup, kPortrait)) return false;
        Tick(30);
        return Current() == Panel();
    }
    // A tap in the lowest tenth of the 3D view, where the bag lying in the player's cell is picked up.
    void TapLowInView() {
        const CWidget& v = View()->viewWidget;
        Tap(v.x + v.w / 2, v.y + v.h - v.h / 20);
        Tick(30);
        Tick(30);
    }
    void ClosePanel() {
        TapWidget(Panel()->closeButton);
        Tick(30);
    }
    // A cell of the inventory grid: its middle selects (or takes), its top-left corner is the wear mark.
    void TapCell(int index, bool corner = false) {
        const CItemList& list = Panel()->inventory.list;
        i32 cx = 0, cy = 0;
        ASSERT_TRUE(list.CellOf(index, cx, cy)) << "entry " << index << " is on the page shown";
        if (corner)
            Tap(cx + 3, cy + 3);
        else
            Tap(cx + list.cellWidth / 2, cy + list.cellHeight / 2);
        Tick(30);
    }
    int EntryOf(const CItemType* type) const {
        const auto& entries = Panel()->inventory.lists.GetEntries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].item && entries[i].item->type == type) return static_cast<int>(i);
        return -1;
    }
    bool Carries(const CItemInstance* item) const {
        for (const auto& owned : Player().items)
            if (owned.get() == item) return true;
        return false;
    }
    // Ysolde's enchanting service, the item chosen in its selection and Use tapped: the services
    // screen, or null (with the failure said) when a step does not come.
    CServicesScreen* ChooseAtEnchanter(const CItemInstance* item) {
        auto* services = dynamic_cast<CServicesScreen*>(TalkTo("Ysolde"));
        if (!services || !TapService(*services, kServicesEnchant)) {
            ADD_FAILURE() << "the enchanter's service does not open";
            return nullptr;
        }
        CEnchantSelectDialog& selection = services->enchanting.selection;
        int row = -1;
        for (int i = 0; services->modalChild == &selection && i < selection.items.GetCount(); ++i)
            if (selection.ItemOfRow(i) == item) row = i;
        if (row < 0) {
            ADD_FAILURE() << "the item is not offered";
            return nullptr;
        }
        selection.items.selection = row;
        TapWidget(selection.useButton);
        Tick(30);
        return services;
    }
    // Reads a book from the inventory page as the player does: selected, Use, the notice's Ok, the
    // reader closed.
    void ReadFromInventory(const CItemInstance& book) {
        CPanelScreen& panel = *Panel();
        panel.inventory.Refresh(false);
        TapCell(EntryOf(book.type));
        TapWidget(panel.inventory.useButton);
        Key(32);
        Tick(30);
        TapWidget(panel.reader.closeButton);
    }
    // The spell key opens the book; the spell's school page, its row chosen, the key again casts it.
    // False when the book does not offer it.
    bool CastFromBook(const CSpell& spell) {
        Key('C');
        Tick(30);
        CSpellBookDialog& book = Game()->GetViewDialogs().spellBook;
        if (View()->modalChild != &book) return false;
        book.OnCommand(CSpellBookDialog::kFirstTab + static_cast<u32>(spell.school) - 1);
        for (i32 i = 0; i < book.entries.GetCount(); ++i) {
            book.entries.selection = i;
            if (book.GetSelectedSpell() == &spell) {
                Key('C');
                Tick(30);
                return true;
            }
        }
        return false;
    }
    // The Ok of every message the view shows, then the view idle.
    void CloseMessages() {
        for (int i = 0; i < 10; ++i) {
            SettleView();
            if (View()->screenMode != CGameScreen::kModeMessage) break;
            Key(32);
            Tick(30);
        }
        SettleView();
    }
    // The view's potion button, the potion of that type chosen in its list and drunk; false when the
    // list does not offer it.
    bool DrinkFromView(const CItemType* type) {
        if (!TapElement(kHudGroup, kPotionButton)) return false;
        Tick(30);
        auto* potions = dynamic_cast<CPotionDialog*>(View()->modalChild);
        if (!potions) return false;
        // A row's key is the potion's place among the carried items.
        for (i32 i = 0; i < potions->potions.GetCount(); ++i) {
            const int index = std::atoi(potions->potions.GetItem(i)->key.GetText());
            if (index >= 0 && index < static_cast<int>(Player().items.size()) &&
                Player().items[static_cast<size_t>(index)]->type == type) {
                potions->potions.selection = i;
                TapWidget(potions->drinkButton);
                return View()->modalChild == nullptr;
            }
        }
        return false;
    }
    // Ticks until a dialog shows over the view or the view is idle without one.
    CForm* TickUntilDialog() {
        for (int i = 0; i < 120 && !View()->modalChild; ++i) Tick(30);
        Tick(30);  // a dialog takes taps from the tick after the one it opened in
        return View()->modalChild;
    }
    // A bag on the ground of the player's cell holding the items, as a fallen creature leaves one.
    CItemBag* DropBagHere(std::initializer_list<const char*> ids) {
        CGameScreen* view = View();
        CMapSection* at = nullptr;
        i32 sx = 0, sy = 0;
        if (!view->window.WindowToSectionCell(view->playerX, view->playerY, at, sx, sy) || !at) return nullptr;
        CItemBag* bag = at->bags.CreateBag(0);
        if (!bag) return nullptr;
        for (const char* id : ids)
            if (const CItemType* type = Type(id)) bag->AddItem(CreateItemInstance(*type, -1, Game()->random.get()));
        view->window.PutBagInCell(at, sx, sy, *bag);
        return bag;
    }
};

// Where the view stood: the panel must give it back unchanged.
struct ViewPose {
    CMapSection* section;
    i32 x, y, facing;
    u32 minutes;
    bool operator==(const ViewPose&) const = default;
};
ViewPose PoseOf(const CGameScreen& view) {
    return {view.section, view.playerX, view.playerY, view.facing, view.gameClock.Minutes()};
}

TEST(PanelsInGame, ThePortraitAndTheKeyOpenTheItemsAndTheViewComesBackAsItWas) {
    PanelPlayRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    const ViewPose before = PoseOf(*view);
    CMapSection* here = nullptr;
    i32 sx = 0, sy = 0;
    ASSERT_TRUE(view->window.WindowToSectionCell(view->playerX, view->playerY, here, sx, sy));
    const int bags = here->bags.Count();

    ASSERT_TRUE(rig.OpenFromPortrait());
    CPanelScreen& panel = *rig.Panel();
    EXPECT_EQ(panel.state.page, CPanelScreen::kInventory);
    EXPECT_EQ(panel.HostedPage(), &panel.inventory);
    EXPECT_EQ(panel.showContainer, 0u);
    EXPECT_FALSE(panel.inventory.lists.IsShowingContainer());
    // The bag beside the player's items is the one made in the player's cell for what is dropped.
    ASSERT_NE(panel.container, nullptr);
    const CMapCell* cell = view->window.Cell(view->playerX, view->playerY);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->bag, panel.container->id);
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_inventory_from_view", rig.Capture()));

    // Every page set and character sub-page is one tap away on the tab bars.
    struct Step {
        u32 tab;
        u32 page, characterPage;
        CForm* hosted;
    } steps[] = {
        {CPanelScreen::kTabCharacter, CPanelScreen::kCharacter, 0, &panel.sheet},
        {CPanelScreen::kCharacterSkills, CPanelScreen::kCharacter, 1, &panel.skills},
        {CPanelScreen::kCharacterAbilities, CPanelScreen::kCharacter, 2, &panel.bundle},
        {CPanelScreen::kCharacterDiseases, CPanelScreen::kCharacter, 3, &panel.bundle},
        {CPanelScreen::kCharacterEffects, CPanelScreen::kCharacter, 4, &panel.effects},
        {CPanelScreen::kTabQuests, CPanelScreen::kQuests, 4, &panel.quests},
        {CPanelScreen::kTabSpells, CPanelScreen::kSpells, 4, &panel.spells},
        {CPanelScreen::kTabInventory, CPanelScreen::kInventory, 4, &panel.inventory},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.tab);
        const CWidget* button = nullptr;
        if (s.tab >= CPanelScreen::kTabInventory && s.tab <= CPanelScreen::kTabSpells)
            button = &panel.tabs[s.tab - CPanelScreen::kTabInventory];
        for (const CTextLink& link : panel.characterTabs)
            if (link.commandId == s.tab) button = &link;
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->IsShown());
        rig.TapWidget(*button);
        EXPECT_EQ(panel.state.page, s.page);
        EXPECT_EQ(panel.state.characterPage, s.characterPage);
        EXPECT_EQ(panel.HostedPage(), s.hosted);
    }

    // Close: the view is current again where it was, idle and without a dialog.
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);
    EXPECT_EQ(PoseOf(*view), before);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    EXPECT_EQ(view->modalChild, nullptr);
    EXPECT_FALSE(view->IsBusy());
    // The bag made for drops went again empty: opening the items leaves no bag behind.
    EXPECT_EQ(cell->bag, 0);
    EXPECT_EQ(here->bags.Count(), bags);

    // The inventory key opens it the same way; Escape is the close button's key.
    rig.Tick(30);
    rig.Key('I');
    rig.Tick(30);
    ASSERT_EQ(rig.Current(), &panel);
    EXPECT_EQ(panel.state.page, CPanelScreen::kInventory);
    ASSERT_NE(panel.container, nullptr);
    EXPECT_EQ(panel.container->id, cell->bag);
    // Something dropped keeps the bag on the ground.
    ASSERT_FALSE(rig.Player().items.empty());
    CItemInstance* dropped = nullptr;
    for (const auto& item : rig.Player().items)
        if (!dropped && std::find(std::begin(rig.Player().equipment), std::end(rig.Player().equipment),
                                  item.get()) == std::end(rig.Player().equipment))
            dropped = item.get();
    ASSERT_NE(dropped, nullptr);
    rig.TapCell(rig.EntryOf(dropped->type));
    rig.TapWidget(panel.inventory.dropButton);
    ASSERT_GE(panel.container->GetItemCount(), 1);
    const u16 kept = cell->bag;
    rig.Key(27);
    rig.Tick(30);
    ASSERT_EQ(rig.Current(), view);
    EXPECT_EQ(PoseOf(*view), before);
    EXPECT_EQ(cell->bag, kept);
    EXPECT_EQ(here->bags.Count(), bags + 1);

    // A view that is busy (a step or a turn running) does not open it.
    view->busy = 1;
    rig.Tick(30);
    rig.Key('I');
    rig.Tick(30);
    EXPECT_EQ(rig.Current(), view);
    view->busy = 0;
}

TEST(PanelsInGame, LootIsTakenWornAndDroppedAndAPotionIsDrunkFromTheView) {
    PanelPlayRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Player();
    const CItemType* sword = rig.Type("base_weap_longsword");
    const CItemType* potion = rig.Type("base_phealmedium");
    const CItemType* helm = rig.Type("base_helm_iron");
    ASSERT_TRUE(sword && potion && helm);
    CItemBag* loot = rig.DropBagHere({"base_weap_longsword", "base_phealmedium", "base_helm_iron"});
    ASSERT_NE(loot, nullptr);

    // A tap low in the view looks into the bag on its own.
    rig.TapLowInView();
    CPanelScreen* panel = rig.Panel();
    ASSERT_EQ(rig.Current(), panel);
    EXPECT_EQ(panel->container, loot);
    EXPECT_EQ(panel->showContainer, 1u);
    ASSERT_TRUE(panel->inventory.lists.IsShowingContainer());
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_bag_from_view", rig.Capture()));

    // Take the sword, the helm and the potion: selected, then the take button.
    for (const CItemType* type : {sword, helm, potion}) {
        SCOPED_TRACE((type->name ? type->name : ""));
        const int entry = rig.EntryOf(type);
        ASSERT_GE(entry, 0);
        rig.TapCell(entry);
        rig.TapWidget(panel->inventory.takeButton);
        EXPECT_EQ(rig.EntryOf(type), -1) << "gone from the bag";
    }
    EXPECT_EQ(loot->GetItemCount(), 0);
    auto carried = [&](const CItemType* type) -> CItemInstance* {
        for (const auto& item : player.items)
            if (item->type == type) return item.get();
        return nullptr;
    };
    CItemInstance* longsword = carried(sword);
    CItemInstance* ironHelm = carried(helm);
    ASSERT_NE(longsword, nullptr);
    ASSERT_NE(ironHelm, nullptr);
    ASSERT_NE(carried(potion), nullptr);

    // The drop button with the bag shown turns to the player's items; the wear marks equip.
    rig.TapWidget(panel->inventory.dropButton);
    ASSERT_FALSE(panel->inventory.lists.IsShowingContainer());
    for (CItemInstance* item : {longsword, ironHelm}) {
        const int entry = rig.EntryOf(item->type);
        ASSERT_GE(entry, 0);
        rig.TapCell(entry, true);
        const int slot = CPlayer::SlotFor(*item->type, false);
        ASSERT_GT(slot, 0);
        EXPECT_EQ(player.equipment[slot], item) << (item->type->name ? item->type->name : "");
    }
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_worn_from_loot", rig.Capture()));

    // The helm comes off again and is dropped into the bag it came from.
    rig.TapCell(rig.EntryOf(helm), true);
    EXPECT_EQ(player.equipment[CPlayer::SlotFor(*helm, false)], nullptr);
    rig.TapCell(rig.EntryOf(helm));
    rig.TapWidget(panel->inventory.dropButton);
    EXPECT_FALSE(rig.Carries(ironHelm));
    ASSERT_EQ(loot->GetItemCount(), 1);
    EXPECT_EQ(loot->GetItem(0), ironHelm);

    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);
    EXPECT_EQ(player.equipment[CPlayer::SlotFor(*sword, false)], longsword) << "still wielded in the view";

    // The potion button: the carried potions, the healing one chosen and drunk.
    const auto potionsBefore = std::count_if(player.items.begin(), player.items.end(),
                                             [&](const auto& item) { return item->type == potion; });
    player.hp = 5;
    ASSERT_TRUE(rig.TapElement(kHudGroup, kPotionButton));
    rig.Tick(30);
    auto* potions = dynamic_cast<CPotionDialog*>(view->modalChild);
    ASSERT_NE(potions, nullptr);
    ASSERT_GT(potions->potions.GetCount(), 0);
    // A row's key is the potion's place among the carried items.
    int row = -1;
    for (i32 i = 0; i < potions->potions.GetCount(); ++i) {
        const int index = std::atoi(potions->potions.GetItem(i)->key.GetText());
        if (index >= 0 && index < static_cast<int>(player.items.size()) && player.items[index]->type == potion)
            row = i;
    }
    ASSERT_GE(row, 0);
    potions->potions.selection = row;
    rig.TapWidget(potions->drinkButton);
    EXPECT_EQ(view->modalChild, nullptr);
    EXPECT_EQ(std::count_if(player.items.begin(), player.items.end(),
                            [&](const auto& item) { return item->type == potion; }),
              potionsBefore - 1)
        << "drunk";
    EXPECT_GT(player.hp, 5);
}

// A level gained: the sheet offers its points, spending one raises the attribute, the skills page
// spends its own; a quest given stands on the quest page.
TEST(PanelsInGame, PointsAfterALevelAndAQuestOnItsPage) {
    PanelPlayRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CPlayer& player = rig.Player();
    ASSERT_EQ(player.level, 1);
    player.AddXp(static_cast<i32>(player.GetXpForNextLevel() - player.xp), true);
    ASSERT_EQ(player.level, 2);
    // The level's message over the view; its Ok gives the view back.
    for (int i = 0; i < 6; ++i) {
        rig.Tick(30);
        if (rig.View()->modalChild) rig.Key(32);
    }
    rig.SettleView();
    ASSERT_EQ(rig.View()->modalChild, nullptr);
    ASSERT_GT(player.attributePoints, 0);
    ASSERT_GT(player.skillPoints, 0);

    ASSERT_TRUE(rig.OpenFromPortrait());
    CPanelScreen& panel = *rig.Panel();
    rig.TapWidget(panel.tabs[CPanelScreen::kCharacter]);
    ASSERT_EQ(panel.HostedPage(), &panel.sheet);
    ASSERT_TRUE(panel.sheet.raiseButtons[0].IsShown()) << "the points are offered";
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_sheet_after_level", rig.Capture()));
    const u16 strength = player.attributes[1], points = player.attributePoints;
    const std::string shown = panel.sheet.attributeValues[0].text.GetText();
    rig.TapWidget(panel.sheet.raiseButtons[0]);
    EXPECT_EQ(player.attributes[1], strength + 1);
    EXPECT_EQ(player.attributePoints, points - 1);
    EXPECT_NE(std::string(panel.sheet.attributeValues[0].text.GetText()), shown) << "the sheet shows the new value";

    // The skills page: the first skill offered is raised by its button, its value shown anew.
    rig.TapWidget(panel.characterTabs[1]);
    ASSERT_EQ(panel.HostedPage(), &panel.skills);
    int slot = -1, skill = 0;
    for (int i = 0; i < kPlayerSkillCount && slot < 0; ++i) {
        const int s = i < kPrimarySkillSlots ? panel.points->PrimarySkill(i)
                                             : panel.points->OtherSkill(i - kPrimarySkillSlots);
        if (s > 0 && panel.skills.raiseButtons[i].IsShown()) {
            slot = i;
            skill = s;
        }
    }
    ASSERT_GE(slot, 0) << "a skill point is offered";
    const u16 value = player.skills[skill], skillPoints = player.skillPoints;
    const std::string skillShown = panel.skills.values[slot].text.GetText();
    rig.TapWidget(panel.skills.raiseButtons[slot]);
    EXPECT_EQ(player.skills[skill], value + 1);
    EXPECT_LT(player.skillPoints, skillPoints);
    EXPECT_NE(std::string(panel.skills.values[slot].text.GetText()), skillShown) << "the page shows the new value";
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), rig.View());

    // The innkeeper's quest as her line gives it (the scripts' player commands do not reach the
    // player yet): the quest page lists it.
    player.AddQuest("base_q_cellar", "Knocking Below");
    ASSERT_EQ(player.quests.size(), 1u);
    rig.Tick(30);
    for (int i = 0; i < 6 && rig.View()->modalChild; ++i) {
        rig.Key(32);
        rig.Tick(30);
    }
    rig.SettleView();

    ASSERT_TRUE(rig.OpenFromPortrait());
    rig.TapWidget(panel.tabs[CPanelScreen::kQuests]);
    ASSERT_EQ(panel.HostedPage(), &panel.quests);
    ASSERT_GT(panel.quests.list.GetCount(), 0);
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_quest_given", rig.Capture()));
    rig.ClosePanel();
}

// The player's own crafts from the inventory, and the town's trades over the same items.
TEST(PanelsInGame, APotionIsBrewedAWeaponMendedAndTheLootSold) {
    PanelPlayRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CPlayer& player = rig.Player();
    player.skills[craft::kAlchemySkill] = 100;
    // The mortar of the alchemy kit and two restoring herbs such as grow in the vale.
    CItemInstance* mortar = rig.Give("base_alc_mortarbeginner");
    ASSERT_NE(mortar, nullptr);
    ASSERT_NE(rig.Give("base_alc_alkieberries"), nullptr);
    ASSERT_NE(rig.Give("base_alc_ladyslipper"), nullptr);
    const CItemType* healing = rig.Type("base_phealsmall");
    ASSERT_NE(healing, nullptr);
    auto count = [&](const CItemType* type) {
        return std::count_if(player.items.begin(), player.items.end(),
                             [&](const auto& item) { return item->type == type; });
    };
    const auto healingBefore = count(healing);

    // A spellbook read from the inventory teaches its spell, and the spells page has it.
    CItemInstance* spellbook = rig.Give("base_spbookfeather");
    ASSERT_NE(spellbook, nullptr);
    ASSERT_FALSE(player.KnowsSpell("base_spellfeather"));
    ASSERT_TRUE(rig.OpenFromPortrait());
    CPanelScreen& panel = *rig.Panel();
    rig.TapCell(rig.EntryOf(spellbook->type));
    ASSERT_TRUE(panel.inventory.useButton.IsShown());
    rig.TapWidget(panel.inventory.useButton);
    ASSERT_EQ(panel.state.page, CPanelScreen::kReader);
    EXPECT_TRUE(player.KnowsSpell("base_spellfeather"));
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_spellbook_read", rig.Capture()));
    rig.Key(32);  // the notice's Ok
    rig.Tick(30);
    rig.TapWidget(panel.reader.closeButton);
    EXPECT_EQ(panel.state.page, CPanelScreen::kInventory);
    EXPECT_EQ(panel.modalChild, nullptr);

    rig.TapCell(rig.EntryOf(mortar->type));
    ASSERT_TRUE(panel.inventory.useButton.IsShown());
    rig.TapWidget(panel.inventory.useButton);
    ASSERT_EQ(panel.state.page, CPanelScreen::kAlchemy);
    CAlchemyDialog& alchemy = *panel.alchemy;
    ASSERT_EQ(panel.modalChild, &alchemy);
    // The two herbs into the first two places; the healing potion is offered.
    rig.TapWidget(alchemy.slotNext[0]);
    rig.TapWidget(alchemy.slotNext[1]);
    rig.TapWidget(alchemy.slotNext[1]);
    ASSERT_NE(alchemy.SlotIndex(0), alchemy.SlotIndex(1));
    int row = -1;
    for (size_t i = 0; i < alchemy.Potions().size(); ++i)
        if (alchemy.Potions()[i].potion == healing) row = static_cast<int>(i);
    ASSERT_GE(row, 0);
    alchemy.potionList.selection = row;
    // What the dialog shows of the chosen things: the mortar's condition under its name, and the
    // pictures of the mortar and the two herbs, which are drawn at their own size inside the slots.
    ASSERT_GT(alchemy.mortarText.GetPageCount(), 0u);
    EXPECT_NE(std::string(alchemy.mortarText.pages.GetAt(0)->GetText()).find("Condition: perfect"),
              std::string::npos)
        << alchemy.mortarText.pages.GetAt(0)->GetText();
    for (const CPictureView* picture :
         {&alchemy.mortarPicture, &alchemy.slotPicture[0], &alchemy.slotPicture[1]}) {
        ASSERT_NE(picture->picture, nullptr);
        EXPECT_EQ(picture->stretched, 0u) << "a scaled picture with a transparent ground draws nothing";
        EXPECT_GE(picture->drawnX, picture->x);
        EXPECT_LE(picture->drawnX + picture->drawnWidth, picture->x + static_cast<i32>(picture->w));
    }
    EXPECT_EQ(alchemy.slotPicture[2].picture, nullptr) << "the third place is empty";
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(alchemy.slotText[i].GetPageCount(), 1u) << "every effect of herb " << i << " shows";
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_alchemy", rig.Capture()));
    rig.TapWidget(alchemy.brewButton);
    EXPECT_EQ(count(healing), healingBefore + 1) << "a skill of 100 brews it";
    EXPECT_EQ(count(rig.Type("base_alc_alkieberries")), 0);
    ASSERT_EQ(alchemy.GetState(), CAlchemyDialog::kResult);
    rig.Key(32);  // the result's Ok
    rig.Tick(30);
    rig.TapWidget(alchemy.closeButton);
    EXPECT_EQ(panel.state.page, CPanelScreen::kInventory);
    EXPECT_EQ(panel.modalChild, nullptr);

    // A worn dirk mended with the apprentice hammer.
    player.skills[14] = 100;  // Repair
    const CItemType* dirk = rig.Type("base_weap_dirkcheap");
    CItemInstance* weapon = rig.Give("base_weap_dirkcheap");
    CItemInstance* hammer = rig.Give("base_repair_hammerapprentice");
    ASSERT_TRUE(dirk && weapon && hammer);
    weapon->count = static_cast<u16>(dirk->maxCondition / 4);
    panel.inventory.Refresh(false);
    rig.TapCell(rig.EntryOf(hammer->type));
    rig.TapWidget(panel.inventory.useButton);
    ASSERT_EQ(panel.state.page, CPanelScreen::kRepair);
    CRepairDialog& repair = *panel.repair;
    int mended = -1;
    for (size_t i = 0; i < repair.items.size(); ++i)
        if (repair.items[i] == weapon) mended = static_cast<int>(i);
    ASSERT_GE(mended, 0);
    repair.list.selection = mended;
    const u16 worn = weapon->count;
    for (int attempt = 0; attempt < 20 && weapon->count == worn; ++attempt) rig.TapWidget(repair.actionButton);
    EXPECT_GT(weapon->count, worn);
    rig.TapWidget(repair.cancelButton);
    EXPECT_EQ(panel.modalChild, nullptr);
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), rig.View());

    // The merchant buys the mended dirk: the gold grows by the price it said, once.
    const u32 gold = player.gold;
    auto* services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Hesper"));
    ASSERT_NE(services, nullptr);
    ASSERT_TRUE(rig.TapService(*services, kServicesBuySell));
    auto* shop = dynamic_cast<CShopScreen*>(rig.Current());
    ASSERT_NE(shop, nullptr);
    rig.TapWidget(shop->sellButton);  // the player's items
    int sold = -1;
    for (size_t i = 0; i < shop->trade.GetEntries().size(); ++i)
        if (shop->trade.GetEntries()[i].item == weapon) sold = static_cast<int>(i);
    ASSERT_GE(sold, 0);
    shop->trade.Select(sold);
    const u32 price = shop->trade.GetSelectedEntry()->price;
    EXPECT_GT(price, 0u);
    rig.TapWidget(shop->sellButton);
    EXPECT_FALSE(rig.Carries(weapon));
    EXPECT_EQ(player.gold, gold + price);
    rig.TapWidget(shop->leaveButton);
    rig.Tick(30);
    rig.TapWidget(services->leaveButton);
    EXPECT_EQ(rig.Current(), rig.View());
}

// A spent wand at the enchanter: chosen in the selection, its recharge dialog fills it for gold.
TEST(PanelsInGame, TheEnchanterRechargesASpentWand) {
    PanelPlayRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CPlayer& player = rig.Player();
    player.gold = 5000;
    CItemInstance* wand = rig.Give("base_wand_sparks");
    ASSERT_NE(wand, nullptr);
    const int full = craft::WandMaximum(*wand);
    ASSERT_GT(full, 1);
    wand->count = 1;

    CServicesScreen* services = rig.ChooseAtEnchanter(wand);
    ASSERT_NE(services, nullptr);
    CEnchantSelectDialog& selection = services->enchanting.selection;
    CRechargeDialog& recharge = selection.recharge;
    ASSERT_EQ(selection.modalChild, &recharge);
    const i32 price = recharge.Price();
    EXPECT_GT(price, 0);
    // Both lines stand in the label's rectangle: the price, and the gold the player has to pay it with.
    EXPECT_NE(std::string(recharge.priceText.text.GetText()).find("\rYour gold: 5000"), std::string::npos);
    EXPECT_GE(recharge.priceText.h, 2 * (CurrentLineHeight(recharge.priceText.fonts) + 1)) << "room for both";
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_recharge", rig.Capture()));
    rig.TapWidget(recharge.rechargeButton);
    EXPECT_EQ(wand->count, full);
    EXPECT_EQ(player.gold, 5000u - static_cast<u32>(price));
    rig.Key(32);  // the message's Ok gives the selection back
    rig.Tick(30);
    EXPECT_EQ(selection.modalChild, nullptr);
    rig.TapWidget(selection.closeButton);
    rig.Tick(30);
    rig.TapWidget(services->leaveButton);
    EXPECT_EQ(rig.Current(), rig.View());
}

// The spells of the road home, learnt from their books: Mark keeps the town square in a slot, and from
// the cellar Recall takes the player back to that very cell, facing the way he stood.
TEST(PanelsInGame, APlaceIsMarkedAndRecalledTo) {
    PanelPlayRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Player();
    const CSpell* mark = player.GetWorld()->spells->FindById("base_spellmark");
    const CSpell* recall = player.GetWorld()->spells->FindById("base_spellrecall");
    ASSERT_TRUE(mark && recall);
    ASSERT_TRUE(rig.OpenFromPortrait());
    for (const char* id : {"base_spbookmark", "base_spbookrecall"}) {
        CItemInstance* book = rig.Give(id);
        ASSERT_NE(book, nullptr) << id;
        rig.ReadFromInventory(*book);
    }
    EXPECT_TRUE(player.KnowsSpell("base_spellmark"));
    EXPECT_TRUE(player.KnowsSpell("base_spellrecall"));
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);

    // Recall before anything was marked says so and opens nothing.
    player.mana = static_cast<u16>(player.GetMaxMana());
    ASSERT_TRUE(rig.CastFromBook(*recall));
    CForm* shown = rig.TickUntilDialog();
    EXPECT_EQ(view->screenMode, CGameScreen::kModeMessage);
    EXPECT_NE(shown, &rig.Game()->GetViewDialogs().markRecall);
    rig.CloseMessages();
    ASSERT_EQ(view->modalChild, nullptr);

    CMapSection* town = view->section;
    const i32 townX = view->playerX, townY = view->playerY;
    const int quarter = view->facing / 90;
    player.mana = static_cast<u16>(player.GetMaxMana());
    ASSERT_TRUE(rig.CastFromBook(*mark));
    CMarkRecallDialog& dialog = rig.Game()->GetViewDialogs().markRecall;
    ASSERT_EQ(rig.TickUntilDialog(), &dialog);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeMarkRecall);
    ASSERT_EQ(dialog.markMode, CMarkRecallDialog::kMarkMode);
    ASSERT_GT(dialog.slots.GetCount(), 0);
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_mark", rig.Capture()));
    rig.TapWidget(dialog.okButton);
    ASSERT_FALSE(player.marks.empty());
    const CMarkedPosition& kept = player.marks[0];
    EXPECT_EQ(kept.map, town->GetName());
    EXPECT_EQ(kept.facing, quarter);
    rig.CloseMessages();  // "Position has been marked."
    ASSERT_EQ(view->modalChild, nullptr);

    // Down in the cellar, far from the mark.
    CWorld* world = rig.Game()->worlds->Current();
    CMapSection* cellar = world->FindSectionByName("base_cellar");
    ASSERT_NE(cellar, nullptr);
    view->EnterMapAt(world, cellar, 17, 29, 0);
    rig.SettleView();
    ASSERT_EQ(view->section, cellar);

    player.mana = static_cast<u16>(player.GetMaxMana());
    ASSERT_TRUE(rig.CastFromBook(*recall));
    ASSERT_EQ(rig.TickUntilDialog(), &dialog);
    EXPECT_EQ(dialog.markMode, CMarkRecallDialog::kRecallMode);
    dialog.slots.selection = 0;
    rig.TapWidget(dialog.okButton);
    for (int i = 0; i < 200 && view->section != town; ++i) rig.Tick(30);
    rig.SettleView();
    ASSERT_EQ(view->section, town) << "back in the town";
    CMapSection* at = nullptr;
    i32 sx = 0, sy = 0;
    ASSERT_TRUE(view->window.WindowToSectionCell(view->playerX, view->playerY, at, sx, sy));
    EXPECT_EQ(sx, kept.x);
    EXPECT_EQ(sy, kept.y);
    EXPECT_EQ(view->playerX, townX);
    EXPECT_EQ(view->playerY, townY);
    EXPECT_EQ(view->facing / 90, quarter);
}

// A spell of the player's own put into a plain wand at the enchanter, for gold, with the charges
// chosen; the wand then casts it from the spell book's page of magic items, and the spell heals.
TEST(PanelsInGame, TheEnchanterPutsASpellIntoAWandThatThenCastsIt) {
    PanelPlayRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Player();
    const CSpell* heal = player.GetWorld()->spells->FindById("base_spellcurelightwounds");
    ASSERT_NE(heal, nullptr);
    player.LearnSpell(*heal);
    CItemInstance* wand = rig.Give("base_wand_ash");
    ASSERT_NE(wand, nullptr);
    ASSERT_EQ(wand->GetEffects(), nullptr) << "a plain wand";
    player.gold = 20000;

    CServicesScreen* services = rig.ChooseAtEnchanter(wand);
    ASSERT_NE(services, nullptr);
    CEnchantSelectDialog& selection = services->enchanting.selection;
    CEnchantDialog& enchanting = selection.enchanting;
    ASSERT_EQ(selection.modalChild, &enchanting);

    // Add: the spell entry, the healing spell tapped in its list, five charges.
    rig.TapWidget(enchanting.addButton);
    rig.Tick(30);
    CEnchantSpellEntryDialog& entry = services->enchanting.entries.spellEntry;
    ASSERT_EQ(enchanting.modalChild, &entry);
    ASSERT_GT(entry.spells.GetCount(), 0);
    int spellRow = -1;
    for (i32 i = 0; i < entry.spells.GetCount(); ++i)
        if (std::string(entry.spells.GetItem(i)->label.GetText()) == heal->GetDisplayName()) spellRow = i;
    ASSERT_GE(spellRow, 0) << "the player's spell is offered";
    rig.Tap(entry.spells.x + entry.spells.w / 2,
            entry.spells.y + (spellRow - entry.spells.topRow) * entry.spells.rowHeight +
                entry.spells.rowHeight / 2);
    rig.Tick(30);
    ASSERT_NE(entry.Entry().id, nullptr);
    EXPECT_STREQ(entry.Entry().id, "base_spellcurelightwounds");
    for (int i = 0; i < 4; ++i) rig.TapWidget(entry.chargesUp);
    EXPECT_EQ(entry.Entry().amount, 5);
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_enchant_spell_entry", rig.Capture()));
    rig.TapWidget(entry.okButton);
    rig.Tick(30);
    ASSERT_EQ(enchanting.modalChild, nullptr);
    ASSERT_EQ(enchanting.Count(), 1);
    const i32 price = enchanting.Totals().price;
    EXPECT_GT(price, 0);
    EXPECT_GE(enchanting.Totals().available, 0) << "the wand holds the spell";
    rig.TapWidget(enchanting.okButton);
    rig.Tick(30);
    ASSERT_NE(wand->effects, nullptr);
    ASSERT_EQ(wand->effects->Count(), 1);
    EXPECT_STREQ(wand->effects->At(0)->id, "base_spellcurelightwounds");
    EXPECT_EQ(wand->count, 5) << "the charges chosen";
    EXPECT_EQ(player.gold, 20000u - static_cast<u32>(price));
    rig.Key(32);  // the success message's Ok gives the selection back
    rig.Tick(30);
    EXPECT_EQ(selection.modalChild, nullptr);
    rig.TapWidget(selection.closeButton);
    rig.Tick(30);
    rig.TapWidget(services->leaveButton);
    rig.SettleView();
    ASSERT_EQ(rig.Current(), view);

    // The spell book's magic items: the wand chosen, the spell key casts its spell.
    player.hp = 3;
    rig.Key('C');
    rig.Tick(30);
    CSpellBookDialog& book = rig.Game()->GetViewDialogs().spellBook;
    ASSERT_EQ(view->modalChild, &book);
    book.OnCommand(CSpellBookDialog::kFirstTab + 6);
    int itemRow = -1;
    for (i32 i = 0; i < book.entries.GetCount() && itemRow < 0; ++i) {
        book.entries.selection = i;
        if (book.GetSelectedItem() == wand) itemRow = i;
    }
    ASSERT_GE(itemRow, 0) << "the wand stands among the magic items";
    rig.Key('C');
    for (int i = 0; i < 100 && view->IsBusy(); ++i) rig.Tick(30);
    rig.SettleView();
    EXPECT_GT(player.hp, 3) << "the wand's spell healed";
    EXPECT_EQ(wand->count, 4) << "one charge spent";
}

// The effects page's lines for the kind that is selected, as one text with the lines the box wrapped
// joined again by spaces; AsGlyphs writes an expected line as the page does, in number glyphs.
std::string EffectLines(const CPanelScreen& panel) {
    std::string text;
    for (u32 p = 0; p < panel.effects.description.GetPageCount(); ++p)
        text += panel.effects.description.pages.GetAt(p)->GetText();
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}
std::string AsGlyphs(const char* plain) {
    CStr text(plain);
    ToNumberGlyphs(text);
    return text.GetText();
}

// The gallery chest's potion of strength, taken with the use key on the chest and drunk from the
// inventory: the effects page lists it with the rounds it has left, and they run down with the clock.
TEST(PanelsInGame, APotionFromTheChestShowsOnTheEffectsPageWithItsTimeLeft) {
    PanelPlayRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Player();
    const CItemType* strength = rig.Type("base_pstrengthsmall");
    ASSERT_NE(strength, nullptr);
    // The chest stands north of the cell in front of the locked door.
    view->facing = view->targetFacing = 0;
    view->SetPosition(12, 1);
    rig.SettleView();
    rig.Key(32);
    rig.Tick(30);
    rig.Tick(30);  // the panel takes taps from the tick after the one it opened in
    CPanelScreen& panel = *rig.Panel();
    ASSERT_EQ(rig.Current(), &panel);
    ASSERT_TRUE(panel.inventory.lists.IsShowingContainer());
    const int entry = rig.EntryOf(strength);
    ASSERT_GE(entry, 0) << "the potion lies in the chest";
    rig.TapCell(entry);
    rig.TapWidget(panel.inventory.takeButton);
    rig.TapWidget(panel.inventory.dropButton);  // over to the player's items
    ASSERT_FALSE(panel.inventory.lists.IsShowingContainer());
    ASSERT_GE(rig.EntryOf(strength), 0);
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);

    // Drunk from the view's potion button.
    const u16 before = player.attributes[1];
    const int effective = player.GetAttribute(1);
    ASSERT_TRUE(rig.DrinkFromView(strength));
    EXPECT_EQ(std::count_if(player.items.begin(), player.items.end(),
                            [&](const auto& item) { return item->type == strength; }),
              0)
        << "drunk";
    EXPECT_EQ(player.attributes[1], before) << "a lasting effect, not a new base value";
    EXPECT_EQ(player.GetAttribute(1), effective + 5);
    rig.CloseMessages();  // what the potion does is said in a message
    // The portrait takes no tap while the drink's bubbles play over it.
    for (int i = 0; i < 40 && view->panelEffect; ++i) rig.Tick(30);
    ASSERT_EQ(view->panelEffect, nullptr);

    ASSERT_TRUE(rig.OpenFromPortrait());
    rig.TapWidget(panel.tabs[CPanelScreen::kCharacter]);
    rig.TapWidget(panel.characterTabs[4]);
    ASSERT_EQ(panel.HostedPage(), &panel.effects);
    ASSERT_GT(panel.effects.list.GetCount(), 0) << "the potion's kind is listed";
    // The potion's 30 rounds and the one it was drunk in.
    EXPECT_NE(EffectLines(panel).find(AsGlyphs("+5 Strength, 31 rounds, (Small Strength potion)")),
              std::string::npos);
    EXPECT_TRUE(testing_support::MatchesGolden("app_panels_effects_potion", rig.Capture()));
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);

    // Seven minutes of the game's clock later the page shows what is left.
    for (int i = 0; i < 7; ++i) view->AdvanceMinute();
    ASSERT_TRUE(rig.OpenFromPortrait());
    rig.TapWidget(panel.tabs[CPanelScreen::kCharacter]);
    rig.TapWidget(panel.characterTabs[4]);
    ASSERT_EQ(panel.HostedPage(), &panel.effects);
    EXPECT_NE(EffectLines(panel).find(AsGlyphs("+5 Strength, 24 rounds,")), std::string::npos);
    rig.ClosePanel();

    // When the rounds are spent the effect is gone from the player and from the page.
    for (int i = 0; i < 24; ++i) view->AdvanceMinute();
    EXPECT_EQ(player.GetAttribute(1), effective);
    ASSERT_TRUE(rig.OpenFromPortrait());
    rig.TapWidget(panel.tabs[CPanelScreen::kCharacter]);
    rig.TapWidget(panel.characterTabs[4]);
    EXPECT_EQ(EffectLines(panel).find("Strength potion"), std::string::npos) << EffectLines(panel);
    rig.ClosePanel();
}

// One game played through, as a new player spends a first evening: the lockpick and the potion from
// the cellar's chest; a healing potion brewed from the gallery's herbs; the crypt's door, which has no key, picked open; in the town a weapon and a helm
// bought, worn (the paper doll and the first-person hands take them), the weapon worn down and mended
// at the smith, a skill trained, after a level the points spent on the sheet, and a look at the journal
// and the spell book.
TEST(PanelsInGame, AFirstEveningInOneSitting) {
    PanelPlayRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Player();
    CWorld* world = rig.Game()->worlds->Current();
    ASSERT_NE(world, nullptr);
    rig.Calm();

    // The gallery chest: its lockpick and its potion.
    view->facing = view->targetFacing = 0;
    view->SetPosition(12, 1);
    rig.SettleView();
    rig.Key(32);
    rig.Tick(30);
    rig.Tick(30);  // the panel takes taps from the tick after the one it opened in
    CPanelScreen& panel = *rig.Panel();
    ASSERT_EQ(rig.Current(), &panel);
    const int picks = player.CountItems("base_key_lockpickbeginner");
    for (const char* id : {"base_key_lockpickbeginner", "base_pstrengthsmall"}) {
        const int entry = rig.EntryOf(rig.Type(id));
        ASSERT_GE(entry, 0) << id;
        rig.TapCell(entry);
        rig.TapWidget(panel.inventory.takeButton);
    }
    EXPECT_EQ(player.CountItems("base_key_lockpickbeginner"), picks + 1);
    EXPECT_EQ(player.CountItems("base_pstrengthsmall"), 1);
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);

    // Herbs of the gallery: the flower picked with the use key, the lady slipper taken from the bag
    // that lies on the floor. What the start kit gave of them goes first, so that the brew below can
    // only be made of what was found.
    for (const char* id : {"base_alc_alkieberries", "base_alc_ladyslipper"})
        while (player.CountItems(id) > 0) player.RemoveItems(id, 1);
    // The mortar is an alchemist's kit (this new character's class starts without one).
    if (player.CountItems("base_alc_mortarbeginner") == 0) {
        ASSERT_NE(rig.Give("base_alc_mortarbeginner"), nullptr);
    }
    const CPlacement* flower = view->section->FindPlacementByName("base_gallery13");
    const CPlacement* herbBag = view->section->FindPlacementByName("base_gallery17");
    ASSERT_TRUE(flower && herbBag);
    view->facing = view->targetFacing = 0;
    view->SetPosition(flower->x, flower->y + 1);
    rig.SettleView();
    rig.Key(32);
    rig.CloseMessages();  // "You have found Alkie berries."
    EXPECT_EQ(player.CountItems("base_alc_alkieberries"), 1);
    view->facing = view->targetFacing = 0;
    view->SetPosition(herbBag->x, herbBag->y + 1);
    rig.SettleView();
    rig.Key(32);
    rig.Tick(30);
    rig.Tick(30);
    ASSERT_EQ(rig.Current(), &panel);
    ASSERT_TRUE(panel.inventory.lists.IsShowingContainer());
    const int slipper = rig.EntryOf(rig.Type("base_alc_ladyslipper"));
    ASSERT_GE(slipper, 0);
    rig.TapCell(slipper);
    rig.TapWidget(panel.inventory.takeButton);
    EXPECT_EQ(player.CountItems("base_alc_ladyslipper"), 1);

    // Brewed with the mortar: the two restoring herbs make a healing potion.
    rig.TapWidget(panel.inventory.dropButton);  // over to the player's items
    player.skills[craft::kAlchemySkill] = 100;
    const int healing = player.CountItems("base_phealsmall");
    rig.TapCell(rig.EntryOf(rig.Type("base_alc_mortarbeginner")));
    rig.TapWidget(panel.inventory.useButton);
    ASSERT_EQ(panel.state.page, CPanelScreen::kAlchemy);
    CAlchemyDialog& alchemy = *panel.alchemy;
    rig.TapWidget(alchemy.slotNext[0]);
    rig.TapWidget(alchemy.slotNext[1]);
    rig.TapWidget(alchemy.slotNext[1]);
    ASSERT_FALSE(alchemy.Potions().empty()) << "the found herbs make a potion";
    rig.TapWidget(alchemy.brewButton);
    EXPECT_EQ(player.CountItems("base_phealsmall"), healing + 1);
    EXPECT_EQ(player.CountItems("base_alc_alkieberries") + player.CountItems("base_alc_ladyslipper"), 0);
    rig.Key(32);
    rig.Tick(30);
    rig.TapWidget(alchemy.closeButton);
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);

    // Down in the crypt, before its locked door: the use key asks, Pick opens the lock-picking dialog,
    // and a sure hand opens the door.
    CMapSection* crypt = world->FindSectionByName("base_crypt");
    ASSERT_NE(crypt, nullptr);
    view->EnterMapAt(world, crypt, 17, 27, 0);
    rig.SettleView();
    rig.Calm();
    ASSERT_EQ(view->section, crypt);
    const CPlacement* door = crypt->FindPlacementByName("base_crypt_door");
    ASSERT_NE(door, nullptr);
    ASSERT_NE(door->flags & mapobject::kClosed, 0);
    player.skills[craft::kLockpickSkill] = 100;
    rig.Key(32);
    rig.SettleView();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeDoorPrompt);
    view->OnCommand(CMapInteractions::kPick);
    rig.Tick(30);
    ASSERT_EQ(view->screenMode, CGameScreen::kModeLockPick);
    auto* picking = dynamic_cast<CLockPickDialog*>(view->modalChild);
    ASSERT_NE(picking, nullptr);
    rig.Tick(30);
    rig.TapWidget(picking->pickButton);
    EXPECT_EQ(door->level & 0x3C0u, 0u) << "unlocked";
    EXPECT_EQ(view->modalChild == picking, false);
    rig.CloseMessages();  // "You have successfully picked the lock."
    // Unlocked, the door opens to the use key like any other.
    rig.Key(32);
    for (int i = 0; i < 200 && (door->flags & (mapobject::kOpening | mapobject::kClosed)); ++i) rig.Tick(30);
    EXPECT_EQ(door->flags & (mapobject::kOpening | mapobject::kClosed), 0) << "the door stands open";
    rig.CloseMessages();
    rig.Key(38);
    rig.SettleView();
    EXPECT_EQ(view->playerY, 26) << "through the picked door";

    // The town: a weapon and a piece of armour from the merchant, each for the price the shop shows.
    CMapSection* town = world->FindSectionByName("base_s0202");
    ASSERT_NE(town, nullptr);
    view->EnterMapAt(world, town, 12, 12, 2);
    rig.SettleView();
    player.gold = 5000;
    auto* services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Hesper"));
    ASSERT_NE(services, nullptr);
    ASSERT_TRUE(rig.TapService(*services, kServicesBuySell));
    auto* shop = dynamic_cast<CShopScreen*>(rig.Current());
    ASSERT_NE(shop, nullptr);
    constexpr int kEquipWeapon = 5, kEquipSecond = 6;  // the right hand and the left
    // The first stock entry held in the weapon hand, then the first piece of armour worn elsewhere.
    auto wanted = [&](const CItemType* t, int want) {
        const int slot = t ? CPlayer::SlotFor(*t, false) : 0;
        if (want == 0) return slot == kEquipWeapon;
        return t && t->itemClass >= 2 && t->itemClass <= 3 && slot > 0 && slot != kEquipWeapon &&
               slot != kEquipSecond;
    };
    CItemInstance* bought[2] = {};
    for (int want = 0; want < 2; ++want) {
        int row = -1;
        const auto& stock = shop->trade.GetEntries();
        for (size_t i = 0; i < stock.size() && row < 0; ++i)
            if (wanted(stock[i].item ? stock[i].item->type : nullptr, want)) row = static_cast<int>(i);
        ASSERT_GE(row, 0) << (want == 0 ? "a weapon in stock" : "armour in stock");
        shop->trade.Select(row);
        const u32 price = shop->trade.GetSelectedEntry()->price;
        CItemInstance* item = shop->trade.GetSelectedEntry()->item;
        const u32 gold = player.gold;
        rig.TapWidget(shop->buyButton);
        EXPECT_TRUE(rig.Carries(item));
        EXPECT_EQ(player.gold, gold - price);
        bought[want] = item;
    }
    rig.TapWidget(shop->leaveButton);
    rig.Tick(30);
    rig.TapWidget(services->leaveButton);
    rig.SettleView();
    ASSERT_EQ(rig.Current(), view);

    // Worn from the inventory: the paper doll's places hold them, and the hands in the view change.
    const u16 handBefore = view->viewState.overlayB;
    ASSERT_TRUE(rig.OpenFromPortrait());
    for (CItemInstance* item : bought) {
        rig.TapCell(rig.EntryOf(item->type), true);
        EXPECT_EQ(player.equipment[CPlayer::SlotFor(*item->type, false)], item);
    }
    rig.ClosePanel();
    ASSERT_EQ(rig.Current(), view);
    rig.Tick(30);
    EXPECT_NE(view->viewState.overlayB, handBefore) << "the weapon hand shows the weapon";

    // The weapon worn down, mended at the smith for the price he names. Thrown weapons count their
    // number, not a condition: when the stock had only those, a carried blade stands in.
    CItemInstance* weapon = bought[0];
    if (!IsRepairable(*weapon->type))
        for (const auto& carried : player.items)
            if (carried->type->IsWeapon() && IsRepairable(*carried->type)) {
                weapon = carried.get();
                break;
            }
    ASSERT_TRUE(IsRepairable(*weapon->type));
    weapon->count = static_cast<u16>(weapon->type->maxCondition / 4);
    services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Corwen"));
    ASSERT_NE(services, nullptr);
    ASSERT_TRUE(rig.TapService(*services, kServicesRepair));
    CSmithRepairDialog& repair = services->repairDialog;
    ASSERT_EQ(services->modalChild, &repair);
    int row = -1;
    for (size_t i = 0; i < repair.items.size(); ++i)
        if (repair.items[i] == weapon) row = static_cast<int>(i);
    ASSERT_GE(row, 0) << "a worn weapon, even one in hand, is offered";
    repair.list.selection = row;
    u32 gold = player.gold;
    const u32 repairPrice = repair.PriceOf(*weapon);
    rig.TapWidget(repair.actionButton);
    EXPECT_EQ(weapon->count, weapon->type->maxCondition);
    EXPECT_EQ(player.gold, gold - repairPrice);
    rig.TapWidget(repair.cancelButton);
    rig.Tick(30);
    rig.TapWidget(services->leaveButton);
    rig.SettleView();

    // A skill trained.
    services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Aldo"));
    ASSERT_NE(services, nullptr);
    ASSERT_TRUE(rig.TapService(*services, kServicesTraining));
    CTrainingDialog& training = services->trainingDialog;
    ASSERT_EQ(services->modalChild, &training);
    const u32 skill = training.skill;
    ASSERT_TRUE(skill >= 1 && skill <= 20);
    const u16 skillBefore = player.skills[skill];
    gold = player.gold;
    const u32 trainPrice = training.price;
    rig.TapWidget(training.trainButton);
    EXPECT_EQ(player.skills[skill], skillBefore + 1);
    EXPECT_EQ(player.gold, gold - trainPrice);
    rig.TapWidget(training.cancelButton);
    rig.Tick(30);
    rig.TapWidget(services->leaveButton);
    rig.SettleView();
    ASSERT_EQ(rig.Current(), view);

    // A level: the sheet offers its point, which raises an attribute there and then.
    player.AddXp(static_cast<i32>(player.GetXpForNextLevel() - player.xp), true);
    rig.CloseMessages();
    ASSERT_GT(player.attributePoints, 0);
    ASSERT_TRUE(rig.OpenFromPortrait());
    rig.TapWidget(panel.tabs[CPanelScreen::kCharacter]);
    ASSERT_TRUE(panel.sheet.raiseButtons[0].IsShown());
    const u16 strength = player.attributes[1];
    rig.TapWidget(panel.sheet.raiseButtons[0]);
    EXPECT_EQ(player.attributes[1], strength + 1);
    // The journal and the spell book are a tab away, and the view comes back as it was.
    rig.TapWidget(panel.tabs[CPanelScreen::kQuests]);
    EXPECT_EQ(panel.HostedPage(), &panel.quests);
    rig.TapWidget(panel.tabs[CPanelScreen::kSpells]);
    EXPECT_EQ(panel.HostedPage(), &panel.spells);
    rig.ClosePanel();
    EXPECT_EQ(rig.Current(), view);
    EXPECT_EQ(view->section, town);
}

}  // namespace
