// The display layer: one 16-bit RGB565 drawing surface for the frame window, put on the screen by a
// driver. The game sees the `Display` handle only (create, lock, back buffer, parameters, present);
// behind it the display implementation follows the window's activation and exposure through listener
// hooks on the platform window, owns the driver and, when the driver cannot keep its picture, a back
// buffer of its own.
#pragma once

#include "core/Types.h"

#include <memory>

namespace plat {
class Window;
}

struct DisplayParams {
    u32 width = 0;
    u32 height = 0;
    u32 orientation = 0;  // quarter turns 0..3; 4 = any
    u32 swapEffect = 0;   // 0 unspecified, 1 discard, 2 copy
};

inline constexpr u32 kAnyOrientation = 4;
inline constexpr u32 kSwapDiscard = 1;
inline constexpr u32 kSwapCopy = 2;

struct DriverDesc {
    u32 width = 0;
    u32 height = 0;
    u32 depth = 0;
    u32 pitch = 0;
    u32 orientation = kAnyOrientation;
    u32 swapEffect = 0;
};

struct DisplayMode {
    u32 width = 0;
    u32 height = 0;
    u32 orientation = 0;
};

// left, top, right, bottom; right and bottom exclusive.
struct DisplayRect {
    i32 left = 0, top = 0, right = 0, bottom = 0;
};

// Pixels with their size; rows of `pitch` bytes, (width x 2 + 3) & ~3 for every surface of the layer.
class Surface {
public:
    virtual ~Surface();
    static u32 PitchFor(u32 width) { return (width * 2 + 3) & ~3u; }
    // Null when the size is 0 or the pixels cannot be had.
    static std::unique_ptr<Surface> Create(u32 width, u32 height);

    u32 width = 0;
    u32 height = 0;
    u32 pitch = 0;
    u16* pixels = nullptr;  // the first row; into `storage` for a surface that Create made

private:
    std::unique_ptr<u16[]> storage;
};

// Copies of the dirty part of one surface into another of the same layout: row by row, or as one block
// when the rectangle spans whole rows. Both are cut to the smaller surface.
void CopyRect(Surface& dst, const Surface& src, const DisplayRect& rect);
void CopyRows(Surface& dst, const Surface& src, const DisplayRect& rect);

// What a display or driver does when its window is activated, deactivated or uncovered.
class WindowListener {
public:
    virtual ~WindowListener() = default;
    virtual void Resume() {}
    virtual void Suspend() {}
    virtual void Repaint() {}
};

class VideoDriver : public WindowListener {
public:
    ~VideoDriver() override = default;
    virtual bool Initialize(plat::Window* window, const DisplayParams* wanted, const DriverDesc* device) = 0;
    virtual Surface* Lock() = 0;
    virtual void Present(u32 flags) = 0;
    virtual void SetDirtyRect(const DisplayRect* rect) = 0;
    virtual void BeforeCopy() = 0;
    const DriverDesc& Desc() const { return desc; }

    DriverDesc desc;
};

class DisplayImpl : public WindowListener {
public:
    explicit DisplayImpl(plat::Window* window);
    ~DisplayImpl() override;
    void Resume() override;
    void Suspend() override;
    void Repaint() override;
    virtual bool Initialize(const DisplayParams* params);
    virtual std::unique_ptr<VideoDriver> CreateDriver(const DisplayParams* params) = 0;

    bool Lock();
    class Surface* GetBackBuffer();
    const DisplayParams* GetParams() const { return &params_; }
    bool Present(u32 flags);
    void SetDirtyRect(const DisplayRect* rect);

    bool IsActive() const { return active_ != 0; }
    VideoDriver* Driver() const { return driver_.get(); }
    bool HasOwnBackBuffer() const { return backBuffer_ != nullptr; }
    const DisplayRect& DirtyRect() const { return dirty_; }
    bool FullRows() const { return fullRows_ != 0; }

protected:
    plat::Window* window_;

private:
    DisplayParams params_;
    std::unique_ptr<VideoDriver> driver_;
    std::unique_ptr<class Surface> backBuffer_;
    class Surface* locked_ = nullptr;
    DisplayRect dirty_;
    u8 fullRows_ = 0;
    u8 active_ = 1;
};

// The display of a window: hooks the window and asks `VideoDetect` for its driver.
class WindowedDisplay : public DisplayImpl {
public:
    explicit WindowedDisplay(plat::Window* window) : DisplayImpl(window) {}
    ~WindowedDisplay() override;
    bool Initialize(const DisplayParams* params) override;
    std::unique_ptr<VideoDriver> CreateDriver(const DisplayParams* params) override;
};

class Display {
public:
    // Builds and initialises a display for the window; on success `params` holds what it really got
    // (a swap effect of 0 is turned into 1 first). Null on failure.
    static std::unique_ptr<Display> Create(plat::Window* window, DisplayParams* params);
    // The same around a given implementation (other drivers, tests).
    static std::unique_ptr<Display> CreateWith(std::unique_ptr<DisplayImpl> impl, DisplayParams* params);
    ~Display();

    bool Lock() { return impl_->Lock(); }
    Surface* GetBackBuffer() { return impl_->GetBackBuffer(); }
    const DisplayParams* GetParams() const { return impl_->GetParams(); }
    bool Present(u32 flags) { return impl_->Present(flags); }
    DisplayImpl* Impl() const { return impl_.get(); }

private:
    explicit Display(std::unique_ptr<DisplayImpl> impl) : impl_(std::move(impl)) {}
    std::unique_ptr<DisplayImpl> impl_;
};

// Registers the drivers of the machine, lists their modes and picks one. One instance serves the
// process, built when the first display asks for a driver.
class VideoDetect {
public:
    static VideoDetect& Instance();
    bool SupportsOrientation(const DisplayParams* params) const;
    std::unique_ptr<VideoDriver> ChooseDriver(plat::Window* window, const DisplayParams* params);

    const DriverDesc& Detected() const { return detected_; }
    u32 ModeCount() const { return modeCount_; }
    const DisplayMode& Mode(u32 i) const { return modes_[i]; }
    u32 DriverCount() const { return driverCount_; }

private:
    VideoDetect();
    void DetectDrivers();
    void ListModes();

    DriverDesc detected_;
    u32 modeCount_ = 0;
    DisplayMode modes_[4];
    u32 driverCount_ = 0;
    u32 driverIds_[8] = {};
    u32 specificDriver_ = 0;
};

inline constexpr u32 kDriverGdi = 1;
std::unique_ptr<VideoDriver> CreateDriver(u32 id);

// The window hooks of the displays: at most 16 windows at a time. A hooked window's activation resumes
// the listener, its deactivation suspends it, its exposure repaints it; its destruction unhooks it.
bool Subclass(plat::Window* window, WindowListener* listener);
void Unsubclass(plat::Window* window);
u32 SubclassCount();
inline constexpr u32 kMaxSubclassed = 16;

// Diagnostics of the layer: printed to stderr when VANTREL_DISPLAY_TRACE is set, dropped otherwise.
void DisplayTrace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
