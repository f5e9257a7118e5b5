// A spellbook teaches its spell once per book type, within the race's schools, and nothing when the
// spell is missing from the world.
#include <gtest/gtest.h>

#include <memory>

#include "data/Effect.h"
#include "data/ItemType.h"
#include "screens/panels/ItemUse.h"
#include "tests/data/RuleFixture.h"
#include "world/Player.h"

namespace {

std::unique_ptr<CItemType> Spellbook(const char* id, const char* spell) {
    auto book = std::make_unique<CItemType>();
    book->SetName(id);
    book->itemClass = kItemMagic;
    book->subclass = 2;
    book->effects = new CEffectList;
    auto* effect = new CEffect;
    effect->SetId(spell);
    book->effects->Add(effect);
    return book;
}

TEST(SpellbookLearning, TeachesOnceWithinTheRacesSchools) {
    RuleWorld w;
    CPlayer player;
    player.SetWorld(&w.game);
    player.race = 2;
    auto fire = Spellbook("book_fire", "base_spellfire");
    EXPECT_STREQ(LearnFromSpellbook(player, *fire, w.game).GetText(), "You learn the Fire Bolt spell.");
    EXPECT_TRUE(player.KnowsSpell("base_spellfire"));
    EXPECT_STREQ(LearnFromSpellbook(player, *fire, w.game).GetText(), "");
    auto copy = Spellbook("book_fire2", "base_spellfire");
    EXPECT_STREQ(LearnFromSpellbook(player, *copy, w.game).GetText(), "You already know this spell.");
    auto drain = Spellbook("book_drain", "base_spelldrain");
    EXPECT_STREQ(LearnFromSpellbook(player, *drain, w.game).GetText(),
                 "You can't learn Undead Magic spells, because you aren't undead.");
    auto missing = Spellbook("book_gone", "base_spellnone");
    EXPECT_STREQ(LearnFromSpellbook(player, *missing, w.game).GetText(), "");
    EXPECT_TRUE(player.HasReadBook("book_gone"));
    player.race = 1;
    auto heal = Spellbook("book_heal", "base_spellheal");
    EXPECT_STREQ(LearnFromSpellbook(player, *heal, w.game).GetText(),
                 "You can't learn Heal Magic spells, because you're undead.");
    EXPECT_FALSE(player.KnowsSpell("base_spellheal"));
    player.ForgetWorld();
}

}  // namespace
