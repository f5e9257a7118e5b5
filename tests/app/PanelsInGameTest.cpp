// The panel screen as a player reaches it from the game view of a new game: the portrait's tap or the
// inventory key opens the player's items beside the bag of the player's cell, a tap low in the view
// looks into a bag lying there, the tabs lead to the character and journal pages, and closing gives
// the view back as it was. What the player does there goes through taps on the screens' own widgets:
// loot taken, worn and dropped, a potion drunk from the view, points spent after a level, a quest read,
// a potion brewed and a weapon mended with the player's own tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/Game.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "screens/npc/AlchemyDialog.h"
#include "screens/npc/CraftRules.h"
#include "screens/npc/EnchantSelectDialog.h"
#include "screens/npc/NpcServiceRules.h"
#include "screens/npc/PotionDialog.h"
#include "screens/npc/RepairDialog.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/ShopScreen.h"
#include "screens/panels/PanelScreen.h"
#include "tests/app/NewGameRig.h"
#include "tests/support/Png.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

constexpr u16 kHudGroup = 43;
constexpr u32 kPortrait = 36;
constexpr u32 kPotionButton = 546;

struct PanelPlayRig : testing_support::NewGameRig {
    CPanelScreen* Panel() const { return Game()->GetPanelScreen(); }
    CPlayer& Player() const { return Game()->GetPlayer(); }
    const CItemType* Type(const char* id) const { return Game()->worldLists->items.FindItemType(id); }
    CItemInstance* Give(const char* id, int count = 1) {
        const CItemType* type = Type(id);
        return type ? Player().AddItemCopies(count, *type) : nullptr;
    }
    // The player's taps: each is followed by a tick, as the frame's timer runs between two taps.
    void TapWidget(const CWidget& w) {
        Tap(w.x + w.w / 2, w.y + w.h / 2);
        Tick(30);
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
        const int onPage = index - list.first;
        const i32 cx = list.gridX + (onPage % list.columns) * (list.cellWidth + list.separatorWidth);
        const i32 cy = list.gridY + (onPage / list.columns) * (list.cellHeight + list.separatorHeight);
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
    bool TapService(CServicesScreen& services, u32 command) {
        for (size_t i = 0; i < services.buttons.size(); ++i)
            if (static_cast<u32>(services.buttons[i].command) == command) {
                TapWidget(services.menuButtons[i]);
                Tick(30);
                return true;
            }
        return false;
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

    auto* services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Ysolde"));
    ASSERT_NE(services, nullptr);
    ASSERT_TRUE(rig.TapService(*services, kServicesEnchant));
    CEnchantSelectDialog& selection = services->enchanting.selection;
    ASSERT_EQ(services->modalChild, &selection);
    int row = -1;
    for (int i = 0; i < selection.items.GetCount(); ++i)
        if (selection.ItemOfRow(i) == wand) row = i;
    ASSERT_GE(row, 0) << "the wand is offered";
    selection.items.selection = row;
    rig.TapWidget(selection.useButton);
    rig.Tick(30);
    CRechargeDialog& recharge = selection.recharge;
    ASSERT_EQ(selection.modalChild, &recharge);
    const i32 price = recharge.Price();
    EXPECT_GT(price, 0);
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

}  // namespace
