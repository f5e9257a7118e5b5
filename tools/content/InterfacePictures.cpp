#include "tools/content/InterfacePictures.h"
// The tables below are laid out by hand in rows and columns; the formatter leaves them so.
// clang-format off

#include <cmath>
#include <functional>
#include <set>
#include <stdexcept>

#include "ui/InterfacePictureRoles.h"
#include "tools/content/LayoutTable.h"
#include "tools/content/Painter.h"
#include "tools/content/SplashTitle.h"

using namespace palette;

// Which base numbers show what. The interface names a few of these (the message-box frame 3015-3023,
// the book frames, the gauges, map pictures, wear marks, paper doll ...); where it leaves a picture's
// role open, the choices are those of app/InterfacePictureRoles.h, which the game's screens use too:
// the standard button frames 3024-3029, the list frame 3140-3148, the message background 3019, the
// large and compact frame sets 3291-3299 and 3039-3047, the OK, Cancel, Yes, No and Continue pairs,
// the screen and dialog backgrounds 3200 and 3231, the panel state pictures 3350 and 3351, and the
// HUD's pictures and buttons.
// The painting below follows these roles; a change of role is a change of both.
static_assert(kPictureButtonFrame == 3024 && kPictureButtonFramePressed == 3027 && kPictureListFrame == 3140);
static_assert(kPictureLargeFrameSet == 3291 && kPictureCompactFrameSet == 3039 && kPictureMessageBackground == 3019);
static_assert(kPictureScreenBackground == 3200 && kPictureDialogBackground == 3231 && kPictureHudSide == 3231);
static_assert(kPictureOk == 3100 && kPictureCancel == 3102 && kPictureTextButton == 3104 && kPictureKeyFrame == 3106);
static_assert(kPictureYes == 3491 && kPictureNo == 3493 && kPictureContinue == 3495);
static_assert(kPictureListPageUp == 3110 && kPictureListPageDown == 3112 && kPictureClose == 3114);
static_assert(kPictureMoveButtons == 3236 && kPictureSpellBookButton == 3284 && kPicturePanelButton == 3286);
static_assert(kPictureHands == 3224 && kPictureHandFrames == 3227 && kPicturePanelStateOff == 3350);

namespace {

const std::vector<InterfacePictureRun> kRuns = {
    {3007, 2, 3007, 3007}, {3015, 9, 3670, 3015}, {3024, 6, 3679, 4069}, {3030, 9, 3882, 3030},
    {3039, 9, 3873, 3039}, {3090, 8, 3090, 3090}, {3100, 8, 3100, 3100}, {3110, 6, 3658, 4075},
    {3120, 8, 3120, 3120}, {3130, 2, 4141, 4143}, {3140, 9, 3140, 3140}, {3150, 8, 3150, 3150},
    {3160, 4, 3160, 3160}, {3170, 4, 3170, 3170}, {3180, 8, 3180, 3180}, {3190, 8, 3190, 3190},
    {3200, 1, 3200, 3200}, {3210, 8, 3210, 3210}, {3220, 4, 4229, 3220}, {3224, 6, 3685, 3224},
    {3230, 6, 4063, 4145}, {3236, 14, 3695, 3236}, {3250, 18, 3891, 3250}, {3270, 19, 3709, 3270},
    {3289, 2, 3728, 4112}, {3291, 9, 3909, 3291}, {3300, 5, 3300, 3300}, {3306, 2, 3730, 4114},
    {3310, 14, 3855, 3310}, {3324, 4, 3691, 3324}, {3330, 8, 4233, 3330}, {3340, 6, 3841, 4082},
    {3346, 3, 3346, 3346}, {3349, 1, 4029, 3349}, {3350, 2, 3732, 3350}, {3352, 1, 4030, 3352},
    {3358, 20, 3803, 4092}, {3378, 6, 3378, 3378}, {3385, 3, 3919, 4151}, {3390, 4, 3869, 3390},
    {3400, 69, 3734, 4160}, {3470, 6, 3833, 3470}, {3478, 2, 3839, 3478}, {3480, 4, 3829, 3480},
    {3484, 2, 3484, 3484}, {3486, 2, 3940, 3486}, {3488, 1, 3918, 4088}, {3489, 2, 3938, 3489},
    {3491, 4, 3934, 3491}, {3495, 2, 3495, 3495}, {3497, 2, 3497, 3497}, {3500, 8, 3500, 3500},
    {3510, 8, 3510, 3510}, {3530, 1, 3530, 3530}, {3532, 3, 3931, 4089}, {3550, 8, 3550, 3550},
    {3823, 6, 3823, 3823}, {3923, 8, 3923, 3923}, {4027, 2, 4027, 4027}, {4037, 10, 4037, 4037},
    {4047, 2, 4047, 4047}, {4049, 4, 4049, 4049}, {4059, 4, 4059, 4059}, {4116, 6, 4122, 4128},
    {4134, 4, 4134, 4134}, {4138, 1, 4139, 4140}, {4154, 4, 4154, 4154},
};

// A pressed/normal pair of icon buttons: even offsets in the run are normal, odd ones pressed.
Canvas PairButton(int index, int w, int h, const std::vector<Icon>& icons, Rgba colour = kGoldLight) {
    return PaintButton(w, h, icons.at(index / 2), index % 2 == 1, colour);
}

Canvas IconOnly(int w, int h, Icon icon, Rgba colour) {
    Canvas c(w, h);
    PaintIcon(c, icon, 0, 0, std::min(w, h), colour);
    return c;
}

// A round badge with an icon: the status and attribute pictures.
Canvas Badge(int size, Icon icon, Rgba ring, Rgba colour = kGoldLight) {
    Canvas c(size, size);
    c.Disc(size / 2.0f, size / 2.0f, size / 2.0f - 0.5f, kBlack);
    c.Disc(size / 2.0f, size / 2.0f, size / 2.0f - 1.5f, ring);
    c.Disc(size / 2.0f, size / 2.0f, size / 2.0f - 3.5f, kWoodDark);
    int inner = size * 2 / 3;
    PaintIcon(c, icon, (size - inner) / 2, (size - inner) / 2, inner, colour);
    return c;
}

// Gauge pieces: a rounded metal cap and a glossy fill.
Canvas GaugePiece(int w, int h, bool horizontal, int piece, Rgba colour) {
    Canvas c(w, h, kBlack);
    if (piece == 1) {
        // The fill: light in the middle of its thickness, dark at the edges.
        int t = horizontal ? h : w;
        for (int k = 0; k < t; ++k) {
            float f = 1.0f - std::fabs((k + 0.5f) / t - 0.4f) * 1.4f;
            Rgba col = Shade(colour, 0.55f + 0.7f * f);
            if (horizontal) c.Fill(0, k, w, 1, col);
            else c.Fill(k, 0, 1, h, col);
        }
        if (horizontal) c.Fill(0, 0, w, 1, kBlack), c.Fill(0, h - 1, w, 1, kBlack);
        else c.Fill(0, 0, 1, h, kBlack), c.Fill(w - 1, 0, 1, h, kBlack);
    } else {
        c.Fill(1, 1, w - 2, h - 2, kGoldDark);
        c.Bevel(1, 1, w - 2, h - 2, kGoldLight, kGoldDark, 1);
        c.Fill(2, 2, w - 4, h - 4, kGold);
    }
    return c;
}

// One of the 69 map pictures, 16 x 16. 0 is the unexplored ground that the map view tiles and the
// outside of the map; 1..30 explored floors; 31..54 cell contents drawn over a floor (transparent
// around them); 55..58 the player's arrow facing 0, 90, 180, 270 degrees (north, west, south, east); 59, 60 spare marks; 61..68
// the border of the active surface area (61 top, 62 top-right, 63 right, 64 bottom-right, 65 bottom,
// 66 bottom-left, 67 left, 68 top-left).
Canvas MapPicture(int i) {
    const int s = 16;
    if (i == 0) {
        Canvas c(s, s, Rgb(0x1A140E));
        c.Grain(0, 0, s, s, 0.25f, 99);
        return c;
    }
    if (i <= 30) {
        // Floors: stone, earth, grass, sand, water, lava, wood planks, marble, snow, swamp.
        static const uint32_t kFloors[] = {0x6A6A70, 0x6E5434, 0x3E7A34, 0xC8B27A, 0x2A5A9A, 0xB8401A,
                                           0x8A6238, 0xC8C4BC, 0xE4E8F0, 0x4A5A32};
        Rgba base = Rgb(kFloors[(i - 1) % 10]);
        Canvas c(s, s, Shade(base, 1.0f - 0.08f * ((i - 1) / 10)));
        c.Grain(0, 0, s, s, 0.10f, 200 + i);
        if ((i - 1) % 10 == 0 || (i - 1) % 10 == 7) c.Frame(0, 0, s, s, Shade(base, 0.75f), 1);  // flagstones
        if ((i - 1) % 10 == 6)
            for (int y = 3; y < s; y += 4) c.Fill(0, y, s, 1, Shade(base, 0.6f));  // planks
        if ((i - 1) % 10 == 4)
            for (int y = 3; y < s; y += 5) c.Line(Pt{2, y + 0.5f}, Pt{7, y - 0.5f}, 1, Rgb(0x6A9AD8));  // ripples
        return c;
    }
    Canvas c(s, s);
    if (i <= 42) {
        // Walls and blocks: a solid square of brick, stone or wood in varying shades.
        static const uint32_t kWalls[] = {0x5A3A2A, 0x505058, 0x3A2A1A, 0x6A5A4A};
        Rgba w = Rgb(kWalls[(i - 31) % 4]);
        c.Fill(0, 0, s, s, w);
        c.Bevel(0, 0, s, s, Shade(w, 1.5f), Shade(w, 0.5f), 1);
        if ((i - 31) % 2 == 0)
            for (int y = 4; y < s; y += 4) c.Fill(1, y, s - 2, 1, Shade(w, 0.65f));
        if (i >= 39) c.Grain(1, 1, s - 2, s - 2, 0.15f, 300 + i);
        return c;
    }
    static const Icon kFeatures[] = {Icon::Door, Icon::Door, Icon::ArrowUp, Icon::ArrowDown, Icon::Bag, Icon::Star,
                                     Icon::Skull, Icon::Flame, Icon::Key, Icon::Lock, Icon::Person, Icon::Coin};
    if (i <= 54) {
        PaintIcon(c, kFeatures[i - 43], 1, 1, s - 2, i == 44 ? kRed : kGoldLight);
        return c;
    }
    if (i <= 58) {
        PaintIcon(c, Icon::ArrowUp, 0, 0, s, Rgb(0xF8E060));
        Canvas turned(s, s);
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x) {
                int sx = x, sy = y;
                switch (i - 55) {
                // Facing turns anticlockwise: 90 looks west, 270 east.
                case 1: sx = s - 1 - y, sy = x; break;          // 90: pointing left
                case 2: sx = s - 1 - x, sy = s - 1 - y; break;  // 180: down
                case 3: sx = y, sy = s - 1 - x; break;          // 270: right
                default: break;
                }
                turned.Set(x, y, c.Get(sx, sy));
            }
        return turned;
    }
    if (i <= 60) {
        PaintIcon(c, i == 59 ? Icon::Pin : Icon::Dot, 2, 2, s - 4, i == 59 ? kRed : Rgb(0x60C0F0));
        return c;
    }
    // Border of the active area: a gold line along the named sides.
    Rgba line = Rgb(0xE8C050);
    bool top = i == 61 || i == 62 || i == 68, bottom = i == 64 || i == 65 || i == 66;
    bool left = i == 66 || i == 67 || i == 68, right = i == 62 || i == 63 || i == 64;
    if (top) c.Fill(0, 0, s, 2, line);
    if (bottom) c.Fill(0, s - 2, s, 2, line);
    if (left) c.Fill(0, 0, 2, s, line);
    if (right) c.Fill(s - 2, 0, 2, s, line);
    return c;
}

// The paper doll: a figure outline with the equipment squares at the large-layout slot offsets.
Canvas PaperDoll() {
    const int w = 224, h = 256;
    Canvas c = PaintParchment(w, h, 41);
    c.Frame(0, 0, w, h, kGoldDark, 2);
    Rgba body = Rgba{90, 60, 30, 90};
    c.Disc(w / 2.0f, 40, 22, body);
    c.Polygon({{80, 66}, {144, 66}, {160, 150}, {140, 150}, {136, 250}, {116, 250}, {112, 170}, {108, 250}, {88, 250}, {84, 150}, {64, 150}}, body);
    static const int kSlots[][2] = {{85, 6}, {164, 66}, {8, 7}, {8, 66}, {164, 128}, {8, 128}, {85, 72},
                                    {159, 198}, {11, 198}, {85, 125}, {85, 195}, {164, 7}};
    for (const auto& s : kSlots) {
        c.Fill(s[0], s[1], 50, 50, Rgba{40, 26, 14, 110});
        c.Frame(s[0], s[1], 50, 50, kGoldDark, 1);
    }
    return c;
}

// A moonlit landscape with a castle: the backdrop of the main menu and loading screen.
Canvas Landscape(int w, int h, uint32_t seed) {
    Canvas c(w, h);
    c.VGradient(0, 0, w, h * 2 / 3, Rgb(0x0B1230), Rgb(0x4A3A6A));
    c.VGradient(0, h * 2 / 3, w, h - h * 2 / 3, Rgb(0x4A3A6A), Rgb(0x1A1420));
    uint32_t r = seed;
    for (int k = 0; k < w * h / 2500; ++k) {
        r = r * 1664525u + 1013904223u;
        int x = r % w;
        r = r * 1664525u + 1013904223u;
        int y = r % (h / 2);
        c.Disc(x + 0.5f, y + 0.5f, 0.6f + (r >> 28) / 12.0f, Rgba{255, 250, 220, static_cast<uint8_t>(120 + (r >> 25))});
    }
    c.Disc(w * 0.8f, h * 0.18f, h * 0.07f, Rgba{250, 240, 200, 60});
    c.Disc(w * 0.8f, h * 0.18f, h * 0.05f, Rgb(0xF4ECC8));
    // Far and near mountain ranges.
    for (int layer = 0; layer < 2; ++layer) {
        std::vector<Pt> m{{0.0f, static_cast<float>(h)}};
        float base = h * (layer == 0 ? 0.55f : 0.68f);
        for (int x = 0; x <= w; x += 8) {
            float y = base - h * 0.12f * (std::sin(x * 0.011f + layer * 2 + seed) * 0.6f + std::sin(x * 0.027f + layer) * 0.4f);
            m.push_back(Pt{static_cast<float>(x), y});
        }
        m.push_back(Pt{static_cast<float>(w), static_cast<float>(h)});
        c.Polygon(m, layer == 0 ? Rgb(0x2A2448) : Rgb(0x17132A));
    }
    // The castle on the near ridge.
    float cx = w * 0.3f, cy = h * 0.58f, u = h / 60.0f;
    Rgba dark = Rgb(0x0E0B18);
    c.Fill(static_cast<int>(cx - 10 * u), static_cast<int>(cy - 8 * u), static_cast<int>(20 * u), static_cast<int>(14 * u), dark);
    for (int t = -1; t <= 1; t += 2) {
        c.Fill(static_cast<int>(cx + t * 10 * u - 3 * u), static_cast<int>(cy - 16 * u), static_cast<int>(6 * u), static_cast<int>(22 * u), dark);
        c.Polygon({{cx + t * 10 * u - 4 * u, cy - 16 * u}, {cx + t * 10 * u, cy - 22 * u}, {cx + t * 10 * u + 4 * u, cy - 16 * u}}, dark);
    }
    c.Fill(static_cast<int>(cx - 2 * u), static_cast<int>(cy - 20 * u), static_cast<int>(4 * u), static_cast<int>(12 * u), dark);
    c.Polygon({{cx - 3 * u, cy - 20 * u}, {cx, cy - 27 * u}, {cx + 3 * u, cy - 20 * u}}, dark);
    for (int k = 0; k < 5; ++k) c.Fill(static_cast<int>(cx - 7 * u + k * 3 * u), static_cast<int>(cy - 4 * u), std::max(1, static_cast<int>(u)), std::max(1, static_cast<int>(1.5f * u)), Rgb(0xF0C060));
    return c;
}

// A title banner: gold letters on a dark ribbon.
// An ornamental frame with a clear centre: drawn round the main menu's list.
Canvas MenuFrame(int w, int h) {
    std::vector<Canvas> p = PaintFrame(FrameStyle::Dialog, 16, 32, true);
    Canvas c(w, h);
    c.Fill(16, 16, w - 32, h - 32, Rgba{20, 12, 6, 150});
    for (int x = 16; x < w - 16; x += 32) c.Draw(p[3].Crop(0, 0, std::min(32, w - 16 - x), 16), x, 0), c.Draw(p[5].Crop(0, 0, std::min(32, w - 16 - x), 16), x, h - 16);
    for (int y = 16; y < h - 16; y += 32) c.Draw(p[1].Crop(0, 0, 16, std::min(32, h - 16 - y)), 0, y), c.Draw(p[7].Crop(0, 0, 16, std::min(32, h - 16 - y)), w - 16, y);
    c.Draw(p[0], 0, 0), c.Draw(p[6], w - 16, 0), c.Draw(p[2], 0, h - 16), c.Draw(p[8], w - 16, h - 16);
    return c;
}

Canvas Paint(uint16_t base) {
    int i = 0;
    auto in = [&](int first, int count) {
        i = base - first;
        return i >= 0 && i < count;
    };
    if (in(3007, 2)) return PaintButton(24, 24, i ? Icon::ArrowDown : Icon::ArrowUp, false);
    if (in(3015, 9)) return PaintFrame(FrameStyle::Message, 12, 32)[i];
    if (in(3024, 6)) {
        // Button frames: left cap, middle, right cap; normal then pressed.
        Canvas bar = PaintLabelButton(36, 32, i >= 3);
        int piece = i % 3;
        return piece == 0 ? bar.Crop(0, 0, 10, 32) : piece == 1 ? bar.Crop(10, 0, 16, 32) : bar.Crop(26, 0, 10, 32);
    }
    if (in(3030, 9)) {
        // The book reader writes a light title and dark text straight onto this page, so the page
        // is a middle tone that both read on.
        Canvas piece = PaintFrame(FrameStyle::Book, 20, 40)[i];
        if (i == 4) {
            piece.Fill(0, 0, piece.Width(), piece.Height(), Rgb(0x8A8A5A));
            piece.Grain(0, 0, piece.Width(), piece.Height(), 0.035f, 3);
        }
        return piece;
    }
    if (in(3039, 9)) return PaintFrame(FrameStyle::Dark, 8, 32)[i];
    if (in(3090, 8)) return PaintFrame(FrameStyle::Dialog, 14, 32, true)[i < 4 ? i : i + 1];
    if (in(3100, 8)) {
        static const char* kCaptions[] = {"OK", "Cancel", "", ""};
        if (i < 4) return PaintTextButton(100, 36, kCaptions[i / 2], i % 2);
        if (i < 6) return PaintTextButton(120, 32, "", i % 2);
        return PaintTextButton(44, 40, "", i % 2);
    }
    if (in(3110, 6)) return PairButton(i, 32, 32, {Icon::ArrowUp, Icon::ArrowDown, Icon::Cross});
    if (in(3120, 8)) return PairButton(i, 32, 32, {Icon::ArrowUp, Icon::ArrowDown, Icon::ArrowLeft, Icon::ArrowRight});
    if (in(3130, 2)) {
        // The compass turns its band at three degrees a pixel, so the band is one full turn of 120
        // pixels: N at column 10 where a heading of 0 centres it, then E, S and W each 30 further.
        // The overlay is drawn at the same column and paints the north letter red over the band's.
        constexpr int kTurn = 120, kNorthColumn = 10, kQuarter = 30;
        static const char* kPoints[] = {"N", "E", "S", "W"};
        if (i == 1) {
            Canvas mark(kTurn, 24);
            PaintText(mark, "N", kNorthColumn - 10, 2, 20, 20, 14, kRed);
            return mark;
        }
        Canvas c(kTurn, 24, kWoodDark);
        c.Grain(0, 0, kTurn, 24, 0.1f, 17);
        c.Fill(0, 0, kTurn, 1, kGold);
        c.Fill(0, 23, kTurn, 1, kGoldDark);
        for (int k = 0; k < 4; ++k) {
            const int x = kNorthColumn + k * kQuarter;
            PaintText(c, kPoints[k], x - 10, 2, 20, 20, 14, kGoldLight);
            c.Fill((x + kQuarter / 2) % kTurn, 8, 1, 8, kGold);
        }
        return c;
    }
    if (in(3140, 9)) return PaintFrame(FrameStyle::List, 3, 16)[i];
    if (in(3150, 8)) return PairButton(i, 64, 40, {Icon::Bag, Icon::Person, Icon::Scroll, Icon::Book});
    // The action menu lays its page buttons out 20 x 12 beside its list.
    if (in(3160, 4)) return PairButton(i, 20, 12, {Icon::ArrowUp, Icon::ArrowDown});
    if (in(3170, 4)) return PairButton(i, 40, 40, {Icon::Gear, Icon::Cross});
    if (in(3180, 8)) return PairButton(i, 64, 32, {Icon::Hand, Icon::ArrowDown, Icon::Check, Icon::Eye});
    if (in(3190, 8)) return PaintFrame(FrameStyle::Thin, 4, 16, true)[i < 4 ? i : i + 1];
    if (in(3200, 1)) return PaintWood(64, 64, 1);
    if (in(3210, 8)) return PairButton(i, 40, 40, {Icon::Plus, Icon::Minus, Icon::DoubleUp, Icon::DoubleDown});
    if (in(3220, 4)) return PairButton(i, 40, 40, {Icon::Quill, Icon::Person});
    if (in(3224, 6)) {
        if (i < 3) return IconOnly(96, 96, i == 1 ? Icon::Sword : Icon::Hand, kGoldLight);
        Canvas ring(112, 112);
        ring.Frame(0, 0, 112, 112, kBlack, 1);
        ring.Frame(1, 1, 110, 110, kGold, 3);
        ring.Frame(4, 4, 104, 104, kGoldDark, 2);
        return ring;
    }
    if (in(3230, 6)) {
        if (i == 0) return PaintStone(64, 64, 23);
        if (i == 1) return PaintWood(64, 64, 29);
        static const Icon kOrnaments[] = {Icon::Star, Icon::Gem, Icon::Sun, Icon::Moon};
        return IconOnly(32, 32, kOrnaments[i - 2], kGold);
    }
    if (in(3236, 14))
        return PairButton(i, 60, 60, {Icon::TurnLeft, Icon::ArrowUp, Icon::TurnRight, Icon::StrafeLeft, Icon::ArrowDown,
                                      Icon::StrafeRight, Icon::Sword});
    if (in(3250, 18))
        return PairButton(i, 40, 40, {Icon::Star, Icon::Sword, Icon::Shield, Icon::Ring, Icon::Book, Icon::Flask,
                                      Icon::Potion, Icon::Leaf, Icon::Bag});
    if (in(3270, 19)) {
        // Heal, protection, attack, mind, undead and environment magic, then the magic items.
        if (i < 14) return PairButton(i, 40, 40, {Icon::Heart, Icon::Shield, Icon::Flame, Icon::Eye, Icon::Skull, Icon::Leaf, Icon::Wand});
        if (i < 16) return PaintButton(60, 60, Icon::Book, i == 15);
        if (i < 18) return PaintButton(60, 60, Icon::Potion, i == 17);  // the quick drink
        return PaintButton(60, 60, Icon::Map, false);
    }
    if (in(3289, 2)) return PaintButton(60, 60, Icon::Moon, i == 1);
    if (in(3291, 9)) return PaintFrame(FrameStyle::Dialog, 16, 32)[i];
    if (in(3300, 5)) {
        if (i == 0) {
            Canvas c(240, 24);
            c.Line(Pt{8, 12}, Pt{232, 12}, 2, kGold);
            PaintIcon(c, Icon::Gem, 108, 0, 24, Rgb(0xC03040));
            return c;
        }
        static const Icon kCorners[] = {Icon::Star, Icon::Gem, Icon::Sun, Icon::Moon};
        return IconOnly(24, 24, kCorners[i - 1], kGold);
    }
    if (in(3306, 2)) return PaintButton(24, 24, Icon::Plus, i == 1);
    if (in(3310, 14))
        return PairButton(i, 28, 28, {Icon::Plus, Icon::Minus, Icon::ArrowUp, Icon::ArrowDown, Icon::ArrowLeft, Icon::ArrowRight, Icon::Undo});
    if (in(3324, 4)) {
        if (i < 2) {
            Canvas c(28, 28);
            c.Fill(2, 2, 24, 24, kParchment);
            c.Bevel(2, 2, 24, 24, kWoodDark, kGold, 2);
            if (i == 1) PaintIcon(c, Icon::Check, 4, 4, 20, kGreen);
            return c;
        }
        return PaintButton(28, 28, Icon::Cross, i == 3, Rgb(0xE05040));
    }
    if (in(3330, 8)) return PairButton(i, 40, 32, {Icon::ArrowLeft, Icon::ArrowRight, Icon::DoubleUp, Icon::DoubleDown});
    if (in(3340, 6)) {
        Canvas c(24, 24);
        c.RoundRect(1, 1, 22, 22, 4, kBlack);
        Rgba fill = i % 2 ? (i >= 4 ? Rgb(0xF0C040) : kGold) : kWoodDark;
        c.RoundRect(3, 3, 18, 18, 3, fill);
        return c;
    }
    if (in(3346, 3)) {
        if (i == 0) {
            Canvas c(16, 40);
            c.Polygon({{1, 0}, {15, 0}, {15, 39}, {8, 32}, {1, 39}}, kRed);
            return c;
        }
        return PaintButton(32, 32, Icon::Cross, i == 2);
    }
    if (in(3349, 1)) {
        Canvas c(50, 50, Rgb(0x1E140C));
        c.Bevel(0, 0, 50, 50, kWoodDark, kWoodLight, 2);
        c.Grain(2, 2, 46, 46, 0.1f, 3);
        return c;
    }
    if (in(3350, 2)) {
        Canvas c(50, 50);
        c.Frame(0, 0, 50, 50, i ? kRed : kGold, 2);
        return c;
    }
    if (in(3352, 1)) return IconOnly(30, 30, Icon::Star, Rgb(0xF8D850));
    if (in(3358, 20)) {
        static const Icon kStatus[] = {Icon::Heart, Icon::Bolt, Icon::Flame, Icon::Leaf, Icon::Eye, Icon::Skull, Icon::Shield,
                                       Icon::Sword, Icon::Star, Icon::Moon, Icon::Sun, Icon::Gem, Icon::Feather, Icon::Hourglass,
                                       Icon::Potion, Icon::Key, Icon::Lock, Icon::Wand, Icon::Ring, Icon::Globe};
        static const uint32_t kRings[] = {0xB02222, 0x2A4EB8, 0x2E8B3A, 0x8A5AB0};
        return Badge(32, kStatus[i], Rgb(kRings[i % 4]));
    }
    if (in(3378, 6)) {
        Rgba col = i < 3 ? kRed : kBlue;
        int piece = i % 3;  // moving cap, fill, fixed cap
        return GaugePiece(16, piece == 1 ? 240 : 6, false, piece, col);
    }
    if (in(3385, 3)) {
        Canvas c(10, 10, kWoodDark);
        static const Icon kMarks[] = {Icon::Check, Icon::Dot, Icon::Cross};
        static const Rgba kColours[] = {Rgb(0x40D050), Rgb(0x60A0F0), Rgb(0xF04040)};
        PaintIcon(c, kMarks[i], 0, 0, 10, kColours[i]);
        return c;
    }
    if (in(3390, 4)) return PairButton(i, 32, 32, {Icon::Plus, Icon::Minus});
    if (in(3400, 69)) return MapPicture(i);
    if (in(3470, 6)) return PairButton(i, 40, 40, {Icon::Cross, Icon::Globe, Icon::Map});
    if (in(3478, 2)) {
        if (i == 0) return IconOnly(16, 24, Icon::Pin, kRed);
        Canvas c(21, 21);
        c.Frame(0, 0, 21, 21, Rgb(0xF8D850), 2);
        return c;
    }
    if (in(3480, 4)) return PairButton(i, 32, 32, {Icon::ArrowLeft, Icon::ArrowRight});
    if (in(3484, 2)) return PaintButton(32, 32, Icon::ArrowUp, i == 1);
    if (in(3486, 2)) return PaintButton(32, 32, Icon::ArrowDown, i == 1);
    if (in(3488, 1)) return PaperDoll();
    if (in(3489, 2)) {
        if (i == 1) return Badge(50, Icon::Person, kGoldDark);
        Canvas c(64, 64);
        c.Frame(0, 0, 64, 64, kBlack, 1);
        c.Frame(1, 1, 62, 62, kGold, 4);
        c.Frame(5, 5, 54, 54, kGoldDark, 2);
        return c;
    }
    if (in(3491, 4)) return PaintTextButton(100, 36, i < 2 ? "Yes" : "No", i % 2);
    if (in(3495, 2)) return PaintTextButton(120, 36, "Continue", i == 1);
    if (in(3497, 2)) return PaintTextButton(100, 36, i == 0 ? "Left" : "Right", false);
    if (in(3500, 8)) {
        static const Icon kAttributes[] = {Icon::Sword, Icon::Book, Icon::Eye, Icon::Feather, Icon::Bolt, Icon::Heart, Icon::Person, Icon::Star};
        return Badge(32, kAttributes[i], kGold);
    }
    if (in(3510, 8)) {
        static const Icon kGroups[] = {Icon::Shield, Icon::Key, Icon::Lock, Icon::Flask, Icon::Hammer, Icon::Coin, Icon::Quill, Icon::Globe};
        return Badge(32, kGroups[i], Rgb(0x8A8A94));
    }
    if (in(3530, 1)) {
        Canvas c(50, 50);
        c.RoundRect(4, 4, 42, 42, 6, Rgba{30, 20, 10, 200});
        PaintText(c, "?", 0, 0, 50, 50, 32, kGoldLight);
        return c;
    }
    if (in(3532, 3)) {
        Canvas c(50, 50);
        static const Icon kSlotMarks[] = {Icon::Ring, Icon::Ring, Icon::Gem};
        PaintIcon(c, kSlotMarks[i], 34, 34, 14, kGold);
        return c;
    }
    if (in(3550, 8)) return PairButton(i, 48, 48, {Icon::Cards, Icon::Coin, Icon::Hourglass, Icon::Skull});
    if (in(3823, 6)) {
        Rgba col = i < 3 ? kRed : kBlue;
        int piece = i % 3;
        return GaugePiece(piece == 1 ? 240 : 6, 16, true, piece, col);
    }
    if (in(3923, 8)) return PairButton(i, 40, 40, {Icon::Door, Icon::Key, Icon::Anvil, Icon::Hammer});
    if (in(4027, 2)) return PaintButton(16, 16, i ? Icon::ArrowDown : Icon::ArrowUp, false);
    if (in(4037, 10)) return PairButton(i, 60, 60, {Icon::Hand, Icon::Map, Icon::Bag, Icon::Book, Icon::Moon});
    if (in(4047, 2)) return IconOnly(96, 96, i ? Icon::Sword : Icon::Hand, kGoldLight);
    if (in(4049, 4)) return PairButton(i, 40, 40, {Icon::Gear, Icon::Undo});
    if (in(4059, 4)) return PairButton(i, 48, 24, {Icon::ArrowLeft, Icon::ArrowRight});
    if (in(4116, 6)) return PairButton(i, 40, 40, {Icon::Sun, Icon::Moon, Icon::Hourglass});
    if (in(4134, 4)) return PairButton(i, 40, 40, {Icon::Lock, Icon::Key});
    if (in(4138, 1)) return IconOnly(8, 8, Icon::Gem, kGold);
    if (in(4154, 4)) return PairButton(i, 40, 40, {Icon::ArrowLeft, Icon::ArrowRight});
    throw std::logic_error("no picture for base number " + std::to_string(base));
}

}  // namespace

const std::vector<InterfacePictureRun>& InterfacePictureRuns() { return kRuns; }

uint16_t LargeRecordOf(uint16_t base) {
    for (const InterfacePictureRun& r : kRuns)
        if (base >= r.base && base < r.base + r.count) return static_cast<uint16_t>(r.large + (base - r.base));
    return 0;
}

std::vector<PictureRecord> PaintInterfacePictures() {
    std::vector<PictureRecord> out;
    for (const InterfacePictureRun& r : kRuns)
        for (uint16_t k = 0; k < r.count; ++k) {
            uint16_t base = static_cast<uint16_t>(r.base + k);
            out.push_back({static_cast<uint16_t>(r.large + k), "interface picture " + std::to_string(base), Paint(base)});
        }
    return out;
}

namespace {

// Box-filtered reduction; alpha is averaged with the colours, so edges stay smooth.
Canvas Shrink(const Canvas& src, int num, int den) {
    int w = std::max(2, src.Width() * num / den), h = std::max(2, src.Height() * num / den);
    Canvas out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int x0 = x * src.Width() / w, x1 = std::max(x0 + 1, (x + 1) * src.Width() / w);
            int y0 = y * src.Height() / h, y1 = std::max(y0 + 1, (y + 1) * src.Height() / h);
            float r = 0, g = 0, b = 0, a = 0, n = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    Rgba c = src.Get(sx, sy);
                    float ca = c.a / 255.0f;
                    r += c.r * ca, g += c.g * ca, b += c.b * ca, a += ca, n += 1;
                }
            if (a <= 0) continue;
            out.Set(x, y, Rgba{static_cast<uint8_t>(r / a), static_cast<uint8_t>(g / a), static_cast<uint8_t>(b / a),
                               static_cast<uint8_t>(255 * a / n)});
        }
    return out;
}

// What each card shows: its icon and the family of its effect, which tints the icon (damage red,
// healing green, defence steel, draining violet, combos gold, the lasting spells of the sorcerer
// and the rest in the class's light tone). Rows by class, 25 cards each, in the order of the game's
// card table.
enum class CardFamily { Damage, Heal, Defence, Drain, Combo, Lasting };

struct CardArt {
    Icon icon;
    CardFamily family;
};

const CardArt kCardArt[3][25] = {
    // warrior: Slash .. Berzerk
    {{Icon::Sword, CardFamily::Damage},    {Icon::Hammer, CardFamily::Damage},    {Icon::Pin, CardFamily::Damage},
     {Icon::Heart, CardFamily::Damage},    {Icon::Cross, CardFamily::Damage},     {Icon::Sword, CardFamily::Lasting},
     {Icon::Hand, CardFamily::Damage},     {Icon::Shield, CardFamily::Defence},   {Icon::Person, CardFamily::Combo},
     {Icon::Door, CardFamily::Defence},    {Icon::Sword, CardFamily::Combo},      {Icon::Shield, CardFamily::Lasting},
     {Icon::Hammer, CardFamily::Lasting},  {Icon::Helmet, CardFamily::Defence},   {Icon::Moon, CardFamily::Lasting},
     {Icon::Plus, CardFamily::Heal},       {Icon::Potion, CardFamily::Heal},      {Icon::Leaf, CardFamily::Heal},
     {Icon::Star, CardFamily::Heal},       {Icon::ArrowDown, CardFamily::Damage}, {Icon::Area, CardFamily::Lasting},
     {Icon::Map, CardFamily::Damage},      {Icon::Eye, CardFamily::Damage},       {Icon::Flame, CardFamily::Combo},
     {Icon::Skull, CardFamily::Damage}},
    // sorcerer: Life node .. Mana storm
    {{Icon::Leaf, CardFamily::Heal},       {Icon::Feather, CardFamily::Defence},  {Icon::Skull, CardFamily::Lasting},
     {Icon::Flask, CardFamily::Defence},   {Icon::Moon, CardFamily::Lasting},     {Icon::Flame, CardFamily::Defence},
     {Icon::Sun, CardFamily::Lasting},     {Icon::Globe, CardFamily::Defence},    {Icon::Gem, CardFamily::Damage},
     {Icon::Bolt, CardFamily::Damage},     {Icon::Area, CardFamily::Damage},      {Icon::Undo, CardFamily::Damage},
     {Icon::Flame, CardFamily::Damage},    {Icon::Star, CardFamily::Lasting},     {Icon::Hourglass, CardFamily::Damage},
     {Icon::Dot, CardFamily::Lasting},     {Icon::Sword, CardFamily::Lasting},    {Icon::Eye, CardFamily::Defence},
     {Icon::Flame, CardFamily::Lasting},   {Icon::Leaf, CardFamily::Damage},      {Icon::Plus, CardFamily::Heal},
     {Icon::Scroll, CardFamily::Heal},     {Icon::Sun, CardFamily::Heal},         {Icon::Wand, CardFamily::Combo},
     {Icon::Ring, CardFamily::Combo}},
    // necromancer: Blood chant .. Soul pile
    {{Icon::Heart, CardFamily::Damage},    {Icon::Pin, CardFamily::Damage},       {Icon::Minus, CardFamily::Damage},
     {Icon::Hand, CardFamily::Damage},     {Icon::Hand, CardFamily::Drain},       {Icon::Flask, CardFamily::Damage},
     {Icon::Bag, CardFamily::Drain},       {Icon::Moon, CardFamily::Drain},       {Icon::Gem, CardFamily::Damage},
     {Icon::Eye, CardFamily::Drain},       {Icon::Door, CardFamily::Defence},     {Icon::Person, CardFamily::Damage},
     {Icon::Lock, CardFamily::Defence},    {Icon::Skull, CardFamily::Damage},     {Icon::Area, CardFamily::Heal},
     {Icon::Skull, CardFamily::Lasting},   {Icon::Moon, CardFamily::Lasting},     {Icon::DoubleDown, CardFamily::Damage},
     {Icon::Dot, CardFamily::Drain},       {Icon::Person, CardFamily::Lasting},   {Icon::Feather, CardFamily::Drain},
     {Icon::Lock, CardFamily::Drain},      {Icon::Flame, CardFamily::Damage},     {Icon::Heart, CardFamily::Combo},
     {Icon::Cards, CardFamily::Combo}},
};

Rgba FamilyColour(CardFamily family, Rgba classColour) {
    switch (family) {
    case CardFamily::Damage: return Rgb(0xF07A50);
    case CardFamily::Heal: return Rgb(0x8AE07A);
    case CardFamily::Defence: return Rgb(0xC8D8EC);
    case CardFamily::Drain: return Rgb(0xC890F0);
    case CardFamily::Combo: return kGoldLight;
    case CardFamily::Lasting: return Mix(kGoldLight, classColour, 0.35f);
    }
    return kGoldLight;
}

// The card pictures: the class's colour deepening to the bottom, a rim of the family's tone and the
// card's icon; 48 x 48, with the small layouts' halves.
void PaintCardPictures(std::vector<PictureRecord>& out, const uint32_t (&classColours)[3]) {
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 25; ++i) {
            const Rgba classColour = Rgb(classColours[c]);
            const Rgba tone = FamilyColour(kCardArt[c][i].family, classColour);
            Canvas card(48, 48);
            card.RoundRect(0, 0, 48, 48, 6, kBlack);
            card.RoundRect(1, 1, 46, 46, 5, Shade(tone, 0.7f));
            card.VGradient(3, 3, 42, 42, Shade(classColour, 0.75f), Shade(classColour, 0.3f));
            card.Grain(3, 3, 42, 42, 0.05f, static_cast<uint32_t>(300 + 25 * c + i));
            PaintIcon(card, kCardArt[c][i].icon, 7, 7, 34, tone);
            out.push_back({static_cast<uint16_t>(3570 + 30 * c + i), "card picture", card});
            out.push_back({static_cast<uint16_t>(3952 + 25 * c + i), "card picture (small layouts)", Shrink(card, 1, 2)});
        }
}

}  // namespace

std::vector<PictureRecord> PaintOtherLayoutPictures(const std::vector<PictureRecord>& large) {
    std::set<uint16_t> taken;
    for (const PictureRecord& p : large) taken.insert(p.record);
    std::vector<PictureRecord> out;
    size_t index = 0;
    for (const InterfacePictureRun& r : kRuns)
        for (uint16_t k = 0; k < r.count; ++k, ++index) {
            const PictureRecord& source = large.at(index);
            struct Family {
                uint16_t record;
                int num, den;
                const char* name;
            } families[] = {{static_cast<uint16_t>(r.small + k), 1, 2, "small layouts"},
                            {static_cast<uint16_t>(r.base + k), 2, 5, "base layouts"}};
            for (const Family& f : families) {
                if (!taken.insert(f.record).second) continue;
                out.push_back({f.record, source.use + " (" + f.name + ")", Shrink(source.picture, f.num, f.den)});
            }
            // Layout modes 5 and 8 have their own paper doll, its slot marks and two message buttons.
            static const std::pair<uint16_t, uint16_t> kNarrow[] = {{3488, 4055}, {3497, 4053}, {3498, 4054},
                                                                   {3532, 4056}, {3533, 4057}, {3534, 4058}};
            for (const auto& [base, record] : kNarrow)
                if (base == r.base + k && taken.insert(record).second)
                    out.push_back({record, source.use + " (layout modes 5 and 8)", Shrink(source.picture, 2, 5)});
        }
    return out;
}

std::vector<PictureRecord> PaintScreenPictures() {
    std::vector<PictureRecord> out;
    // Loading pictures, shown by the main menu and the progress screen at layout elements 10, 13,
    // 14 and 11 of group 3: backdrop, title, emblem and the frame round the menu list. The title and
    // the emblem are drawn opaque over the backdrop, so each carries the piece of the backdrop that
    // lies under its rectangle.
    auto menuRect = [](uint16_t id) {
        for (const LayoutGroupDef& g : LayoutGroups())
            for (const LayoutRect& r : g.elements)
                if (g.group == 3 && r.id == id) return r;
        throw std::logic_error("layout group 3 has no element " + std::to_string(id));
    };
    Canvas land = Landscape(800, 584, 3);
    out.push_back({3081, "loading picture 1: backdrop", land});
    const LayoutRect t = menuRect(13), e = menuRect(14), f = menuRect(11);
    Canvas title = land.Crop(t.x, t.y, t.w, t.h);
    const float scale = std::min((t.w - 8) / 250.0f, (t.h - 4) / 66.0f);
    PaintTitleLettering(title, (t.w - 250 * scale) / 2, (t.h - 66 * scale) / 2, scale, false);
    out.push_back({3080, "loading picture 2: title", title});
    Canvas emblem = land.Crop(e.x, e.y, e.w, e.h);
    const float ew = e.w, eh = e.h;
    emblem.Polygon({{ew * 0.06f, eh * 0.03f}, {ew * 0.94f, eh * 0.03f}, {ew * 0.9f, eh * 0.58f}, {ew * 0.5f, eh * 0.97f},
                    {ew * 0.1f, eh * 0.58f}},
                   kGoldDark);
    emblem.Polygon({{ew * 0.11f, eh * 0.07f}, {ew * 0.89f, eh * 0.07f}, {ew * 0.85f, eh * 0.56f}, {ew * 0.5f, eh * 0.92f},
                    {ew * 0.15f, eh * 0.56f}},
                   Rgb(0x3A1E5A));
    PaintIcon(emblem, Icon::Sword, static_cast<int>(ew * 0.25f), static_cast<int>(eh * 0.16f), static_cast<int>(ew * 0.5f),
              kGoldLight);
    out.push_back({3082, "loading picture 3: emblem", emblem});
    out.push_back({4081, "loading picture 4 (large layouts): menu frame", MenuFrame(f.w, f.h)});
    out.push_back({4036, "loading picture 4 (small layouts)", MenuFrame(f.w / 2, f.h / 2)});
    out.push_back({3083, "loading picture 4 (other layouts)", MenuFrame(f.w * 2 / 5, f.h * 2 / 5)});

    std::vector<PictureRecord> splash = PaintSplashPictures();
    out.insert(out.end(), splash.begin(), splash.end());

    // Death screen: a dark backdrop, a skull and an epitaph stone.
    Canvas night = Landscape(800, 584, 11);
    night.Fill(0, 0, 800, 584, Rgba{0, 0, 0, 140});
    out.push_back({3518, "death: backdrop", night});
    Canvas skull(300, 160);
    PaintIcon(skull, Icon::Skull, 75, 5, 150, Rgb(0xE8E0D0));
    out.push_back({3519, "death: skull", skull});
    Canvas stone(400, 200);
    stone.RoundRect(40, 10, 320, 190, 60, Rgb(0x5A5A62));
    stone.Grain(40, 10, 320, 190, 0.1f, 5);
    PaintText(stone, "Rest in peace", 40, 60, 320, 60, 30, Rgb(0xD8D8E0), false, true, true);
    out.push_back({3520, "death: epitaph", stone});

    // Pages screen: the frame round page pictures, and its buttons (slower, faster, pause, play).
    std::vector<Canvas> pageFrame = PaintFrame(FrameStyle::Book, 12, 32);
    for (int k = 0; k < 9; ++k) out.push_back({static_cast<uint16_t>(3540 + k), "page frame piece", pageFrame[k]});
    // Slower, faster, then the pause button's look while stopped (play on) and while scrolling (pause).
    static const Icon kPageIcons[] = {Icon::Minus, Icon::Plus, Icon::ArrowRight, Icon::Pause};
    for (int k = 0; k < 8; ++k) {
        out.push_back({static_cast<uint16_t>(3560 + k), "page button", PaintButton(40, 40, kPageIcons[k / 2], k % 2)});
        out.push_back({static_cast<uint16_t>(3847 + k), "page button (small)", PaintButton(24, 24, kPageIcons[k / 2], k % 2)});
    }
    // Race pictures 3070-3074, shown by the race selection dialog.
    static const uint32_t kRaceColours[] = {0x6A6A80, 0x3A7A4A, 0x8A5A2A, 0x5A3A8A, 0x8A2A2A};
    for (int k = 0; k < 5; ++k) {
        Canvas c(100, 120);
        c.VGradient(0, 0, 100, 120, Rgb(kRaceColours[k]), kWoodDark);
        c.Frame(0, 0, 100, 120, kGold, 2);
        PaintIcon(c, Icon::Person, 15, 20, 70, Mix(Rgb(0xE0B890), Rgb(kRaceColours[k]), 0.4f));
        out.push_back({static_cast<uint16_t>(3070 + k), "race picture", c});
    }

    // The card game: the board, the class pictures of the draw piles (the backs of each class's
    // cards), the frames of the table and of the draw piles, the marker slot's ground, rim and light,
    // the two card faces (instants and combos; markers), the give-up button, the table's empty mark
    // and the 75 card pictures (three classes of 25), with the small layouts' forms 894 records
    // further on and their cards from 3952.
    Canvas board(800, 584, Rgb(0x1E4A2A));
    board.Grain(0, 0, 800, 584, 0.06f, 71);
    // A lighter felt where the cards are played, and the two halves of the table marked apart.
    board.RoundRect(228, 112, 376, 272, 24, Rgba{60, 120, 70, 90});
    board.Fill(240, 246, 352, 2, Rgba{201, 160, 64, 120});
    board.Frame(0, 0, 800, 584, kWoodDark, 14);
    board.Bevel(0, 0, 800, 584, kWoodLight, kBlack, 3);
    board.Frame(14, 14, 772, 556, kGoldDark, 2);
    out.push_back({3051, "card board", board});
    static const Icon kClassIcons[] = {Icon::Sword, Icon::Wand, Icon::Skull};
    static const uint32_t kClassColours[] = {0xB03030, 0x3050C0, 0x50A040};
    for (int c = 0; c < 3; ++c) {
        Canvas pile(64, 88);
        pile.RoundRect(0, 0, 64, 88, 6, kBlack);
        pile.RoundRect(2, 2, 60, 84, 5, Rgb(kClassColours[c]));
        pile.Grain(2, 2, 60, 84, 0.08f, 90 + c);
        pile.Frame(6, 6, 52, 76, kGold, 1);
        PaintIcon(pile, kClassIcons[c], 12, 24, 40, kGoldLight);
        out.push_back({static_cast<uint16_t>(3048 + c), "card class picture", pile});
        out.push_back({static_cast<uint16_t>(3048 + 894 + c), "card class picture (small layouts)", Shrink(pile, 1, 2)});
    }
    Canvas frameOnly(72, 96);
    frameOnly.Frame(0, 0, 72, 96, kBlack, 1);
    frameOnly.Frame(1, 1, 70, 94, kGold, 2);
    // The card faces: a warm parchment face for the cards that act once, a cool slate face for the
    // markers that stay; both with a window for the card's picture and a dark band for its number.
    auto face = [&](Rgba top, Rgba bottom, Rgba rim) {
        Canvas f(64, 88);
        f.RoundRect(0, 0, 64, 88, 6, kBlack);
        f.RoundRect(1, 1, 62, 86, 5, rim);
        f.VGradient(3, 3, 58, 82, top, bottom);
        f.Grain(3, 3, 58, 82, 0.05f, 17);
        f.Frame(6, 6, 52, 52, Shade(rim, 0.6f), 2);
        f.RoundRect(12, 64, 40, 18, 6, Rgba{16, 16, 22, 230});
        return f;
    };
    Canvas instantFace = face(kParchment, kParchmentDark, kGold);
    Canvas markerFace = face(Rgb(0x9AA6B8), Rgb(0x5A6678), Rgb(0xD8DCE4));
    Canvas ground(56, 56), rim(56, 56), light(56, 56);
    ground.RoundRect(0, 0, 56, 56, 8, Rgba{10, 30, 16, 255});
    ground.Frame(2, 2, 52, 52, kGoldDark, 1);
    rim.Frame(0, 0, 56, 56, kGold, 2);
    light.Frame(0, 0, 56, 56, Rgb(0xFFF0A0), 3);
    light.Frame(3, 3, 50, 50, Rgba{255, 240, 160, 120}, 2);
    const std::pair<uint16_t, Canvas*> kBoardPieces[] = {{3052, &frameOnly},   {3053, &ground},     {3054, &instantFace},
                                                        {3055, &markerFace}, {3056, &rim},        {3057, &light}};
    for (const auto& [record, canvas] : kBoardPieces) {
        out.push_back({record, "card board piece", *canvas});
        out.push_back({static_cast<uint16_t>(record + 894), "card board piece (small layouts)", Shrink(*canvas, 1, 2)});
    }
    // The give-up button on the board's own green, so that it may be drawn smaller in the small layouts.
    Canvas giveUp(120, 36, Rgb(0x1E4A2A));
    giveUp.Draw(PaintTextButton(120, 36, "Give up", false), 0, 0);
    out.push_back({3655, "card game: give up", giveUp});
    // The mark of the empty table, small enough for the table of every layout.
    Canvas emptyMark(28, 28);
    emptyMark.Ring(14, 14, 12, 2, kGoldDark);
    PaintIcon(emptyMark, Icon::Cards, 6, 6, 16, kGoldDark);
    out.push_back({3656, "card table mark", emptyMark});
    PaintCardPictures(out, kClassColours);

    // The inn's fire: eight frames of a flickering flame.
    for (int k = 0; k < 8; ++k) {
        Canvas fire(96, 96);
        fire.Polygon({{16, 92}, {80, 92}, {70, 84}, {26, 84}}, kWoodDark);
        for (int layer = 0; layer < 3; ++layer) {
            float sway = std::sin(k * 0.785f + layer) * 6.0f;
            float hgt = 70.0f - layer * 18 + std::sin(k * 1.3f + layer * 2) * 5;
            float half = 30.0f - layer * 8;
            static const uint32_t kFlames[] = {0xD84010, 0xF08820, 0xF8D850};
            fire.Polygon({{48 - half, 86}, {48 + half, 86}, {48 + half * 0.6f + sway * 0.5f, 86 - hgt * 0.5f},
                          {48 + sway, 86 - hgt}, {48 - half * 0.6f + sway * 0.3f, 86 - hgt * 0.55f}},
                         Rgb(kFlames[layer]));
        }
        out.push_back({static_cast<uint16_t>(3062 + k), "fire frame", fire});
    }

    // The realm-travel picture: a ship under sail at dusk.
    Canvas sea(424, 264);
    sea.VGradient(0, 0, 424, 150, Rgb(0x2A2A5A), Rgb(0xE89A5A));
    sea.VGradient(0, 150, 424, 114, Rgb(0x2A4A7A), Rgb(0x10203A));
    sea.Disc(330, 140, 26, Rgb(0xF8C870));
    sea.Fill(0, 150, 424, 114, Rgba{30, 60, 110, 200});
    sea.Polygon({{140, 200}, {290, 200}, {270, 228}, {160, 228}}, kWoodDark);
    sea.Fill(212, 90, 4, 112, kWoodDark);
    sea.Polygon({{218, 96}, {280, 180}, {218, 184}}, Rgb(0xE8E0D0));
    sea.Polygon({{208, 104}, {150, 182}, {208, 186}}, Rgb(0xD8D0C0));
    out.push_back({3657, "realm-travel picture", sea});
    return out;
}
// clang-format on
