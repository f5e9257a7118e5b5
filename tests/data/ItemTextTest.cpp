// Item names and descriptions per class, in the layouts that change their separators.
#include <gtest/gtest.h>

#include <memory>

#include "data/ItemText.h"
#include "tests/data/RuleFixture.h"

namespace {

struct TextWorld : RuleWorld {
    TextWorld() {
        ItemDef potion = Item("base_potion", 8, 1, "Healing");
        potion.flags = 1;
        ItemDef book = Item("base_book", 5, 1, "Blades");
        book.hasEffects = true, book.effects = {Fx(1, 5, "", 3)}, book.effects[0].target = 2;
        ItemDef scroll = Item("base_scroll", 9, 1, "Fire");
        ItemDef spellbook = Item("base_spbook", 9, 2, "Fire");
        spellbook.weight = 50, spellbook.hasEffects = true,
        spellbook.effects = {Fx(31, 1, "base_spellfire", 2)};
        ItemDef wand = Item("base_wand", 9, 4, "Sparks");
        ItemDef blank = Item("base_blank", 9, 3, "Blank scroll");
        ItemDef empty = Item("base_emptywand", 9, 5, "Empty wand");
        ItemDef sword = Item("base_sword", 1, 2, "Sword");
        sword.damageLow = 4, sword.damageHigh = 10, sword.weight = 350, sword.outfit = 6,
        sword.enchantCapacity = 150;
        ItemDef quiver = Item("base_quiver", 1, 11, "Quiver");
        quiver.damageLow = 2, quiver.damageHigh = 5, quiver.alignment = 2;
        ItemDef mail = Item("base_mail", 3, 3, "Leather");
        mail.armourClass = 10, mail.weight = 1000, mail.outfit = 9;
        mail.hasEffects = true, mail.effects = {Fx(5, 5, "", 3)};
        ItemDef weight = Item("base_weight", 13, 1, "Stone");
        weight.weight = 1234;
        ItemDef gold = Item("base_gold", 10, 1, "Gold");
        ItemDef gem = Item("base_gem", 15, 1, "Ruby");
        ItemDef card = Item("base_card", 16, 1, "Ace");
        ItemDef herb = Item("base_herb", 7, 1, "Herb");
        herb.hasEffects = true, herb.effects = {Fx(3, 5), Fx(10, 5)};
        ItemDef pick = Item("base_pick", 11, 2, "Lockpick");
        pick.maxCondition = 100;
        LoadItems({{},
                   {},
                   {},
                   {potion, book, scroll, spellbook, wand, blank, empty, sword, quiver, mail, weight, gold,
                    gem, card, herb, pick}});
    }
    const CItemType& T(const char* id) { return *items.FindItemType(id); }
    std::unique_ptr<CItemInstance> I(const char* id, u16 count) {
        auto i = std::make_unique<CItemInstance>();
        i->type = items.FindItemType(id);
        i->count = count;
        return i;
    }
};

TEST(ItemText, Names) {
    TextWorld w;
    auto named = [&](const char* id, const CItemInstance* inst, bool shortForm) {
        CStr out("old");
        FormatItemName(w.T(id), inst, shortForm, w.game, out);
        return std::string(out.GetText());
    };
    EXPECT_EQ(named("base_potion", nullptr, false), "Homemade Healing potion");
    EXPECT_EQ(named("base_book", nullptr, false), "'Blades' book");
    EXPECT_EQ(named("base_gem", nullptr, false), "Ruby gem");
    EXPECT_EQ(named("base_card", nullptr, false), "'Ace' card");
    EXPECT_EQ(named("base_scroll", nullptr, false), "Scroll of Fire");
    EXPECT_EQ(named("base_scroll", nullptr, true), "Fire");
    EXPECT_EQ(named("base_spbook", nullptr, true), "Spellbook of Fire");
    EXPECT_EQ(named("base_wand", nullptr, false), "Wand of Sparks");
    EXPECT_EQ(named("base_wand", nullptr, true), "Sparks");
    EXPECT_EQ(named("base_sword", nullptr, false), "Sword");
    EXPECT_EQ(named("base_blank", nullptr, false), "Blank scroll");
    auto blank = w.I("base_blank", 0);
    blank->effects = new CEffectList;
    EXPECT_EQ(named("base_blank", blank.get(), false), "Blank scroll");
    blank->effects->Add(new CEffect(ReadEffect(Fx(31, 1, "base_gone", 2))));
    EXPECT_EQ(named("base_blank", blank.get(), false), "Scroll of Unknown");
    EXPECT_EQ(named("base_blank", blank.get(), true), "Unknown");
    blank->effects->At(0)->SetId("base_spellfire");
    EXPECT_EQ(named("base_blank", blank.get(), false), "Scroll of Fire Bolt");
    EXPECT_EQ(named("base_blank", blank.get(), true), "Fire Bolt");
    auto wand = w.I("base_emptywand", 0);
    wand->effects = new CEffectList;
    wand->effects->Add(new CEffect(ReadEffect(Fx(31, 1, "base_spellfire", 2))));
    EXPECT_EQ(named("base_emptywand", wand.get(), false), "Wand of Fire Bolt");
    EXPECT_EQ(GetItemClassName(13), std::string("Miscellanous"));
    EXPECT_EQ(GetItemSubclassName(1, 0), std::string("hand"));
    EXPECT_EQ(GetItemSubclassName(3, 8), std::string("Belt"));
    EXPECT_EQ(GetItemSubclassName(3, 9), std::string("?"));
    EXPECT_EQ(GetItemSubclassName(17, 1), std::string("?"));
}

TEST(ItemText, DescriptionsPerClassAndLayout) {
    TextWorld w;
    auto sword = w.I("base_sword", 550);
    auto quiver = w.I("base_quiver", 1);
    auto mail = w.I("base_mail", 950);
    auto herbs = w.I("base_herb", 0);
    w.player.skills[kSkillAlchemy] = 10;
    const struct {
        const CItemType* type;
        const CItemInstance* instance;
        u32 layout;
        bool numbers;
        const char* expected;
    } rows[] = {
        {&w.T("base_sword"), sword.get(), 15, false,
         "Heavy weapon\rDamage: 3-6\rWeight: 3.5\rOutfit: regular\rCondition: average\r\rModerately "
         "enchantable"},
        {&w.T("base_sword"), sword.get(), 15, true,
         "Heavy weapon\rDamage: 3-6\rWeight: 3.5\rOutfit: regular (40)\rCondition: 550/1000\r\rModerately "
         "enchantable"},
        {&w.T("base_sword"), sword.get(), 5, false,
         "Heavy weapon\rDam: 3-6, Weight: 3.5\rOutfit: regular\rCondition: average\rModerately enchantable"},
        {&w.T("base_quiver"), quiver.get(), 15, false,
         "Heavy weapon\rContains 1 unit.\rDamage: 2-5\rWeight: 1.0\rRequires evil "
         "alignment\r\rUnenchantable"},
        {&w.T("base_mail"), mail.get(), 15, false,
         "Light armor\rAC: 10\rWeight: 10.0\rOutfit: swell\rCondition: good\r\r+5 HP"},
        {&w.T("base_weight"), nullptr, 15, false, "Miscellanous\rWeight: 12.3\r"},
        {&w.T("base_gold"), nullptr, 15, false, ""},
        {&w.T("base_herb"), herbs.get(), 15, false,
         "Alchemy ingredient\rWeight: 1.0\r\rEffects:\rRestore health\rUnknown effect"},
        {&w.T("base_spbook"), nullptr, 15, false,
         "Weight: 0.5\r\rTeaches Fire BoltYou don't know this spell."},
        {&w.T("base_book"), nullptr, 15, false,
         "Weight: 1.0\r\rTeaches Light Weapon (+5)\rYou haven't read this book yet."},
    };
    for (const auto& r : rows) {
        w.game.layoutMode = r.layout;
        CStr out;
        FormatItemDescription(*r.type, r.instance, w.game, out, r.numbers);
        EXPECT_STREQ(out.GetText(), r.expected) << r.type->GetName() << " layout " << r.layout;
    }
}

TEST(ItemText, ConditionAndOutfitWordsAndAMaximumOfZero) {
    TextWorld w;
    const struct {
        u16 count;
        u16 maxCondition;
        const char* word;
    } rows[] = {{69, 100, "average"}, {100, 100, "perfect"}, {9, 100, "broken"}, {10, 100, "poor"},
                {30, 100, "average"}, {99, 100, "good"},     {7, 0, "perfect"}};
    for (const auto& r : rows) {
        CItemType pick;
        pick.itemClass = 11, pick.subclass = 2, pick.maxCondition = r.maxCondition;
        CItemInstance i;
        i.type = &pick;
        i.count = r.count;
        CStr out;
        FormatItemDescription(pick, &i, w.game, out, false);
        EXPECT_NE(std::string(out.GetText()).find(std::string("Condition: ") + r.word + "\r"),
                  std::string::npos)
            << r.count << "/" << r.maxCondition << ": " << out.GetText();
    }
    for (int outfit : {2, 3, 6, 9}) {
        CItemType ring;
        ring.itemClass = 4, ring.subclass = 2, ring.outfit = static_cast<u8>(outfit);
        CStr out;
        FormatItemDescription(ring, nullptr, w.game, out, false);
        const char* word = outfit < 3   ? "plain"
                           : outfit < 6 ? "regular"
                           : outfit < 9 ? "fashionable"
                                        : "swell";
        EXPECT_NE(std::string(out.GetText()).find(std::string("Outfit: ") + word), std::string::npos)
            << outfit;
    }
    const struct {
        int capacity;
        const char* word;
    } words[] = {{0, "Unenchantable"},        {99, "Slightly enchantable"},  {100, "Moderately enchantable"},
                 {299, "May be enchantable"}, {499, "Strongly enchantable"}, {500, "Superiorly enchantable"}};
    for (const auto& r : words) {
        CItemType t;
        t.enchantCapacity = static_cast<u16>(r.capacity);
        CStr out;
        FormatEnchantability(t, out);
        EXPECT_STREQ(out.GetText(), r.word);
    }
}

TEST(ItemText, WhatThePlayerCanDoWithMagicItemsAndBooks) {
    TextWorld w;
    CStr out;
    w.player.known = {"base_spellfire"};
    FormatItemDescription(w.T("base_spbook"), nullptr, w.game, out, false);
    EXPECT_NE(std::string(out.GetText()).find("You already know this spell."), std::string::npos);
    w.player.itemMagic = false;
    out = "";
    FormatItemDescription(w.T("base_scroll"), nullptr, w.game, out, false);
    EXPECT_NE(std::string(out.GetText()).find("You can't read this scroll."), std::string::npos);
    out = "";
    FormatItemDescription(w.T("base_wand"), nullptr, w.game, out, false);
    EXPECT_NE(std::string(out.GetText()).find("You can't use this wand."), std::string::npos);
    w.player.readBooks = {"base_book"};
    out = "";
    FormatItemDescription(w.T("base_book"), nullptr, w.game, out, false);
    EXPECT_NE(std::string(out.GetText()).find("You have already read this book."), std::string::npos);
    w.player.readBooks.clear();
    w.player.skills[2] = 100;
    out = "";
    FormatItemDescription(w.T("base_book"), nullptr, w.game, out, false);
    EXPECT_NE(std::string(out.GetText()).find("You can't learn from this book."), std::string::npos);
}

}  // namespace
