// The texts that the widgets draw straight onto interface pictures must stay readable on the art the
// builder paints: the contrast ratio of the text colour to every texel under the text reaches 4.5:1,
// the usual threshold for body text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/PdbFile.h"
#include "display/Picture.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/InterfacePictures.h"

namespace {

const std::string kDatabase = std::string(VANTREL_BINARY_DIR) + "/VantrelData.pdb";

double Linear(double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(double r, double g, double b) {
    return 0.2126 * Linear(r) + 0.7152 * Linear(g) + 0.0722 * Linear(b);
}

// A colour word of the widgets, 0x00BBGGRR.
double WordLuminance(u32 word) {
    return Luminance((word & 0xFF) / 255.0, ((word >> 8) & 0xFF) / 255.0, ((word >> 16) & 0xFF) / 255.0);
}

double TexelLuminance(u16 pixel) {
    return Luminance(((pixel >> 11) & 0x1F) / 31.0, ((pixel >> 5) & 0x3F) / 63.0, (pixel & 0x1F) / 31.0);
}

double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

struct Case {
    const char* what;
    u32 textColour;  // as the widget selects it
    u16 picture;     // base number of the picture the text is drawn over
    // The part of the picture that the text covers, as fractions of its width and height: a label
    // keeps 8 pixels off the button's ends, so it reaches only the inner edge of the caps.
    double left, right, top, bottom;
};

}  // namespace

TEST(TextContrast, EveryTextColourReadsOnThePictureUnderIt) {
    CPdbFile db;
    ASSERT_EQ(db.Open(kDatabase.c_str()), 1) << kDatabase << " (the build writes it)";
    const Case cases[] = {
        // A message box's buttons ("Yes", "No", "Ok" ...): the label sits across the frame's middle.
        {"button label, left cap", 0x161616, kPictureButtonFrame, 0.8, 1.0, 0.25, 0.75},
        {"button label, middle", 0x161616, kPictureButtonFrame + 1, 0.0, 1.0, 0.25, 0.75},
        {"button label, right cap", 0x161616, kPictureButtonFrame + 2, 0.0, 0.2, 0.25, 0.75},
        {"pressed button label, left cap", 0x161616, kPictureButtonFramePressed, 0.8, 1.0, 0.25, 0.75},
        {"pressed button label, middle", 0x161616, kPictureButtonFramePressed + 1, 0.0, 1.0, 0.25, 0.75},
        {"pressed button label, right cap", 0x161616, kPictureButtonFramePressed + 2, 0.0, 0.2, 0.25, 0.75},
        // A message box's text in its three styles, and the letter reader's text, on the box's inside.
        {"message text", 0x161616, kPictureMessageBackground, 0.0, 1.0, 0.0, 1.0},
        {"message text, third style", 0x285050, kPictureMessageBackground, 0.0, 1.0, 0.0, 1.0},
        {"letter text", 0x151C34, kPictureMessageBackground, 0.0, 1.0, 0.0, 1.0},
    };
    for (u32 mode : {15u, 6u, 3u}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", layout mode " << mode);
            const u16 record = InterfacePictureRecord(c.picture, mode);
            CRecordData* data = db.ReadRecord(record);
            ASSERT_NE(data, nullptr) << record;
            CPictureData picture;
            ASSERT_TRUE(ReadPicture(data->data, data->size, picture)) << record;
            const double text = WordLuminance(c.textColour);
            double worst = 100;
            const i32 first = static_cast<i32>(picture.height * c.top);
            const i32 last = std::max(first + 1, static_cast<i32>(picture.height * c.bottom));
            const i32 from = static_cast<i32>(picture.width * c.left);
            const i32 to = std::max(from + 1, static_cast<i32>(picture.width * c.right));
            for (i32 row = first; row < last && row < picture.height; ++row)
                for (i32 column = from; column < to && column < picture.width; ++column) {
                    if (PictureTexelIsClear(picture, column, row)) continue;
                    worst =
                        std::min(worst, Contrast(text, TexelLuminance(PictureTexel(picture, column, row))));
                }
            FreeDataBlock(data);
            EXPECT_GE(worst, 4.5) << "record " << record << ", " << picture.width << " x " << picture.height;
        }
    }
}
