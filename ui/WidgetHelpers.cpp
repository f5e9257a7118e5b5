#include "ui/WidgetHelpers.h"

#include "data/RecordHolder.h"
#include "display/FontSet.h"

i32 CurrentLineHeight(const CFontSet* fonts) {
    if (fonts == nullptr || fonts->CurrentFont() == nullptr) return 0;
    return fonts->CurrentFont()->LineHeight();
}

u16 PackColourWord(u32 colour) { return PackRGB565(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

void PictureSizeOf(const CRecordHolder* picture, i32& width, i32& height) {
    width = 0;
    height = 0;
    if (picture == nullptr || picture->data == nullptr || picture->Size() < 8) return;
    const u8* d = picture->data;
    const i16 w = static_cast<i16>(d[2] | (d[3] << 8));
    const i16 h = static_cast<i16>(d[4] | (d[5] << 8));
    // A negative size is no size: nothing of it can be drawn or scaled.
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
}
