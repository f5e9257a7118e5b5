#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "data/MapObjectRecords.h"
#include "data/MapSection.h"
#include "data/RuleContext.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "data/WorldLoader.h"
#include "tests/data/RuleFixture.h"
#include "tests/data/WorldFixtures.h"
#include "tests/support/TempDir.h"
#include "tools/content/WorldScripts.h"

namespace {

using testing_support::TempDir;

class WorldLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { finder.SetFolder(dir.Path()); }

    // Opens "<name>.pdb" of the folder as a world; null (and the error kept) when it fails.
    std::unique_ptr<CWorld> Load(const std::string& name) {
        auto db = std::make_unique<CPdbFile>(nullptr, &finder);
        if (!db->Open(name.c_str(), "VnTl")) return nullptr;
        auto world = std::make_unique<CWorld>();
        error = CWorldLoadError{};
        if (!world->Load(std::move(db), lists, &error)) return nullptr;
        lists.AfterLoad();
        return world;
    }

    // The first record id of the kind with the tag, as the loader reads "<name>.pdb" into lists of its
    // own; 0 when that kind is not reached.
    u16 FirstRecordOfKind(const std::string& name, u8 tag) {
        CPdbFile db(nullptr, &finder);
        if (!db.Open(name.c_str(), "VnTl")) return 0;
        CWorld world;
        if (!world.ReadHeader(db)) return 0;
        CTextureSet ownTextures;
        CWorldLists own(ownTextures);
        u16 first = 0;
        CWorldLoadContext context{world, own, &db, CWorld::kFirstKindRecord, world.version};
        context.trace = [&first, tag](const CWorldKind& kind, u16 start, u16) {
            if (kind.tag == tag && first == 0) first = start;
        };
        LoadWorldKinds(context, nullptr);
        return first;
    }

    // Loads the resource world and the base world (as built, at the version).
    std::unique_ptr<CWorld> LoadBase(u8 version = 122) {
        fixtures::Write(dir.Path(), fixtures::ResourceWorld(), version);
        fixtures::Write(dir.Path(), fixtures::BaseWorld(), version);
        res_ = Load("VantrelRes");
        if (!res_) return nullptr;
        return Load("VantrelBase");
    }

    TempDir dir;
    CFileFinder finder;
    CTextureSet textures;
    CWorldLists lists{textures};
    CWorldLoadError error;
    std::unique_ptr<CWorld> res_;
};

// The counts of every rule list, to compare lists before and after a world.
std::vector<long> RuleCounts(const CWorldLists& l) {
    return {l.abilities.Count(),
            l.recipes.Count(),
            l.diseases.Count(),
            l.items.GetItemTypeCount(),
            l.items.GetAnimationCount(),
            l.items.GetUseStyleCount(),
            l.items.GetPictureListCount(),
            l.creatures.GetKindCount(),
            l.creatures.GetTypeCount(),
            l.dialogue.topics.GetCount(),
            l.dialogue.greetings.GetCount(),
            l.portraits.Count(),
            l.npcs.Count(),
            l.spells.Count(),
            l.items.GetGroupCount(1)};
}

// The world's record with the tag that holds the text, among the kinds' records.
world::Record* FindKindRecord(std::vector<world::Record>& records, u8 tag, const std::string& text) {
    for (world::Record& r : records) {
        if (r.id < CWorld::kFirstKindRecord || r.id >= world::kFirstPictureRecord) continue;
        if (r.data.empty() || r.data[0] != tag) continue;
        if (std::search(r.data.begin(), r.data.end(), text.begin(), text.end()) != r.data.end()) return &r;
    }
    return nullptr;
}

TEST_F(WorldLoaderTest, TheKindTableHoldsTheTwentySevenKindsInFileOrder) {
    const char expected[] = {'<',  'L', 0x0A, 0x0E, 0x0C, 0x10, 0x16, 0x19, 'C', 0x1C, 'E', 0x24, 0x25, 0x2B,
                             0x08, '5', 'B',  0x27, 0x2C, '0',  0x03, 0x3B, 'N', 'P',  'R', 'C',  1};
    auto kinds = WorldKinds();
    ASSERT_EQ(kinds.size(), 27u);
    for (size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(kinds[i].tag, static_cast<u8>(expected[i])) << "order " << i + 1;
    EXPECT_EQ(kinds[8].when, CWorldKind::kAbove71);
    EXPECT_EQ(kinds[10].when, CWorldKind::kAbove71);
    EXPECT_EQ(kinds[25].when, CWorldKind::kUpTo71);
}

TEST_F(WorldLoaderTest, TheBuiltBaseWorldLoadsWithItsHeaderTablesAndSection) {
    fixtures::Write(dir.Path(), fixtures::ResourceWorld());
    fixtures::Write(dir.Path(), fixtures::BaseWorld());
    auto res = Load("VantrelRes");
    ASSERT_TRUE(res) << error.record << " " << error.kind;
    auto base = Load("VantrelBase");
    ASSERT_TRUE(base) << error.record << " " << error.kind;

    EXPECT_EQ(base->version, 122);
    EXPECT_STREQ(base->shortName.GetText(), "base");
    EXPECT_STREQ(base->recordIdPrefix.GetText(), "base_");
    EXPECT_EQ(base->prefixKey, ShortNameHash("base_"));
    EXPECT_STREQ(base->title.GetText(), "The Vale of Vantrel");

    // 'C' finds the map objects by id, 'D' the item types, 'E' the monster types; 'F' finds the second
    // picture table of the resource world.
    // Six objects of the sections, then the cellar gallery's one of each of the 43 type codes, then the
    // vale's six kinds of scenery and its two grounds, the town's three house walls, and the crypt's
    // shrine bell (a sign by its type, with a picture of its own).
    ASSERT_EQ(base->tableC.Count(), 62u);
    EXPECT_EQ(base->MapObjectAt(0), nullptr);
    ASSERT_NE(base->MapObjectAt(2), nullptr);
    EXPECT_STREQ(base->MapObjectAt(2)->id, "base_wallstone");
    EXPECT_EQ(base->MapObjectAt(2)->typeCode, 5);
    ASSERT_NE(base->MapObjectAt(49), nullptr);
    EXPECT_EQ(base->MapObjectAt(49)->typeCode, 43);
    ASSERT_NE(base->MapObjectAt(57), nullptr);
    EXPECT_STREQ(base->MapObjectAt(57)->id, "base_pond");
    ASSERT_NE(base->MapObjectAt(60), nullptr);
    EXPECT_STREQ(base->MapObjectAt(60)->id, "base_wallhouseupper");
    EXPECT_EQ(base->MapObjectAt(60)->typeCode, 5);
    ASSERT_NE(base->MapObjectAt(61), nullptr);
    EXPECT_STREQ(base->MapObjectAt(61)->id, "base_shrinebell");
    EXPECT_EQ(base->MapObjectAt(61)->typeCode, 19);
    EXPECT_EQ(base->MapObjectAt(62), nullptr);
    ASSERT_EQ(base->tableD.Count(), 3u);
    EXPECT_STREQ(base->tableD.names[1], "base_money_100");
    ASSERT_NE(base->ItemTypeAt(1), nullptr);
    EXPECT_EQ(base->ItemTypeAt(1), lists.items.FindItemType("base_money_100"));
    ASSERT_GT(base->tableE.Count(), 1u);
    for (u32 i = 1; i < base->tableE.Count(); ++i) {
        EXPECT_NE(base->MonsterTypeAt(i), nullptr) << base->tableE.names[i];
        EXPECT_EQ(base->MonsterTypeAt(i), lists.creatures.FindMonsterType(base->tableE.names[i]));
    }
    ASSERT_NE(base->PictureAt(3), nullptr);
    EXPECT_STREQ(base->PictureAt(3)->secondName, "bres_ceilingstone");

    // The directory's ground 0 gives "base_water"; the section reads its fields and falls back to the
    // first map object of type 1 for its ceiling.
    ASSERT_NE(base->defaultGround, nullptr);
    EXPECT_STREQ(base->defaultGround->id, "base_water");
    ASSERT_EQ(base->SectionCount(), 11u);
    ASSERT_NE(base->worldMapPicture, nullptr);
    EXPECT_EQ(base->FindSectionAt(1, 1), base->SectionAt(1));
    EXPECT_TRUE(base->SectionAt(1)->IsSurface());
    EXPECT_EQ(base->SectionAt(1)->ceilingObject, nullptr);
    CMapSection* cellar = base->FindSectionByName("base_cellar");
    ASSERT_NE(cellar, nullptr);
    EXPECT_STREQ(cellar->displayName, "Old Cellar");
    EXPECT_EQ(cellar->baseRecord, world::kFirstSectionRecord);
    EXPECT_EQ(cellar->width, 35);
    EXPECT_EQ(cellar->explored.size(), 35u * 5u);
    EXPECT_STREQ(cellar->groundObject->id, "base_floorstone");
    EXPECT_STREQ(cellar->ceilingObject->id, "base_floorstone");
    EXPECT_EQ(cellar->byteE, 0);
    EXPECT_EQ(cellar->bytes[0], 150);

    EXPECT_EQ(lists.quests.Count(), 3u);
    EXPECT_EQ(lists.scripts.Count(), 2u + content::WorldScripts().size());
    EXPECT_EQ(lists.globals.Count(), 5u);
    ASSERT_NE(lists.pageSequences.FindById("bres_intro"), nullptr);
    EXPECT_EQ(lists.pageSequences.FindById("bres_intro")->pages.size(), 3u);
    EXPECT_EQ(lists.talkProfiles.FindById("base_npc_elder")->pictures.size(), 1u);
    EXPECT_EQ(lists.skies.Count(), 6u);  // five by hour and weather, and the thunder sky
    // The rule kinds start at 4004, after the world map's two.
    EXPECT_EQ(FirstRecordOfKind("VantrelBase", 0x0A), 4004);
}

TEST_F(WorldLoaderTest, EveryRuleKindFillsItsListAsTheBuilderWroteIt) {
    auto base = LoadBase();
    ASSERT_TRUE(base) << error.record << " " << error.kind;
    const BaseRuleContent& content = BaseRules();
    EXPECT_EQ(lists.abilities.Count(), static_cast<int>(content.abilities.size()));
    EXPECT_EQ(lists.recipes.Count(), static_cast<int>(content.recipes.size()));
    EXPECT_EQ(lists.diseases.Count(), static_cast<int>(content.diseases.size()));
    EXPECT_EQ(lists.items.GetItemTypeCount(), static_cast<int>(content.items.items.size()));
    EXPECT_EQ(lists.items.GetAnimationCount(), static_cast<int>(content.items.animations.size()));
    EXPECT_EQ(lists.items.GetUseStyleCount(), static_cast<int>(content.items.useStyles.size()));
    EXPECT_EQ(lists.items.GetPictureListCount(), static_cast<int>(content.items.pictureLists.size()));
    EXPECT_EQ(lists.creatures.GetKindCount(), static_cast<int>(content.creatureKinds.size()));
    EXPECT_EQ(lists.creatures.GetTypeCount(), static_cast<int>(content.monsterTypes.size()));
    EXPECT_EQ(lists.dialogue.topics.GetCount(), static_cast<int>(content.dialogue.topics.size()));
    EXPECT_EQ(lists.dialogue.greetings.GetCount(), static_cast<int>(content.dialogue.greetings.size()));
    EXPECT_EQ(lists.portraits.Count(), static_cast<int>(content.portraits.size()));
    EXPECT_EQ(lists.npcs.Count(), static_cast<int>(content.npcs.size()));
    EXPECT_EQ(lists.spells.Count(), static_cast<int>(content.spells.size()));
    ASSERT_EQ(content.races.size(), static_cast<size_t>(kRaceCount));
    for (int i = 0; i < kRaceCount; ++i) {
        EXPECT_EQ(std::string(lists.races.GetName(i)), content.races[i].display) << i;
        EXPECT_EQ(std::string(lists.races.GetEntry(i)->text1 ? lists.races.GetEntry(i)->text1 : ""),
                  content.races[i].text1)
            << i;
    }
    ASSERT_EQ(content.skills.size(), static_cast<size_t>(kSkillCount));
    for (int i = 1; i <= kSkillCount; ++i)
        EXPECT_EQ(std::string(lists.skills.GetEntry(i)->fullName), content.skills[i - 1].full) << i;
    ASSERT_EQ(content.attributes.size(), static_cast<size_t>(kAttributeCount));
    for (int i = 1; i <= kAttributeCount; ++i)
        EXPECT_EQ(std::string(lists.attributes.GetEntry(i)->displayName), content.attributes[i - 1].display)
            << i;
    // The random-item tables are built for the base world; its monster types belong to it.
    EXPECT_GT(lists.items.GetGroupCount(1), 0);
    for (int i = 0; i < lists.creatures.GetTypeCount(); ++i)
        EXPECT_EQ(lists.creatures.GetType(i)->owner, base.get());
    // The sounds the creature kinds name are not shared ones.
    for (const char* name : lists.namedSounds())
        if (const CWorldSound* sound = lists.resources.FindResourceByName(name)) {
            EXPECT_EQ(sound->shared, 0) << name;
        }

    // The rules find the loaded tables through their context.
    CRuleContext rules;
    lists.BindRuleContext(rules);
    EXPECT_EQ(rules.items, &lists.items);
    EXPECT_EQ(rules.spells, &lists.spells);
    EXPECT_EQ(rules.races, &lists.races);
    EXPECT_EQ(rules.skills, &lists.skills);
    EXPECT_EQ(rules.attributes, &lists.attributes);
    EXPECT_EQ(rules.abilities, &lists.abilities);
    EXPECT_EQ(rules.diseases, &lists.diseases);
    EXPECT_EQ(rules.creatures, &lists.creatures);
    ASSERT_GT(lists.recipes.Count(), 0);
    const CRecipe& recipe = *lists.recipes.At(0);
    std::unique_ptr<CItemInstance> brewed(ScaleRecipeEffect(recipe, 50, rules));
    ASSERT_NE(brewed, nullptr) << recipe.resultId;
    EXPECT_EQ(brewed->type, lists.items.FindItemType(recipe.resultId));
}

TEST_F(WorldLoaderTest, TheStartKitResolvesThroughTheLoadedWorld) {
    auto base = LoadBase();
    ASSERT_TRUE(base) << error.record << " " << error.kind;
    std::vector<std::string> missing;
    for (const std::string& id : StartKitItemIds())
        if (!lists.items.FindItemType(id.c_str())) missing.push_back(id);
    EXPECT_TRUE(missing.empty()) << "items that do not resolve: " << ::testing::PrintToString(missing);
    for (const StartKitSpell& s : kStartKitSpells) {
        const CSpell* spell = lists.spells.FindById(s.id);
        ASSERT_NE(spell, nullptr) << s.id;
        EXPECT_EQ(spell->school, s.school) << s.id;
    }
    for (int race = 1; race <= 5; ++race)
        EXPECT_NE(lists.abilities.FindById(lists.races.GetEntry(race)->text1), nullptr) << race;
    // The items the world places resolve through its own item table.
    for (u32 i = 1; i < base->tableD.Count(); ++i)
        EXPECT_NE(base->ItemTypeAt(i), nullptr) << base->tableD.names[i];
}

// Each rule kind's record damaged in turn (cut to half its length) fails the world naming that record;
// the rule lists go back to what the world before gave them, texts included.
TEST_F(WorldLoaderTest, ADamagedRuleRecordFailsNamingItAndRollsTheRuleListsBack) {
    fixtures::Write(dir.Path(), fixtures::SmallWorld("VantrelOther", "othr"));
    auto other = Load("VantrelOther");
    ASSERT_TRUE(other) << error.record << " " << error.kind;
    const std::vector<long> before = RuleCounts(lists);
    const std::string race3 = lists.races.GetEntry(3)->text1;
    const std::string skill20 = lists.skills.GetEntry(20)->text;

    const struct {
        const char* kind;
        u8 tag;
        const char* text;  // a text the record holds
    } cases[] = {
        {"abilities", 0x0A, ""},
        {"recipes", 0x0E, ""},
        {"diseases", 0x0C, ""},
        {"items", 0x38, ""},
        {"items", 0x15, "base_money_100"},
        {"creatures", 0x1C, ""},
        {"creatures", 0x1E, ""},
        {"dialogue", 0x24, ""},
        {"portraits", 0x25, ""},
        {"NPCs", 0x2A, "Hesper"},
        {"spells", 0x04, "base_spellcurse"},
        {"races", 'N', ""},
        {"skills", 'P', ""},
        {"attributes", 'R', ""},
    };
    const world::Content c = fixtures::BaseWorld();
    const std::vector<world::Record> records = fixtures::Build(c);
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.kind << " tag " << int(k.tag));
        std::vector<world::Record> damaged = records;
        world::Record* r = FindKindRecord(damaged, k.tag, k.text);
        ASSERT_NE(r, nullptr);
        r->data.resize(r->data.size() / 2);
        fixtures::Write(dir.Path(), c, damaged);
        EXPECT_FALSE(Load("VantrelBase"));
        EXPECT_EQ(error.record, r->id);
        EXPECT_EQ(error.kind, k.kind);
        EXPECT_EQ(RuleCounts(lists), before);
        EXPECT_EQ(lists.races.GetEntry(3)->text1, race3);
        EXPECT_EQ(lists.skills.GetEntry(20)->text, skill20);
        EXPECT_EQ(lists.findItemType("base_money_100"), lists.items.FindItemType("base_money_100"));
    }
    // The lists stay whole: the undamaged world loads on top of them.
    fixtures::Write(dir.Path(), c);
    EXPECT_TRUE(Load("VantrelBase")) << error.record << " " << error.kind;
}

TEST_F(WorldLoaderTest, AResetReturnsTheCharacterTablesToTheirBuiltInTexts) {
    auto base = LoadBase();
    ASSERT_TRUE(base) << error.record << " " << error.kind;
    EXPECT_STREQ(lists.races.GetEntry(3)->text1, "base_ability_seiry");
    lists.Clear();
    base.reset();
    res_.reset();
    // Nothing may point into the freed records (the sanitizer build reads every text).
    for (int i = 0; i < kRaceCount; ++i) {
        const CRaceEntry* e = lists.races.GetEntry(i);
        EXPECT_EQ(e->text1, nullptr);
        if (e->GetName()) {
            EXPECT_GT(std::strlen(e->GetName()) + std::strlen(e->displayName.GetText()), 0u);
        }
    }
    for (int i = 1; i <= kSkillCount; ++i) EXPECT_GT(std::strlen(lists.skills.GetName(i)), 0u);
    for (int i = 1; i <= kAttributeCount; ++i) EXPECT_GT(std::strlen(lists.attributes.GetName(i)), 0u);
    EXPECT_EQ(RuleCounts(lists), std::vector<long>(RuleCounts(lists).size(), 0));
}

// Each row builds the base world at one version and checks what that version's fields give.
struct VersionCase {
    u8 version;
    u8 expansion;     // 1 before 119
    u8 byteG;         // 0 before 122
    u8 scriptValue;   // 5 at 51 and below
    bool skyPicture;  // the sky's own picture name from 39 on, else its id
    bool pageText3;   // from 102
    bool ownLightA;   // light A stored from 117; before, it equals light B
    bool byteE;       // from 118; before, the default 255
};

TEST_F(WorldLoaderTest, VersionGatesOfEachKind) {
    const VersionCase cases[] = {
        {24, 1, 0, 5, false, false, false, false}, {33, 1, 0, 5, false, false, false, false},
        {42, 1, 0, 5, true, false, false, false},  {51, 1, 0, 5, true, false, false, false},
        {52, 1, 0, 9, true, false, false, false},  {67, 1, 0, 9, true, false, false, false},
        {71, 1, 0, 9, true, false, false, false},  {72, 1, 0, 9, true, false, false, false},
        {101, 1, 0, 9, true, false, false, false}, {102, 1, 0, 9, true, true, false, false},
        {116, 1, 0, 9, true, true, false, false},  {117, 1, 0, 9, true, true, true, false},
        {118, 1, 0, 9, true, true, true, true},    {119, 3, 0, 9, true, true, true, true},
        {121, 3, 0, 9, true, true, true, true},    {122, 3, 7, 9, true, true, true, true},
    };
    for (const VersionCase& vc : cases) {
        SCOPED_TRACE(testing::Message() << "version " << int(vc.version));
        lists.Clear();
        world::Content c = fixtures::BaseWorld();
        c.expansion = 3;
        c.byteG = 7;
        c.scripts[0].value = 9;
        c.skies = {{"base_skyone", "bres_skyday", 1, 2, 0, 0, 0}};
        c.pageSequences[0].pages[0].text3 = "third";
        c.sections[0].lightAColour = 0x1111;
        c.sections[0].lightBColour = 0x2222;
        c.sections[0].byteE = 4;
        fixtures::Write(dir.Path(), c, vc.version);
        auto base = Load("VantrelBase");
        ASSERT_TRUE(base) << error.record << " " << error.kind;
        EXPECT_EQ(base->version, vc.version);
        EXPECT_EQ(base->expansion, vc.expansion);
        EXPECT_EQ(base->flagByte, vc.byteG);
        EXPECT_EQ(lists.scripts.FindById("base_startgame1")->value, vc.scriptValue);
        EXPECT_STREQ(lists.skies.At(0)->picture, vc.skyPicture ? "bres_skyday" : "base_skyone");
        const char* text3 = lists.pageSequences.FindById("bres_intro")->pages[0].text3;
        if (vc.pageText3)
            EXPECT_STREQ(text3, "third");
        else
            EXPECT_EQ(text3, nullptr);
        // Older worlds stored a value with each global; every variable starts at 0 all the same.
        EXPECT_EQ(lists.globals.At(0)->number, 0);
        EXPECT_EQ(lists.globals.At(0)->text, "0");
        CMapSection* s = base->SectionAt(0);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->lightAColour, vc.ownLightA ? 0x1111 : 0x2222);
        EXPECT_EQ(s->colourC, 0xA534);
        EXPECT_EQ(s->byteE, vc.byteE ? 4 : 255);
        // The index tables are found at either place and still name the map objects.
        ASSERT_NE(base->MapObjectAt(1), nullptr);
        EXPECT_STREQ(base->MapObjectAt(1)->id, "base_floorstone");
        EXPECT_STREQ(s->groundObject->id, "base_floorstone");
        // The rule kinds load at every version, with what the builder wrote.
        const BaseRuleContent& content = BaseRules();
        EXPECT_EQ(lists.items.GetItemTypeCount(), static_cast<int>(content.items.items.size()));
        EXPECT_EQ(lists.spells.Count(), static_cast<int>(content.spells.size()));
        EXPECT_EQ(lists.npcs.Count(), static_cast<int>(content.npcs.size()));
        EXPECT_EQ(lists.creatures.GetTypeCount(), static_cast<int>(content.monsterTypes.size()));
        EXPECT_EQ(lists.dialogue.greetings.GetCount(), static_cast<int>(content.dialogue.greetings.size()));
        EXPECT_STREQ(lists.races.GetEntry(3)->text1, "base_ability_seiry");
        EXPECT_NE(base->ItemTypeAt(1), nullptr);
        base.reset();
    }
}

TEST_F(WorldLoaderTest, AHeaderWithoutMarkersReadsTheSame) {
    world::Content with = fixtures::BaseWorld();
    world::Content without = with;
    without.markers = false;
    without.dbName = "NoMarkers";
    fixtures::Write(dir.Path(), with);
    fixtures::Write(dir.Path(), without);
    auto a = Load("VantrelBase");
    auto b = Load("NoMarkers");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->version, b->version);
    EXPECT_STREQ(a->title.GetText(), b->title.GetText());
    EXPECT_EQ(a->expansion, b->expansion);
    EXPECT_EQ(a->gridWidth, b->gridWidth);
    EXPECT_EQ(a->SectionCount(), b->SectionCount());
}

TEST_F(WorldLoaderTest, AWorldMapTakesTheSameTwoIdsAsAnEmptyPrefix) {
    world::Content withMap = fixtures::BaseWorld();
    withMap.worldMap = {0, 0, 8, 0, 4, 0, 0, 0};
    world::Content without = withMap;
    without.dbName = "NoMap";
    without.sectionPrefix.clear();
    fixtures::Write(dir.Path(), withMap);
    fixtures::Write(dir.Path(), without);
    auto a = Load("VantrelBase");
    ASSERT_TRUE(a) << error.record << " " << error.kind;
    ASSERT_NE(a->worldMapPicture, nullptr);
    u16 w = 0, h = 0;
    EXPECT_NE(GetPictureSize(a->worldMapPicture.get(), w, h), nullptr);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(FirstRecordOfKind("VantrelBase", 0x0A), 4004);
    auto b = Load("NoMap");
    ASSERT_TRUE(b) << error.record << " " << error.kind;
    EXPECT_EQ(b->worldMapPicture, nullptr);
    EXPECT_EQ(b->FindSectionAt(1, 1), nullptr);
    EXPECT_EQ(FirstRecordOfKind("NoMap", 0x0A), 4004);
}

TEST_F(WorldLoaderTest, AnEmptyWorldLoadsWithEmptyListsAndNoSections) {
    world::Content c;
    c.dbName = "Empty";
    c.type = "VnTW";
    c.shortName = "empt";
    fixtures::Write(dir.Path(), c);
    auto w = Load("Empty");
    ASSERT_TRUE(w) << error.record << " " << error.kind;
    EXPECT_EQ(w->SectionCount(), 0u);
    EXPECT_EQ(w->tableC.Count(), 1u);
    EXPECT_EQ(w->defaultGround, nullptr);
    EXPECT_EQ(lists.quests.Count(), 0u);
}

TEST_F(WorldLoaderTest, AMissingOrDamagedRecordFailsTheLoadNamingTheRecordAndLeavesNothing) {
    fixtures::Write(dir.Path(), fixtures::ResourceWorld());
    ASSERT_TRUE(Load("VantrelRes"));
    const u32 pictures = textures.PictureCount();
    const size_t skies = lists.skies.Count();

    world::Content c = fixtures::BaseWorld();
    std::vector<world::Record> records = fixtures::Build(c);
    // Every record the fixed order reaches, removed one at a time, fails the load with its id.
    std::vector<u16> reached;
    for (const world::Record& r : records)
        if (r.id >= 4000 && r.id < world::kFirstPictureRecord) reached.push_back(r.id);
    reached.push_back(3999);
    for (u16 id : reached) {
        SCOPED_TRACE(id);
        std::vector<world::Record> cut = records;
        fixtures::RemoveRecord(cut, id);
        fixtures::Write(dir.Path(), c, cut);
        EXPECT_FALSE(Load("VantrelBase"));
        EXPECT_EQ(error.record, id);
        EXPECT_FALSE(error.kind.empty());
        EXPECT_EQ(textures.PictureCount(), pictures);
        EXPECT_EQ(lists.skies.Count(), skies);
        EXPECT_EQ(lists.quests.Count(), 0u);
        EXPECT_EQ(lists.mapObjects.Count(), 0u);
        EXPECT_EQ(RuleCounts(lists), std::vector<long>(RuleCounts(lists).size(), 0));
        EXPECT_EQ(lists.races.GetEntry(3)->text1, nullptr);
    }

    // A count that runs past its record fails that record instead of reading on.
    std::vector<world::Record> damaged = records;
    world::Record* quests = fixtures::FindRecordWith(damaged, 0x08, "base_q_cellar");
    ASSERT_NE(quests, nullptr);
    const u16 questsId = quests->id;
    quests->data[2] = 0xFF;
    quests->data.resize(quests->data.size() - 10);
    fixtures::Write(dir.Path(), c, damaged);
    EXPECT_FALSE(Load("VantrelBase"));
    EXPECT_EQ(error.record, questsId);
    EXPECT_EQ(error.kind, "quests");
}

TEST_F(WorldLoaderTest, StoredIndicesOutsideTheirTablesAreNone) {
    world::Content c = fixtures::BaseWorld();
    c.defaultGround = 90;
    c.defaultGroundPicture = 12;
    c.sections[0].indices[0] = 77;
    c.sections[0].indices[1] = 10;  // one past the 'F' table
    fixtures::Write(dir.Path(), c);
    auto base = Load("VantrelBase");
    ASSERT_TRUE(base);
    EXPECT_STREQ(base->defaultGround->id, "base_water");
    EXPECT_EQ(base->defaultGroundPicture, nullptr);
    EXPECT_EQ(base->SectionAt(0)->indices[0], 0);
    EXPECT_EQ(base->SectionAt(0)->indices[1], 0);
    EXPECT_STREQ(base->SectionAt(0)->groundObject->id, "base_floorstone");
}

TEST_F(WorldLoaderTest, ASurfacePieceIsTwentyOneCellsAndHasNoFallbackCeiling) {
    world::Content c = fixtures::BaseWorld();
    c.sections[0].flags = 0x80;
    c.sections[0].indices[2] = 0;
    fixtures::Write(dir.Path(), c);
    auto base = Load("VantrelBase");
    ASSERT_TRUE(base);
    CMapSection* s = base->SectionAt(0);
    EXPECT_EQ(s->width, 21);
    EXPECT_EQ(s->height, 21);
    EXPECT_EQ(s->exploredRowLength, 3);
    EXPECT_EQ(s->ceilingObject, nullptr);
}

}  // namespace

namespace {

// What a section's placements and creatures hold after loading, as text for comparing.
std::vector<std::string> SectionContents(const CWorld& world, u8 version) {
    std::vector<std::string> out;
    for (u32 i = 0; i < world.SectionCount(); ++i) {
        const CMapSection& s = *world.SectionAt(i);
        for (const CPlacement& p : s.placements) {
            std::string line = std::string(s.GetName()) + " placement " + std::to_string(p.id) + " level " +
                               std::to_string(p.level) + " bag " + std::to_string(p.bagId) + " flags " +
                               std::to_string(p.flags);
            // Texts from version 53 on, the two values from version 54 on.
            if (version > 52)
                line += std::string(" texts ") + (p.name ? p.name : "") + "|" + (p.text ? p.text : "") + "|" +
                        (p.third ? p.third : "");
            if (version > 53) line += " at " + std::to_string(p.x) + "," + std::to_string(p.y);
            out.push_back(line);
        }
        for (const CMonster& m : s.monsters) {
            // Flag bits 3 and 4 from version 70 on, the bag from version 89 on.
            const u8 flags = version < 70 ? static_cast<u8>(m.flags & ~0x18) : m.flags;
            out.push_back(std::string(s.GetName()) + " creature " + std::to_string(m.id) + " type " +
                          std::to_string(m.typeIndex) + " flags " + std::to_string(flags) + " object " +
                          std::to_string(m.objectId) + " at " + std::to_string(m.x) + "," +
                          std::to_string(m.y) + (version > 88 ? " bag " + std::to_string(m.bagId) : ""));
        }
    }
    return out;
}

// The builder writes its worlds at any data version: the placement texts and the creatures' skipped
// bytes of the old versions are read as it writes them, so every version loads the same places and
// creatures as the newest (less the fields that version does not store).
TEST_F(WorldLoaderTest, EveryVersionTheBuilderWritesLoadsItsPlacementsAndCreatures) {
    fixtures::Write(dir.Path(), fixtures::BaseWorld(), 122);
    auto newest = Load("VantrelBase");
    ASSERT_TRUE(newest);
    std::map<u8, std::vector<std::string>> expected;
    const u8 versions[] = {1, 12, 13, 41, 42, 51, 52, 53, 54, 58, 59, 63, 64, 65, 66, 69, 70, 71, 88, 89, 122};
    for (u8 v : versions) expected[v] = SectionContents(*newest, v);
    newest.reset();
    size_t placements = 0;
    for (const std::string& line : expected[122]) placements += line.find(" placement ") != std::string::npos;
    ASSERT_GT(placements, 0u);
    for (u8 v : versions) {
        SCOPED_TRACE(testing::Message() << "version " << int(v));
        lists.Clear();
        fixtures::Write(dir.Path(), fixtures::BaseWorld(), v);
        auto world = Load("VantrelBase");
        ASSERT_TRUE(world) << error.record << " " << error.kind;
        EXPECT_EQ(SectionContents(*world, v), expected[v]);
    }
}

}  // namespace
