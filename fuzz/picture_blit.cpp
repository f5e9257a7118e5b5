// Picture records straight from the input: read, and when accepted, drawn by every blit and as a font
// strip into a small frame at positions that reach past its edges. Nothing may read outside the record
// or write outside the frame.
#include "display/Picture.h"
#include "display/Renderer.h"
#include "display/ViewState.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so that any read past the record's end is caught.
    std::vector<u8> record(data, data + size);
    CPictureData p;
    if (!ReadPicture(record.data(), record.size(), p)) return 0;
    constexpr int kWidth = 64, kHeight = 48;
    std::vector<u16> pixels(static_cast<size_t>(kWidth) * kHeight, 0);
    CViewState view;
    view.frameBuffer = {pixels.data(), kWidth, kHeight, kWidth, 0};
    CRenderer r;
    r.Init();
    r.viewState = &view;
    r.SetupView();
    const i32 positions[][2] = {{0, 0}, {-7, -5}, {40, 30}, {63, 47}};
    for (const auto& pos : positions) {
        const i32 x = pos[0], y = pos[1];
        r.DrawPicture(x, y, p, p.width, 0, 0, p.width, p.height);
        r.DrawPicture(x, y, p, p.width, 3, 2, 20, 20);
        r.DrawPictureTransparent(x, y, p, p.width, 0, 0, p.width, p.height);
        r.DrawPictureTransparentMirrored(x, y, p, p.width, p.width, p.height);
        r.DrawPictureHalfTransparent(x, y, p, p.width, 1, p.width, p.height);
        r.DrawPictureStretched(x, y, p, p.width, p.width, p.height, 37, 23);
        r.DrawPictureTiled(x, y, p, p.width, p.height, 50, 40);
        r.DrawPictureTiledTransparent(x, y, p, p.width, p.height, 50, 40);
        r.DrawPictureShrunk30(x, y, p);
        r.DrawPictureRotated(x, y, p, p.width, p.height, 37 * 65536);
        r.DrawGlyph(x, y, p, 2, 9, 1, 2, 3);
    }
    return 0;
}
