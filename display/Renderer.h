// The renderer of the first-person view. The video output owns the one instance and binds it to the
// frame buffer; besides the 3D view it offers the 2D drawing kit (fills, picture blits, glyphs) that
// every screen draws through. The 2D drawing works in logical coordinates of its target and clips
// every span, glyph and polygon to it, so nothing is written outside the frame buffer.
#pragma once

#include "core/Types.h"
#include "display/FrameTarget.h"
#include "display/Picture.h"

#include <cstddef>
#include <limits>

struct CViewState;
struct CTextRun;

struct CScreenCorner {
    i32 x = 0, y = 0;  // sixteenths of a pixel
    i32 w = 1;
};

struct CTexCoord {
    i32 u = 0, v = 0;  // sixteenths of a texel
};

class CRenderer {
public:
    CViewState* viewState = nullptr;
    CFrameTarget target2D;

    void Init();
    // Takes the 2D target from the view state's frame buffer (pixels, pitch, orientation and extent).
    void SetupView();

    void FillRect(i32 x, i32 y, i32 width, i32 height, u16 colour);
    void DrawPicture(i32 x, i32 y, const CPictureData& picture, i32 stride, i32 sourceX, i32 sourceY,
                     i32 width, i32 height);
    void DrawPictureHalfTransparent(i32 x, i32 y, const CPictureData& picture, i32 stride, i32 sourceY,
                                    i32 width, i32 height);
    void DrawPictureTransparent(i32 x, i32 y, const CPictureData& picture, i32 stride, i32 sourceX,
                                i32 sourceY, i32 width, i32 height);
    void DrawPictureTransparentMirrored(i32 x, i32 y, const CPictureData& picture, i32 stride, i32 width,
                                        i32 height);
    void DrawPictureStretched(i32 x, i32 y, const CPictureData& picture, i32 stride, i32 sourceWidth,
                              i32 sourceHeight, i32 destWidth, i32 destHeight);
    void DrawPictureTiled(i32 x, i32 y, const CPictureData& picture, i32 pictureWidth, i32 pictureHeight,
                          i32 areaWidth, i32 areaHeight);
    void DrawPictureTiledTransparent(i32 x, i32 y, const CPictureData& picture, i32 pictureWidth,
                                     i32 pictureHeight, i32 areaWidth, i32 areaHeight);
    // The block filters suit 50 x 50 pictures only; any other picture is stretched to the same size.
    void DrawPictureShrunk20(i32 x, i32 y, const CPictureData& picture);
    void DrawPictureShrunk30(i32 x, i32 y, const CPictureData& picture);
    void DrawPictureShrunk40(i32 x, i32 y, const CPictureData& picture);
    // angle: degrees in 16.16; a growing angle turns the picture counter-clockwise.
    void DrawPictureRotated(i32 centreX, i32 centreY, const CPictureData& picture, i32 width, i32 height,
                            i32 angle);
    // `count` is the number of pixels the array holds; rows that would read past it are not drawn.
    void CopyPicture16(i32 x, i32 y, const u16* pixels, i32 stride, i32 sourceX, i32 sourceY, i32 width,
                       i32 height, size_t count = std::numeric_limits<size_t>::max());
    void DrawText(const CTextRun& run);
    // One glyph of a font strip (texels read as one byte each): 0 is left out, 1..3 take the three
    // colours, any other value the strip's colour-table entry.
    void DrawGlyph(i32 x, i32 y, const CPictureData& strip, i32 firstColumn, i32 glyphWidth, u16 colour1,
                   u16 colour2, u16 colour3);

    // Fills the quadrilateral of four screen corners (in order around it) with the picture, texture
    // coordinates interpolated linearly, see-through texels left out.
    static void FillRotatedPolygon(const CPictureData& picture, const CTexCoord texture[4],
                                   const CFrameTarget& target, const CScreenCorner corners[4]);

private:
    void Mark();
    void Shrink(i32 x, i32 y, const CPictureData& picture, int n);
};

// The half-and-half blend of the half-transparent blit, all three fields in one 32-bit addition.
inline u16 BlendHalf(u16 s, u16 d) {
    u32 a = ((static_cast<u32>(s) << 16) | s) & 0x07E0F81Fu;
    u32 b = ((static_cast<u32>(d) << 16) | d) & 0x07E0F81Fu;
    u32 v = ((a + b) >> 1) & 0x07E0F81Fu;
    return static_cast<u16>((v >> 16) | (v & 0xFFFF));
}
