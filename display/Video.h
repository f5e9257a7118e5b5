// The game's video output: it owns the display that brings the RGB565 frame buffer to the frame
// window, follows the buffer's address, owns the renderer and binds it to the buffer and to the main
// game view's view state, lays out the 3D view's rectangle, and offers the 2D drawing that forms,
// widgets and screens use on interface pictures.
#pragma once

#include "core/Types.h"
#include "display/Display.h"

#include <memory>
#include <vector>

class CDisplayHost;
class CRecordHolder;
class CRenderer;
struct CPictureData;

// A colour table that replaces a picture's own (one of the world's palettes).
struct CPaletteRef {
    const u16* colours = nullptr;
    u32 count = 0;
};

class CVideoBase {
public:
    virtual ~CVideoBase();
    std::unique_ptr<CRenderer> renderer;
};

class CVideo : public CVideoBase {
public:
    explicit CVideo(CDisplayHost* host);
    ~CVideo() override;

    // Sizes the output for the frame window, opens the display, creates the renderer and lays the view
    // out. False when the display or the renderer could not be made; nothing is then drawn or shown.
    bool Create(plat::Window* window);
    void OpenDisplay();
    // Locks the display and follows a moved back buffer; 0 when the display cannot be locked.
    u32 SyncBackBuffer();
    // Presents the frame, then locks again for the next one.
    void Present();
    // After a change of layout mode: view rectangle, binding, (a new display unless kept), set-up.
    void Rebuild(u32 keepDisplay);
    void LayoutViewRect();
    void CreateRenderer();
    void BindRenderer();

    // --- 2D drawing ---
    void FillRect(i32 x, i32 y, i32 width, i32 height, u16 colour);
    // The frame buffer's pixels of a rectangle, row by row, out into `pixels` and back from it (a
    // rectangle is cut to the frame; false when nothing of it lies inside or the sizes differ).
    bool CopyRectOut(i32 x, i32 y, i32 width, i32 height, std::vector<u16>& pixels) const;
    bool CopyRectIn(i32 x, i32 y, i32 width, i32 height, const std::vector<u16>& pixels);
    void DrawFrame(i32 x, i32 y, i32 width, i32 height);
    void DrawPicture(const CRecordHolder* picture, i32 x, i32 y);
    void DrawPictureWithPalette(const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y);
    void DrawPicturePart(const CRecordHolder* picture, i32 x, i32 y, i32 sourceX, i32 sourceY, i32 width,
                         i32 height);
    void DrawPictureTransparent(const CRecordHolder* picture, i32 x, i32 y);
    void DrawPicturePartTransparent(const CRecordHolder* picture, i32 x, i32 y, i32 sourceX, i32 sourceY,
                                    i32 width, i32 height);
    void DrawPicturePartTransparentWithPalette(const CRecordHolder* picture, const CPaletteRef* palette,
                                               i32 x, i32 y, i32 sourceX, i32 sourceY, i32 width, i32 height);
    void DrawPictureMirrored(const CRecordHolder* picture, i32 x, i32 y);
    void DrawPictureStretched(const CRecordHolder* picture, i32 x, i32 y, i32 width, i32 height);
    void DrawPictureTiled(const CRecordHolder* picture, i32 x, i32 y, i32 width, i32 height);
    void DrawPictureTiledTransparent(const CRecordHolder* picture, i32 x, i32 y, i32 width, i32 height);
    void DrawPictureRotated(const CRecordHolder* picture, i32 centreX, i32 centreY, i32 degrees);
    void DrawPictureShrunk20(const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y);
    void DrawPictureShrunk30(const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y);
    void DrawPictureShrunk40(const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y);
    void DrawPictureHalfTransparent(const CRecordHolder* picture, i32 x, i32 y, i32 sourceY, i32 width,
                                    i32 height);

    CRenderer* GetRenderer() const { return renderer.get(); }
    Display* GetDisplay() const { return display_.get(); }
    u16* Pixels() const { return pixels_; }
    u16 Width() const { return width_; }
    u16 Height() const { return height_; }
    u32 FrameBytes() const { return frameBytes_; }

    // 0, 1 or 2: which view-size setting applies ("ViewSize", "LViewSize", "RViewSize").
    u32 viewSet = 0;

private:
    // The picture of a holder with the palette's colours; false for an empty holder or a bad record.
    bool Picture(const CRecordHolder* holder, const CPaletteRef* palette, CPictureData& out) const;
    // Takes the display's back buffer; when it moved, writes the frame-buffer descriptor and, when
    // `setup`, sets the renderer's view up again.
    void FollowBackBuffer(bool setup);
    void WriteFrameBuffer();

    CDisplayHost* host_;
    u16* pixels_ = nullptr;
    u32 frameBytes_ = 0;
    u16 width_ = 0, height_ = 0;
    u16 creationWidth_ = 0, creationHeight_ = 0;
    // The back buffer's own size and row length, which bound what the descriptor may claim.
    u32 surfaceWidth_ = 0, surfaceHeight_ = 0, surfacePitch_ = 0;
    std::unique_ptr<Display> display_;
    plat::Window* window_ = nullptr;
};
