// What is drawn over the finished 3D view (rain and snow streaks, the overlay pictures in its lower
// corners) and the small picture of the view that a saved game keeps.
#include "view3d/FreeFillers.h"
#include "view3d/Renderer3D.h"

#include "display/FixedMath.h"

#include <algorithm>
#include <cstdlib>

// --- weather ---

i32 CRenderer3D::WeatherRandom() {
    if (weatherRandom) return std::clamp(weatherRandom->Next(), 0, 32767);
    randomState_ = randomState_ * 214013u + 2531011u;
    return static_cast<i32>((randomState_ >> 16) & 0x7FFF);
}

i32 CRenderer3D::RandomBetween(i32 low, i32 high) {
    return low + static_cast<i32>((static_cast<i64>(WeatherRandom()) * (high - low)) / 32767);
}

void CRenderer3D::SetWeatherParameters(const CWeatherParameters& p) {
    i32 angle = p.angle;
    if (angle < 0) angle += 360 << 16;
    const i32 radians = ((angle >> 12) * 12867) / 180;
    slantSine = SinFixed(radians);
    slantCosine = CosFixed(radians);
    weatherColour = p.colour;
    weatherValue = p.value;
    const i64 W = std::max(viewWidth, 1), H = viewHeight;
    drift = static_cast<i32>(std::abs((H * slantSine) >> 16));
    lengthMin = static_cast<i32>((((W * p.a) / 380) >> 8) * (slantCosine >> 8));
    lengthMax = static_cast<i32>((((W * p.b) / 380) >> 8) * (slantCosine >> 8));
    speedMin = static_cast<i32>((((p.d >> 8) * W) / 380) << 8);
    speedMax = static_cast<i32>((((p.e >> 8) * W) / 380) << 8);
}

void CRenderer3D::SpawnParticle(CWeatherParticle& p, bool fresh) {
    const i64 W = viewWidth, H = viewHeight;
    p.length = static_cast<i32>(
        ((static_cast<i64>(WeatherRandom()) * ((lengthMax >> 6) - (lengthMin >> 6))) / 32767 +
         (lengthMin >> 6)) *
        64);
    if (fresh) {
        p.x = static_cast<i32>(((WeatherRandom() * (W * 32 - 32)) / 32767) * 2048);
        p.y = static_cast<i32>(((WeatherRandom() * (H * 32 - 32)) / 32767) * 2048);
    } else {
        const i64 x0 = ((WeatherRandom() * ((W + drift) * 32 - 1)) / 32767) * 2048;
        if (x0 < W * 65536) {
            p.x = static_cast<i32>(x0);
            p.y = static_cast<i32>(((WeatherRandom() * ((W * 32) / 20)) / 32767) * 2048);
        } else {
            // Entering from the side the slant drifts from.
            p.y = drift > 0 ? static_cast<i32>((((x0 - W * 65536) >> 8) * H / drift) << 8) : 0;
            const i64 in = static_cast<i64>(RandomBetween(0, static_cast<i32>((W * 32) / 20))) * 2048;
            p.x = static_cast<i32>(slantSine < 0 ? W * 65536 - in - 32768 : in);
        }
    }
    const i64 v =
        (static_cast<i64>(WeatherRandom()) * ((speedMax >> 8) - (speedMin >> 8))) / 32767 + (speedMin >> 8);
    p.dx = static_cast<i32>((slantSine >> 8) * v);
    p.dy = static_cast<i32>((slantCosine >> 8) * v);
}

void CRenderer3D::StartWeatherParticles(i32 count, const CWeatherParameters& p) {
    SetWeatherParameters(p);
    count = std::clamp(count, 0, kMaxWeatherParticles);
    particleCount = wantedParticles = count;
    for (i32 i = 0; i < count; ++i) SpawnParticle(particles[static_cast<size_t>(i)], true);
}

void CRenderer3D::ChangeWeatherParticles(i32 count, const CWeatherParameters& p) {
    SetWeatherParameters(p);
    count = std::clamp(count, 0, kMaxWeatherParticles);
    if (count >= particleCount) {
        for (i32 i = particleCount; i < count; ++i) SpawnParticle(particles[static_cast<size_t>(i)], true);
        particleCount = count;
    }
    wantedParticles = count;
}

void CRenderer3D::MoveWeatherParticles(i32 elapsed) {
    const i32 W = viewWidth, H = viewHeight;
    for (i32 i = 0; i < particleCount;) {
        CWeatherParticle& p = particles[static_cast<size_t>(i)];
        p.y += (p.dy >> 10) * (elapsed >> 6);
        p.x += (p.dx >> 10) * (elapsed >> 6);
        if ((p.y >> 16) > H - 1 || (p.x >> 16) < 0 || (p.x >> 16) > W - 1) {
            if (particleCount > wantedParticles) {
                std::copy(particles.begin() + i + 1, particles.begin() + particleCount,
                          particles.begin() + i);
                --particleCount;
                continue;
            }
            SpawnParticle(p, false);
        }
        ++i;
    }
}

void CRenderer3D::DrawWeatherParticles(bool firstGroup) {
    if (!target3D.pixels) return;
    const i32 split = particleCount * 9 / 10;
    const i32 from = firstGroup ? 0 : split, to = firstGroup ? split : particleCount;
    const i32 W = viewWidth, H = viewHeight;
    const i32 j = WeatherRandom();
    for (i32 i = from; i < to; ++i) {
        const CWeatherParticle& p = particles[static_cast<size_t>(i)];
        i32 x = p.x;
        for (i32 row = p.y >> 16; row < (p.y + p.length) >> 16; ++row, x += slantSine) {
            const i32 column = (x >> 16) - 1 + (j + i) % 3;
            // Row 0 and column 0 are never drawn.
            if (row > 0 && row < H && column > 0 && column < W)
                target3D.pixels[FrameOffset(target3D, column, row)] = weatherColour;
        }
    }
}

// --- overlays ---

void CRenderer3D::BlitOverlay(const CTextureDesc& t, i32 x, i32 y, i32 sourceX, i32 width, i32 height,
                              bool mirrored) {
    // Cut to the view rectangle on all four sides.
    const i32 c0 = std::max(0, -x), c1 = std::min(width, viewWidth - x);
    const i32 r0 = std::max(0, -y), r1 = std::min(height, viewHeight - y);
    for (i32 r = r0; r < r1; ++r) {
        for (i32 c = c0; c < c1; ++c) {
            const i32 sx = mirrored ? sourceX + width - 1 - c : sourceX + c;
            u16 colour;
            if (PictureTexelAt(t, sx, r, false, colour))
                target3D.pixels[FrameOffset(target3D, x + c, y + r)] = colour;
        }
    }
}

void CRenderer3D::DrawViewOverlays() {
    if (!viewState || !target3D.pixels || viewWidth <= 0 || viewHeight <= 0) return;
    const CViewState3D& vs = *viewState;
    auto pct = [](u16 v) { return std::min<i32>(v, 100); };
    const i32 aH = pct(vs.overlayAHeight), aW = pct(vs.overlayAWidth);
    const i32 bH = pct(vs.overlayBHeight), bW = pct(vs.overlayBWidth);
    const i32 W = viewWidth, H = viewHeight;
    CTextureDesc a, b;
    if (vs.overlayB && LookUpTexture(vs.overlayB, vs.overlayBPalette, b)) {
        const i32 vw = b.width * bW / 100, vh = b.height * bH / 100;
        BlitOverlay(b, W - vw, H - vh, 0, vw, vh, false);
        if (vs.overlayFollow && vs.overlayA) {
            if (LookUpTexture(vs.overlayA, vs.overlayAPalette, a))
                BlitOverlay(a, vs.overlayAColumn - vw + W, vs.overlayARow - vh + H, 0, a.width, a.height,
                            false);
            return;
        }
    }
    if (vs.overlayA && LookUpTexture(vs.overlayA, vs.overlayAPalette, a)) {
        const i32 vh = a.height * aH / 100, vw = a.width * aW / 100;
        if (vs.overlayAMirrored)
            BlitOverlay(a, 0, H - vh, 0, a.width, vh, true);
        else
            BlitOverlay(a, 0, H - vh, ((100 - aW) * a.width) / 100, vw, vh, false);
    }
}

// --- thumbnail ---

void CRenderer3D::ScaleViewInto(u16* buffer, i32 x0, i32 y0, i32 width, i32 height) const {
    if (width <= 0 || height <= 0 || viewWidth <= 0 || viewHeight <= 0 || !target3D.pixels) return;
    const i64 stepX = (static_cast<i64>(viewWidth) << 16) / width,
              stepY = (static_cast<i64>(viewHeight) << 16) / height;
    for (i32 r = 0; r < height; ++r) {
        const i32 sy = std::min(static_cast<i32>((r * stepY) >> 16), viewHeight - 1);
        for (i32 c = 0; c < width; ++c) {
            const i32 sx = std::min(static_cast<i32>((c * stepX) >> 16), viewWidth - 1);
            buffer[(y0 + r) * kThumbnailWidth + x0 + c] = target3D.pixels[FrameOffset(target3D, sx, sy)];
        }
    }
}

void CRenderer3D::MakeViewThumbnail(u16* buffer) {
    std::fill(buffer, buffer + kThumbnailWidth * kThumbnailHeight, static_cast<u16>(0));
    if (viewState) SetupView();
    const i32 W = viewWidth, H = viewHeight;
    if (W <= 0 || H <= 0 || !target3D.pixels) return;  // an empty view gives a black picture
    const i32 tw = (W * kThumbnailHeight) / H;
    if (tw <= kThumbnailWidth) {
        ScaleViewInto(buffer, (kThumbnailWidth - tw) / 2, 0, tw, kThumbnailHeight);
    } else {
        const i32 th = (H * kThumbnailWidth) / W;
        ScaleViewInto(buffer, 0, (kThumbnailHeight - th) / 2, kThumbnailWidth, th);
    }
}
