// Experience and levels: the table, the level check with its gains and message, losses and the
// restorable experience.
#include <gtest/gtest.h>

#include "tests/world/PlayerFixture.h"

namespace {

TEST(Levels, TheExperienceTable) {
    CPlayer p;
    const std::pair<int, u32> rows[] = {{0, 0},         {1, 0},        {2, 400},      {6, 4000},
                                        {10, 25000},    {11, 40000},   {20, 730000},  {30, 4130000},
                                        {31, 4570000},  {32, 5150000}, {33, 5770000}, {34, 6430000},
                                        {99, 215990000}};
    for (const auto& [level, xp] : rows) EXPECT_EQ(p.xpTable[level], xp) << level;
    for (int l = 1; l < kMaxLevel; ++l) EXPECT_LT(p.xpTable[l], p.xpTable[l + 1]) << l;
}

TEST(Levels, GainsOneOrSeveralLevelsWithOneMessage) {
    PlayerWorld w;
    CPlayer& p = w.player;
    p.AddXp(400, true);
    EXPECT_EQ(w.host.shown.back(), "You have received 400 xp.");
    EXPECT_EQ(p.level, 2);
    EXPECT_EQ(p.attributePoints, 5);
    EXPECT_EQ(p.skillPoints, 10);
    EXPECT_EQ(p.xpForNextLevel, 900u);
    EXPECT_EQ(p.attributeRaises[1], 2);
    EXPECT_EQ(p.skillRaises[1], 2);
    EXPECT_EQ(p.skillRaises[12], 0) << "the skill the race lacks";
    ASSERT_EQ(w.host.posted.size(), 1u);
    EXPECT_EQ(w.host.posted[0],
              "You have reached level 2.\rYou can spend the available points on your attributes and "
              "skills, check your status screen.");
    EXPECT_EQ(w.host.sounds[0], "bsnd_newlevel");

    PlayerWorld v;
    v.player.AddXp(5000, false);
    EXPECT_EQ(v.player.level, 6);
    EXPECT_EQ(v.player.attributePoints, 25);
    EXPECT_EQ(v.player.skillPoints, 50);
    EXPECT_EQ(v.host.posted.size(), 1u);
    EXPECT_TRUE(v.host.shown.empty());
}

TEST(Levels, PracticedSkillsRiseInRankOrder) {
    PlayerWorld w;
    CPlayer& p = w.player;
    // Block 5, Heavy Weapon 5, Stealth 5, Accuracy 5: ties go to the lower id, the fourth waits.
    for (int s : {1, 3, 20, 7}) p.skillUse[s] = 5;
    p.skillUse[kSkillLightWeapon] = 9;
    p.skillUse[12] = 50;  // the skill the race lacks is never raised
    int s1, s2, s3;
    p.PickSkillsToIncrease(s1, s2, s3);
    EXPECT_EQ(s1, kSkillLightWeapon);
    EXPECT_EQ(s2, kSkillBlock);
    EXPECT_EQ(s3, kSkillHeavyWeapon);
    EXPECT_EQ(p.skills[kSkillLightWeapon], 11);
    EXPECT_EQ(p.skillUse[kSkillLightWeapon], 0);
    EXPECT_EQ(p.skills[kSkillAccuracy], 10);
    EXPECT_EQ(p.skillUse[kSkillAccuracy], 5);

    w.host.Clear();
    p.AddXp(400, false);
    const CSkillTable& names = w.base.skills;
    EXPECT_EQ(w.host.posted[0],
              std::string("You have reached level 2.\r--------------\rYour ") + names.GetName(7) + " and " +
                  names.GetName(20) +
                  " skills have been increased.\rYou can spend the available points on your "
                  "attributes and skills, check your status screen.");

    PlayerWorld v;
    v.player.skillUse[kSkillBlock] = 1;
    v.player.AddXp(400, false);
    EXPECT_NE(v.host.posted[0].find(std::string("\rYour ") + names.GetName(1) + " skill has been increased."),
              std::string::npos);
}

TEST(Levels, LossesAndRestorableExperience) {
    PlayerWorld w;
    CPlayer& p = w.player;
    p.AddXp(1000, false);
    ASSERT_EQ(p.level, 3);
    u16 points = p.attributePoints;
    w.host.Clear();
    p.RemoveXp(1000, true);
    EXPECT_EQ(p.xp, 0u);
    EXPECT_EQ(p.level, 2) << "one level per check";
    EXPECT_EQ(p.savedXp, 1000u);
    EXPECT_EQ(w.host.shown,
              (std::vector<std::string>{"You have lost 1000 xp.", "It can be restored somehow."}));
    EXPECT_EQ(w.host.posted.back(), "You have lost a level.");
    EXPECT_EQ(w.host.sounds.back(), "bsnd_loselevel");
    p.AddXp(1000, false);
    EXPECT_EQ(p.level, 3);
    EXPECT_EQ(p.attributePoints, points) << "a level held before gives nothing again";

    p.RestoreSavedXp();
    EXPECT_EQ(w.host.shown.back(), "1000 xp has been restored.");
    EXPECT_EQ(p.xp, 2000u);
    EXPECT_EQ(p.level, 3) << "the check waits for the next change";
    p.RestoreSavedXp();
    EXPECT_EQ(w.host.shown.back(), "You don't have xp to be restored.");

    PlayerWorld v;
    v.player.xp = 200;
    v.player.RemoveXp(500, false);
    EXPECT_EQ(v.player.xp, 0u);
    EXPECT_EQ(v.host.shown.back(), "You have lost 200 xp.");
    v.player.RemoveXp(0, false);
    EXPECT_EQ(v.host.shown.size(), 1u);
}

// The highest level has no next one: the check neither reads past the table nor announces level 99
// again on every gain.
TEST(Levels, LevelNinetyNineIsTheLast) {
    PlayerWorld w;
    CPlayer& p = w.player;
    p.AddXp(2000000000, false);
    EXPECT_EQ(p.level, kMaxLevel);
    EXPECT_EQ(p.GetXpForNextLevel(), 0u);
    EXPECT_EQ(w.host.posted.size(), 1u);
    EXPECT_EQ(w.host.posted[0].rfind("You have reached level 99.", 0), 0u);
    p.AddXp(1000, false);
    EXPECT_EQ(p.level, kMaxLevel);
    EXPECT_EQ(w.host.posted.size(), 1u);
}

}  // namespace
