// The picture of a talk partner without a portrait: map objects, people and other creatures.
#include <gtest/gtest.h>

#include "data/CreatureCatalogue.h"
#include "data/MapObjectRecords.h"
#include "data/Npc.h"

namespace {

TEST(PortraitName, MapObjectsOfTypeTwelveShowTheirSecondPicture) {
    CMapObjectRecord statue;
    statue.typeCode = 12;
    statue.frames = {"bres_statue", "bres_headstatue", "bres_statue2"};
    EXPECT_STREQ(GetPortraitName(&statue, nullptr), "bres_headstatue");
    // One picture only, another type code, or an empty name: the unknown head.
    statue.frames = {"bres_statue"};
    EXPECT_STREQ(GetPortraitName(&statue, nullptr), kUnknownPortrait);
    statue.frames = {"bres_statue", ""};
    EXPECT_STREQ(GetPortraitName(&statue, nullptr), kUnknownPortrait);
    CMapObjectRecord sign;
    sign.typeCode = 11;
    sign.frames = {"bres_sign", "bres_headsign"};
    EXPECT_STREQ(GetPortraitName(&sign, nullptr), kUnknownPortrait);
}

TEST(PortraitName, PeopleShowTheirOwnPictureOtherCreaturesTheirKindsSecondLook) {
    CCreatureKind rat;
    rat.secondLook = "bres_ratstill";
    CMonsterType creature;
    creature.creatureKind = &rat;
    creature.pictureName = "bres_headfisher";
    creature.kind = kCreaturePeople;
    EXPECT_STREQ(GetPortraitName(nullptr, &creature), "bres_headfisher");
    creature.kind = 1;
    EXPECT_STREQ(GetPortraitName(nullptr, &creature), "bres_ratstill");
    creature.creatureKind = nullptr;
    EXPECT_STREQ(GetPortraitName(nullptr, &creature), kUnknownPortrait);
    creature.kind = kCreaturePeople;
    creature.pictureName = nullptr;
    EXPECT_STREQ(GetPortraitName(nullptr, &creature), kUnknownPortrait);
    EXPECT_STREQ(GetPortraitName(nullptr, nullptr), kUnknownPortrait);
}

}  // namespace
