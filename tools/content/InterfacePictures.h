// The interface pictures of the data database: the 449 pictures that start-up loads (named by base
// number, written under their record number in the large layouts, which is what start-up loads in
// layout mode 15) and the pictures that screens read by record number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/Canvas.h"

// One run of consecutive base numbers and the record numbers that each layout family loads.
struct InterfacePictureRun {
    uint16_t base;  // first base number
    uint16_t count;
    uint16_t small;  // first record in the small layouts
    uint16_t large;  // first record in the large layouts
};

const std::vector<InterfacePictureRun>& InterfacePictureRuns();
// The large-layout record of a base number, or 0 when the number is not an interface picture.
uint16_t LargeRecordOf(uint16_t base);

struct PictureRecord {
    uint16_t record;
    std::string use;  // what it shows, for the contact sheet
    Canvas picture;
};

// The 449 large-layout interface pictures, in base-number order.
std::vector<PictureRecord> PaintInterfacePictures();
// The same pictures for the other layout families, drawn smaller to suit their screens: the small
// layouts' column at one half and the base layouts' column at two fifths (the scales of their layout
// rectangles). Records that another column already holds are left out.
std::vector<PictureRecord> PaintOtherLayoutPictures(const std::vector<PictureRecord>& large);
// Pictures that screens read by record number: the loading pictures, splash, death screen, page
// frames and buttons, race pictures.
std::vector<PictureRecord> PaintScreenPictures();
