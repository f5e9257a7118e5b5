#include <gtest/gtest.h>

#include <set>

#include "tools/content/rules/BaseRules.h"
#include "tools/content/rules/TownNpcs.h"

TEST(TownNpcs, EveryServicePathHasSomeoneAndNoMenuOverflows) {
    const std::vector<NpcDef>& npcs = BaseRules().npcs;
    std::set<int> services;
    bool talkerWithTopics = false, answers = false;
    for (const NpcDef& n : npcs) {
        for (int flag : {0x01, 0x02, 0x04, 0x08, 0x20, 0x40})
            if (n.bytes[2] & flag) services.insert(flag);
        if (n.texts[1].empty() && n.bytes[2] == 0 && !n.dialogue.topics.empty()) talkerWithTopics = true;
        for (const DialogueEntryDef& t : n.dialogue.topics)
            for (const LineDef& l : t.lines) answers = answers || l.choices[0].present;
    }
    EXPECT_EQ(services, (std::set<int>{0x01, 0x02, 0x04, 0x08, 0x20, 0x40}));
    EXPECT_TRUE(talkerWithTopics);
    EXPECT_TRUE(answers);
    EXPECT_TRUE(NpcServiceWarnings(npcs).empty());
}

TEST(TownNpcs, WarnsAboutMoreServicesThanTheMenuPlaces) {
    NpcDef busy;
    busy.id = "busy";
    busy.bytes[2] = 0x01 | 0x02 | 0x04 | 0x08 | 0x20;
    NpcDef fine;
    fine.id = "fine";
    fine.bytes[2] = 0x01 | 0x02 | 0x04 | 0x08;
    const auto warnings = NpcServiceWarnings({busy, fine});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("busy"), std::string::npos);
}
