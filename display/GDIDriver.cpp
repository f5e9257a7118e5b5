#include "display/GDIDriver.h"

#include "platform/Window.h"

#include <algorithm>

GDIDriver::~GDIDriver() = default;

bool GDIDriver::Detect(DriverDesc* desc) {
    DisplayTrace("GDIDriver: Detect()");
    desc->width = 240;
    desc->height = 320;
    desc->depth = 16;
    DisplayTrace("GDIDriver: Found W:%u, H:%u, D:%u", desc->width, desc->height, desc->depth);
    return true;
}

bool GDIDriver::Initialize(plat::Window* window, const DisplayParams* wanted, const DriverDesc*) {
    DisplayTrace("GDIDriver: Initialize()");
    if (surface_ || !window) return false;
    u32 orientation = wanted->orientation < kAnyOrientation ? wanted->orientation : 0;
    u32 width = wanted->width, height = wanted->height;
    if (width == 0 || height == 0) {
        bool sideways = orientation == 1 || orientation == 3;
        width = sideways ? 320 : 240;
        height = sideways ? 240 : 320;
    }
    // The platform window is never resizable; the client area takes the size, keeping its corner.
    window->SetClientSize(static_cast<int>(width), static_cast<int>(height));
    surface_ = Surface::Create(width, height);
    if (!surface_) return false;
    window_ = window;
    desc.width = surface_->width;
    desc.height = surface_->height;
    desc.pitch = surface_->pitch;
    desc.depth = 16;
    desc.orientation = orientation;
    desc.swapEffect = kSwapCopy;
    return true;
}

void GDIDriver::Present(u32) {
    if (!surface_ || !window_ || !window_->IsAlive()) return;
    // The dirty rectangle is always the whole picture (the display sets it once), so the whole
    // surface goes to the window, unless it shows that picture already.
    const size_t count = static_cast<size_t>(surface_->pitch / 2) * surface_->height;
    if (shown_.size() == count && std::equal(shown_.begin(), shown_.end(), surface_->pixels)) return;
    shown_.assign(surface_->pixels, surface_->pixels + count);
    window_->Present(surface_->pixels, static_cast<int>(surface_->width), static_cast<int>(surface_->height),
                     static_cast<int>(surface_->pitch));
}

void GDIDriver::SetDirtyRect(const DisplayRect* rect) {
    if (!rect) return;
    blitX_ = rect->left;
    blitY_ = rect->top;
    blitWidth_ = rect->right - rect->left;
    blitHeight_ = rect->bottom - rect->top;
}

void GDIDriver::Repaint() {
    if (surface_ && window_ && window_->IsAlive()) window_->RepaintLastFrame();
}
