// Objects built before the game view exists, or by a tool without one, have no host: every event,
// command and view operation of every type code must leave them standing and change nothing outside.
#include <gtest/gtest.h>

#include "data/MapCells.h"
#include "data/MapSection.h"
#include "view3d/ViewCaches.h"
#include "world/MapObject.h"

using namespace mapobject;

TEST(MapObjectsWithoutHost, EveryTypeTakesEveryEventAndCommand) {
    CMapObjectTable table;
    static const i32 kEvents[] = {kEventStep, kEventLoad, kEventItem, kEventHit, kEventSpell, kEventUse, kEventDeath,
                                  0x200};
    for (u8 code = kFirstTypeCode; code <= kLastTypeCode; ++code) {
        std::unique_ptr<CMapObject> object = CreateMapObject(&table, code);
        ASSERT_NE(object, nullptr) << int(code);
        ASSERT_EQ(object->host, nullptr);
        // Every view flag set: the passages and readable walls take the paths that move or speak.
        object->viewFlags = 0xFFFF;
        for (u8 flags : {u8(kVisible), u8(kVisible | kClosed), u8(kVisible | kOpening), u8(kVisible | kMarked)}) {
            CPlacement p;
            p.flags = flags;
            p.text = "base_somewhere#Go there?";
            p.level = 0x3FFF;  // every lock, trap and transition bit
            CMapCell cell;
            cell.doorMode = 0xFF;
            for (i32 e : kEvents) {
                bool redraw = false;
                EXPECT_EQ(object->HandleEvent(e, nullptr, &p, &cell, 3, 4, redraw), 0) << int(code) << " " << e;
                EXPECT_EQ(object->HandleEvent(e, nullptr, nullptr, nullptr, 3, 4, redraw), 0) << int(code);
            }
            for (i32 command = 100; command <= 141; ++command) {
                ScriptArgs args;
                ScriptResult result;
                bool redraw = false;
                object->ExecuteCommand(nullptr, &p, 3, 4, command, args, result, redraw);
                object->ExecuteCommand(nullptr, nullptr, 3, 4, command, args, result, redraw);
            }
            CBlockCacheEntry block{};
            CWallCacheEntry wall{};
            u16 light = 256, phase = 0;
            object->DescribeCentre(&p, cell, block, light);
            object->UpdateCentreLight(&p, cell, 3, 4, block, light);
            object->DescribeSide(&p, cell, wall, 1);
            object->UpdateSideLight(&p, cell, wall, 1);
            for (int tick = 0; tick < 30; ++tick) object->AnimateTick(nullptr, &p, cell, 3, 4, phase, &block);
            object->GetAmbientSound(&p, cell);
            object->GetSideAmbientSound(&p, cell);
        }
    }
}
