// The town's people met in a new game as a user meets them: a talk from the game view opens the NPC's
// screen over it, its services open their dialogs or the shop (stocked from the merchant's bag on the
// map), and leaving gives the game view back. Taps on the screens' own widgets drive every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/Game.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/Npc.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "screens/npc/CraftRules.h"
#include "screens/npc/EnchantTypeEntryDialog.h"
#include "screens/npc/LockPickDialog.h"
#include "screens/npc/RestDialog.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/ShopScreen.h"
#include "screens/npc/TalkScreen.h"
#include "script/ScriptContext.h"
#include "script/ScriptMessages.h"
#include "tests/app/NewGameRig.h"
#include "tests/support/FrameRig.h"
#include "tests/support/Png.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

using testing_support::TownRig;

TEST(NpcScreensInGame, TheMerchantSellsFromTheStockInItsBagAndTheViewComesBack) {
    TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGame& game = *rig.Game();
    CGameScreen* view = rig.View();
    game.player.gold = 5000;

    // The merchant trades: its menu opens, and the words name it, its creature and the town's bags.
    auto* services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Hesper"));
    ASSERT_NE(services, nullptr);
    ASSERT_NE(services->GetNpc(), nullptr);
    EXPECT_STREQ(services->GetNpc()->GetName(), "Hesper");
    EXPECT_EQ(services->entryC, 4u);  // the merchant's creature id in the town piece
    EXPECT_EQ(game.GetSectionForEntry(services->entryD), view->section);
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_services_merchant", rig.Capture()));

    ASSERT_TRUE(rig.TapService(*services, kServicesBuySell));
    rig.Settle();
    auto* shop = dynamic_cast<CShopScreen*>(rig.Current());
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->merchant, services->GetNpc());
    ASSERT_NE(shop->merchantBag, nullptr);
    const int stocked = shop->merchantBag->GetItemCount();
    ASSERT_GT(stocked, 0);
    for (int i = 0; i < stocked; ++i) {
        const u8 cls = shop->merchantBag->GetItem(i)->type->itemClass;
        EXPECT_TRUE(cls >= 1 && cls <= 3) << "class " << int(cls) << " is not among the merchant's";
    }
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_shop_merchant", rig.Capture()));

    // Buy the first entry: the gold goes down by what the trade said, the item moves to the player.
    const size_t carried = game.player.items.size();
    ASSERT_TRUE(rig.TapLayoutElement(CShopScreen::kLayoutGroup, CShopScreen::kBuy));
    EXPECT_EQ(game.player.items.size(), carried + 1);
    EXPECT_EQ(shop->merchantBag->GetItemCount(), stocked - 1);
    EXPECT_LT(game.player.gold, 5000u);
    EXPECT_GT(game.player.gold, 0u);

    // Leave the shop and the menu: the view is back, and a second visit keeps the stock made once.
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CShopScreen::kLayoutGroup, CShopScreen::kLeave));
    EXPECT_EQ(rig.Current(), services);
    rig.Settle();
    ASSERT_TRUE(rig.TapService(*services, kServicesBuySell));
    rig.Settle();
    ASSERT_EQ(rig.Current(), shop);
    EXPECT_EQ(shop->merchantBag->GetItemCount(), stocked - 1);
    ASSERT_TRUE(rig.TapLayoutElement(CShopScreen::kLayoutGroup, CShopScreen::kLeave));
    rig.Settle();
    rig.TapWidget(services->leaveButton);
    EXPECT_EQ(rig.Current(), view);
}

TEST(NpcScreensInGame, TheSmithRepairsAndTheInnkeeperLetsARoom) {
    TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGame& game = *rig.Game();
    CGameScreen* view = rig.View();
    game.player.gold = 1000;
    // A worn dagger.
    const CItemType* dirk = game.worldLists->items.FindItemType("base_weap_dirkcheap");
    ASSERT_NE(dirk, nullptr);
    CItemInstance* weapon = game.player.AddItemCopies(1, *dirk);
    ASSERT_NE(weapon, nullptr);
    weapon->count = static_cast<u16>(dirk->maxCondition / 2);

    auto* services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Corwen"));
    ASSERT_NE(services, nullptr);
    ASSERT_TRUE(rig.TapService(*services, kServicesRepair));
    rig.Settle();
    ASSERT_EQ(services->modalChild, &services->repairDialog);
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_smith_repair", rig.Capture()));
    CSmithRepairDialog& repair = services->repairDialog;
    ASSERT_FALSE(repair.items.empty());
    int row = -1;
    for (size_t i = 0; i < repair.items.size(); ++i)
        if (repair.items[i] == weapon) row = static_cast<int>(i);
    ASSERT_GE(row, 0);
    repair.list.selection = row;
    const u32 price = repair.PriceOf(*weapon);
    EXPECT_GT(price, 0u);
    rig.TapWidget(repair.actionButton);
    EXPECT_EQ(weapon->count, weapon->type->maxCondition);
    EXPECT_EQ(game.player.gold, 1000u - price);
    rig.CloseWith(*services, repair.cancelButton);

    // The smith trades too, from a bag of its own: the shop names the smith, not the NPC that comes
    // first in the world's list (the merchant).
    ASSERT_TRUE(rig.TapService(*services, kServicesBuySell));
    rig.Settle();
    auto* shop = dynamic_cast<CShopScreen*>(rig.Current());
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->merchant, services->GetNpc());
    ASSERT_NE(shop->merchantBag, nullptr);
    EXPECT_EQ(shop->merchantBag->id, 2);
    ASSERT_TRUE(rig.TapLayoutElement(CShopScreen::kLayoutGroup, CShopScreen::kLeave));
    rig.Settle();
    rig.TapWidget(services->leaveButton);
    ASSERT_EQ(rig.Current(), view);
    rig.Tick(30);

    // The inn: Sleep offers a room, Yes takes the rent and opens the rest dialog; eight hours pass.
    services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Maren"));
    ASSERT_NE(services, nullptr);
    const u32 gold = game.player.gold;
    const u32 clock = view->gameClock.Minutes();
    ASSERT_TRUE(rig.TapService(*services, kServicesSleep));
    rig.Settle();
    ASSERT_EQ(services->modalChild, &services->messageBar);
    services->OnCommand(CButtonBar::kYes);
    ASSERT_EQ(services->modalChild, &services->restDialog);
    EXPECT_LT(game.player.gold, gold);
    EXPECT_EQ(view->gameClock.Minutes(), clock + 8 * 60);
    rig.Settle();
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_inn_rest", rig.Capture()));

    // Eight hours of a second each; then the close button gives the menu back, the player rested.
    for (int hour = 1; hour < 8; ++hour) rig.Tick(1001);
    EXPECT_EQ(services->restDialog.GetHour(), 8u);
    EXPECT_NE(std::string(services->restDialog.GetWakeText()).find("serves delicious food"), std::string::npos);
    // Every line of it shows, down to the last ("(hp and sp are increased for a while).").
    rig.Settle();
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_inn_woken", rig.Capture()));
    EXPECT_EQ(game.player.hp, game.player.GetMaxHp() * 5 / 4);
    rig.CloseWith(*services, services->restDialog.closeButton);
    rig.TapWidget(services->leaveButton);
    EXPECT_EQ(rig.Current(), view);
}

// The trainer has a service and so its menu; its talk shows the service again as a link.
TEST(NpcScreensInGame, TheTrainerTeachesFromItsMenuAndFromItsTalk) {
    TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGame& game = *rig.Game();
    game.player.gold = 1000;
    auto* services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Aldo"));
    ASSERT_NE(services, nullptr);
    ASSERT_TRUE(rig.TapService(*services, kServicesTraining));
    rig.Settle();
    ASSERT_EQ(services->modalChild, &services->trainingDialog);
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_training", rig.Capture()));
    CTrainingDialog& training = services->trainingDialog;
    const u32 skill = training.skill;
    ASSERT_TRUE(skill >= 1 && skill <= 20);
    const u16 before = game.player.skills[skill];
    const u32 price = training.price;
    ASSERT_GT(price, 0u);
    rig.TapWidget(training.trainButton);
    EXPECT_EQ(game.player.skills[skill], before + 1);
    EXPECT_EQ(game.player.gold, 1000u - price);
    rig.CloseWith(*services, training.cancelButton);

    ASSERT_TRUE(rig.TapService(*services, kServicesTalk));
    rig.Settle();
    auto* talk = dynamic_cast<CTalkScreen*>(rig.Current());
    ASSERT_NE(talk, nullptr);
    ASSERT_TRUE(rig.TapTalkLink(*talk, kTalkTraining));
    rig.Settle();
    ASSERT_EQ(talk->modalChild, &talk->trainingDialog);
    const u32 gold = game.player.gold;
    rig.TapWidget(talk->trainingDialog.trainButton);
    EXPECT_EQ(game.player.skills[skill], before + 2);
    EXPECT_LT(game.player.gold, gold);
    rig.CloseWith(*talk, talk->trainingDialog.cancelButton);
    rig.TapWidget(talk->exitLink);
    EXPECT_EQ(rig.Current(), services);
    rig.Settle();
    rig.TapWidget(services->leaveButton);
    EXPECT_EQ(rig.Current(), rig.View());
}

// The shepherd has no services: the talk screen opens at once with its portrait and greeting.
TEST(NpcScreensInGame, TheShepherdTalksOfTheWolves) {
    TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    auto* talk = dynamic_cast<CTalkScreen*>(rig.TalkTo("Tamsin"));
    ASSERT_NE(talk, nullptr);
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_talk_shepherd", rig.Capture()));

    // A message of a script run in the talk (a dialogue line's) joins the speech.
    CScriptContext* context = rig.Game()->GetScriptContext();
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(context->GetRouting(), kRouteTalk);
    ShowGameMessage(*context, "A dog barks somewhere.", 0);
    std::string speech;
    for (const CTextViewLineArray* lines : {&talk->speechView.rows, &talk->speechView.pending})
        for (u32 i = 0; i < lines->Count(); ++i) speech += std::string(lines->At(i).text.GetText()) + " ";
    EXPECT_NE(speech.find("A dog barks"), std::string::npos) << speech;

    // The wolves: the shepherd asks, the answers stand as links; one answer and the talk goes on.
    bool tapped = false;
    for (const auto& link : talk->links)
        if (std::strcmp(link->text.GetText(), "The wolves") == 0) {
            rig.TapWidget(*link);
            tapped = true;
            break;
        }
    ASSERT_TRUE(tapped);
    rig.Settle();
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_talk_wolves", rig.Capture()));
    std::vector<std::string> shown = talk->ShownLinks();
    const auto answer = std::find(shown.begin(), shown.end(), "I will clear the den.");
    ASSERT_NE(answer, shown.end());
    ASSERT_NE(answer + 1, shown.end());
    EXPECT_EQ(*(answer + 1), "Not today.");
    ASSERT_TRUE(rig.TapTalkLink(*talk, kTalkAnswerBase));
    rig.Settle();
    shown = talk->ShownLinks();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "Not today."), 0);
    EXPECT_EQ(shown.back(), "Goodbye");
    rig.TapWidget(talk->exitLink);

    EXPECT_EQ(rig.Current(), rig.View());
}

// The rest command of the game view: its prompt, then the same rest dialog in the open, over the view.
TEST(NpcScreensInGame, TheRestCommandSleepsInTheOpen) {
    TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGame& game = *rig.Game();
    CGameScreen* view = rig.View();
    game.player.hp = 1;
    // Without a meal for the night the rest is refused; bread and water make one.
    auto meals = [&] {
        int n = 0;
        for (const auto& item : game.player.items) n += item->type && item->type->itemClass == 14;
        return n;
    };
    for (size_t i = game.player.items.size(); i-- > 0;)
        if (game.player.items[i]->type && game.player.items[i]->type->itemClass == 14)
            game.player.RemoveItem(game.player.items[i].get());
    ASSERT_EQ(meals(), 0);
    ASSERT_TRUE(rig.TapLayoutElement(43, 547));  // the rest button
    rig.Settle();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeMessage);
    rig.Key(32);
    rig.Settle();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeNormal);
    for (const char* id : {"base_food_bread", "base_drink_water"}) {
        const CItemType* type = game.worldLists->items.FindItemType(id);
        ASSERT_NE(type, nullptr) << id;
        ASSERT_NE(game.player.AddItemCopies(1, *type), nullptr);
    }
    const u32 clock = view->gameClock.Minutes();
    ASSERT_TRUE(rig.TapLayoutElement(43, 547));
    rig.Settle();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeRestPrompt);
    rig.Key(32);  // Yes: the space bar is "use" (return hits, in the wide layouts)
    ASSERT_EQ(view->screenMode, CGameScreen::kModeRest);
    auto* rest = dynamic_cast<CRestDialog*>(view->modalChild);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(view->gameClock.Minutes(), clock + 8 * 60);
    EXPECT_EQ(meals(), 0) << "the bread and the water were the meal";
    if (view->weather.Intensity() == 0) {
        EXPECT_EQ(game.player.hp, game.player.GetMaxHp());
    } else {
        EXPECT_GT(game.player.hp, 1);  // in the rain: half of what was lacking
    }
    rig.Tick(30);
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_rest", rig.Capture()));
    for (int hour = 1; hour < 8; ++hour) rig.Tick(1001);
    EXPECT_EQ(rest->GetHour(), 8u);
    EXPECT_NE(std::string(rest->GetWakeText()).find("You eat and drink"), std::string::npos);
    rig.Tick(30);
    rig.TapWidget(rest->closeButton);
    EXPECT_EQ(view->modalChild, nullptr);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
}

// A locked door's Pick: the lock-picking dialog over the view, on the door's lock word. A good hand
// opens a light lock; a trapped lock that holds springs the trap at its strength.
TEST(NpcScreensInGame, ALockIsPickedFromTheGameView) {
    TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGame& game = *rig.Game();
    CGameScreen* view = rig.View();
    const CItemType* pickType = game.worldLists->items.FindItemType("base_key_lockpickbeginner");
    ASSERT_NE(pickType, nullptr);
    ASSERT_NE(game.player.AddItemCopies(1, *pickType), nullptr);
    game.player.skills[craft::kLockpickSkill] = 100;

    u16 lock = 1u << 6;  // level 1, no trap
    view->PickLock(lock);
    ASSERT_EQ(view->screenMode, CGameScreen::kModeLockPick);
    auto* dialog = dynamic_cast<CLockPickDialog*>(view->modalChild);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->PickCount(), 1);
    rig.Settle();
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_lockpick", rig.Capture()));
    rig.TapWidget(dialog->pickButton);
    EXPECT_EQ(lock & 0x3C0u, 0u);
    EXPECT_EQ(view->modalChild, nullptr);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);

    // A lock beyond any hand (level 15) with a trap of 3: the attempt fails and the trap fires.
    u16 sprung = 0;
    view->springTrap = [&](u16 word) { sprung = word; };
    game.player.skills[craft::kLockpickSkill] = 1;
    u16 trapped = static_cast<u16>((15u << 6) | (3u << 10));
    rig.Tick(30);
    view->PickLock(trapped);
    ASSERT_EQ(view->screenMode, CGameScreen::kModeLockPick);
    rig.Settle();
    rig.TapWidget(static_cast<CLockPickDialog*>(view->modalChild)->pickButton);
    EXPECT_EQ(sprung, trapped);
    EXPECT_EQ(trapped & 0x3C0u, 15u << 6);
    EXPECT_EQ(view->modalChild, nullptr);
}

// The enchanter's service: the selection of the player's enchantable items over its menu.
TEST(NpcScreensInGame, TheEnchanterOffersTheItemsToEnchant) {
    TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGame& game = *rig.Game();
    const CItemCatalogue& catalogue = game.worldLists->items;
    const CItemType* plain = nullptr;
    for (int i = 0; i < catalogue.GetItemTypeCount() && !plain; ++i) {
        const CItemType* t = catalogue.GetItemType(i);
        if (t && t->itemClass >= 1 && t->itemClass <= 4 && t->enchantCapacity > 0 && !t->effects) plain = t;
    }
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(game.player.AddItemCopies(1, *plain), nullptr);

    auto* services = dynamic_cast<CServicesScreen*>(rig.TalkTo("Ysolde"));
    ASSERT_NE(services, nullptr);
    ASSERT_TRUE(rig.TapService(*services, kServicesEnchant));
    rig.Settle();
    CEnchantSelectDialog& selection = services->enchanting.selection;
    ASSERT_EQ(services->modalChild, &selection);
    EXPECT_GT(selection.items.GetCount(), 0);
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_enchant_select", rig.Capture()));

    // The first item into the enchanting screen; one entry of the first type; OK pays and enchants.
    selection.items.selection = 0;
    CItemInstance* item = selection.ItemOfRow(0);
    ASSERT_NE(item, nullptr);
    rig.TapWidget(selection.useButton);
    rig.Settle();
    CEnchantDialog& enchanting = selection.enchanting;
    ASSERT_EQ(selection.modalChild, &enchanting);
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_enchanting", rig.Capture()));
    rig.TapWidget(enchanting.addButton);
    rig.Settle();
    CEnchantTypeEntryDialog& entry = services->enchanting.entries.typeEntry;
    ASSERT_EQ(enchanting.modalChild, &entry);
    ASSERT_GT(entry.types.GetCount(), 0);
    // "Fortify skill" and its first skill: a kind that needs a datum stores nothing without one.
    rig.Tap(entry.types.x + entry.types.w / 2, entry.types.y + entry.types.rowHeight / 2);
    rig.Settle();
    rig.Tap(entry.data.x + entry.data.w / 2, entry.data.y + entry.data.rowHeight / 2);
    rig.Settle();
    EXPECT_TRUE(testing_support::MatchesGolden("app_npc_enchant_entry", rig.Capture()));
    rig.TapWidget(entry.okButton);
    rig.Settle();
    ASSERT_EQ(enchanting.modalChild, nullptr);
    ASSERT_EQ(enchanting.Count(), 1);
    const u32 gold = game.player.gold = 100000;
    const u32 price = static_cast<u32>(enchanting.Totals().price);
    rig.TapWidget(enchanting.okButton);
    rig.Settle();
    ASSERT_NE(item->effects, nullptr);
    EXPECT_EQ(item->effects->Count(), 1);
    EXPECT_GT(price, 0u);
    EXPECT_EQ(game.player.gold, gold - price);
    // The success message; its Ok gives the selection back.
    ASSERT_EQ(enchanting.modalChild, &enchanting.messageBar);
    rig.Key(32);
    rig.Settle();
    EXPECT_EQ(selection.modalChild, nullptr);
    rig.TapWidget(selection.closeButton);
    EXPECT_EQ(services->modalChild, nullptr);
    rig.Settle();
    rig.TapWidget(services->leaveButton);
    EXPECT_EQ(rig.Current(), rig.View());
}

}  // namespace
