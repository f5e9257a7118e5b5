// What a new player can reach in the built world, found by playing it: from the start cell the
// explorer walks every way the game lets it step, uses whatever stands in front (doors, levers, signs,
// chests, stairs, ladders, the boatman, people), takes what containers and bags hold, and asks every
// person it meets for their services (buying what merchants sell). Then it checks, with the game's
// own rules, the services and screens that need things in hand: alchemy wants a mortar and herbs
// that brew, the enchanter's recharge a wand with charges, her enchanting a wand without a spell. It
// prints one line per service, screen and object type with the way a player reaches it, and fails
// on those it could not reach.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/Game.h"
#include "app/GameViewDialogs.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/Npc.h"
#include "data/Spells.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "screens/npc/CraftRules.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/ShopScreen.h"
#include "screens/npc/TalkScreen.h"
#include "screens/panels/PanelScreen.h"
#include "tests/app/PlayRig.h"
#include "ui/ActionMenu.h"
#include "ui/ButtonBar.h"
#include "ui/ScreenIds.h"
#include "world/Creatures.h"
#include "world/GameScreen.h"
#include "world/GameViewWorld.h"
#include "world/MapObject.h"

namespace {

using testing_support::PlayRig;

std::string IdOf(const CItemType& type) { return type.GetName() ? type.GetName() : ""; }

// The facing of the view for a step direction (0 north, 1 east, 2 south, 3 west).
i32 FacingOf(int direction) { return (360 - direction * 90) % 360; }

const char* ServiceName(u32 command) {
    switch (command) {
    case kServicesTalk: return "Talk";
    case kServicesBuySell: return "Buy/sell";
    case kServicesEnchant: return "Enchant";
    case kServicesRepair: return "Repair";
    case kServicesTraining: return "Training";
    case kServicesSleep: return "Sleep";
    case kServicesCards: return "Cards";
    default: return "?";
    }
}

struct Cell {
    CWorld* world;
    CMapSection* section;
    i32 x, y;
    bool operator<(const Cell& o) const {
        return std::tie(world, section, x, y) < std::tie(o.world, o.section, o.x, o.y);
    }
};

class Explorer : public PlayRig {
public:
    Explorer() { env.withAdditionalWorld = true; }

    // Everything a player reaches, the way to each kept beside it.
    std::map<std::string, std::string> items;     // item type id -> how it is had
    std::map<int, std::string> objectTypes;       // type code -> where it was met
    std::map<std::string, std::string> services;  // "NPC: service" -> where it was offered
    std::map<std::string, std::string> shops;     // NPC -> what the shop sold
    std::map<std::string, std::string> enchanters;
    std::set<std::string> screensSeen;
    std::vector<std::string> log;

    void Explore() {
        CGameScreen* view = View();
        seeds_.push_back({{view->world, view->section, SectionX(), SectionY()}, "the start cell"});
        // The worlds beyond the vale last: the way there leaves the vale behind.
        while (!seeds_.empty() || !voyages_.empty()) {
            if (seeds_.empty()) {
                TakeVoyage();
                continue;
            }
            auto [cell, way] = seeds_.front();
            seeds_.pop_front();
            if (reached_.count(cell)) continue;
            if (cell.world != View()->world) {
                deferred_.push_back({cell, way});
                continue;
            }
            ExploreMap(cell, way);
        }
    }

    // The way to a map, as the explorer found it.
    std::string MapWay(const CMapSection* s) const {
        auto it = mapWays_.find(s);
        return it == mapWays_.end() ? "?" : it->second;
    }
    std::string Where(const Cell& c) const {
        return std::string(c.section->GetName()) + " (" + std::to_string(c.x) + "," + std::to_string(c.y) + ")";
    }

private:
    i32 SectionX() const {
        CMapSection* at = nullptr;
        i32 x = 0, y = 0;
        View()->window.WindowToSectionCell(View()->playerX, View()->playerY, at, x, y);
        return x;
    }
    i32 SectionY() const {
        CMapSection* at = nullptr;
        i32 x = 0, y = 0;
        View()->window.WindowToSectionCell(View()->playerX, View()->playerY, at, x, y);
        return y;
    }
    void Stand(const Cell& c, int direction) {
        CGameScreen* view = View();
        // Traps and fires on the way do not end the exploring: the explorer looks for ways, and a
        // player heals between them.
        Game()->player.hp = 30000;
        if (view->section != c.section || view->world != c.world) {
            view->EnterMapAt(c.world, c.section, c.x, c.y, static_cast<u32>(direction));
            SettleView();
            SendHostilesAway();
        }
        view->facing = view->targetFacing = FacingOf(direction);
        view->SetPosition(c.x, c.y);
    }
    // The creatures that would fight go: the explorer looks for ways, not fights.
    void SendHostilesAway() {
        CGameScreen* view = View();
        CMapSection* s = view->section;
        if (!s) return;
        bool removed = false;
        for (auto it = s->monsters.begin(); it != s->monsters.end();) {
            const CMonsterType* type = it->Type();
            if (type && type->npcId && *type->npcId) {
                ++it;
                continue;
            }
            view->window.RemoveCreatureFromCell(s, *it);
            it = s->monsters.erase(it);
            removed = true;
        }
        if (removed) view->EnterCreatures();
    }
    // The section cell of a window cell in the current window.
    bool ToSection(i32 wx, i32 wy, Cell& out) const {
        CMapSection* at = nullptr;
        i32 x = 0, y = 0;
        if (!View()->window.WindowToSectionCell(wx, wy, at, x, y) || !at) return false;
        out = {View()->world, at, x, y};
        return true;
    }
    u8 TypeCodeOf(u16 index) const { return index == kNoCellIndex ? 0 : View()->viewWorld->TypeCode(index); }

    void ExploreMap(const Cell& start, const std::string& way) {
        if (std::getenv("REACH_TRACE"))
            std::fprintf(stderr, "map %s by %s; screen %p view %p mode %u hp %d\n", start.section->GetName(), way.c_str(),
                         (void*)Current(), (void*)View(), View()->screenMode, (int)Game()->player.hp);
        if (!mapWays_.count(start.section)) mapWays_[start.section] = way;
        std::deque<Cell> queue{start};
        reached_.insert(start);
        bool opened = true;
        while (opened) {
            opened = false;
            while (!queue.empty()) {
                Cell c = queue.front();
                queue.pop_front();
                Visit(c);
                for (int d = 0; d < 4; ++d) {
                    Cell next;
                    const Step s = TryStep(c, d, next);
                    if (s == Step::kMoved && !reached_.count(next)) {
                        if (next.section == start.section) {
                            reached_.insert(next);
                            queue.push_back(next);
                        } else {
                            if (!mapWays_.count(next.section))
                                mapWays_[next.section] = "walking from " + Where(c);
                            seeds_.push_back({next, mapWays_[next.section]});
                        }
                    } else if (s == Step::kBlocked && BlockedByAThing(c, d)) {
                        pending_.push_back({c, d});
                    }
                }
            }
            // Use what stood in the way; whatever opened is walked again.
            std::vector<std::pair<Cell, int>> uses;
            uses.swap(pending_);
            for (const auto& [c, d] : uses) {
                if (c.section != start.section && c.world == start.world) continue;
                if (UseAt(c, d)) {
                    Cell next;
                    if (TryStep(c, d, next) == Step::kMoved && !reached_.count(next)) {
                        reached_.insert(next);
                        queue.push_back(next);
                        opened = true;
                    }
                }
            }
            if (!queue.empty()) opened = true;
        }
    }

    enum class Step { kMoved, kBlocked, kElsewhere };

    // Whether what bars the way in that direction is a thing with a placement (a door, a gate).
    bool BlockedByAThing(const Cell& c, int direction) {
        Stand(c, direction);
        const CMapCell* ahead = View()->window.Cell(View()->playerX + CGameScreen::kDx[direction],
                                                    View()->playerY + CGameScreen::kDy[direction]);
        return ahead && (ahead->centreId || ahead->sideId[(direction + 2) & 3]);
    }

    // One step as the player takes it, kept only as far as the answer: moved or bumped. A thing used
    // when walked into (stairs, ladders, passages) is left for UseAt.
    Step TryStep(const Cell& from, int direction, Cell& to) {
        Stand(from, direction);
        CGameScreen* view = View();
        const i32 wx = view->playerX + CGameScreen::kDx[direction];
        const i32 wy = view->playerY + CGameScreen::kDy[direction];
        CMapCell* target = view->window.Cell(wx, wy);
        if (!target || !ToSection(wx, wy, to)) return Step::kElsewhere;
        const u16 flags = target->centre != kNoCellIndex ? view->viewWorld->ViewFlags(target->centre) : 0;
        CPlacement* p = target->centreId ? to.section->FindPlacement(target->centreId) : nullptr;
        if ((flags & kObjectUsedWhenWalkedInto) && target->centreId && (!p || (p->flags & CPlacement::kVisible)))
            return Step::kBlocked;
        CMapSection* before = view->section;
        view->MoveStep(direction);
        const bool bumped = view->bump;
        const bool moved = view->stepping && !bumped;
        if (moved && target->centre != kNoCellIndex) {
            // Something stands where the step ends (stairs, a plate, a trap): the step is taken to its
            // end, so that the cell's own event runs.
            SettleView();
            if (Answer(from, direction, before, "walking from " + Where(from) + " onto " + Where(to)))
                return Step::kElsewhere;
            return Step::kMoved;
        }
        view->stepping = view->bump = false;
        view->stepDx = view->stepDy = 0;
        view->bumpTravel = view->bumpPause = 0;
        CloseWhatOpened(from);
        return moved ? Step::kMoved : Step::kBlocked;
    }

    // The use key on what stands in that direction (a thing, a wall's side, a person); true when the
    // way there may have opened.
    bool UseAt(const Cell& c, int direction) {
        Stand(c, direction);
        CGameScreen* view = View();
        const i32 wx = view->playerX + CGameScreen::kDx[direction];
        const i32 wy = view->playerY + CGameScreen::kDy[direction];
        CMapCell* target = view->window.Cell(wx, wy);
        Cell there;
        if (!target || !ToSection(wx, wy, there)) return false;
        // Each thing once from each side, and again once something new is in hand (a key).
        const int facingSide = (direction + 2) & 3;
        const auto key = std::make_tuple(there.world, there.section, there.x, there.y, facingSide, items.size());
        if (!usedOnce_.insert(key).second) return false;
        NoteObjects(there, *target, facingSide, c);
        CPlacement* door = target->centreId && (TypeCodeOf(target->centre) == 20 || TypeCodeOf(target->centre) == 22)
                               ? there.section->FindPlacement(target->centreId)
                               : nullptr;
        CMapSection* before = view->section;
        const u16 flags = target->centre != kNoCellIndex ? view->viewWorld->ViewFlags(target->centre) : 0;
        if (flags & kObjectUsedWhenWalkedInto)
            Key(38);  // walked into, as a passage is taken
        else
            view->UseInFront(direction, 1);
        Tick(30);
        if (Answer(c, direction, before, "using the thing before " + Where(c))) return false;
        // Doors open over some ticks.
        if (door) TickUntilOpen(*door);
        return true;
    }

    // Answers what an act opened (messages, prompts, screens, lists) as a player would; true when it
    // took the player to another map, which is then queued.
    bool Answer(const Cell& c, int direction, CMapSection* before, const std::string& what) {
        CGameScreen* view = View();
        for (int i = 0; i < 12; ++i) {
            if (Current() != view) {
                HandleScreen(what);
                continue;
            }
            if (view->screenMode == CGameScreen::kModeMessage) {
                view->OnCommand(CButtonBar::kOk);
                SettleView();
            } else if (view->screenMode == CGameScreen::kModeMapPrompt || view->screenMode == CGameScreen::kModeDoorPrompt) {
                screensSeen.insert(view->screenMode == CGameScreen::kModeMapPrompt ? "map prompt" : "door prompt");
                view->OnCommand(CButtonBar::kYes);
                SettleView();
            } else if (view->screenMode == CGameScreen::kModeObjectList) {
                // A voyage to another world: taken when the vale is done.
                voyages_.push_back({c, direction});
                screensSeen.insert("object list");
                view->OnDialogResult(CActionMenu::kCancel);
                SettleView();
            } else if (view->screenMode == CGameScreen::kModeStealPrompt) {
                // Behind a person's back: no stealing, the face is found from another side.
                view->OnCommand(CButtonBar::kNo);
                SettleView();
            } else if (view->screenMode == CGameScreen::kModeRealmTravel) {
                // The boat home from another world: seen, not taken (the vale is explored already).
                screensSeen.insert("realm travel");
                view->CloseModal();
                SettleView();
            } else if (view->screenMode == CGameScreen::kModeLockPick) {
                screensSeen.insert("lock picking");
                view->CloseModal();
                SettleView();
            } else if (view->screenMode == CGameScreen::kModeTransition) {
                SettleView();
            } else if (view->screenMode != CGameScreen::kModeNormal) {
                view->CloseModal();
                SettleView();
            } else {
                break;
            }
        }
        for (int i = 0; i < 200 && view->IsBusy(); ++i) Tick(30);
        if (view->section != before) {
            Cell arrived{view->world, view->section, SectionX(), SectionY()};
            SendHostilesAway();
            if (!mapWays_.count(arrived.section))
                mapWays_[arrived.section] = what + " -> " + Where(arrived);
            seeds_.push_back({arrived, mapWays_[arrived.section]});
            return true;
        }
        return false;
    }

    // The map objects of the cell ahead that face the player (its centre, its side towards him).
    void NoteObjects(const Cell& at, const CMapCell& cell, int side, const Cell& from) {
        auto note = [&](u16 index) {
            const u8 code = TypeCodeOf(index);
            if (code && !objectTypes.count(code))
                objectTypes[code] = Where(at) + " from " + Where(from) + " (" + MapWay(at.section) + ")";
        };
        note(cell.centre);
        note(cell.side[side]);
    }

    void Visit(const Cell& c) {
        CGameScreen* view = View();
        Stand(c, 0);
        // What stands in the cell itself (floors of kind, plates, traps) counts as met.
        if (const CMapCell* own = view->window.Cell(view->playerX, view->playerY)) {
            for (u16 index : {own->layer1, own->layer2, own->centre, own->layer4}) {
                const u8 code = TypeCodeOf(index);
                if (code && !objectTypes.count(code)) objectTypes[code] = "standing on " + Where(c);
            }
            // Sides of the cell's own walls (things hung inside a room).
            for (int s = 0; s < 4; ++s) {
                const u8 code = TypeCodeOf(own->side[s]);
                if (code && !objectTypes.count(code)) {
                    objectTypes[code] = "on a wall of " + Where(c);
                    pending_.push_back({c, s});
                }
            }
        }
        for (int d = 0; d < 4; ++d) {
            const i32 wx = view->playerX + CGameScreen::kDx[d], wy = view->playerY + CGameScreen::kDy[d];
            const CMapCell* ahead = view->window.Cell(wx, wy);
            if (!ahead) continue;
            // Things with a placement of their own answer the use key (doors, signs, chests, levers,
            // the boatman); the vale's trees and rocks have none. People stand in creature slots.
            const bool something = ahead->centreId || ahead->sideId[(d + 2) & 3] || ahead->creature[0] ||
                                   ahead->creature[1];
            if (something) pending_.push_back({c, d});
        }
        // A bag lying in the cell is taken.
        for (int i = 0; i < c.section->bags.Count(); ++i) {
            CItemBag* bag = c.section->bags.At(i);
            if (bag && bag->x == c.x && bag->y == c.y) Take(*bag, "a bag lying at " + Where(c));
        }
    }

    void Take(CItemBag& bag, const std::string& way) {
        for (int i = 0; i < bag.GetItemCount(); ++i) {
            const CItemInstance* item = bag.GetItem(i);
            if (!item || !item->type) continue;
            Obtain(*item->type, "taken from " + way);
        }
    }
    void Obtain(const CItemType& type, const std::string& way) {
        const std::string id = IdOf(type);
        if (items.count(id)) return;
        items[id] = way;
        // Keys and picks are carried, so that the doors they open open.
        if (type.itemClass == 11) Game()->player.AddItemCopies(1, type);
    }

    // A screen that a use opened: a container's panel, a person's talk or services.
    void HandleScreen(const std::string& way) {
        CScreen* screen = Current();
        if (auto* panel = dynamic_cast<CPanelScreen*>(screen)) {
            screensSeen.insert("panels");
            if (panel->container) Take(*panel->container, "a container, " + way);
            Game()->SwitchScreen(kScreenBack);
            Tick(30);
            return;
        }
        if (auto* services = dynamic_cast<CServicesScreen*>(screen)) {
            screensSeen.insert("services");
            const CNpc* npc = services->GetNpc();
            const std::string name = npc && npc->GetName() ? npc->GetName() : "?";
            std::vector<u32> offered;
            for (const auto& b : services->buttons) offered.push_back(static_cast<u32>(b.command));
            for (u32 command : offered) {
                services_[name + ": " + ServiceName(command)] = way;
                if (command == kServicesBuySell) VisitShop(*services, name);
                if (command == kServicesEnchant) enchanters[name] = way;
            }
            TapWidget(services->leaveButton);
            Tick(30);
            Tick(30);
            if (Current() != View()) Game()->SwitchScreen(kScreenBack);
            Tick(30);
            return;
        }
        if (auto* talk = dynamic_cast<CTalkScreen*>(screen)) {
            screensSeen.insert("talk");
            const CNpc* npc = talk->GetNpc();
            const std::string name = npc && npc->GetName() ? npc->GetName() : "?";
            services_[name + ": Talk"] = way;
            for (const auto& link : talk->links)
                if (link->commandId >= kServicesBuySell && link->commandId <= kServicesCards &&
                    link->commandId != kServicesLeave)
                    services_[name + ": " + ServiceName(link->commandId)] = way;
            TapWidget(talk->exitLink);
            Tick(30);
            Tick(30);
            if (Current() != View()) Game()->SwitchScreen(kScreenBack);
            Tick(30);
            return;
        }
        Game()->SwitchScreen(kScreenBack);
        Tick(30);
    }

    void VisitShop(CServicesScreen& services, const std::string& name) {
        if (!TapService(services, kServicesBuySell)) return;
        auto* shop = dynamic_cast<CShopScreen*>(Current());
        if (!shop) return;
        screensSeen.insert("shop");
        std::string sold;
        const int count = shop->merchantBag ? shop->merchantBag->GetItemCount() : 0;
        for (int i = 0; i < count; ++i) {
            const CItemInstance* item = shop->merchantBag->GetItem(i);
            if (!item || !item->type) continue;
            Obtain(*item->type, "bought from " + name);
            if (sold.find(IdOf(*item->type)) == std::string::npos)
                sold += std::string(sold.empty() ? "" : ", ") + IdOf(*item->type);
        }
        shops[name] = sold;
        TapWidget(shop->leaveButton);
        Tick(30);
    }

    void TakeVoyage() {
        auto [c, direction] = voyages_.front();
        voyages_.clear();
        if (voyageTaken_) return;
        voyageTaken_ = true;
        Stand(c, direction);
        CGameScreen* view = View();
        CMapSection* before = view->section;
        view->UseInFront(direction, 1);
        SettleView();
        if (view->screenMode != CGameScreen::kModeObjectList) return;
        CListBox& list = view->objectList;
        for (i32 i = 0; i < list.items.GetCount(); ++i) {
            if (std::string(list.items.GetAt(i)->key.GetText()) == "stay") continue;
            Game()->player.gold += 1000;  // the fare, earned in the vale
            Tap(list.x + list.w / 2, list.y + (i - list.topRow) * list.rowHeight + list.rowHeight / 2);
            Tick(30);
            TapWidget(view->objectMenu.okButton);
            SettleView();
            break;
        }
        for (int i = 0; i < 8 && view->screenMode == CGameScreen::kModeMessage; ++i) CloseMessage();
        if (view->screenMode == CGameScreen::kModeRealmTravel) {
            screensSeen.insert("realm travel");
            TapWidget(Game()->GetViewDialogs().voyage.okButton);
            SettleView();
        }
        if (view->section == before) return;
        SendHostilesAway();
        Cell arrived{view->world, view->section, SectionX(), SectionY()};
        mapWays_[arrived.section] = "the voyage from " + Where(c) + " (" + MapWay(before) + ")";
        for (auto& d : deferred_) seeds_.push_back(d);
        deferred_.clear();
        seeds_.push_back({arrived, mapWays_[arrived.section]});
    }

    void CloseWhatOpened(const Cell&) {
        CGameScreen* view = View();
        if (Current() != view) HandleScreen("walking");
        for (int i = 0; i < 4 && view->screenMode == CGameScreen::kModeMessage; ++i) {
            view->OnCommand(CButtonBar::kOk);
        }
    }

public:
    std::map<std::string, std::string> services_;

private:
    std::deque<std::pair<Cell, std::string>> seeds_;
    std::vector<std::pair<Cell, std::string>> deferred_;
    std::vector<std::pair<Cell, int>> voyages_;
    std::vector<std::pair<Cell, int>> pending_;
    std::set<Cell> reached_;
    bool voyageTaken_ = false;
    std::set<std::tuple<CWorld*, CMapSection*, i32, i32, int, size_t>> usedOnce_;
    std::map<const CMapSection*, std::string> mapWays_;
};

}  // namespace

TEST(WorldReach, DISABLED_EveryServiceScreenAndObjectTypeHasAWayFromANewGame) {
    Explorer rig;
    ASSERT_TRUE(rig.StartNewGame());
    rig.Explore();
    CGame& game = *rig.Game();
    const CWorldLists& lists = *game.GetWorldLists();

    struct Line {
        std::string what, way;
    };
    std::vector<Line> lines;
    auto line = [&](const std::string& what, const std::string& way) { lines.push_back({what, way}); };
    auto itemWay = [&](const std::string& id) {
        auto it = rig.items.find(id);
        return it == rig.items.end() ? std::string() : it->second;
    };

    // Every service each NPC record offers.
    for (int i = 0; i < lists.npcs.Count(); ++i) {
        const CNpc* npc = lists.npcs.At(i);
        const std::string name = npc->GetName() ? npc->GetName() : "?";
        const std::string talkKey = name + ": Talk";
        line("NPC " + name + ": Talk",
             rig.services_.count(talkKey) ? rig.services_[talkKey] : std::string());
        for (u32 flag : {0x01u, 0x02u, 0x04u, 0x08u, 0x20u, 0x40u}) {
            if (!(npc->GetServiceFlags() & flag)) continue;
            const u32 command = flag == 0x01   ? kServicesBuySell
                                : flag == 0x02 ? kServicesTraining
                                : flag == 0x04 ? kServicesEnchant
                                : flag == 0x08 ? kServicesRepair
                                : flag == 0x20 ? kServicesSleep
                                               : kServicesCards;
            const std::string key = name + ": " + ServiceName(command);
            std::string way = rig.services_.count(key) ? rig.services_[key] : std::string();
            if (command == kServicesBuySell && !way.empty()) {
                // A shop counts when it has something to sell.
                const std::string sold = rig.shops[name];
                way = sold.empty() ? std::string() : way + "; sells " + sold;
            }
            line("NPC " + name + ": " + ServiceName(command), way);
        }
    }

    // Alchemy: a mortar in hand and herbs that brew a potion by the world's recipes.
    {
        std::string mortarWay, brew;
        std::vector<const CItemType*> herbs;
        for (const auto& [id, way] : rig.items) {
            const CItemType* type = lists.items.FindItemType(id.c_str());
            if (!type) continue;
            if (type->itemClass == 6 && mortarWay.empty()) mortarWay = IdOf(*type) + " " + way;
            if (type->itemClass == 7) herbs.push_back(type);
        }
        for (size_t a = 0; a < herbs.size() && brew.empty(); ++a)
            for (size_t b = a + 1; b < herbs.size() && brew.empty(); ++b) {
                const CItemType* slots[3] = {herbs[a], herbs[b], nullptr};
                const auto choices = craft::FindMatchingRecipes(lists.recipes, lists.items, 100, slots);
                if (!choices.empty())
                    brew = IdOf(*herbs[a]) + " (" + itemWay(IdOf(*herbs[a])) + ") and " + IdOf(*herbs[b]) + " (" +
                           itemWay(IdOf(*herbs[b])) + ") brew " + choices[0].label;
            }
        line("screen alchemy", mortarWay.empty() || brew.empty() ? std::string() : "use " + mortarWay + "; " + brew);
    }
    // The enchanter's recharge wants a wand whose spell it recharges; her enchanting of a wand's spell
    // wants a wand without one, and a spell known.
    {
        std::string enchanter = rig.enchanters.empty() ? std::string() : rig.enchanters.begin()->first;
        std::string rechargeable, blank;
        for (const auto& [id, way] : rig.items) {
            const CItemType* type = lists.items.FindItemType(id.c_str());
            if (!type) continue;
            std::unique_ptr<CItemInstance> item(CreateItemInstance(*type, 100, nullptr));
            if (craft::IsWandItem(*item) && craft::WandMaximum(*item) > 0 &&
                craft::IsWandRechargeable(*item, &lists.spells) && rechargeable.empty())
                rechargeable = id + " " + way;
            if (type->itemClass == 9 && !craft::FirstEffect(*item) && type->enchantCapacity > 0 && blank.empty())
                blank = id + " " + way;
        }
        std::string spellBook;
        for (const auto& [id, way] : rig.items) {
            const CItemType* type = lists.items.FindItemType(id.c_str());
            if (type && type->itemClass == 9 && type->subclass == 2 && spellBook.empty()) spellBook = id + " " + way;
        }
        line("screen wand recharge",
             enchanter.empty() || rechargeable.empty() ? std::string()
                                                       : "a spent " + rechargeable + " to " + enchanter + " (" +
                                                             rig.enchanters[enchanter] + ")");
        line("screen enchant a wand's spell",
             enchanter.empty() || blank.empty() || spellBook.empty()
                 ? std::string()
                 : blank + ", a spell from " + spellBook + ", to " + enchanter);
    }
    for (const char* screen : {"talk", "services", "shop", "panels", "map prompt", "object list", "realm travel"})
        line(std::string("screen ") + screen, rig.screensSeen.count(screen) ? "met while exploring" : "");

    // Every map object type the world's objects have.
    std::set<int> codes;
    for (size_t i = 0; i < lists.mapObjects.Count(); ++i) codes.insert(lists.mapObjects.At(i)->typeCode);
    for (int code : codes) {
        auto it = rig.objectTypes.find(code);
        line("object type " + std::to_string(code), it == rig.objectTypes.end() ? std::string() : it->second);
    }

    std::string missing;
    for (const Line& l : lines) {
        std::printf("%-40s %s\n", l.what.c_str(), l.way.empty() ? "UNREACHABLE" : l.way.c_str());
        if (l.way.empty()) missing += "\n  " + l.what;
    }
    EXPECT_TRUE(missing.empty()) << "no way from a new game to:" << missing;
}
