// A driver without a window: its device surface has any size, orientation and swap effect, and each
// present keeps a copy of the surface. Tests use it to see what a display shows, and for devices that
// are turned against the picture.
#pragma once

#include "display/Display.h"

#include <vector>

class MemoryDriver final : public VideoDriver {
public:
    MemoryDriver(u32 width, u32 height, u32 orientation, u32 swapEffect);
    bool Initialize(plat::Window* window, const DisplayParams* wanted, const DriverDesc* device) override;
    Surface* Lock() override { return surface_.get(); }
    void Present(u32 flags) override;
    void SetDirtyRect(const DisplayRect* rect) override {
        if (rect) dirty_ = *rect;
    }
    void BeforeCopy() override { ++beforeCopies_; }
    void Resume() override { ++resumes_; }
    void Suspend() override { ++suspends_; }
    void Repaint() override { ++repaints_; }

    // The device surface as the last present left it, rows packed.
    const std::vector<u16>& LastFrame() const { return last_; }
    u16 At(u32 x, u32 y) const { return last_[static_cast<size_t>(y) * desc.width + x]; }
    u32 Presents() const { return presents_; }
    u32 BeforeCopies() const { return beforeCopies_; }
    u32 Repaints() const { return repaints_; }
    u32 Resumes() const { return resumes_; }
    u32 Suspends() const { return suspends_; }
    const DisplayRect& Dirty() const { return dirty_; }

private:
    std::unique_ptr<Surface> surface_;
    std::vector<u16> last_;
    DisplayRect dirty_;
    u32 presents_ = 0, beforeCopies_ = 0, repaints_ = 0, resumes_ = 0, suspends_ = 0;
};

// A display around a memory driver.
class MemoryDisplay final : public DisplayImpl {
public:
    MemoryDisplay(u32 width, u32 height, u32 orientation, u32 swapEffect)
        : DisplayImpl(nullptr), width_(width), height_(height), orientation_(orientation), swap_(swapEffect) {
    }
    std::unique_ptr<VideoDriver> CreateDriver(const DisplayParams*) override;
    // The memory driver, also when a rotation driver wraps it.
    MemoryDriver* Device() const { return device_; }

private:
    u32 width_, height_, orientation_, swap_;
    MemoryDriver* device_ = nullptr;
};
