// The character sheet opened over the started game's menu with the game's own player and tables:
// drawn, then points spent and taken back through its commands.
#include <gtest/gtest.h>

#include <string>

#include "app/Game.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "screens/panels/BundlePage.h"
#include "screens/panels/CharacterPageTexts.h"
#include "screens/panels/CharacterSheetPage.h"
#include "screens/panels/EffectsPage.h"
#include "screens/panels/SkillsPage.h"
#include "tests/screens/CharacterTesting.h"
#include "tests/support/FrameRig.h"
#include "ui/Draw.h"
#include "ui/Screen.h"
#include "world/Player.h"

namespace {

struct PageRig : testing_support::FrameRig {
    bool Start() {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);
        return Current() != nullptr;
    }
    void Show(CForm& page) {
        page.Attach(Game());
        Current()->OpenModal(&page);
    }
    testing_support::Rgb565Image Draw() {
        Current()->flags |= kFormRedrawAll;
        Tick();
        return Capture();
    }
};

std::string Plain(const char* text) {
    CStr s(text);
    ToNumberGlyphs(s);
    return s.GetText();
}

TEST(CharacterSheetPage, SpendsAndUndoesAttributePointsAndDraws) {
    PageRig rig;
    ASSERT_TRUE(rig.Start());
    CPlayer& player = rig.Game()->GetPlayer();
    const CRuleContext& rules = rig.Game()->GetRules();
    player.race = 2;
    player.level = 3;
    player.xp = 12345;
    player.xpForNextLevel = 20000;
    for (int a = 1; a <= kPlayerAttributeCount; ++a) {
        player.attributes[a] = static_cast<u16>(18 + a);
        player.attributeRaises[a] = 2;
    }
    player.attributeRaises[kPersonality] = 0;
    player.attributePoints = 5;
    player.hp = 30;
    player.mana = 12;

    CCharacterPoints points(player);
    CCharacterSheetPage page;
    rig.Show(page);
    page.Open(player, rules, points);
    EXPECT_FALSE(page.undo.IsShown());
    EXPECT_TRUE(page.raiseButtons[0].IsShown());
    EXPECT_FALSE(page.raiseButtons[kPersonality - 1].IsShown());
    EXPECT_EQ(std::string(page.captions[2].text.GetText()), "Xp:");
    EXPECT_TRUE(testing_support::MatchesGolden("screens/character_sheet_mode15", rig.Draw()));

    page.OnCommand(373);
    page.OnCommand(373);
    page.OnCommand(373);  // strength's allowance is spent: nothing more
    page.OnCommand(388);  // personality has none
    EXPECT_EQ(player.attributes[kStrength], 21);
    EXPECT_EQ(player.attributePoints, 3);
    EXPECT_EQ(std::string(page.pointsValue.text.GetText()), Plain("3"));
    EXPECT_TRUE(page.undo.IsShown());
    EXPECT_FALSE(page.raiseButtons[0].IsShown());
    page.OnCommand(kUndoAttributesCommand);
    EXPECT_EQ(player.attributes[kStrength], 19);
    EXPECT_EQ(player.attributePoints, 5);
    EXPECT_EQ(player.attributeRaises[kStrength], 2);
    EXPECT_FALSE(page.undo.IsShown());
    rig.Current()->CloseModal();
}

TEST(SkillsPage, RaisesSkillsExplainsTheRuleAndDraws) {
    PageRig rig;
    ASSERT_TRUE(rig.Start());
    CPlayer& player = rig.Game()->GetPlayer();
    const CRuleContext& rules = rig.Game()->GetRules();
    player.race = 2;
    for (int a = 1; a <= kPlayerAttributeCount; ++a) player.attributes[a] = 20;
    // Primary skills 1..6 in slot order, the others after them.
    for (int s = 1; s <= kPlayerSkillCount; ++s) {
        player.skillOrder[s - 1] = static_cast<u8>(s);
        player.skills[s] = static_cast<u16>(5 + s);
        player.skillRaises[s] = 2;
    }
    player.skills[3] = 40;    // heavy weapon at twice strength: the rule bars it
    player.SetWorld(&rules);  // the rule reads the governing attributes from the world's tables
    player.skillPoints = 3;

    CCharacterPoints points(player);
    CSkillsPage page;
    rig.Show(page);
    page.Open(player, rules, points);
    EXPECT_TRUE(page.raiseButtons[0].IsShown());
    EXPECT_TRUE(page.raiseButtons[2].IsShown());  // shown, in the barred look
    EXPECT_FALSE(page.raiseButtons[kPrimarySkillSlots + kSkillUndeadMagic - 7].IsShown());
    EXPECT_EQ(std::string(page.names[0].text.GetText()), "Block:");
    EXPECT_TRUE(testing_support::MatchesGolden("screens/skills_page_mode15", rig.Draw()));

    page.OnCommand(456);  // heavy weapon: the message, nothing spent
    EXPECT_TRUE(page.ShowsMessage());
    EXPECT_EQ(player.skillPoints, 3);
    EXPECT_EQ(player.skills[3], 40);
    page.OnCommand(454);  // no input while the message is up
    EXPECT_EQ(player.skills[1], 6);
    page.OnCommand(CSkillsPage::kCloseMessage);
    EXPECT_FALSE(page.ShowsMessage());

    page.OnCommand(460);  // other skill 7: two points
    EXPECT_EQ(player.skills[7], 13);
    EXPECT_EQ(player.skillPoints, 1);
    EXPECT_FALSE(page.raiseButtons[kPrimarySkillSlots].IsShown());
    page.OnCommand(460);  // a stale press: refused, nothing wraps
    EXPECT_EQ(player.skillPoints, 1);
    page.OnCommand(454);
    EXPECT_EQ(player.skills[1], 7);
    EXPECT_EQ(player.skillPoints, 0);
    EXPECT_TRUE(page.undo.IsShown());
    page.OnCommand(kUndoSkillsCommand);
    EXPECT_EQ(player.skillPoints, 3);
    EXPECT_EQ(player.skills[1], 6);
    EXPECT_EQ(player.skills[7], 12);
    EXPECT_FALSE(page.undo.IsShown());
    rig.Current()->CloseModal();
}

TEST(EffectsPage, ListsKindsByFilterAndDescribesThem) {
    PageRig rig;
    ASSERT_TRUE(rig.Start());
    CPlayer& player = rig.Game()->GetPlayer();
    const CRuleContext& rules = rig.Game()->GetRules();
    character_testing::EffectOrigins o;
    using character_testing::MakeEffect;
    player.effects[kListFortifyAc].push_back(MakeEffect(kListFortifyAc, 3, 0, kFromEquipment, &o.worn));
    player.effects[kListFortifyAc].push_back(MakeEffect(kListFortifyAc, 4, 6, kFromDrink, &o.potion));
    player.effects[kListFortifyAttribute].push_back(
        MakeEffect(kListFortifyAttribute, 5, 12, kFromSpell, &o.spell, kStrength));
    player.effects[kListResistMagic].push_back(
        MakeEffect(kListResistMagic, 110, 0, kFromAbility, &o.ability));

    CEffectsPage page;
    rig.Show(page);
    page.Open(player, rules, 0);
    ASSERT_EQ(page.list.GetCount(), 2);  // dynamic: fortify attribute, fortify ac
    EXPECT_EQ(page.list.selection, 0);
    EXPECT_EQ(std::string(page.list.GetItem(0)->key.GetText()), "2");
    EXPECT_TRUE(page.filterLinks[0].state & kWidgetLatched);
    page.list.selection = 1;
    page.OnCommand(CEffectsPage::kShowSelected);
    EXPECT_TRUE(testing_support::MatchesGolden("screens/effects_page_mode15", rig.Draw()));

    page.OnCommand(CEffectsPage::kFilterConstant);
    EXPECT_EQ(page.Filter(), 1u);
    ASSERT_EQ(page.list.GetCount(), 2);  // fortify ac, resist magic
    EXPECT_EQ(std::string(page.list.GetItem(1)->key.GetText()), "11");
    EXPECT_FALSE(page.filterLinks[0].state & kWidgetLatched);
    page.OnCommand(CEffectsPage::kFilterAll);
    EXPECT_EQ(page.list.GetCount(), 3);
    for (auto& list : player.effects) list.clear();
    page.SetFilter(2);
    EXPECT_EQ(page.list.GetCount(), 0);
    EXPECT_EQ(page.list.selection, -1);
    rig.Current()->CloseModal();
}

TEST(BundlePage, ListsTheHeldAbilitiesAndDiseasesWithTheirEffects) {
    PageRig rig;
    ASSERT_TRUE(rig.Start());
    CPlayer& player = rig.Game()->GetPlayer();
    rig.Game()->ResetWorld();
    ASSERT_EQ(rig.Game()->OpenGameDatabases(nullptr), 1);
    const CRuleContext& rules = rig.Game()->GetRules();
    ASSERT_TRUE(rules.abilities && rules.abilities->Count() > 0);
    ASSERT_TRUE(rules.diseases && rules.diseases->Count() > 0);
    player.abilities.clear();
    player.diseases.clear();
    player.abilities.push_back(rules.abilities->At(0));
    player.diseases.push_back(rules.diseases->At(0));

    CBundlePage page;
    rig.Show(page);
    page.Open(player, rules, CBundlePage::kAbilities);
    ASSERT_EQ(page.list.GetCount(), 1);
    EXPECT_EQ(page.list.selection, 0);
    EXPECT_STREQ(page.description.title.GetText(), rules.abilities->At(0)->GetDisplayName());
    EXPECT_TRUE(testing_support::MatchesGolden("screens/abilities_page_mode15", rig.Draw()));

    page.Open(player, rules, CBundlePage::kDiseases);
    ASSERT_EQ(page.list.GetCount(), 1);
    EXPECT_STREQ(page.description.title.GetText(), rules.diseases->At(0)->GetDisplayName());
    EXPECT_GT(page.description.GetPageCount(), 0u);

    // Nothing held: no selection and an empty description.
    player.diseases.clear();
    page.Fill();
    EXPECT_EQ(page.list.GetCount(), 0);
    EXPECT_EQ(page.list.selection, -1);
    EXPECT_STREQ(page.description.title.GetText(), "");
    player.abilities.clear();
    rig.Current()->CloseModal();
}

}  // namespace
