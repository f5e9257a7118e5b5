#include "display/Display.h"

#include "display/GDIDriver.h"
#include "display/RotationDriver.h"
#include "platform/Window.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

void DisplayTrace(const char* format, ...) {
    static const bool enabled = std::getenv("VANTREL_DISPLAY_TRACE") != nullptr;
    if (!enabled) return;
    va_list args;
    va_start(args, format);
    std::fputs("display: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
}

// --- surfaces ---

Surface::~Surface() = default;

std::unique_ptr<Surface> Surface::Create(u32 width, u32 height) {
    if (width == 0 || height == 0 || width > 0x7FFF || height > 0x7FFF) return nullptr;
    auto surface = std::make_unique<Surface>();
    surface->width = width;
    surface->height = height;
    surface->pitch = PitchFor(width);
    size_t count = static_cast<size_t>(surface->pitch / 2) * height;
    surface->storage.reset(new (std::nothrow) u16[count]());
    if (!surface->storage) return nullptr;
    surface->pixels = surface->storage.get();
    return surface;
}

namespace {

// The rectangle cut to both surfaces; false when nothing is left.
bool CutToSurfaces(const Surface& a, const Surface& b, const DisplayRect& r, DisplayRect& out) {
    out.left = std::max(r.left, 0);
    out.top = std::max(r.top, 0);
    out.right = std::min<i64>(r.right, std::min(a.width, b.width));
    out.bottom = std::min<i64>(r.bottom, std::min(a.height, b.height));
    return out.right > out.left && out.bottom > out.top && a.pixels && b.pixels;
}

}  // namespace

void CopyRect(Surface& dst, const Surface& src, const DisplayRect& rect) {
    DisplayRect r;
    if (!CutToSurfaces(dst, src, rect, r)) return;
    for (i32 y = r.top; y < r.bottom; ++y) {
        std::memcpy(reinterpret_cast<u8*>(dst.pixels) + static_cast<size_t>(y) * dst.pitch + r.left * 2,
                    reinterpret_cast<const u8*>(src.pixels) + static_cast<size_t>(y) * src.pitch + r.left * 2,
                    static_cast<size_t>(r.right - r.left) * 2);
    }
}

void CopyRows(Surface& dst, const Surface& src, const DisplayRect& rect) {
    DisplayRect r;
    if (!CutToSurfaces(dst, src, rect, r)) return;
    if (dst.pitch != src.pitch) {
        CopyRect(dst, src, r);
        return;
    }
    std::memcpy(reinterpret_cast<u8*>(dst.pixels) + static_cast<size_t>(r.top) * dst.pitch,
                reinterpret_cast<const u8*>(src.pixels) + static_cast<size_t>(r.top) * src.pitch,
                static_cast<size_t>(r.bottom - r.top) * src.pitch);
}

// --- window hooks ---

namespace {

class Hook final : public plat::WindowListener {
public:
    Hook(plat::Window* window, ::WindowListener* listener) : window_(window), listener_(listener) {}
    plat::Window* Window() const { return window_; }

    void OnWindowEvent(plat::Window&, const plat::Event& event) override {
        switch (event.type) {
        case plat::EventType::Activate: listener_->Resume(); break;
        case plat::EventType::Deactivate: listener_->Suspend(); break;
        case plat::EventType::Expose: listener_->Repaint(); break;
        case plat::EventType::Destroy:
            // Unhooking deletes this object: nothing of it may be touched afterwards.
            Unsubclass(window_);
            return;
        default: break;
        }
    }

private:
    plat::Window* window_;
    ::WindowListener* listener_;
};

struct HookTable {
    std::array<std::unique_ptr<Hook>, kMaxSubclassed> entries;
    u32 count = 0;
};

HookTable& Hooks() {
    static HookTable table;
    return table;
}

}  // namespace

bool Subclass(plat::Window* window, WindowListener* listener) {
    HookTable& table = Hooks();
    if (!window || !listener || table.count >= kMaxSubclassed) return false;
    auto hook = std::make_unique<Hook>(window, listener);
    window->AddListener(hook.get());
    table.entries[table.count++] = std::move(hook);
    return true;
}

void Unsubclass(plat::Window* window) {
    HookTable& table = Hooks();
    for (u32 i = 0; i < table.count; ++i) {
        if (table.entries[i]->Window() != window) continue;
        std::unique_ptr<Hook> hook = std::move(table.entries[i]);
        window->RemoveListener(hook.get());
        table.entries[i] = std::move(table.entries[table.count - 1]);
        --table.count;
        return;
    }
}

u32 SubclassCount() { return Hooks().count; }

// --- display implementation ---

DisplayImpl::DisplayImpl(plat::Window* window) : window_(window) { params_.swapEffect = kSwapDiscard; }

DisplayImpl::~DisplayImpl() = default;

void DisplayImpl::Resume() {
    active_ = 1;
    locked_ = nullptr;
    if (driver_) driver_->Resume();
}

void DisplayImpl::Suspend() {
    if (driver_) driver_->Suspend();
    active_ = 0;
    locked_ = nullptr;
}

void DisplayImpl::Repaint() {
    if (driver_) driver_->Repaint();
}

bool DisplayImpl::Initialize(const DisplayParams* params) {
    if (driver_) return false;
    std::unique_ptr<VideoDriver> driver = CreateDriver(params);
    if (!driver) return false;
    if (params->orientation < kAnyOrientation && params->orientation != driver->desc.orientation) {
        DriverDesc inner = driver->desc;
        auto rotation = std::make_unique<RotationDriver>(std::move(driver));
        if (!rotation->Initialize(window_, params, &inner)) return false;
        driver = std::move(rotation);
    }
    driver_ = std::move(driver);
    params_.width = driver_->desc.width;
    params_.height = driver_->desc.height;
    params_.orientation = driver_->desc.orientation;
    if (driver_->desc.swapEffect != 0 &&
        (params->swapEffect != kSwapCopy || driver_->desc.swapEffect == kSwapCopy)) {
        params_.swapEffect = driver_->desc.swapEffect;
    } else {
        backBuffer_ = Surface::Create(params_.width, params_.height);
        if (!backBuffer_) return false;
        params_.swapEffect = kSwapCopy;
    }
    locked_ = nullptr;
    SetDirtyRect(nullptr);
    return true;
}

bool DisplayImpl::Lock() {
    if (!active_ || !driver_) return false;
    if (!locked_) locked_ = driver_->Lock();
    return locked_ != nullptr;
}

Surface* DisplayImpl::GetBackBuffer() {
    if (!locked_) return nullptr;
    return backBuffer_ ? backBuffer_.get() : locked_;
}

void DisplayImpl::SetDirtyRect(const DisplayRect* rect) {
    DisplayRect r;
    if (!rect) {
        r = {0, 0, static_cast<i32>(params_.width), static_cast<i32>(params_.height)};
    } else {
        r.left = std::max(rect->left, 0);
        r.top = std::max(rect->top, 0);
        r.right = std::min<i64>(rect->right, params_.width);
        r.bottom = std::min<i64>(rect->bottom, params_.height);
        if (r.right <= r.left || r.bottom <= r.top) r = DisplayRect{};
    }
    if (driver_) driver_->SetDirtyRect(&r);
    r.left &= ~1;
    r.top &= ~1;
    r.right = (r.right + 1) & ~1;
    r.bottom = (r.bottom + 1) & ~1;
    dirty_ = r;
    fullRows_ = driver_ && static_cast<u32>(r.right - r.left) * 2 == driver_->desc.pitch ? 1 : 0;
}

bool DisplayImpl::Present(u32 flags) {
    if (!locked_ || !active_) return false;
    if (backBuffer_) {
        if (flags & 1) driver_->BeforeCopy();
        if (fullRows_)
            CopyRows(*locked_, *backBuffer_, dirty_);
        else
            CopyRect(*locked_, *backBuffer_, dirty_);
    }
    driver_->Present(flags);
    locked_ = nullptr;
    return true;
}

WindowedDisplay::~WindowedDisplay() {
    if (window_ && window_->IsAlive()) Unsubclass(window_);
}

bool WindowedDisplay::Initialize(const DisplayParams* params) {
    if (!window_ || !window_->IsAlive()) return false;
    if (!Subclass(window_, this)) return false;
    return DisplayImpl::Initialize(params);
}

std::unique_ptr<VideoDriver> WindowedDisplay::CreateDriver(const DisplayParams* params) {
    return VideoDetect::Instance().ChooseDriver(window_, params);
}

// --- the handle ---

std::unique_ptr<Display> Display::Create(plat::Window* window, DisplayParams* params) {
    return CreateWith(std::make_unique<WindowedDisplay>(window), params);
}

std::unique_ptr<Display> Display::CreateWith(std::unique_ptr<DisplayImpl> impl, DisplayParams* params) {
    if (!params || !impl) return nullptr;
    DisplayTrace("Vantrel display layer 1.0");
    DisplayTrace("Display::Create( W:%u, H:%u, O:%u, S:%u )", params->width, params->height,
                 params->orientation, params->swapEffect);
    if (params->swapEffect == 0) {
        DisplayTrace("Swap effect forced to SWAP_DISCARD");
        params->swapEffect = kSwapDiscard;
    }
    std::unique_ptr<Display> display(new Display(std::move(impl)));
    DisplayTrace("Initializing display...");
    if (!display->impl_->Initialize(params)) {
        DisplayTrace("Failed, destroying internal structures");
        return nullptr;
    }
    *params = *display->GetParams();
    DisplayTrace("Success, returning display params to caller (W:%u, H:%u, O:%u, S:%u)", params->width,
                 params->height, params->orientation, params->swapEffect);
    return display;
}

Display::~Display() = default;

// --- driver detection ---

VideoDetect& VideoDetect::Instance() {
    static VideoDetect detect;
    return detect;
}

VideoDetect::VideoDetect() {
    DetectDrivers();
    ListModes();
}

void VideoDetect::DetectDrivers() {
    DisplayTrace("VideoDetect::DetectDrivers()");
    if (GDIDriver::Detect(&detected_)) driverIds_[driverCount_++] = kDriverGdi;
    if (detected_.orientation == kAnyOrientation) detected_.orientation = 0;
}

void VideoDetect::ListModes() {
    modes_[0] = {detected_.width, detected_.height, detected_.orientation};
    modeCount_ = 1;
    if (detected_.width % 16 == 0 && detected_.height % 16 == 0) {
        for (; modeCount_ < 4; ++modeCount_) {
            const DisplayMode& m = modes_[modeCount_ - 1];
            modes_[modeCount_] = {m.height, m.width, (m.orientation + 1) % 4};
        }
    } else if (detected_.orientation != 0) {
        if (detected_.orientation == 2)
            modes_[modeCount_++] = {detected_.width, detected_.height, 0};
        else
            modes_[modeCount_++] = {detected_.height, detected_.width, 0};
    }
}

bool VideoDetect::SupportsOrientation(const DisplayParams* params) const {
    if (params->orientation == kAnyOrientation) return true;
    for (u32 i = 0; i < modeCount_; ++i)
        if (modes_[i].orientation == params->orientation) return true;
    return false;
}

std::unique_ptr<VideoDriver> VideoDetect::ChooseDriver(plat::Window* window, const DisplayParams* params) {
    if (driverCount_ == 0 || !SupportsOrientation(params)) return nullptr;
    u32 ids[8];
    u32 n = 0;
    if (specificDriver_) {
        DisplayTrace("!!! Specific driver selected...");
        ids[n++] = specificDriver_;
    } else {
        for (u32 i = driverCount_; i > 0; --i) ids[n++] = driverIds_[i - 1];
    }
    for (u32 i = 0; i < n; ++i) {
        try {
            std::unique_ptr<VideoDriver> driver = CreateDriver(ids[i]);
            if (!driver) continue;
            DisplayTrace("Initializing video driver...");
            if (driver->Initialize(window, params, &detected_)) {
                DisplayTrace("Driver initialized!");
                return driver;
            }
            DisplayTrace(" Failed to initialize driver");
        } catch (...) {
            // An allocation that fails inside a driver costs that driver, not the program.
            DisplayTrace("*** CAUGHT EXCEPTION ***");
        }
    }
    return nullptr;
}

std::unique_ptr<VideoDriver> CreateDriver(u32 id) {
    DisplayTrace("CreateDriver( %08X )", id);
    if (id == kDriverGdi) return std::make_unique<GDIDriver>();
    return nullptr;
}
