// NPCs, dialogue, portraits, willingness and shop stock.
#include <gtest/gtest.h>

#include <memory>

#include "data/Npc.h"
#include "platform/Clock.h"
#include "tests/data/RuleFixture.h"

namespace {

// Conditions whose name starts with "yes" hold.
struct Evaluator : IConditionEvaluator {
    bool Holds(const CConditionRef& c) const override {
        StoredCondition fields;
        return DecodeStoredCondition(c, fields) && std::string(fields.parameter).rfind("yes", 0) == 0;
    }
};

LineDef Line(const std::string& text, const char* condition = nullptr) {
    LineDef l;
    l.text = text;
    if (condition) {
        l.conditionPresent[0] = true;
        l.conditions[0].name = condition;
    }
    return l;
}

DialogueEntryDef Entry(const std::string& name, std::vector<LineDef> lines, const char* condition = nullptr) {
    DialogueEntryDef e;
    e.name = name;
    e.textA = "Title of " + name;
    e.lines = std::move(lines);
    if (condition) {
        e.hasCondition = true;
        e.condition.name = condition;
    }
    return e;
}

TEST(Dialogue, SharedDialogueLinesChoicesAndLookUps) {
    DialogueDef d;
    LineDef gapped = Line("gapped");
    gapped.conditionPresent[0] = gapped.conditionPresent[3] = true;
    gapped.conditions[0].name = "yes a";
    gapped.conditions[3].name = "yes b";
    gapped.conditions[3].word = 4;
    gapped.conditions[3].bytes[2] = 9;
    gapped.choices[1].present = true;
    gapped.choices[1].text = "Tell me more";
    gapped.choices[2].present = true;
    gapped.choices[2].hasCondition = true;
    gapped.choices[2].condition.name = "no";
    gapped.choices[2].text = "Hidden";
    gapped.script = {1, 2, 3};
    d.topics = {Entry("base_work", {Line("l1", "no"), gapped}), Entry("base_closed", {Line("x")}, "no"),
                Entry("base_silent", {Line("x", "no")})};
    d.greetings = {Entry("base_monster", {Line("Hello from base")}),
                   Entry("bres_monster", {Line("Hello from bres")}),
                   Entry("base_guard", {Line("Halt", "no"), Line("Move along")})};
    CDialogue dialogue;
    CMemoryRecordReader reader({WriteSharedDialogueRecord(d, kTestVersion)});
    ASSERT_TRUE(dialogue.Load(reader, kTestVersion));
    ASSERT_EQ(dialogue.topics.GetCount(), 3);
    const CDialogueEntry* work = dialogue.topics.At<CDialogueEntry>(0);
    EXPECT_EQ(work->shared, 1u);
    const CDialogueLine* line = work->GetLine(1);
    EXPECT_EQ(line->conditionCount, 4);
    EXPECT_EQ(line->conditions[1], nullptr);
    EXPECT_EQ(line->conditions[2], nullptr);
    StoredCondition fields;
    ASSERT_TRUE(DecodeStoredCondition(*line->conditions[3], fields));
    EXPECT_STREQ(fields.parameter, "yes b");
    EXPECT_EQ(fields.value, 4);
    EXPECT_EQ(fields.extra, 9);
    EXPECT_EQ(line->choiceCount, 3);
    EXPECT_EQ(line->scriptLength, 3);
    EXPECT_EQ(line->script[2], 3);

    Evaluator yes;
    const CDialogueChoice* slots[4];
    EXPECT_EQ(SelectTopicsByCondition(*line, yes, slots), 1);
    EXPECT_EQ(slots[0], nullptr);
    EXPECT_STREQ(slots[1]->text, "Tell me more");
    EXPECT_EQ(slots[2], nullptr);

    std::vector<CTopicChoice> topics = dialogue.CollectTopics(yes);
    ASSERT_EQ(topics.size(), 1u);
    EXPECT_STREQ(topics[0].title, "Title of base_work");
    EXPECT_EQ(topics[0].line, line);
    EXPECT_EQ(CDialogue::FindNextEntry(*work, line, yes), nullptr);
    CDialogueEntry* entry = nullptr;
    CDialogueLine* first = nullptr;
    ASSERT_TRUE(dialogue.PickGreeting(yes, entry, first));
    EXPECT_STREQ(entry->GetName(), "base_monster");

    const struct {
        const char* name;
        const char* prefix;
        const char* found;
    } lookUps[] = {
        {"bres_monster", "base_", "base_monster"}, {"bres_monster", "xtra_", "bres_monster"},
        {"monster", "base_", "base_monster"},      {"monster", "xtra_", "bres_monster"},
        {"base_guard", "base_", "base_guard"},     {"xtra_guard", "base_", "base_guard"},
        {"base_none", "base_", nullptr},           {"bres_monster", "", "bres_monster"},
    };
    for (const auto& l : lookUps) {
        const CDialogueEntry* e = dialogue.FindEntryByName(l.name, l.prefix);
        EXPECT_STREQ(e ? e->GetName() : nullptr, l.found) << l.name << " under " << l.prefix;
    }
    const CDialogueEntry* guard = dialogue.FindEntryByName("base_guard", "base_");
    EXPECT_STREQ(CDialogue::FindNextEntry(*guard, nullptr, yes)->text, "Move along");
}

TEST(Npcs, RecordsItemsOwnDialogueAndVersions) {
    NpcDef plain;
    plain.id = "base_plain";
    plain.texts[0] = "bres_head1";
    NpcDef rich;
    rich.id = "base_trader";
    for (int i = 0; i < 6; ++i) rich.texts[i] = "text" + std::to_string(i + 1);
    rich.maxPayment = 5000, rich.merchantLevel = 2, rich.classMask = 0x0180;
    rich.bytes[0] = 3, rich.trainerSkill = 15, rich.maxBet = 200, rich.hours = 2, rich.markByte = 0;
    rich.hasItems = true;
    rich.items = {{"first", "second"}};
    rich.hasDialogue = true;
    DialogueEntryDef sharedEntry = Entry("base_rumours", {Line("never read")});
    sharedEntry.shared = 1;
    rich.dialogue.topics = {sharedEntry, Entry("base_own", {Line("own line")})};
    rich.dialogue.greetings = {Entry("base_hello", {Line("Welcome")})};
    for (int version : {48, 49, 68, 69, 103, 104, kTestVersion}) {
        CMemoryRecordReader reader(WriteNpcRecords({plain, rich}, version));
        CNpcList npcs;
        ASSERT_TRUE(npcs.Load(reader, version)) << version;
        const CNpc* p = npcs.FindById("base_plain");
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->items, nullptr);
        EXPECT_EQ(p->dialogue, nullptr);
        EXPECT_STREQ(p->GetPortraitId(), "bres_head1");
        const CNpc* t = npcs.FindById("base_trader");
        ASSERT_NE(t, nullptr);
        EXPECT_STREQ(t->texts[3], version > 48 ? "text4" : nullptr);
        EXPECT_EQ(t->merchantLevel, version > 68 ? 2 : 0);
        EXPECT_EQ(t->maxBet, version > 103 ? 200 : 10);
        EXPECT_EQ(t->GetRace(), 3);
        EXPECT_EQ(t->trainerSkill, 15);
        EXPECT_EQ(t->classMask, 0x0180);
        EXPECT_EQ(t->maxPayment, 5000u);
        EXPECT_EQ(t->hours, version > 56 ? 2 : 1);
        ASSERT_NE(t->items, nullptr);
        EXPECT_STREQ(t->items->At<CNpcItem>(0)->first, "first");
        EXPECT_STREQ(t->items->At<CNpcItem>(0)->second, "second");
        ASSERT_NE(t->dialogue, nullptr);
        const CDialogueEntry* shared = t->dialogue->topics.At<CDialogueEntry>(0);
        EXPECT_STREQ(shared->GetName(), "base_rumours");
        EXPECT_EQ(shared->GetLineCount(), 0);  // the rest is the shared dialogue's
        EXPECT_STREQ(t->dialogue->topics.At<CDialogueEntry>(1)->GetLine(0)->text, "own line");
    }
}

TEST(Portraits, RecordAndVersion) {
    for (int version : {10, 11}) {
        CMemoryRecordReader reader({WritePortraitRecord({{"bres_head1", 1}, {"bres_head2", 0}}, version)});
        CPortraitList portraits;
        ASSERT_TRUE(portraits.Load(reader, version));
        EXPECT_EQ(portraits.Count(), 2);
        EXPECT_EQ(portraits.FindById("bres_head1")->selectable, version > 10 ? 1 : 0);
        EXPECT_EQ(portraits.FindById("bres_head9"), nullptr);
    }
}

TEST(Npcs, Willingness) {
    const struct {
        int fame, personality, race, npcRace;
        u32 crime;
        bool night;
        u32 willing;
    } rows[] = {
        {50, 5, 2, 1, 9, true, 1},  {0, 40, 1, 2, 0, true, 1}, {0, 20, 2, 2, 0, false, 1},
        {0, 20, 2, 2, 0, true, 0},  {0, 20, 1, 1, 0, true, 1}, {0, 20, 1, 2, 0, false, 0},
        {0, 20, 2, 1, 0, false, 0}, {0, 9, 2, 2, 0, false, 0}, {-1, 20, 2, 2, 0, false, 0},
        {0, 20, 2, 2, 1, false, 0},
    };
    for (const auto& r : rows) {
        FakePlayer p;
        p.fame = r.fame;
        p.baseAttributes[5] = r.personality;
        p.attributes[5] = 99;  // active effects do not count
        p.race = r.race;
        p.crime = r.crime;
        CNpc npc;
        npc.bytes[0] = static_cast<u8>(r.npcRace);
        UpdateNpcWillingness(p, npc, r.night);
        EXPECT_EQ(npc.talkFlag, r.willing)
            << r.fame << " " << r.personality << " " << r.race << "/" << r.npcRace;
    }
}

struct Stock : IShopStock {
    ~Stock() override { RemoveAllItems(); }
    u8& StockFlags() override { return flags; }
    void RemoveAllItems() override {
        for (CItemInstance* i : items) delete i;
        items.clear();
        entries.clear();
    }
    bool HoldsItemType(const CItemType& type) const override {
        for (CItemInstance* i : items)
            if (i->type == &type) return true;
        for (const auto& e : entries)
            if (e.first == &type) return true;
        return false;
    }
    void AddItem(CItemInstance* item) override { items.push_back(item); }
    void AddStockEntry(const CItemType& type, u32, u16 condition) override {
        entries.push_back({&type, condition});
    }
    u8 flags = 0;
    std::vector<CItemInstance*> items;
    std::vector<std::pair<const CItemType*, u16>> entries;
};

TEST(ShopStock, FilledOnceFromTheMerchantsGroupsUnderASeededGenerator) {
    RuleWorld world;
    ItemCatalogueDef def;
    auto item = [&](const char* id, int cls, int sub, int group, int rarity) {
        ItemDef d;
        d.id = id, d.itemClass = cls, d.subclass = sub, d.group = group, d.rarity = rarity,
        d.maxCondition = 900;
        def.items.push_back(d);
    };
    item("base_sword1", 1, 1, 1, 1);
    item("base_sword2", 1, 2, 1, 2);
    item("base_arrows", 1, 11, 2, 1);
    item("base_axe", 1, 4, 2, 1);
    item("base_potion", 8, 1, 1, 1);
    item("base_greataxe", 1, 4, 5, 1);
    world.LoadItems(def);

    plat::ManualClock clock;
    clock.SetTime(5489);
    plat::ScopedClock scoped(clock);
    auto run = [&](int group, u16 mask, Stock& stock) {
        CRandom random;
        random.Seed(nullptr);
        CNpc merchant;
        merchant.merchantLevel = static_cast<u8>(group);
        merchant.classMask = mask;
        CreateShopStock(merchant, world.items, random, stock);
    };
    Stock a, b;
    run(1, 0x0001, a);
    run(1, 0x0001, b);
    ASSERT_EQ(a.items.size(), b.items.size());
    for (size_t i = 0; i < a.items.size(); ++i) EXPECT_EQ(a.items[i]->type, b.items[i]->type);
    // Weapons: 1 + 3 + (0..2) picks of group 1, then 1 + 6 + (0..5) stock entries of group 2.
    EXPECT_GE(a.items.size(), 4u);
    EXPECT_LE(a.items.size(), 6u);
    EXPECT_GE(a.entries.size(), 7u);
    EXPECT_LE(a.entries.size(), 12u);
    for (CItemInstance* i : a.items) EXPECT_EQ(i->type->group, 1);
    for (const auto& e : a.entries) {
        EXPECT_EQ(e.first->group, 2);
        if (e.first->IsCountedWeapon()) {
            EXPECT_GE(e.second, 10);
            EXPECT_LE(e.second, 19);
        } else {
            EXPECT_EQ(e.second, 900);
        }
    }
    EXPECT_TRUE(a.flags & 0x80);
    size_t before = a.items.size();
    run(1, 0x0001, a);  // filled once
    EXPECT_EQ(a.items.size(), before);

    Stock full;
    run(1, 0x0081, full);  // bit 7: every type of the lists
    size_t swords1 = 0, swords2 = 0;
    for (CItemInstance* i : full.items) {
        swords1 += std::string(i->type->GetName()) == "base_sword1";
        swords2 += std::string(i->type->GetName()) == "base_sword2";
    }
    EXPECT_EQ(swords1, 1u);
    EXPECT_GE(swords2, 1u);  // weight 10: once, then again on rolls above 50
    EXPECT_LE(swords2, 10u);
    bool potions = false;
    for (CItemInstance* i : full.items) potions |= i->type->itemClass == 8;
    EXPECT_TRUE(potions);  // bit 7 is also the potions' class bit

    Stock top;
    run(5, 0x0001, top);  // group 5: B is the whole stock byte, and there is no next group
    EXPECT_GE(top.items.size(), 11u);
    EXPECT_LE(top.items.size(), 20u);
    EXPECT_TRUE(top.entries.empty());

    Stock none;
    none.items.push_back(new CItemInstance);
    run(0, 0x0001, none);
    EXPECT_TRUE(none.items.empty());
}

}  // namespace
