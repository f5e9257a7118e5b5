// A driver around another whose surface is turned against the orientation the game wants: the game
// draws upright into this driver's own surface, and each present copies the dirty part into the inner
// surface turned by a quarter, a half or three quarters, in 16 x 16 tiles. Tiles at the edges of a
// surface whose sides are not multiples of 16 are cut, so nothing is written outside either surface.
#pragma once

#include "display/Display.h"

class RotationDriver final : public VideoDriver {
public:
    explicit RotationDriver(std::unique_ptr<VideoDriver> inner);
    ~RotationDriver() override;

    bool Initialize(plat::Window* window, const DisplayParams* wanted, const DriverDesc* inner) override;
    Surface* Lock() override;
    void Present(u32 flags) override;
    void SetDirtyRect(const DisplayRect* rect) override;
    void BeforeCopy() override {}
    void Resume() override { inner_->Resume(); }
    void Suspend() override { inner_->Suspend(); }
    void Repaint() override { inner_->Repaint(); }

    u32 Difference() const { return difference_; }
    const DisplayRect& InnerRect() const { return rect_; }
    VideoDriver* Inner() const { return inner_.get(); }

    // Copies the own surface's rectangle (in inner coordinates) into the inner surface, turned by d
    // quarters; by columns of tiles or by rows of tiles (the same pixels either way).
    static void CopyTurned(Surface& inner, const Surface& own, const DisplayRect& rect, u32 d,
                           bool byColumns);

private:
    std::unique_ptr<VideoDriver> inner_;
    std::unique_ptr<Surface> own_;
    Surface* innerLocked_ = nullptr;
    u32 difference_ = 0;
    bool byColumnsClear_ = false;  // loop order for flags with bit 0 clear
    bool byColumnsSet_ = false;    // and with it set
    DisplayRect rect_;
};
