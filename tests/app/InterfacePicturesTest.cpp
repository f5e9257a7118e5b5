#include <gtest/gtest.h>

#include <set>

#include "ui/InterfacePictures.h"

TEST(InterfacePictures, RecordByLayoutMode) {
    struct Case {
        u16 base;
        u32 mode;
        u16 record;
    } cases[] = {
        {3400, 15, 4160}, {3015, 15, 3015}, {3024, 15, 4069}, {4037, 15, 4037}, {3468, 15, 4228},
        {3358, 2, 3358},  {3358, 5, 3803},  {3377, 2, 3377},  {3377, 7, 3822},  {4040, 3, 3702},
        {4040, 4, 3702},  {4040, 1, 4040},  {4048, 3, 3686},  {4052, 4, 3724},  {3488, 5, 4055},
        {3488, 8, 4055},  {3488, 2, 3918},  {3488, 9, 4088},  {3488, 1, 3488},  {3498, 8, 4054},
        {3534, 5, 4058},  {3534, 6, 3933},  {3534, 14, 4091}, {3016, 2, 3671},  {3016, 15, 3016},
        {4138, 16, 4139}, {4138, 11, 4140}, {4138, 17, 4138}, {3006, 15, 0},    {3469, 15, 0},
        {4158, 15, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InterfacePictureRecord(c.base, c.mode), c.record) << c.base << " in mode " << c.mode;
}

TEST(InterfacePictures, EveryColumnNamesDistinctRecordsAndIndexesRoundTrip) {
    for (u32 mode : {1u, 2u, 3u, 5u, 15u}) {
        std::set<u16> records;
        for (int i = 0; i < kInterfacePictureCount; ++i) {
            u16 base = InterfacePictureBase(i);
            ASSERT_NE(base, 0) << i;
            EXPECT_EQ(InterfacePictureIndex(base), i);
            records.insert(InterfacePictureRecord(base, mode));
        }
        EXPECT_EQ(records.size(), static_cast<size_t>(kInterfacePictureCount)) << "mode " << mode;
    }
    EXPECT_EQ(InterfacePictureBase(kInterfacePictureCount), 0);
    EXPECT_EQ(InterfacePictureBase(-1), 0);
    // The map pictures are consecutive holders.
    int first = InterfacePictureIndex(kFirstMapPicture);
    EXPECT_EQ(InterfacePictureIndex(kFirstMapPicture + kMapPictureCount - 1), first + kMapPictureCount - 1);
}
