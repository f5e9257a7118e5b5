#include "display/MemoryDriver.h"

#include <cstring>

MemoryDriver::MemoryDriver(u32 width, u32 height, u32 orientation, u32 swapEffect) {
    desc.width = width;
    desc.height = height;
    desc.depth = 16;
    desc.orientation = orientation;
    desc.swapEffect = swapEffect;
}

bool MemoryDriver::Initialize(plat::Window*, const DisplayParams*, const DriverDesc*) {
    surface_ = Surface::Create(desc.width, desc.height);
    if (!surface_) return false;
    desc.pitch = surface_->pitch;
    return true;
}

void MemoryDriver::Present(u32) {
    if (!surface_) return;
    ++presents_;
    last_.resize(static_cast<size_t>(desc.width) * desc.height);
    for (u32 y = 0; y < desc.height; ++y)
        std::memcpy(&last_[static_cast<size_t>(y) * desc.width],
                    reinterpret_cast<const u8*>(surface_->pixels) + static_cast<size_t>(y) * surface_->pitch,
                    static_cast<size_t>(desc.width) * 2);
}

std::unique_ptr<VideoDriver> MemoryDisplay::CreateDriver(const DisplayParams* params) {
    auto driver = std::make_unique<MemoryDriver>(width_, height_, orientation_, swap_);
    if (!driver->Initialize(nullptr, params, nullptr)) return nullptr;
    device_ = driver.get();
    return driver;
}
