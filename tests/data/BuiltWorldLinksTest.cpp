// The built world holds together as a player walks it: every passage, stair and ladder leads to a
// placement on a cell that can be stood on, every key opens a door that exists and lies where a player
// finds it, every locked door without a key can be picked with a lockpick the world holds, every NPC
// has a name and stands in the world, and each map's display name is set. What the world reaches is
// listed by kind (map-object types, NPC services, quests), and a failure names what it does not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapObjectRecords.h"
#include "data/Npc.h"
#include "tests/data/BuiltWorld.h"
#include "ui/WidgetHelpers.h"
#include "tools/content/LayoutTable.h"
#include "tools/content/WorldScripts.h"
#include "tools/content/rules/BaseRules.h"
#include "tools/content/world/GameWorlds.h"

namespace {

// The types that move the player, and whether they must carry the walked-into view flag to do so.
bool IsPassage(const CMapObjectRecord& o) {
    switch (o.typeCode) {
    case 7:
    case 8:
    case 15:
    case 25:
    case 33:
    case 40: return true;
    case 9: return (o.viewFlags & 0x4000) != 0;  // without it, a readable wall
    default: return false;
    }
}

class BuiltWorldLinks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(built.Loaded());
        ASSERT_NE(built.additional, nullptr);
        for (u32 i = 0; i < built.base->SectionCount(); ++i) {
            CMapSection* section = built.base->SectionAt(i);
            sections.push_back(section);
            cells[section] = Decode(*built.base, built.refs, *section);
            ASSERT_EQ(cells[section].size(), static_cast<size_t>(section->width) * section->height)
                << section->id;
        }
        for (u32 i = 0; i < built.additional->SectionCount(); ++i) {
            CMapSection* section = built.additional->SectionAt(i);
            additionalSections.push_back(section);
            cells[section] = Decode(*built.additional, built.additionalRefs, *section);
            ASSERT_EQ(cells[section].size(), static_cast<size_t>(section->width) * section->height)
                << section->id;
        }
    }

    std::vector<CMapCell> Decode(const CWorld& world, const CCellRefs& refs, const CMapSection& section) {
        CRecordPtr record = ReadRecordPtr(world.GetDatabase(), section.baseRecord);
        std::vector<CMapCell> out(static_cast<size_t>(section.width) * section.height);
        if (!record) return {};
        const u8* d = record->data;
        CStream s;
        s.InitForReading(*record);
        s.MatchByte('H');
        for (size_t k = 0; k < out.size(); ++k) {
            CStoredCell stored;
            if (section.IsSurface()) {
                // The whole piece is stored, with one offset per cell (0: an empty cell).
                const u32 at = d[10 + 2 * k] | (d[11 + 2 * k] << 8);
                if (at == 0) continue;
                CStream one;
                one.InitForReading(record->data + at, record->size - at);
                if (!DecodeCell(one, world.version, refs, out[k], stored)) return {};
            } else if (!DecodeCell(s, world.version, refs, out[k], stored)) {
                return {};
            }
        }
        return out;
    }

    const CMapObjectRecord* Object(u16 index) const {
        if (index == kNoCellIndex || index >= built.lists.mapObjects.Count()) return nullptr;
        return built.lists.mapObjects.At(index);
    }

    // The object a placement belongs to: the centre or the side of its cell that carries its id.
    const CMapObjectRecord* ObjectOf(const CMapSection& section, const CPlacement& p) {
        if (p.x >= section.width || p.y >= section.height) return nullptr;
        const CMapCell& c = cells[&section][static_cast<size_t>(p.y) * section.width + p.x];
        if (c.centreId == p.id && Object(c.centre)) return Object(c.centre);
        for (int s = 0; s < 4; ++s)
            if (c.sideId[s] == p.id && Object(c.side[s])) return Object(c.side[s]);
        return nullptr;
    }

    // Ground to stand on and nothing standing in the cell's centre.
    bool Standable(const CMapSection& section, int x, int y) {
        if (x < 0 || y < 0 || x >= section.width || y >= section.height) return false;
        const CMapCell& c = cells[&section][static_cast<size_t>(y) * section.width + x];
        const bool ground = c.layer1 != kNoCellIndex || section.groundObject != nullptr;
        return ground && c.centre == kNoCellIndex;
    }

    // The section and placement that a destination names.
    std::pair<CMapSection*, const CPlacement*> Find(const std::string& name) {
        for (CMapSection* section : sections)
            if (const CPlacement* p = section->FindPlacementByName(name.c_str())) return {section, p};
        return {nullptr, nullptr};
    }

    // Every item id some bag of some section or some creature holds.
    std::set<std::string> FindableItems() {
        std::set<std::string> items;
        for (CMapSection* section : sections)
            for (int b = 0; b < section->bags.Count(); ++b)
                if (const CBagItemList* list = section->BagList(section->bags.At(b)->id))
                    for (int i = 0; i < list->entries.GetCount(); ++i)
                        items.insert(list->entries.At<CModifierEntry>(i)->itemId);
        return items;
    }

    // The NPCs that stand in some section as the creature that speaks for them.
    std::set<std::string> PlacedNpcs() {
        std::set<std::string> placed;
        for (CMapSection* section : sections)
            for (const CMonster& m : section->monsters) {
                const auto* type = static_cast<const CMonsterType*>(m.type);
                if (type && type->npcId) placed.insert(type->npcId);
            }
        return placed;
    }

    // The additional world is loaded beside the vale, as a game that has it enabled opens it.
    fixtures::BuiltWorld built{true};
    std::vector<CMapSection*> sections, additionalSections;
    std::map<const CMapSection*, std::vector<CMapCell>> cells;
};

TEST_F(BuiltWorldLinks, EveryPassageLeadsToACellThatCanBeStoodOn) {
    std::string broken;
    std::set<std::string> reached;
    int passages = 0;
    for (CMapSection* section : sections)
        for (const CPlacement& p : section->placements) {
            const CMapObjectRecord* o = ObjectOf(*section, p);
            if (!o || !IsPassage(*o) || !p.text) continue;
            ++passages;
            const std::string text = p.text;
            const std::string destination = text.substr(0, text.find('#'));
            const auto [target, arrival] = Find(destination);
            if (!arrival) {
                broken += std::string(section->id) + " " + p.name + " -> " + destination + " (none); ";
                continue;
            }
            reached.insert(target->id);
            if (!Standable(*target, arrival->x, arrival->y))
                broken += std::string(section->id) + " " + p.name + " -> " + destination + " (blocked); ";
        }
    EXPECT_EQ(broken, "");
    EXPECT_GT(passages, 4);
    // The underground maps are reached: the cellar by the town's stairs, the crypt by the cellar's ladder.
    EXPECT_EQ(reached.count("base_cellar"), 1u);
    EXPECT_EQ(reached.count("base_crypt"), 1u);
    const auto [town, stairs] = Find("base_townstairs");
    ASSERT_NE(stairs, nullptr);
    EXPECT_EQ(ObjectOf(*town, *stairs)->typeCode, 25);
    const auto [cellar, ladder] = Find("base_cellarladder");
    ASSERT_NE(ladder, nullptr);
    EXPECT_EQ(ObjectOf(*cellar, *ladder)->typeCode, 15);
    EXPECT_EQ(std::string(ladder->text).rfind("base_crypt_arrive#", 0), 0u);
    // The new game's entry point stands free too.
    const auto [start, entry] = Find("base_start");
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(Standable(*start, entry->x, entry->y));
}

TEST_F(BuiltWorldLinks, KeysOpenDoorsThatExistAndLockedDoorsCanBeOpened) {
    const std::set<std::string> findable = FindableItems();
    int keyed = 0, toPick = 0;
    std::string broken;
    for (CMapSection* section : sections)
        for (const CPlacement& p : section->placements) {
            const CMapObjectRecord* o = ObjectOf(*section, p);
            if (!o || (o->typeCode != 20 && o->typeCode != 22)) continue;
            const CMapCell& c = cells[section][static_cast<size_t>(p.y) * section->width + p.x];
            const int mode = (c.doorMode >> 2) & 3, lock = (p.level >> 6) & 15;
            if (mode != 1 || lock == 0) continue;
            const std::string key = p.text ? p.text : "";
            if (lock <= 10) ++toPick;  // a lockpick opens it, whether or not a key lies somewhere
            if (key.empty()) {
                if (lock > 10) broken += std::string(p.name ? p.name : "?") + " opens to nothing; ";
            } else {
                ++keyed;
                if (!built.lists.items.FindItemType(key.c_str())) broken += key + " is no item; ";
                if (!findable.count(key)) broken += key + " lies nowhere; ";
            }
        }
    EXPECT_EQ(broken, "");
    EXPECT_GE(keyed, 1);
    EXPECT_GE(toPick, 1);
    EXPECT_EQ(findable.count("base_key_lockpickbeginner"), 1u);
    // Loot and alchemy ingredients lie in the crypt's chest.
    CMapSection* crypt = built.base->FindSectionByName("base_crypt");
    ASSERT_NE(crypt, nullptr);
    const CPlacement* chest = crypt->FindPlacementByName("base_crypt_chest");
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(ObjectOf(*crypt, *chest)->typeCode, 14);
    const CBagItemList* loot = crypt->BagList(chest->bagId);
    ASSERT_NE(loot, nullptr);
    int herbs = 0;
    for (int i = 0; i < loot->entries.GetCount(); ++i)
        herbs += std::string(loot->entries.At<CModifierEntry>(i)->itemId).rfind("base_alc_", 0) == 0;
    EXPECT_GE(herbs, 2);
}

// Each NPC shows a name, not an id, stands in the world as the creature that speaks for it, and
// greets on its services menu when it has one; the town piece carries the town flag.
TEST_F(BuiltWorldLinks, EveryNpcHasANameAndStandsInTown) {
    std::set<std::string> placed;
    for (CMapSection* section : sections)
        for (const CMonster& m : section->monsters) {
            const auto* type = static_cast<const CMonsterType*>(m.type);
            if (type && type->npcId) placed.insert(type->npcId);
        }
    for (int i = 0; i < built.lists.npcs.Count(); ++i) {
        const CNpc* npc = built.lists.npcs.At(i);
        const std::string name = npc->GetName();
        EXPECT_EQ(name.find('_'), std::string::npos) << name << " reads as an id";
        EXPECT_EQ(placed.count(name), 1u) << name << " stands nowhere";
        // One with services greets on the services menu; without a welcome the menu shows the
        // placeholder "- welcome message not found -".
        if (npc->GetServiceFlags() != 0)
            EXPECT_TRUE(npc->GetWelcomeText() && *npc->GetWelcomeText()) << name << " has services but no welcome";
    }
    CMapSection* town = built.base->FindSectionAt(2, 2);
    ASSERT_NE(town, nullptr);
    EXPECT_NE(town->flags & 0x0200, 0);
    for (CMapSection* section : sections) EXPECT_STRNE(section->displayName, "") << section->id;
}

// The map-object types whose objects draw nothing: the flame that a fire takes its pictures from, the
// marks and sources that only scripts and sounds use.
bool DrawsNothing(u8 typeCode) {
    switch (typeCode) {
    case 2:
    case 3:
    case 21:
    case 23:
    case 30:
    case 34:
    case 36:
    case 39:
    case 43: return true;
    default: return false;
    }
}

// Every one of the 43 types stands in some map, and every object that draws something names pictures
// that the resource world holds (the stairs once had none and were invisible in the 3D view).
TEST_F(BuiltWorldLinks, EveryMapObjectTypeStandsInAMapAndShowsItsPictures) {
    std::set<int> types;
    auto note = [&](u16 index) {
        if (const CMapObjectRecord* o = Object(index)) types.insert(o->typeCode);
    };
    for (CMapSection* section : sections)
        for (const CMapCell& c : cells[section]) {
            for (u16 index : {c.layer1, c.layer2, c.centre, c.layer4}) note(index);
            for (int side = 0; side < 4; ++side) {
                note(c.side[side]);
                note(c.secondSide[side]);
            }
        }
    std::string missing;
    for (int t = 1; t <= 43; ++t)
        if (!types.count(t)) missing += std::to_string(t) + " ";
    EXPECT_EQ(missing, "") << "map-object types that stand in no map";

    std::string unseen;
    for (size_t i = 0; i < built.lists.mapObjects.Count(); ++i) {
        const CMapObjectRecord* o = built.lists.mapObjects.At(i);
        if (!o || DrawsNothing(o->typeCode)) continue;
        if (o->frames.empty()) unseen += std::string(o->id) + " (no picture); ";
        for (const char* frame : o->frames)
            if (!frame || built.textures.FindPictureIndex(frame) == 0)
                unseen += std::string(o->id) + " (" + (frame ? frame : "") + " missing); ";
    }
    EXPECT_EQ(unseen, "");
}

// Each service the NPC screens offer is offered by someone who stands in the world.
TEST_F(BuiltWorldLinks, EveryNpcServiceIsOfferedBySomeoneInTheWorld) {
    const std::set<std::string> placed = PlacedNpcs();
    const struct {
        u8 flag;
        const char* name;
    } services[] = {{0x01, "trade"},  {0x02, "training"}, {0x04, "enchanting"},
                    {0x08, "repair"}, {0x20, "sleep"},    {0x40, "cards"}};
    for (const auto& service : services) {
        std::string by;
        for (int i = 0; i < built.lists.npcs.Count(); ++i) {
            const CNpc* npc = built.lists.npcs.At(i);
            if ((npc->GetServiceFlags() & service.flag) && placed.count(npc->GetName())) by += npc->GetName();
        }
        EXPECT_NE(by, "") << "nobody in the world offers " << service.name;
    }
}

// Each NPC shows a portrait of their own: a portrait record (the panel looks a portrait up by its id)
// whose picture the resource world holds, painted at the size of the NPC screens' portrait panel so it
// is drawn texel for texel rather than stretched out of shape.
TEST_F(BuiltWorldLinks, EveryNpcHasAPortraitOfTheirOwnAtThePanelsSize) {
    std::set<std::pair<int, int>> panels;
    for (const LayoutGroupDef& g : LayoutGroups())
        for (const LayoutRect& r : g.elements)
            if (r.id == 288) panels.insert({r.w, r.h});
    ASSERT_FALSE(panels.empty());
    std::map<std::string, std::string> owners;
    for (int i = 0; i < built.lists.npcs.Count(); ++i) {
        const CNpc* npc = built.lists.npcs.At(i);
        const std::string name = npc->GetName(), portrait = npc->GetPortraitId() ? npc->GetPortraitId() : "";
        EXPECT_NE(built.lists.portraits.FindById(portrait.c_str()), nullptr) << name << ": " << portrait
                                                                             << " is no portrait record";
        CRecordHolder* picture = built.textures.FindPicture(portrait.c_str());
        if (picture == nullptr || !built.textures.EnsureLoaded(picture)) {
            ADD_FAILURE() << name << ": the resource world holds no picture " << portrait;
            continue;
        }
        i32 w = 0, h = 0;
        PictureSizeOf(picture, w, h);
        for (const auto& [pw, ph] : panels)
            EXPECT_TRUE(w == pw && h == ph) << name << ": " << portrait << " is " << w << " x " << h
                                            << ", the panel " << pw << " x " << ph;
        const auto [owner, fresh] = owners.emplace(portrait, name);
        EXPECT_TRUE(fresh) << name << " and " << owner->second << " share " << portrait;
    }
}

// The dead a player meets are told apart at a glance: the crypt's warrior and its mage each have a
// creature kind of their own, unlike the cellar's restless bones, standing as tall and sounding as the
// bare skeleton does. Every frame and the paralysed look of each is a picture of the resource world,
// of the bare skeleton's size (the view scales a sprite by its kind's scale alone), and none is the
// bones' picture under another name.
TEST_F(BuiltWorldLinks, TheSkeletonWarriorAndMageLookUnlikeTheRestlessBones) {
    const CCreatureCatalogue& creatures = built.lists.creatures;
    const CCreatureKind* bare = creatures.FindCreatureKind("base_skeleton");
    ASSERT_NE(bare, nullptr);
    auto pictureOf = [&](const char* name, i32& w, i32& h) -> const CRecordHolder* {
        CRecordHolder* picture = name ? built.textures.FindPicture(name) : nullptr;
        if (picture == nullptr || !built.textures.EnsureLoaded(picture)) return nullptr;
        PictureSizeOf(picture, w, h);
        return picture;
    };
    i32 bareW = 0, bareH = 0;
    ASSERT_NE(pictureOf(bare->frames[0], bareW, bareH), nullptr);

    const char* types[] = {"base_skeleton_bones", "base_skeleton_warrior", "base_skeleton_mage"};
    std::map<const CCreatureKind*, std::string> kindOwners;
    std::map<std::string, std::string> pictureOwners;
    std::vector<std::vector<u8>> standing;  // each kind's frame 0, to compare as painted
    for (const char* id : types) {
        const CMonsterType* type = creatures.FindMonsterType(id);
        ASSERT_NE(type, nullptr) << id;
        const CCreatureKind* kind = type->creatureKind;
        ASSERT_NE(kind, nullptr) << id;
        const auto [owner, fresh] = kindOwners.emplace(kind, id);
        EXPECT_TRUE(fresh) << id << " shares " << kind->GetName() << " with " << owner->second;
        EXPECT_EQ(kind->kind, bare->kind) << id;
        EXPECT_EQ(kind->scale, bare->scale) << id;
        ASSERT_EQ(kind->GetFrameCount(), bare->GetFrameCount()) << id;
        for (int s = 0; s < 4; ++s) EXPECT_STREQ(kind->sounds[s], bare->sounds[s]) << id << " sound " << s;
        std::vector<const char*> looks(kind->frames, kind->frames + kind->GetFrameCount());
        looks.push_back(kind->secondLook);
        for (const char* look : looks) {
            i32 w = 0, h = 0;
            const CRecordHolder* picture = pictureOf(look, w, h);
            if (picture == nullptr) {
                ADD_FAILURE() << id << ": the resource world holds no picture " << (look ? look : "(none)");
                continue;
            }
            EXPECT_TRUE(w == bareW && h == bareH) << look << " is " << w << " x " << h;
            const auto [painter, first] = pictureOwners.emplace(look, id);
            EXPECT_TRUE(first) << id << " and " << painter->second << " share " << look;
            if (look == kind->frames[0])
                standing.emplace_back(picture->data, picture->data + picture->Size());
        }
        EXPECT_STREQ(type->pictureName, kind->frames[0]) << id;
    }
    ASSERT_EQ(standing.size(), 3u);
    EXPECT_NE(standing[0], standing[1]) << "the warrior stands as the bare bones do";
    EXPECT_NE(standing[0], standing[2]) << "the mage stands as the bare bones do";
    EXPECT_NE(standing[1], standing[2]) << "the warrior stands as the mage does";
}

// No picture is painted twice under one name: the game finds only the first, so a second painter's
// work would be dead weight in the database, and a change to it would never show.
TEST_F(BuiltWorldLinks, EveryPictureNameIsPaintedOnce) {
    std::map<std::string, int> seen;
    for (u32 i = 1; i < built.textures.PictureCount(); ++i)
        if (const CRecordHolder* p = built.textures.PictureAt(i); p && p->name) ++seen[p->name];
    std::string twice;
    for (const auto& [name, count] : seen)
        if (count > 1) twice += name + " ";
    EXPECT_EQ(twice, "");
}

// The quoted first arguments of every call of `command` in a script's text.
std::set<std::string> Calls(const std::string& source, const std::string& command) {
    std::set<std::string> ids;
    const std::string opening = command + "(\"";
    for (size_t at = source.find(opening); at != std::string::npos; at = source.find(opening, at + 1)) {
        const size_t from = at + opening.size(), to = source.find('"', from);
        if (to != std::string::npos) ids.insert(source.substr(from, to - from));
    }
    return ids;
}

// Every quest is handed over by an NPC who stands in the world, in a topic that is no longer offered
// once the quest is solved; it is solved somewhere a player goes (a placed object's script or a placed
// NPC's talk), and what the solving asks the player to bring can be found or is handed over.
TEST_F(BuiltWorldLinks, EveryQuestIsGivenBySomeoneAndFinishedSomewhere) {
    std::map<std::vector<uint8_t>, std::string> scriptIdByCode;
    for (const content::CompiledScript& script : content::CompileWorldScripts())
        scriptIdByCode[script.code] = script.id;
    std::map<std::string, std::string> sourceById;
    for (const content::WorldScript& script : content::WorldScripts()) sourceById[script.id] = script.source;

    // Where each script runs: the talk topics of the NPCs who stand in the world, and the placements.
    struct Topic {
        std::string npc;
        const DialogueEntryDef* entry;
    };
    std::map<std::string, std::vector<Topic>> topicsByScript;
    const std::set<std::string> placed = PlacedNpcs();
    for (const NpcDef& npc : BaseRules().npcs) {
        if (!placed.count(npc.id)) continue;
        for (const DialogueEntryDef& entry : npc.dialogue.topics)
            for (const LineDef& line : entry.lines)
                if (auto it = scriptIdByCode.find(line.script); it != scriptIdByCode.end())
                    topicsByScript[it->second].push_back({npc.id, &entry});
    }
    std::set<std::string> placedScripts;
    for (CMapSection* section : sections)
        for (const CPlacement& p : section->placements)
            if (p.third && *p.third) placedScripts.insert(p.third);

    std::set<std::string> findable = FindableItems();
    for (const auto& [id, source] : sourceById)
        for (const std::string& item : Calls(source, "receiveitem")) findable.insert(item);

    const world::Content base = world::BaseWorld();
    ASSERT_FALSE(base.quests.empty());
    for (const world::Quest& quest : base.quests) {
        SCOPED_TRACE(quest.id);
        EXPECT_NE(built.lists.quests.FindById(quest.id.c_str()), nullptr);
        std::string givers, finishers;
        for (const auto& [id, source] : sourceById) {
            const auto topics = topicsByScript.find(id);
            const bool talk = topics != topicsByScript.end();
            if (Calls(source, "addquest").count(quest.id) && talk)
                for (const Topic& t : topics->second) {
                    givers += t.npc + " ";
                    // The topic goes once the quest is solved: kind 43, "=", 0 on the quest.
                    const ConditionDef& c = t.entry->condition;
                    EXPECT_TRUE(t.entry->hasCondition && c.name == quest.id && c.bytes[0] == 43 &&
                                c.bytes[1] == 1 && c.word == 0)
                        << t.npc << "'s topic " << t.entry->name << " stays offered after the quest";
                }
            if (Calls(source, "solvequest").count(quest.id) && (talk || placedScripts.count(id))) {
                finishers += id + " ";
                for (const std::string& item : Calls(source, "hasitem"))
                    EXPECT_EQ(findable.count(item), 1u) << id << " asks for " << item << ", which lies nowhere";
            }
        }
        EXPECT_NE(givers, "") << "no NPC in the world hands over " << quest.id;
        EXPECT_NE(finishers, "") << "nothing in the world finishes " << quest.id;
    }
}

// The additional world is a place a player reaches and walks: its start entry, where the boatman's
// voyage lands, stands free; every cell of its rooms is walked to from there (no room is sealed),
// its creatures stand on such cells and its chest faces one; and the boat home lands on the cell
// before the boatman's post in the town.
TEST_F(BuiltWorldLinks, TheAdditionalWorldIsReachedAndWalkedWhole) {
    ASSERT_EQ(additionalSections.size(), 1u);
    CMapSection& cave = *additionalSections[0];
    const CPlacement* arrival = cave.FindPlacementByName("embr_STARTGAME");
    ASSERT_NE(arrival, nullptr);
    ASSERT_TRUE(Standable(cave, arrival->x, arrival->y));

    static constexpr int kStep[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};  // north, east, south, west
    std::set<std::pair<int, int>> reached{{arrival->x, arrival->y}};
    std::vector<std::pair<int, int>> open{{arrival->x, arrival->y}};
    while (!open.empty()) {
        const auto [x, y] = open.back();
        open.pop_back();
        for (const auto& d : kStep)
            if (Standable(cave, x + d[0], y + d[1]) && reached.insert({x + d[0], y + d[1]}).second)
                open.push_back({x + d[0], y + d[1]});
    }
    std::string sealed;
    for (int y = 0; y < cave.height; ++y)
        for (int x = 0; x < cave.width; ++x)
            if (Standable(cave, x, y) && !reached.count({x, y}))
                sealed += std::to_string(x) + "," + std::to_string(y) + " ";
    EXPECT_EQ(sealed, "") << "cells that cannot be walked to from the start entry";
    EXPECT_GT(reached.size(), 100u) << "a few rooms, not a closet";

    ASSERT_FALSE(cave.monsters.empty());
    for (const CMonster& m : cave.monsters) {
        EXPECT_NE(m.type, nullptr) << "a creature of a type the vale does not know";
        EXPECT_EQ(reached.count({m.x, m.y}), 1u) << "a creature at " << int(m.x) << "," << int(m.y);
    }

    const CPlacement* chest = cave.FindPlacementByName("embr_chest");
    ASSERT_NE(chest, nullptr);
    const CMapCell& wall = cells[&cave][static_cast<size_t>(chest->y) * cave.width + chest->x];
    int face = -1;
    for (int side = 0; side < 4; ++side)
        if (wall.sideId[side] == chest->id) face = side;
    ASSERT_NE(face, -1);
    EXPECT_EQ(ObjectOf(cave, *chest)->typeCode, 14);
    EXPECT_EQ(reached.count({chest->x + kStep[face][0], chest->y + kStep[face][1]}), 1u)
        << "the chest faces a cell the player reaches";
    const CBagItemList* loot = cave.BagList(chest->bagId);
    ASSERT_NE(loot, nullptr);
    EXPECT_GT(loot->entries.GetCount(), 0);

    const CPlacement* boat = cave.FindPlacementByName("embr_boat");
    ASSERT_NE(boat, nullptr);
    EXPECT_EQ(std::abs(boat->x - arrival->x) + std::abs(boat->y - arrival->y), 1) << "the boat waits by the landing";

    const auto [town, home] = Find("base_city1");
    ASSERT_NE(home, nullptr);
    EXPECT_TRUE(Standable(*town, home->x, home->y));
    const CPlacement* post = town->FindPlacementByName("base_boatman");
    ASSERT_NE(post, nullptr);
    EXPECT_EQ(std::abs(post->x - home->x) + std::abs(post->y - home->y), 1);
    EXPECT_FALSE(Standable(*town, post->x, post->y)) << "the post stands in its cell";
}

}  // namespace
