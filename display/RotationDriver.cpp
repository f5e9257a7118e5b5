#include "display/RotationDriver.h"

#include <algorithm>

RotationDriver::RotationDriver(std::unique_ptr<VideoDriver> inner) : inner_(std::move(inner)) {}

RotationDriver::~RotationDriver() = default;

bool RotationDriver::Initialize(plat::Window*, const DisplayParams* wanted, const DriverDesc* inner) {
    DisplayTrace("RotationDriver: Initialize()");
    u32 w = wanted->orientation < kAnyOrientation ? wanted->orientation : inner->orientation;
    difference_ = (inner->orientation + 4 - w % 4) % 4;
    u32 width = inner->width, height = inner->height;
    if (difference_ & 1) std::swap(width, height);
    desc = DriverDesc{};
    desc.width = width;
    desc.height = height;
    desc.orientation = w;
    desc.swapEffect = kSwapCopy;
    own_ = Surface::Create(width, height);
    if (!own_) return false;
    // Turns by a quarter walk tile columns when bit 0 of the flags is clear and tile rows when it is
    // set; an inner driver without a swap effect always gets the first.
    byColumnsClear_ = (difference_ & 1) != 0;
    byColumnsSet_ = false;
    if (inner->swapEffect == 0) byColumnsSet_ = byColumnsClear_;
    return true;
}

Surface* RotationDriver::Lock() {
    innerLocked_ = inner_->Lock();
    return innerLocked_ ? own_.get() : nullptr;
}

void RotationDriver::SetDirtyRect(const DisplayRect* r) {
    if (!r) return;
    const i32 W = static_cast<i32>(inner_->desc.width), H = static_cast<i32>(inner_->desc.height);
    DisplayRect t;
    switch (difference_) {
    case 1: t = {W - r->bottom, r->left, W - r->top, r->right}; break;
    case 2: t = {W - r->right, H - r->bottom, W - r->left, H - r->top}; break;
    case 3: t = {r->top, H - r->right, r->bottom, H - r->left}; break;
    default: t = *r; break;
    }
    inner_->SetDirtyRect(&t);
    rect_ = {t.left & ~15, t.top & ~15, (t.right + 15) & ~15, (t.bottom + 15) & ~15};
}

void RotationDriver::CopyTurned(Surface& inner, const Surface& own, const DisplayRect& rect, u32 d,
                                bool byColumns) {
    if (!inner.pixels || !own.pixels) return;
    const i32 w = static_cast<i32>(own.width), h = static_cast<i32>(own.height);
    const i32 left = std::max(rect.left, 0), top = std::max(rect.top, 0);
    const i32 right = std::min<i64>(rect.right, inner.width),
              bottom = std::min<i64>(rect.bottom, inner.height);
    if (right <= left || bottom <= top) return;
    auto tile = [&](i32 x0, i32 y0) {
        for (i32 Y = y0; Y < std::min(y0 + 16, bottom); ++Y) {
            u16* dst = reinterpret_cast<u16*>(reinterpret_cast<u8*>(inner.pixels) +
                                              static_cast<size_t>(Y) * inner.pitch);
            for (i32 X = x0; X < std::min(x0 + 16, right); ++X) {
                i32 sx, sy;
                switch (d) {
                case 1:
                    sx = Y;
                    sy = h - 1 - X;
                    break;
                case 2:
                    sx = w - 1 - X;
                    sy = h - 1 - Y;
                    break;
                case 3:
                    sx = w - 1 - Y;
                    sy = X;
                    break;
                default:
                    sx = X;
                    sy = Y;
                    break;
                }
                if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
                dst[X] = reinterpret_cast<const u16*>(reinterpret_cast<const u8*>(own.pixels) +
                                                      static_cast<size_t>(sy) * own.pitch)[sx];
            }
        }
    };
    if (byColumns) {
        for (i32 x0 = left; x0 < right; x0 += 16)
            for (i32 y0 = top; y0 < bottom; y0 += 16) tile(x0, y0);
    } else {
        for (i32 y0 = top; y0 < bottom; y0 += 16)
            for (i32 x0 = left; x0 < right; x0 += 16) tile(x0, y0);
    }
}

void RotationDriver::Present(u32 flags) {
    if (innerLocked_) {
        if (flags & 1) inner_->BeforeCopy();
        CopyTurned(*innerLocked_, *own_, rect_, difference_, (flags & 1) ? byColumnsSet_ : byColumnsClear_);
    }
    inner_->Present(flags);
    innerLocked_ = nullptr;
}
