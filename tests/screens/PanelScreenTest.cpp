// The panel screen on a started game with the built world: its page sets behind the tabs, the character
// frame's sub-pages and dialogs, the inventory's take, drop and equip through taps on the screen with
// the gold and load line, the warning when it closes overloaded, its saved section, and a wide and a
// narrow frame of every page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Game.h"
#include "core/Stream.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "data/WorldLists.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "screens/frontend/CreationDialogs.h"
#include "screens/frontend/TextEntryDialog.h"
#include "screens/panels/PanelScreen.h"
#include "tests/screens/CharacterTesting.h"
#include "tests/support/FrameRig.h"
#include "ui/Draw.h"
#include "ui/InterfacePictures.h"
#include "world/GameScreen.h"
#include "world/Player.h"

namespace {

// The game view as the panel sees it when it closes: the messages it was given and the target searches
// it ran.
class MessageView : public CGameScreen {
public:
    void PostMessageEvent(const char* text, const char*) override { messages.emplace_back(text); }
    bool CellHoldsItems() const override { return itemsOnCell; }
    void FindTargetInFront(u32 reference) override { searches.push_back(reference); }
    std::vector<std::string> messages;
    std::vector<u32> searches;
    bool itemsOnCell = false;
};

struct PanelRig : testing_support::FrameRig {
    bool Start() {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);
        Game()->ResetWorld();
        if (Game()->OpenGameDatabases(nullptr) == 0) return false;
        panel = static_cast<CPanelScreen*>(Game()->GetScreen(kScreenPanels));
        CPlayer& player = Game()->GetPlayer();
        character_testing::PrepareCharacter(player, Game()->GetRules());
        player.name = "Arin";
        player.gold = 120;
        player.hp = 30;
        player.mana = 20;
        return panel != nullptr;
    }
    // Opens the panel from the screen underneath: on the player's items beside `bag`, or looking into it.
    // A test that handed the bag over itself keeps its words.
    bool Open(CItemBag* bag, bool lookInto, bool prepared = false) {
        CScreen* below = Current();
        below->entryA = lookInto ? 0 : 1;
        below->entryB = below->entryC = below->entryD = 0;
        below->keepOnStack = 1;
        if (prepared)
            ;
        else if (lookInto)
            panel->PrepareContainer(bag, 0, 0);
        else
            panel->PrepareInventory(bag, 0);
        Game()->SwitchScreen(kScreenPanels);
        Tick();
        return Current() == panel;
    }
    // Closes the panel as its close button does, back to the screen below.
    u32 Close() {
        const u32 code = panel->OnCommand(CPanelScreen::kClose);
        Game()->SwitchScreen(code);
        Tick();
        return code;
    }
    const CItemType* Type(const char* id) const {
        const CRuleContext& rules = Game()->GetRules();
        return rules.items ? rules.items->FindItemType(id) : nullptr;
    }
    CItemInstance* Make(const char* id) {
        const CItemType* type = Type(id);
        return type ? CreateItemInstance(*type, -1, Game()->random.get()) : nullptr;
    }
    CItemInstance* Give(const char* id) {
        CItemInstance* item = Make(id);
        if (item) Game()->GetPlayer().TakeItem(item);
        return item;
    }
    bool Tap(u16 group, u32 element) {
        const bool ok = TapLayoutElement(group, element);
        Tick();
        return ok;
    }
    // Taps the middle of list cell `index` of the current page, or its top-left corner (the wear mark).
    void TapCell(int index, bool corner = false) {
        const CItemList& list = panel->inventory.list;
        const int onPage = index - list.first;
        const i32 cx = list.gridX + (onPage % list.columns) * (list.cellWidth + list.separatorWidth);
        const i32 cy = list.gridY + (onPage / list.columns) * (list.cellHeight + list.separatorHeight);
        if (corner)
            FrameRig::Tap(cx + 3, cy + 3);
        else
            FrameRig::Tap(cx + list.cellWidth / 2, cy + list.cellHeight / 2);
        Tick();
    }
    int EntryOf(const char* id) const {
        const auto& entries = panel->inventory.lists.GetEntries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].item->type == Type(id)) return static_cast<int>(i);
        return -1;
    }
    std::string Message() const {
        const CTextBox& box = panel->inventory.description;
        std::string out;
        for (u32 i = 0; i < box.pages.GetCount(); ++i) out += box.pages.GetText(i);
        for (char& c : out)
            if (c == '\r') c = ' ';
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    }
    // Switches the running game to a layout mode with its own interface pictures and fonts.
    void UseLayout(u32 mode) {
        CGame* game = Game();
        game->layoutMode = mode;
        for (int i = 0; i < kInterfacePictureCount; ++i) game->SetInterfacePicture(i, nullptr);
        u16 missing = 0;
        ASSERT_TRUE(game->LoadInterfacePictures(&missing)) << missing;
        ASSERT_TRUE(game->fonts->LoadFonts(*game, game->video->GetRenderer()));
    }
    testing_support::Rgb565Image Frame(int width, int height) {
        panel->flags |= kFormRedrawAll;
        panel->Draw();
        const testing_support::Rgb565Image full = Capture();
        testing_support::Rgb565Image out;
        out.width = width;
        out.height = height;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) out.pixels.push_back(full.At(x, y));
        return out;
    }

    CPanelScreen* panel = nullptr;
};

std::string Plain(const char* text) {
    CStr s(text);
    ToNumberGlyphs(s);
    return s.GetText();
}

TEST(PanelScreen, TabsSwitchThePageSetsAndTheInventoryTabClearsTheFilter) {
    PanelRig rig;
    ASSERT_TRUE(rig.Start());
    rig.Give("base_weap_shortswordcheap");
    CItemBag cell;
    ASSERT_TRUE(rig.Open(&cell, false));
    CPanelScreen& panel = *rig.panel;
    EXPECT_EQ(panel.state.page, CPanelScreen::kInventory);
    EXPECT_EQ(panel.HostedPage(), &panel.inventory);
    EXPECT_FALSE(panel.inventory.lists.IsShowingContainer());

    ASSERT_TRUE(rig.Tap(33, 311));  // weapons
    EXPECT_EQ(panel.state.itemFilter, 1u);
    EXPECT_EQ(panel.inventory.lists.GetEntries().size(), 1u);

    struct Step {
        u16 group;
        u32 element;
        u32 page, characterPage;
        CForm* hosted;
    } steps[] = {
        {33, 326, CPanelScreen::kCharacter, 0, &panel.sheet},
        {36, 361, CPanelScreen::kCharacter, 1, &panel.skills},
        {37, 363, CPanelScreen::kCharacter, 2, &panel.bundle},
        {41, 364, CPanelScreen::kCharacter, 3, &panel.bundle},
        {40, 362, CPanelScreen::kCharacter, 4, &panel.effects},
        {39, 327, CPanelScreen::kQuests, 4, &panel.quests},
        {34, 328, CPanelScreen::kSpells, 4, &panel.spells},
        // The character pages open again on the sub-page they were left on.
        {35, 326, CPanelScreen::kCharacter, 4, &panel.effects},
        {39, 360, CPanelScreen::kCharacter, 0, &panel.sheet},
        {36, 325, CPanelScreen::kInventory, 0, &panel.inventory},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.element);
        ASSERT_TRUE(rig.Tap(s.group, s.element));
        EXPECT_EQ(panel.state.page, s.page);
        EXPECT_EQ(panel.state.characterPage, s.characterPage);
        EXPECT_EQ(panel.HostedPage(), s.hosted);
        EXPECT_TRUE(panel.tabs[s.page].state & kWidgetLatched);
    }
    EXPECT_EQ(panel.state.itemFilter, 0u);

    // The effects filter is kept while the panel shows other pages.
    ASSERT_TRUE(rig.Tap(33, CPanelScreen::kTabCharacter));
    ASSERT_TRUE(rig.Tap(36, CPanelScreen::kCharacterEffects));
    ASSERT_TRUE(rig.Tap(39, CEffectsPage::kFilterAll));
    EXPECT_EQ(panel.state.effectsFilter, 2u);
    ASSERT_TRUE(rig.Tap(39, CPanelScreen::kCharacterMain));
    ASSERT_TRUE(rig.Tap(36, CPanelScreen::kCharacterEffects));
    EXPECT_EQ(panel.effects.Filter(), 2u);

    // The main menu keeps the panel on the stack; the cancel key closes it.
    ASSERT_TRUE(rig.Tap(33, CPanelScreen::kTabQuests));
    EXPECT_EQ(panel.OnCommand(CPanelScreen::kMainMenu), kScreenMainMenu);
    EXPECT_EQ(panel.keepOnStack, 1u);
    EXPECT_EQ(panel.state.page, CPanelScreen::kQuests);
    EXPECT_EQ(panel.OnKey(kCommandCancel), kScreenBack);
}

TEST(PanelScreen, DialogPageModesTakeOnlyTheirClosingCommand) {
    PanelRig rig;
    ASSERT_TRUE(rig.Start());
    const CItemType* letterType = rig.Type("base_race_rasvim_book");
    ASSERT_NE(letterType, nullptr);
    rig.Give("base_race_rasvim_book");
    ASSERT_TRUE(rig.Open(nullptr, false));
    CPanelScreen& panel = *rig.panel;

    // The letter is read through the use button: the reader is page mode 6.
    panel.inventory.lists.Select(rig.EntryOf("base_race_rasvim_book"));
    panel.inventory.ShowDescription();
    EXPECT_TRUE(panel.inventory.useButton.IsShown());
    panel.OnCommand(CInventoryPage::kUse);
    EXPECT_EQ(panel.state.page, CPanelScreen::kReader);
    EXPECT_EQ(panel.modalChild, &panel.reader);
    panel.OnCommand(26);
    EXPECT_EQ(panel.state.page, CPanelScreen::kReader);
    panel.OnCommand(25);
    EXPECT_EQ(panel.state.page, CPanelScreen::kInventory);
    EXPECT_EQ(panel.modalChild, nullptr);

    // Alchemy and repair close on 26 only.
    panel.OpenAlchemy(nullptr);
    EXPECT_EQ(panel.state.page, CPanelScreen::kAlchemy);
    panel.OnCommand(25);
    EXPECT_EQ(panel.state.page, CPanelScreen::kAlchemy);
    panel.OnCommand(26);
    EXPECT_EQ(panel.state.page, CPanelScreen::kInventory);

    // Rename: cancelled, then confirmed; both go back to the character page they came from.
    rig.Tick();
    ASSERT_TRUE(rig.Tap(33, 326));
    ASSERT_TRUE(rig.Tap(36, CPanelScreen::kRename));
    ASSERT_EQ(panel.state.page, CPanelScreen::kNameEntry);
    EXPECT_EQ(panel.modalChild, panel.nameDialog.get());
    EXPECT_STREQ(panel.nameDialog->GetText(), "Arin");
    panel.nameDialog->SetText("Brannoc");
    panel.OnCommand(26);
    EXPECT_EQ(panel.state.page, CPanelScreen::kCharacter);
    EXPECT_STREQ(rig.Game()->GetPlayer().name.GetText(), "Arin");
    panel.OnCommand(CPanelScreen::kRename);
    panel.nameDialog->SetText("Brannoc");
    panel.OnCommand(25);
    EXPECT_STREQ(rig.Game()->GetPlayer().name.GetText(), "Brannoc");
    EXPECT_STREQ(panel.nameLabel.text.GetText(), "Brannoc");

    // A cancelled face choice leaves the face as it was and still rebuilds the page.
    rig.Game()->GetPlayer().portrait = "no_such_face";
    panel.OnCommand(CPanelScreen::kChangeFace);
    EXPECT_EQ(panel.state.page, CPanelScreen::kFaceDialog);
    panel.OnCommand(26);
    EXPECT_EQ(panel.state.page, CPanelScreen::kCharacter);
    EXPECT_STREQ(rig.Game()->GetPlayer().portrait.GetText(), "no_such_face");
    EXPECT_EQ(panel.face.picture, nullptr);
}

TEST(PanelScreen, TakeDropAndEquipThroughTapsMoveItemsGoldAndLoad) {
    PanelRig rig;
    ASSERT_TRUE(rig.Start());
    CItemBag chest;
    CItemInstance* sword = rig.Make("base_weap_shortswordcheap");
    CItemInstance* coins = rig.Make("base_money_100");
    ASSERT_TRUE(sword && coins);
    chest.AddItem(sword);
    chest.AddItem(coins);
    chest.AddItem(rig.Make("base_shield_woodenround"));
    ASSERT_TRUE(rig.Open(&chest, true));
    CPanelScreen& panel = *rig.panel;
    CPlayer& player = rig.Game()->GetPlayer();
    ASSERT_TRUE(panel.inventory.lists.IsShowingContainer());
    ASSERT_EQ(panel.inventory.list.Count(), 3);
    const u32 capacity = static_cast<u32>(player.GetCarryCapacity());

    // Coins go to the gold, and the line says so.
    rig.TapCell(rig.EntryOf("base_money_100"));
    ASSERT_TRUE(rig.Tap(33, CInventoryPage::kTake));
    EXPECT_EQ(player.gold, 220u);
    EXPECT_EQ(rig.Message(), Plain("You have taken 100 gold."));
    CStr line;
    FormatGoldAndLoad(15, 220, 0, capacity, line);
    FitGoldAndLoadRows(line, 1, false);
    ToNumberGlyphs(line);
    EXPECT_STREQ(panel.goldLine.text.GetText(), line.GetText());
    EXPECT_EQ(chest.GetItemCount(), 2);
    // The message gives way to the description of the entry now selected after three seconds.
    rig.Tick(2900);
    EXPECT_EQ(panel.inventory.messageShown, 1u);
    rig.Tick(200);
    EXPECT_EQ(panel.inventory.messageShown, 0u);
    EXPECT_FALSE(panel.inventory.description.title.Equals(""));

    // The sword changes hands; the load grows by its weight.
    rig.TapCell(rig.EntryOf("base_weap_shortswordcheap"));
    ASSERT_TRUE(rig.Tap(33, CInventoryPage::kTake));
    ASSERT_EQ(player.items.size(), 1u);
    EXPECT_EQ(player.items[0].get(), sword);
    EXPECT_EQ(chest.GetItemCount(), 1);
    FormatGoldAndLoad(15, 220, sword->type->weight, capacity, line);
    FitGoldAndLoadRows(line, 1, false);
    ToNumberGlyphs(line);
    EXPECT_STREQ(panel.goldLine.text.GetText(), line.GetText());

    // Drop with the chest shown only switches to the player's items.
    ASSERT_TRUE(rig.Tap(33, CInventoryPage::kDrop));
    EXPECT_FALSE(panel.inventory.lists.IsShowingContainer());
    EXPECT_EQ(chest.GetItemCount(), 1);

    // A tap on the wear mark wields it; a second one takes it off again.
    rig.TapCell(0, true);
    EXPECT_EQ(player.equipment[5], sword);
    EXPECT_EQ(rig.Message(),
              Plain(("You have wielded " + CPlayer::FormatItemPhrase(*sword->type, 1) + ".").c_str()));
    rig.Tick(500);
    rig.TapCell(0, true);
    EXPECT_EQ(player.equipment[5], nullptr);
    rig.Tick(500);
    rig.TapCell(0, true);
    EXPECT_EQ(player.equipment[5], sword);

    // Dropping a wielded sword takes it off first; the chest has it again and the load is back at 0.
    ASSERT_TRUE(rig.Tap(33, CInventoryPage::kDrop));
    EXPECT_EQ(player.equipment[5], nullptr);
    EXPECT_TRUE(player.items.empty());
    EXPECT_EQ(chest.GetItemCount(), 2);
    FormatGoldAndLoad(15, 220, 0, capacity, line);
    FitGoldAndLoadRows(line, 1, false);
    ToNumberGlyphs(line);
    EXPECT_STREQ(panel.goldLine.text.GetText(), line.GetText());
}

TEST(PanelScreen, DropWithoutABagLeavesTheItemAndDoubleTapsTakeFromTheBag) {
    PanelRig rig;
    ASSERT_TRUE(rig.Start());
    CItemInstance* shield = rig.Give("base_shield_woodenround");
    ASSERT_TRUE(rig.Open(nullptr, false));
    rig.TapCell(0);
    ASSERT_TRUE(rig.Tap(33, CInventoryPage::kDrop));
    ASSERT_EQ(rig.Game()->GetPlayer().items.size(), 1u);
    EXPECT_EQ(rig.Game()->GetPlayer().items[0].get(), shield);
    ASSERT_TRUE(rig.Tap(33, CPanelScreen::kClose));

    CItemBag pile;
    pile.AddItem(rig.Make("base_phealsmall"));
    ASSERT_TRUE(rig.Open(&pile, true));
    rig.TapCell(0);
    rig.TapCell(0);  // 30 ms later: a double tap takes it
    EXPECT_EQ(pile.GetItemCount(), 0);
    EXPECT_EQ(rig.Game()->GetPlayer().items.size(), 2u);
}

TEST(PanelScreen, ClosingOverloadedWarnsTheGameView) {
    struct Case {
        i32 weight, capacity;
        const char* warning;
    } cases[] = {
        {1000, 1000, nullptr},
        {1001, 1000, "You carry too much - your attack capabilities are decreased."},
        {1500, 1000, "You carry too much - your attack capabilities are decreased."},
        {1501, 1000, "You carry way too much - you can't move."},
        {0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.weight);
        const char* warning = CarryWarning(c.weight, c.capacity);
        EXPECT_EQ(warning ? std::string(warning) : std::string(), c.warning ? std::string(c.warning) : std::string());
    }

    PanelRig rig;
    ASSERT_TRUE(rig.Start());
    // The game view's slot holds the listening view while the test runs; the game's own view (whose
    // view state the video output describes) stays alive beside it and goes back at the end.
    std::unique_ptr<CScreen> view = std::make_unique<MessageView>();
    MessageView* messages = static_cast<MessageView*>(view.get());
    std::unique_ptr<CScreen>& slot = rig.Game()->screens[static_cast<size_t>(ScreenSlotOf(kScreenGame))];
    std::swap(slot, view);
    struct Restore {
        std::unique_ptr<CScreen>& slot;
        std::unique_ptr<CScreen>& own;
        ~Restore() { std::swap(slot, own); }
    } restore{slot, view};
    CPlayer& player = rig.Game()->GetPlayer();
    // Within the capacity: no warning. A pile looked into through a game event: the view looks again.
    CItemBag pile;
    rig.panel->PrepareContainer(&pile, 7, 41);
    ASSERT_TRUE(rig.Open(&pile, true, true));
    EXPECT_EQ(rig.Close(), kScreenBack);
    EXPECT_TRUE(messages->messages.empty());
    EXPECT_EQ(messages->searches, std::vector<u32>{41});

    // The player's own items beside the cell's bag: a search only when items lie on the cell.
    while (static_cast<i32>(player.GetCarriedWeight()) <= player.GetCarryCapacity())
        rig.Give("base_mail_scalecheap");
    CItemBag cell;
    ASSERT_TRUE(rig.Open(&cell, false));
    EXPECT_EQ(rig.Close(), kScreenBack);
    EXPECT_EQ(messages->searches.size(), 1u);
    ASSERT_EQ(messages->messages.size(), 1u);
    EXPECT_EQ(messages->messages[0], CarryWarning(static_cast<i32>(player.GetCarriedWeight()),
                                                  player.GetCarryCapacity()));
    messages->itemsOnCell = true;
    ASSERT_TRUE(rig.Open(&cell, false));
    rig.Close();
    EXPECT_EQ(messages->searches.size(), 2u);
}

TEST(PanelScreen, SavedSectionIsTheMarkerAndEightAlignedWords) {
    CPanelState state;
    state.page = 2;
    state.savedPage = 1;
    state.characterPage = 4;
    state.detailMode = 0;
    state.itemFilter = 7;
    state.effectsFilter = 2;
    state.questFilter = 3;
    state.spellPage = 6;
    CStream out;
    out.InitForWriting();
    SerializePanelState(out, state);
    const std::vector<u8> expected = {'X', 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0,
                                      2, 0, 0, 0, 3, 0, 0, 0, 6, 0, 0, 0};
    ASSERT_EQ(out.GetOffset(), expected.size());
    EXPECT_EQ(std::vector<u8>(out.GetBuffer(), out.GetBuffer() + out.GetOffset()), expected);

    // Read back; a section without the marker is read from its first byte.
    std::vector<u8> bytes = expected;
    CStream in;
    in.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    CPanelState back;
    SerializePanelState(in, back);
    EXPECT_FALSE(in.HasError());
    EXPECT_EQ(back.questFilter, 3u);
    EXPECT_EQ(back.spellPage, 6u);
    std::vector<u8> bare(expected.begin() + 4, expected.end());
    CStream bareIn;
    bareIn.InitForReading(bare.data(), static_cast<u32>(bare.size()));
    CPanelState fromBare;
    SerializePanelState(bareIn, fromBare);
    EXPECT_FALSE(bareIn.HasError());
    EXPECT_EQ(fromBare.page, 2u);
    EXPECT_EQ(fromBare.spellPage, 6u);
    // A cut section is an error, not a read past its end.
    std::vector<u8> cut(expected.begin(), expected.begin() + 10);
    CStream cutIn;
    cutIn.InitForReading(cut.data(), static_cast<u32>(cut.size()));
    CPanelState fromCut;
    SerializePanelState(cutIn, fromCut);
    EXPECT_TRUE(cutIn.HasError());
}

}  // namespace

namespace {

// A character with something on every page: worn and carried items, known spells of two schools, the
// race's ability, three quests in their three states.
void Furnish(PanelRig& rig) {
    CPlayer& player = rig.Game()->GetPlayer();
    const CRuleContext& rules = rig.Game()->GetRules();
    std::vector<const char*> faces;
    CollectSelectableFaces(*rig.Game(), faces);
    if (!faces.empty()) player.portrait = faces[0];
    CItemInstance* sword = rig.Give("base_weap_shortswordcheap");
    CItemInstance* shield = rig.Give("base_shield_woodenround");
    rig.Give("base_mail_frayedleather");
    rig.Give("base_phealsmall");
    rig.Give("base_phealsmall");
    rig.Give("base_pmanasmall");
    rig.Give("base_race_etherim_book");
    rig.Give("base_spbookfeather");
    if (sword) player.EquipItem(sword, false);
    if (shield) player.EquipItem(shield, true);
    for (const char* id : {"base_spellcurelightwounds", "base_spellstoneskin", "base_spellburninghand"})
        if (const CSpell* spell = rules.spells ? rules.spells->FindById(id) : nullptr) player.LearnSpell(*spell);
    if (rules.abilities)
        if (const CEffectBundle* ability = rules.abilities->FindById("base_ability_etherim"))
            player.abilities.push_back(static_cast<const CAbility*>(ability));
    using character_testing::MakeEffect;
    if (const CItemType* potion = rig.Type("base_phealsmall"))
        player.effects[kListFortifyAc].push_back(MakeEffect(kListFortifyAc, 4, 6, kFromDrink, potion));
    if (const CSpell* spell = rules.spells ? rules.spells->FindById("base_spellstoneskin") : nullptr)
        player.effects[kListFortifyAttribute].push_back(
            MakeEffect(kListFortifyAttribute, 5, 12, kFromSpell, spell, kStrength));
    if (const CQuestList* quests = rig.Game()->GetQuests())
        for (size_t i = 0; i < quests->Count() && i < 3; ++i)
            player.quests.push_back({quests->At(i)->id, static_cast<u8>(i)});
}

}  // namespace

TEST(PanelFrames, EveryPageInAWideAndANarrowLayout) {
    struct Layout {
        u32 mode;
        const char* name;
        int width, height;
    } layouts[] = {{15, "mode15", 800, 584}, {16, "mode16", 400, 292}};
    struct Page {
        const char* name;
        u32 page, characterPage;
    } pages[] = {
        {"inventory", CPanelScreen::kInventory, 0}, {"character", CPanelScreen::kCharacter, 0},
        {"skills", CPanelScreen::kCharacter, 1},    {"abilities", CPanelScreen::kCharacter, 2},
        {"diseases", CPanelScreen::kCharacter, 3},  {"effects", CPanelScreen::kCharacter, 4},
        {"quests", CPanelScreen::kQuests, 0},       {"spells", CPanelScreen::kSpells, 0},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.mode);
        PanelRig rig;
        ASSERT_TRUE(rig.Start());
        rig.UseLayout(layout.mode);
        Furnish(rig);
        ASSERT_TRUE(rig.Open(nullptr, false));
        for (const Page& page : pages) {
            SCOPED_TRACE(page.name);
            rig.panel->state.page = page.page;
            rig.panel->state.characterPage = page.characterPage;
            rig.panel->RebuildPage();
            EXPECT_TRUE(testing_support::MatchesGolden(
                std::string("screens/panel_") + page.name + "_" + layout.name,
                rig.Frame(layout.width, layout.height)));
        }
        rig.Game()->layoutMode = 15;
    }
}

TEST(PanelScreen, ASecondOneHandedWeaponGoesLeftAndAThirdAsksWhichHand) {
    PanelRig rig;
    ASSERT_TRUE(rig.Start());
    CPlayer& player = rig.Game()->GetPlayer();
    CItemInstance* sword = rig.Give("base_weap_shortswordcheap");
    CItemInstance* dirk = rig.Give("base_weap_dirkcheap");
    CItemInstance* second = rig.Make("base_weap_dirkcheap");
    ASSERT_TRUE(sword && dirk && second);
    second->count = 500;  // worn: its own stack
    player.TakeItem(second);
    ASSERT_TRUE(rig.Open(nullptr, false));
    CPanelScreen& panel = *rig.panel;
    auto wear = [&](CItemInstance* item) {
        for (size_t i = 0; i < panel.inventory.lists.GetEntries().size(); ++i)
            if (panel.inventory.lists.GetEntries()[i].item == item) {
                rig.Tick(500);
                rig.TapCell(static_cast<int>(i), true);
                return;
            }
        ADD_FAILURE() << "no entry";
    };
    wear(sword);
    EXPECT_EQ(player.equipment[5], sword);
    wear(dirk);
    EXPECT_EQ(player.equipment[6], dirk);
    wear(second);
    ASSERT_EQ(panel.state.page, CPanelScreen::kHandQuestion);
    ASSERT_EQ(panel.modalChild, &panel.handBar);
    EXPECT_EQ(player.equipment[5], sword);

    rig.Tick();
    const CTextButton& left = panel.handBar.buttons[5];
    rig.FrameRig::Tap(left.x + left.w / 2, left.y + left.h / 2);
    rig.Tick();
    EXPECT_EQ(panel.state.page, CPanelScreen::kInventory);
    EXPECT_EQ(panel.modalChild, nullptr);
    EXPECT_EQ(player.equipment[6], second);
    EXPECT_EQ(player.equipment[5], sword);
    EXPECT_EQ(rig.Message(), Plain(("You have wielded " + CPlayer::FormatItemPhrase(*second->type, 1) +
                                    " in your left hand.")
                                       .c_str()));
}

TEST(PanelScreen, FiltersAndThePaperDollChooseWhatTheGridLists) {
    PanelRig rig;
    ASSERT_TRUE(rig.Start());
    CPlayer& player = rig.Game()->GetPlayer();
    rig.Give("base_spbookfeather");
    CItemInstance* shield = rig.Give("base_shield_woodenround");
    rig.Give("base_phealsmall");
    player.EquipItem(shield, true);
    ASSERT_TRUE(rig.Open(nullptr, false));
    CInventoryPage& page = rig.panel->inventory;
    // Spellbooks are listed by the books filter, but only letters and books enable its button: a tap
    // on it does nothing, the filter itself lists the spellbook.
    ASSERT_TRUE(rig.Tap(33, 314));
    EXPECT_EQ(rig.panel->state.itemFilter, 0u);
    page.OnCommand(314);
    EXPECT_EQ(rig.panel->state.itemFilter, 4u);
    ASSERT_EQ(page.list.Count(), 1);
    EXPECT_EQ(page.list.EntryAt(0)->itemClass, kItemMagic);
    EXPECT_FALSE(page.filters[4].state & kWidgetPenEnabled);
    EXPECT_TRUE(page.filters[6].state & kWidgetPenEnabled);
    EXPECT_FALSE(page.filters[1].state & kWidgetPenEnabled);

    // A tap on the worn shield in the paper doll lists armour and selects it.
    rig.panel->state.detailMode = 0;
    page.OnCommand(CInventoryPage::kDetailOff);
    ASSERT_TRUE(page.paperDoll.IsShown());
    int slot = 0;
    for (int s = 1; s <= kEquipmentSlotCount; ++s)
        if (player.equipment[s] == shield) slot = s;
    ASSERT_NE(slot, 0);
    rig.Tick();
    rig.FrameRig::Tap(page.paperDoll.x + page.paperDoll.slotX[slot] + 5,
                      page.paperDoll.y + page.paperDoll.slotY[slot] + 5);
    rig.Tick();
    EXPECT_EQ(rig.panel->state.itemFilter, 2u);
    ASSERT_NE(page.lists.GetSelectedEntry(), nullptr);
    EXPECT_EQ(page.lists.GetSelectedEntry()->item, shield);
}

TEST(JournalPages, QuestStatesAndSpellCosts) {
    struct QuestCase {
        u8 state;
        u8 mark;
        bool shown[4];  // all, active, solved, failed
    } quests[] = {
        {0, 2, {true, true, false, false}},
        {1, 0, {true, false, true, false}},
        {2, 1, {true, false, false, true}},
    };
    for (const QuestCase& c : quests) {
        CPlayerQuest quest;
        quest.state = c.state;
        EXPECT_EQ(QuestMark(quest), c.mark);
        for (u32 f = 0; f < 4; ++f) EXPECT_EQ(QuestFilterShows(f, c.mark), c.shown[f]) << int(c.state) << f;
    }
    struct CostCase {
        u32 base, perPoint;
        int skill;
        u32 cost;
    } costs[] = {{5, 50, 7, 8}, {5, 50, 0, 5}, {20, 30, 99, 49}, {20, 30, -5, 20}};
    for (const CostCase& c : costs) EXPECT_EQ(SpellCost(c.base, c.perPoint, c.skill), c.cost);
}

TEST(JournalPages, QuestFiltersAndSpellSchoolsThroughTheirTaps) {
    PanelRig rig;
    ASSERT_TRUE(rig.Start());
    CPlayer& player = rig.Game()->GetPlayer();
    const CQuestList* quests = rig.Game()->GetQuests();
    ASSERT_TRUE(quests && quests->Count() >= 2);
    player.quests.push_back({quests->At(0)->id, 0});
    player.quests.push_back({quests->At(1)->id, 1});
    player.quests.push_back({"no_such_quest", 0});  // not in the world: left out
    const CRuleContext& rules = rig.Game()->GetRules();
    for (const char* id : {"base_spellcurelightwounds", "base_spellburninghand"})
        player.LearnSpell(*rules.spells->FindById(id));
    ASSERT_TRUE(rig.Open(nullptr, false));
    CPanelScreen& panel = *rig.panel;

    ASSERT_TRUE(rig.Tap(33, CPanelScreen::kTabQuests));
    CQuestPage& page = panel.quests;
    EXPECT_EQ(page.list.GetCount(), 2);
    EXPECT_STREQ(page.text.title.GetText(), quests->At(0)->title);
    struct Step {
        u32 link;
        int count;
    } steps[] = {{345, 1}, {346, 1}, {347, 0}, {344, 2}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.link);
        ASSERT_TRUE(rig.Tap(34, s.link));
        EXPECT_EQ(panel.state.questFilter, s.link - 344);
        EXPECT_EQ(page.list.GetCount(), s.count);
        EXPECT_TRUE(page.filterLinks[s.link - 344].state & kWidgetLatched);
        if (s.count == 0) {
            EXPECT_EQ(page.list.selection, -1);
            EXPECT_STREQ(page.text.title.GetText(), "");
            EXPECT_EQ(page.text.GetPageCount() == 0 || std::string(page.text.pages.GetText(0)).empty(), true);
        }
    }

    // The spells page starts on the first school each time it is built.
    panel.state.spellPage = 3;
    ASSERT_TRUE(rig.Tap(34, CPanelScreen::kTabSpells));
    EXPECT_EQ(panel.state.spellPage, 1u);
    EXPECT_EQ(panel.spells.list.GetCount(), 1);
    ASSERT_TRUE(rig.Tap(35, 210));
    EXPECT_EQ(panel.state.spellPage, 3u);
    ASSERT_EQ(panel.spells.list.GetCount(), 1);
    const CSpell* burning = rules.spells->FindById("base_spellburninghand");
    EXPECT_STREQ(panel.spells.text.title.GetText(), burning->GetDisplayName());
    const int schoolSkill = rules.spells->GetSchoolSkill(burning->school);
    CStr cost;
    cost.Format("Costs %u sp", SpellCost(burning->base, burning->factor,
                                         schoolSkill >= 1 ? player.GetSkillValue(schoolSkill) : 0));
    ToNumberGlyphs(cost);
    std::string body;
    for (u32 i = 0; i < panel.spells.text.pages.GetCount(); ++i) body += panel.spells.text.pages.GetText(i);
    for (char& c : body)
        if (c == '\r') c = ' ';
    EXPECT_NE(body.find(cost.GetText()), std::string::npos) << body;
    ASSERT_TRUE(rig.Tap(35, 212));  // a school the player knows nothing of
    EXPECT_EQ(panel.spells.list.GetCount(), 0);
    EXPECT_STREQ(panel.spells.text.title.GetText(), "");
}

TEST(PanelScreen, CharacterListsPageThroughTheirButtons) {
    PanelRig rig;
    ASSERT_TRUE(rig.Start());
    CPlayer& player = rig.Game()->GetPlayer();
    // One potion effect in every kind: more kinds than the list shows at once.
    const CItemType* potion = rig.Type("base_phealsmall");
    ASSERT_NE(potion, nullptr);
    for (int kind = 1; kind <= kEffectListCount; ++kind)
        player.effects[kind].push_back(character_testing::MakeEffect(kind, 3, 5, kFromDrink, potion, 1));
    ASSERT_TRUE(rig.Open(nullptr, false));
    CPanelScreen& panel = *rig.panel;
    ASSERT_TRUE(rig.Tap(33, CPanelScreen::kTabCharacter));
    ASSERT_TRUE(rig.Tap(36, CPanelScreen::kCharacterEffects));
    CEffectsPage& page = panel.effects;
    const int rows = page.list.visibleRows;
    ASSERT_GT(rows, 0);
    ASSERT_GT(page.list.GetCount(), rows);
    EXPECT_FALSE(page.pageUp.state & kWidgetPenEnabled);
    EXPECT_TRUE(page.pageDown.state & kWidgetPenEnabled);

    ASSERT_TRUE(rig.Tap(39, CEffectsPage::kPageDown));
    EXPECT_EQ(page.list.topRow, rows);
    EXPECT_EQ(page.list.selection, rows);
    EXPECT_TRUE(page.pageUp.state & kWidgetPenEnabled);
    EXPECT_EQ(page.pageDown.state & kWidgetPenEnabled, page.list.GetCount() > 2 * rows ? kWidgetPenEnabled : 0);
    ASSERT_TRUE(rig.Tap(39, CEffectsPage::kPageUp));
    EXPECT_EQ(page.list.topRow, 0);
    EXPECT_EQ(page.list.selection, 0);
}
