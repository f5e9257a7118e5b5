#include "display/Video.h"

#include "core/RecordHolder.h"
#include "display/DisplayHost.h"
#include "display/Picture.h"
#include "core/LayoutTable.h"
#include "display/Renderer.h"
#include "display/ViewState.h"

#include <algorithm>

CVideoBase::~CVideoBase() = default;

CVideo::CVideo(CDisplayHost* host) : host_(host) {}

CVideo::~CVideo() { display_.reset(); }

bool CVideo::Create(plat::Window* window) {
    u32 w = 0, h = 0;
    host_->GetClientSize(w, h);
    width_ = creationWidth_ = static_cast<u16>(w);
    height_ = creationHeight_ = static_cast<u16>(h);
    frameBytes_ = static_cast<u32>(width_) * height_ * 2;
    window_ = window;
    OpenDisplay();
    if (display_ && display_->Lock()) {
        FollowBackBuffer(false);
        display_->Present(0);
    }
    CreateRenderer();
    Rebuild(1);
    return display_ != nullptr && renderer != nullptr;
}

void CVideo::OpenDisplay() {
    display_.reset();
    DisplayParams params{width_, height_, 0, kSwapDiscard};
    display_ = Display::Create(window_, &params);
    if (!display_) DisplayTrace("no display for %ux%u", width_, height_);
}

void CVideo::FollowBackBuffer(bool setup) {
    Surface* back = display_ ? display_->GetBackBuffer() : nullptr;
    if (!back) return;
    bool moved = back->pixels != pixels_ || back->width != surfaceWidth_ || back->height != surfaceHeight_;
    pixels_ = back->pixels;
    surfaceWidth_ = back->width;
    surfaceHeight_ = back->height;
    surfacePitch_ = back->pitch / 2;
    if (!moved) return;
    WriteFrameBuffer();
    if (setup && renderer) renderer->SetupView();
}

void CVideo::WriteFrameBuffer() {
    CViewState* view = host_->GetViewState();
    if (!view) return;
    // The descriptor never claims more than the back buffer holds: its size is cut to the surface,
    // and its pitch is the surface's own row length (the width itself for every even width).
    view->frameBuffer.pixels = pixels_;
    view->frameBuffer.width = static_cast<i32>(std::min<u32>(width_, surfaceWidth_));
    view->frameBuffer.height = static_cast<i32>(std::min<u32>(height_, surfaceHeight_));
    view->frameBuffer.pitch = static_cast<i32>(surfacePitch_ ? surfacePitch_ : width_);
    view->frameBuffer.orientation = 0;
}

u32 CVideo::SyncBackBuffer() {
    if (!display_ || !display_->Lock()) return 0;
    FollowBackBuffer(true);
    return 1;
}

void CVideo::Present() {
    if (!display_) return;
    display_->Present(0);
    SyncBackBuffer();
}

void CVideo::CreateRenderer() {
    frameBytes_ = static_cast<u32>(width_) * height_ * 2;
    renderer = std::make_unique<CRenderer>();
    renderer->Init();
    BindRenderer();
}

void CVideo::BindRenderer() {
    host_->ChangeScreenMode(host_->GetLayoutMode());
    WriteFrameBuffer();
    CViewState* view = host_->GetViewState();
    if (!renderer) return;
    renderer->viewState = view;
    renderer->SetupView();
}

void CVideo::Rebuild(u32 keepDisplay) {
    LayoutViewRect();
    u32 w = 0, h = 0;
    host_->GetClientSize(w, h);
    width_ = static_cast<u16>(w);
    height_ = static_cast<u16>(h);
    BindRenderer();
    if (!keepDisplay) OpenDisplay();
    if (display_ && display_->Lock()) {
        FollowBackBuffer(false);
        display_->Present(0);
    }
    if (renderer) renderer->SetupView();
}

void CVideo::LayoutViewRect() {
    CViewState* view = host_->GetViewState();
    if (!view) return;
    const u8* table = nullptr;
    size_t size = 0;
    host_->GetLayoutTable(table, size);
    const u32 mode = host_->GetLayoutMode();
    const u8* element = FindLayoutRectIn(table, size, mode, 43, 550);
    if (!element) return;  // no rectangle for this mode: the previous one stays
    CLayoutElement e = ReadLayoutElement(element);
    i32 x = e.x, y = e.y, w = e.w, h = e.h;
    if (mode == 9 || mode == 10 || mode == 11 || mode == 14 || mode == 15) {
        i32 s = static_cast<i32>(host_->GetViewSize(viewSet));
        i32 ex = w - 380, ey = h - 320;
        x += (ex * s) / 4;
        y += (ey * s) / 4;
        w -= (ex * s) / 2;
        h -= (ey * s) / 2;
    }
    view->viewX = static_cast<u32>(x);
    view->viewY = static_cast<u32>(y);
    view->viewWidth = static_cast<u32>(w);
    view->viewHeight = static_cast<u32>(h);
}

// --- 2D drawing ---

bool CVideo::Picture(const CRecordHolder* holder, const CPaletteRef* palette, CPictureData& out) const {
    if (!renderer || !holder) return false;
    const CPictureData* read = holder->Picture();
    if (!read) return false;
    out = *read;
    if (palette && palette->colours) {
        out.table = palette->colours;
        out.tableCount = palette->count;
    }
    return true;
}

void CVideo::FillRect(i32 x, i32 y, i32 width, i32 height, u16 colour) {
    if (renderer) renderer->FillRect(x, y, width, height, colour);
}

namespace {

// The part of a rectangle inside the frame target; false when none is.
bool CutToTarget(const CFrameTarget& t, i32& x, i32& y, i32& width, i32& height) {
    const i32 x0 = std::max(x, 0), y0 = std::max(y, 0);
    const i32 x1 = std::min(x + width, t.width), y1 = std::min(y + height, t.height);
    if (!t.pixels || x1 <= x0 || y1 <= y0) return false;
    x = x0, y = y0, width = x1 - x0, height = y1 - y0;
    return true;
}

}  // namespace

bool CVideo::CopyRectOut(i32 x, i32 y, i32 width, i32 height, std::vector<u16>& pixels) const {
    if (!renderer) return false;
    const CFrameTarget& t = renderer->target2D;
    if (!CutToTarget(t, x, y, width, height)) return false;
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    u16* out = pixels.data();
    for (i32 r = 0; r < height; ++r) {
        const u16* p = t.pixels + FrameOffset(t, x, y + r);
        for (i32 c = 0; c < width; ++c, p += t.xStep) *out++ = *p;
    }
    return true;
}

bool CVideo::CopyRectIn(i32 x, i32 y, i32 width, i32 height, const std::vector<u16>& pixels) {
    if (!renderer) return false;
    const CFrameTarget& t = renderer->target2D;
    if (!CutToTarget(t, x, y, width, height)) return false;
    if (pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return false;
    const u16* in = pixels.data();
    for (i32 r = 0; r < height; ++r) {
        u16* p = t.pixels + FrameOffset(t, x, y + r);
        if (t.xStep == 1) {
            std::copy_n(in, width, p);
            in += width;
        } else {
            for (i32 c = 0; c < width; ++c, p += t.xStep) *p = *in++;
        }
    }
    return true;
}

void CVideo::DrawFrame(i32 x, i32 y, i32 width, i32 height) {
    if (!renderer) return;
    renderer->FillRect(x, y, width, 1, 0);
    renderer->FillRect(x, y, 1, height, 0);
    renderer->FillRect(x, y + height - 1, width, 1, 0);
    renderer->FillRect(x + width - 1, y, 1, height, 0);
}

void CVideo::DrawPicture(const CRecordHolder* picture, i32 x, i32 y) {
    DrawPictureWithPalette(picture, nullptr, x, y);
}

void CVideo::DrawPictureWithPalette(const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y) {
    CPictureData p;
    if (Picture(picture, palette, p)) renderer->DrawPicture(x, y, p, p.width, 0, 0, p.width, p.height);
}

void CVideo::DrawPicturePart(const CRecordHolder* picture, i32 x, i32 y, i32 sourceX, i32 sourceY, i32 width,
                             i32 height) {
    CPictureData p;
    if (Picture(picture, nullptr, p))
        renderer->DrawPicture(x, y, p, p.width, sourceX, sourceY, width, height);
}

void CVideo::DrawPictureTransparent(const CRecordHolder* picture, i32 x, i32 y) {
    CPictureData p;
    if (Picture(picture, nullptr, p))
        renderer->DrawPictureTransparent(x, y, p, p.width, 0, 0, p.width, p.height);
}

void CVideo::DrawPicturePartTransparent(const CRecordHolder* picture, i32 x, i32 y, i32 sourceX, i32 sourceY,
                                        i32 width, i32 height) {
    DrawPicturePartTransparentWithPalette(picture, nullptr, x, y, sourceX, sourceY, width, height);
}

void CVideo::DrawPicturePartTransparentWithPalette(const CRecordHolder* picture, const CPaletteRef* palette,
                                                   i32 x, i32 y, i32 sourceX, i32 sourceY, i32 width,
                                                   i32 height) {
    CPictureData p;
    if (Picture(picture, palette, p))
        renderer->DrawPictureTransparent(x, y, p, p.width, sourceX, sourceY, width, height);
}

void CVideo::DrawPictureMirrored(const CRecordHolder* picture, i32 x, i32 y) {
    CPictureData p;
    if (Picture(picture, nullptr, p))
        renderer->DrawPictureTransparentMirrored(x, y, p, p.width, p.width, p.height);
}

void CVideo::DrawPictureStretched(const CRecordHolder* picture, i32 x, i32 y, i32 width, i32 height) {
    CPictureData p;
    if (Picture(picture, nullptr, p))
        renderer->DrawPictureStretched(x, y, p, p.width, p.width, p.height, width, height);
}

void CVideo::DrawPictureTiled(const CRecordHolder* picture, i32 x, i32 y, i32 width, i32 height) {
    CPictureData p;
    if (Picture(picture, nullptr, p)) renderer->DrawPictureTiled(x, y, p, p.width, p.height, width, height);
}

void CVideo::DrawPictureTiledTransparent(const CRecordHolder* picture, i32 x, i32 y, i32 width, i32 height) {
    CPictureData p;
    if (Picture(picture, nullptr, p))
        renderer->DrawPictureTiledTransparent(x, y, p, p.width, p.height, width, height);
}

void CVideo::DrawPictureRotated(const CRecordHolder* picture, i32 centreX, i32 centreY, i32 degrees) {
    CPictureData p;
    if (Picture(picture, nullptr, p))
        renderer->DrawPictureRotated(centreX, centreY, p, p.width, p.height, degrees * 65536);
}

void CVideo::DrawPictureShrunk20(const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y) {
    CPictureData p;
    if (Picture(picture, palette, p)) renderer->DrawPictureShrunk20(x, y, p);
}

void CVideo::DrawPictureShrunk30(const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y) {
    CPictureData p;
    if (Picture(picture, palette, p)) renderer->DrawPictureShrunk30(x, y, p);
}

void CVideo::DrawPictureShrunk40(const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y) {
    CPictureData p;
    if (Picture(picture, palette, p)) renderer->DrawPictureShrunk40(x, y, p);
}

void CVideo::DrawPictureHalfTransparent(const CRecordHolder* picture, i32 x, i32 y, i32 sourceY, i32 width,
                                        i32 height) {
    CPictureData p;
    if (Picture(picture, nullptr, p))
        renderer->DrawPictureHalfTransparent(x, y, p, p.width, sourceY, width, height);
}
