// The device driver of the display layer: a persistent RGB565 surface that each present hands to the
// platform window, shown 1:1 in its client area. The name is kept from the desktop system it was first
// written for; here it draws through the platform window (SDL, or the headless window of the tests).
#pragma once

#include "display/Display.h"

#include <vector>

class GDIDriver final : public VideoDriver {
public:
    ~GDIDriver() override;
    // The device: 240 x 320 at 16 bits; the orientation stays as it was.
    static bool Detect(DriverDesc* desc);

    bool Initialize(plat::Window* window, const DisplayParams* wanted, const DriverDesc* device) override;
    Surface* Lock() override { return surface_.get(); }
    void Present(u32 flags) override;
    void SetDirtyRect(const DisplayRect* rect) override;
    void BeforeCopy() override {}
    // An uncovered window shows the last presented frame again, also while the display is suspended.
    void Repaint() override;
    // A window that was inactive gets the next frame whether or not it changed.
    void Resume() override { shown_.clear(); }

private:
    plat::Window* window_ = nullptr;
    std::unique_ptr<Surface> surface_;
    // The pixels last handed to the window: a frame equal to them is not handed over again, so an
    // idle screen that redraws the same picture every tick costs no upload and no present.
    std::vector<u16> shown_;
    i32 blitX_ = 0, blitY_ = 0, blitWidth_ = 0, blitHeight_ = 0;
};
