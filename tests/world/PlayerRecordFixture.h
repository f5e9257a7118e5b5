// The player's record of a saved game written by hand from its field list, for a save version: one
// known player (item types 1 the mace, 2 the long sword; spell 1 the curse, in its school).
#pragma once

#include <vector>

#include "core/Types.h"
#include "tools/content/ByteWriter.h"
#include "world/Player.h"

namespace testing_support {

constexpr u16 kEmpty = 65535;

inline std::vector<u8> PlayerRecordFixture(u32 version, u8 curseSchool) {
    ByteWriter w;
    auto text = [&](const char* s) {
        w.Text(s);
        w.U8(0);
    };
    auto small = [&](u32 v) {
        if (version < 116) {
            w.U8(v);
        } else {
            w.Align(2);
            w.U16(v);
        }
    };
    auto word = [&](u32 v) {
        w.Align(2);
        w.U16(v);
    };
    auto dword = [&](u32 v) {
        w.Align(4);
        w.U32(v);
    };
    w.U8('2');
    w.U8('Y');
    text("Ada");
    text("bres_head3");
    w.U8(0);
    word(0);  // hp
    word(25);
    w.U8(4);
    for (u32 v : {7000u, 7100u, 10u, 9000u, 4321u}) dword(v);
    word(0xFFF4);  // fame -12
    dword(40);
    dword(3);
    w.U8(1);

    w.U8('Z');
    for (u32 a = 1; a <= 5; ++a) small(10 + a);
    small(2);
    for (u32 a = 1; a <= 5; ++a) small(a % 2);
    w.U8('[');
    for (u32 k = 1; k <= 20; ++k) w.U8(21 - k);
    small(3);
    for (u32 k = 1; k <= 20; ++k) small(k % 3);
    for (u32 k = 1; k <= 20; ++k) small(20 + k);
    for (u32 k = 1; k <= 20; ++k) word(300 + k);

    w.U8('\\');
    for (u32 school = 1; school <= 7; ++school) {
        word(school == curseSchool ? 1 : 0);
        if (school == curseSchool) word(1);
    }
    w.U8(']');
    word(1);
    text("base_quest_rats");
    w.U8(1);
    w.U8('^');
    for (u32 slot = 1; slot <= 13; ++slot) word(slot == 5 ? 1 : kEmpty);
    w.U8('_');
    w.U8(0);
    w.U8(4);
    word(2);
    word(1);
    w.U8(1);
    word(50);
    word(2);
    w.U8(0);
    w.U8(0x60);
    word(1);
    text("base_ability_derth");
    w.U8('a');
    word(1);
    text("base_disease_swampcough");
    w.U8('b');
    word(1);
    word(1);
    if (version > 89) {
        w.U8('f');
        word(1);
        for (const char* s : {"base", "base_town", "", ""}) text(s);
        w.U8(12);
        w.U8(13);
        w.U8(2);
    }
    // One drink effect (origin the mace), one spell effect (origin the curse), no lasting blow.
    w.U8('c');
    word(1);
    w.U8(kFromDrink);
    w.U8(kListFortifyAttribute);
    word(1);
    text("");
    word(0xFFFD);
    w.U8(21);
    w.U8(2);
    w.U8('d');
    word(1);
    w.U8(kFromSpell);
    w.U8(kListFortifyAttribute);
    word(1);
    text("");
    word(5);
    w.U8(11);
    w.U8(1);
    w.U8('e');
    word(0);
    return w.Take();
}

}  // namespace testing_support
