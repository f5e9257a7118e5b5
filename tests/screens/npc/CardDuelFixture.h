// A duel with both hands and all markers empty and chosen hit points, for tests that lay out a
// position by hand.
#pragma once

#include "CardTestUtil.h"
#include "screens/npc/CardRules.h"

#include <gtest/gtest.h>

#include <cstring>

class CardDuelTest : public ::testing::Test {
protected:
    void SetUp() override {
        duel.Start();
        for (u32 side = 0; side < 2; ++side) {
            CCardSide& s = duel.Side(side);
            s.hand.fill(nullptr);
            s.markers.fill(CCardMarker{});
        }
        SetHp(kCardPlayer, 40, 40);
        SetHp(kCardOpponent, 40, 40);
    }

    const CCardDef& Card(const char* name) const {
        for (u32 key = 0; key < kCardCount; ++key)
            if (std::strcmp(table.CardAt(key).name, name) == 0) return table.CardAt(key);
        ADD_FAILURE() << "no card " << name;
        return table.CardAt(0);
    }

    void SetHp(u32 side, i32 hp, i32 maxHp) {
        duel.Side(side).hp = hp;
        duel.Side(side).maxHp = maxHp;
    }

    void SetMarker(u32 side, u32 slot, const char* name, i32 count) {
        duel.Side(side).markers[slot] = CCardMarker{&Card(name), count, false};
    }

    i32 Hp(u32 side) const { return duel.Side(side).hp; }

    CCardTable table;
    CRandom random = SeededRandom(1);
    CCardDuel duel{table, random};
};
