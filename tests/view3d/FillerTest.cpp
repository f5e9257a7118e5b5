// The filler machinery: exact steppers, the coverage rule and walker ties, the fog factor and blend.
#include "view3d/Fillers.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct Canvas {
    i32 w, h;
    std::vector<u16> pixels;
    CFrameTarget target;
    Canvas(i32 width, i32 height) : w(width), h(height), pixels(static_cast<size_t>(width) * height, 0) {
        target.pixels = pixels.data();
        target.pitch = width;
        target.orientation = 0;
        SetFrameTargetSteps(target);
    }
    u16 At(i32 x, i32 y) const { return pixels[static_cast<size_t>(y * w + x)]; }
};

// Floor of a / b for b > 0.
i64 FloorDiv(i64 a, i64 b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

TEST(FillerTest, StepperEqualsTheExactValueAtEveryPixelCentre) {
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        i32 y0 = static_cast<i32>(random() % 4000) - 2000;
        i32 y1 = y0 + 1 + static_cast<i32>(random() % 3000);
        i32 q0 = static_cast<i32>(random() % 200000) - 100000;
        i32 q1 = static_cast<i32>(random() % 200000) - 100000;
        CEdgeStepper s;
        SetUpEdgeStepper(s, y0, y1, q0, q1);
        for (i32 y = FirstCentre(y0); y < y1; y += 16) {
            // q at y with the fraction dropped towards q0, and the exact remainder.
            i64 num = static_cast<i64>(y - y0) * (q1 - q0), dy = y1 - y0;
            i64 exact = q1 > q0 ? q0 + FloorDiv(num, dy) : q0 - FloorDiv(-num, dy);
            ASSERT_EQ(s.value, exact) << i;
            i64 rem = (num >= 0 ? num : -num) % dy;
            ASSERT_EQ(s.error, rem) << i;
            s.Step();
        }
    }
}

TEST(FillerTest, CellStepperSamplesAtCellBoundaries) {
    CEdgeStepper s;
    SetUpCellEdgeStepper(s, 100, 3172, 0, 3072);  // x = y - 100 along the edge
    EXPECT_EQ(s.value, 924);                      // at y = 1024
    EXPECT_TRUE(s.rising);
    s.Step();
    EXPECT_EQ(s.value, 1948);
    CEdgeStepper flat;
    SetUpCellEdgeStepper(flat, 0, 2048, 50, 50);
    EXPECT_TRUE(flat.rising);  // a constant counts as rising here, as falling for the pixel stepper
    CEdgeStepper pixel;
    SetUpEdgeStepper(pixel, 0, 32, 50, 50);
    EXPECT_FALSE(pixel.rising);
}

TEST(FillerTest, TriangleCoverage) {
    Canvas c(16, 16);
    const CScreenVertex v[3] = {{0, 0, 1}, {160, 0, 1}, {0, 160, 1}};
    u32 written = FillFlatPolygon(c.target, 3, v, 1);
    for (i32 y = 0; y < 16; ++y)
        for (i32 x = 0; x < 16; ++x) EXPECT_EQ(c.At(x, y), (y <= 8 && x <= 8 - y) ? 1 : 0) << x << "," << y;
    EXPECT_EQ(written, 45u);
}

TEST(FillerTest, CentresOnEdgesAndBetweenRows) {
    // All vertices between two row centres: nothing.
    Canvas a(8, 8);
    const CScreenVertex thin[4] = {{0, 9, 1}, {64, 9, 1}, {64, 23, 1}, {0, 23, 1}};
    EXPECT_EQ(FillFlatPolygon(a.target, 4, thin, 1), 0u);
    // A left edge exactly on a centre includes that pixel, a right edge on one excludes it.
    Canvas b(8, 4);
    const CScreenVertex box[4] = {{24, 0, 1}, {56, 0, 1}, {56, 64, 1}, {24, 64, 1}};
    FillFlatPolygon(b.target, 4, box, 1);
    for (i32 x = 0; x < 8; ++x) EXPECT_EQ(b.At(x, 0), (x >= 1 && x <= 2) ? 1 : 0) << x;
    // A right edge a hair right of a centre (rising) includes it, a hair left (falling) does not.
    Canvas r(8, 8);
    const CScreenVertex rise[3] = {{0, 0, 1}, {40, 0, 1}, {0, 80, 1}};  // right edge falls in x
    FillFlatPolygon(r.target, 3, rise, 1);
    // Row 0 centre y = 8: right x = 40 - 8 / 2 = 36: pixels 0..1 (centres 8, 24) are left of it.
    EXPECT_EQ(r.At(1, 0), 1);
    EXPECT_EQ(r.At(2, 0), 0);
}

TEST(FillerTest, WalkerTiesPickTheOuterTopVertices) {
    const CScreenVertex v[4] = {{32, 0, 1}, {96, 0, 1}, {96, 64, 1}, {32, 64, 1}};
    CEdgeWalker a, b;
    InitEdgeWalkers(v, 4, false, a, b);
    EXPECT_EQ(a.start, 0);
    EXPECT_EQ(b.start, 1);
    EXPECT_EQ(a.end, 3);
    EXPECT_EQ(b.end, 2);
    // Full ties go to the lower index.
    const CScreenVertex same[3] = {{5, 5, 1}, {5, 5, 1}, {5, 5, 1}};
    InitEdgeWalkers(same, 3, false, a, b);
    EXPECT_EQ(a.start, 0);
    EXPECT_EQ(b.end, 0);
}

TEST(FillerTest, SharedEdgesCoverEveryPixelOnce) {
    // Random convex fans: each triangle of a fan filled into a counting buffer; every pixel inside is
    // counted once however the shared edges fall.
    std::mt19937 random(11);
    for (int t = 0; t < 300; ++t) {
        const i32 W = 32, H = 32;  // the fans stay inside: fillers do not clip
        std::vector<u16> sum(static_cast<size_t>(W * H), 0);
        CScreenVertex centre{static_cast<i32>(150 + random() % 170), static_cast<i32>(150 + random() % 170),
                             1};
        // Points on a circle round the centre, clockwise on the screen (y down), so the whole is convex.
        const int n = 3 + static_cast<int>(random() % 6);
        const double rad = 60 + random() % 80;
        std::vector<CScreenVertex> ring;
        for (int k = 0; k < n; ++k) {
            double a = 2 * 3.14159265 * (k + (random() % 100) / 200.0) / n;
            ring.push_back({centre.x + static_cast<i32>(rad * std::cos(a)),
                            centre.y + static_cast<i32>(rad * std::sin(a)), 1});
        }
        for (int k = 0; k < n; ++k) {
            std::vector<u16> one(static_cast<size_t>(W * H), 0);
            CFrameTarget target{one.data(), W, 0, 1, W, W, H};
            CScreenVertex tri[3] = {centre, ring[static_cast<size_t>(k)],
                                    ring[static_cast<size_t>((k + 1) % n)]};
            FillFlatPolygon(target, 3, tri, 1);
            for (size_t i = 0; i < one.size(); ++i) sum[i] = static_cast<u16>(sum[i] + one[i]);
        }
        std::vector<u16> whole(static_cast<size_t>(W * H), 0);
        CFrameTarget target{whole.data(), W, 0, 1, W, W, H};
        FillFlatPolygon(target, n, ring.data(), 1);
        for (size_t i = 0; i < sum.size(); ++i) ASSERT_LE(sum[i], 1) << "fan " << t << " pixel " << i;
        EXPECT_EQ(sum, whole) << "fan " << t;
    }
}

TEST(FillerTest, FogFactorAndBlend) {
    EXPECT_EQ(FogBlend(0xF800, SpreadColour(0x0000), 16), 0x7800);
    EXPECT_EQ(FogBlend(0x0000, SpreadColour(0xFFFF), 16), 0x7BEF);
    EXPECT_EQ(FogBlend(0xFFFF, SpreadColour(0x0000), 31), 0xF7BE);
    EXPECT_EQ(FogBlend(0x1234, SpreadColour(0xBEEF), 0), 0xBEEF);
    EXPECT_EQ(FogBlend(0x1234, SpreadColour(0xBEEF), 32), 0x1234);
    EXPECT_EQ(SpreadColour(0xFFFF), kFixedFogColour);
    // Every channel moves linearly from the fog colour to the texel.
    std::mt19937 random(2);
    for (int i = 0; i < 5000; ++i) {
        u16 t = static_cast<u16>(random()), f = static_cast<u16>(random());
        i32 k = static_cast<i32>(random() % 33);
        u16 r = FogBlend(t, SpreadColour(f), k);
        auto channel = [](u16 c, int shift, int mask) { return (c >> shift) & mask; };
        for (auto [shift, mask] : {std::pair{11, 31}, std::pair{5, 63}, std::pair{0, 31}}) {
            i32 tc = channel(t, shift, mask), fc = channel(f, shift, mask);
            i32 expected = fc + (((tc - fc) * k) >> 5);
            i32 got = channel(r, shift, mask);
            ASSERT_LE(std::abs(got - expected), 1) << t << " " << f << " " << k;
        }
    }
    // The factor: weight 128 and more is clear, 0 is all fog, a negative value is clear.
    EXPECT_EQ(FogFactor(8 * 128 * 1000, 1000), 32);
    EXPECT_EQ(FogFactor(8 * 200 * 1000, 1000), 32);
    EXPECT_EQ(FogFactor(0, 1000), 0);
    EXPECT_EQ(FogFactor(8 * 64 * 1000, 1000), 16);
    EXPECT_EQ(FogFactor(-8 * 10 * 1000, 1000), 32);
}

TEST(FillerTest, SpanSetUp) {
    // From 0 to 160 (1/16 texel) over a span from x = 8 to 168: ten texels over ten pixels.
    i32 step = SpanCoordinateStep(0, 160, 8, 168);
    EXPECT_EQ(step, 4096);
    EXPECT_EQ(SpanCoordinateStart(0, 0, 8, step), 0);
    EXPECT_EQ(SpanCoordinateStart(0, 1, 8, step), 4096);
    EXPECT_EQ(SpanCoordinateStep(5, 99, 40, 40), 0);
}

}  // namespace
