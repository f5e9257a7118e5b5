#include "tools/content/world/FrontEndPages.h"

#include <cmath>
#include <cstdint>

namespace world {

// The painting helpers have their own namespace: the tests compile this file together with the
// other world writers.
namespace page_art {

constexpr int kWidth = 320, kHeight = 200;

uint32_t Step(uint32_t& seed) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
}

// Rolling hills across the picture from a base line, darker towards the front.
void Hills(Canvas& c, float base, float height, Rgba colour, uint32_t seed) {
    std::vector<Pt> pts = {{0, static_cast<float>(kHeight)}};
    const float phase = static_cast<float>(Step(seed) % 100) / 10.0f;
    for (int x = 0; x <= kWidth; x += 8) {
        const float t = static_cast<float>(x) / kWidth;
        const float y =
            base - height * (0.5f + 0.3f * std::sin(t * 7.0f + phase) + 0.2f * std::sin(t * 17.0f + phase));
        pts.push_back({static_cast<float>(x), y});
    }
    pts.push_back({static_cast<float>(kWidth), static_cast<float>(kHeight)});
    c.Polygon(pts, colour);
}

// A small house: wall, roof and a lit or dark window.
void House(Canvas& c, int x, int y, int size, Rgba wall, Rgba roof, Rgba window) {
    c.Fill(x, y, size, size * 3 / 4, wall);
    c.Polygon({{static_cast<float>(x - 2), static_cast<float>(y)},
               {static_cast<float>(x + size / 2), static_cast<float>(y - size / 2)},
               {static_cast<float>(x + size + 2), static_cast<float>(y)}},
              roof);
    c.Fill(x + size / 3, y + size / 4, size / 4 + 1, size / 4 + 1, window);
}

Canvas QuietVale() {
    Canvas c(kWidth, kHeight);
    c.VGradient(0, 0, kWidth, 120, Rgb(0x2A3A78), Rgb(0xF0A860));
    c.Disc(230, 104, 18, Rgb(0xFFD890));
    Hills(c, 120, 30, Rgb(0x5A5A78), 3);
    Hills(c, 150, 26, Rgb(0x3E5A3A), 5);
    for (int i = 0; i < 5; ++i)
        House(c, 60 + i * 34, 150 - (i % 2) * 6, 18, Rgb(0xB89A78), Rgb(0x7A3A2A), Rgb(0xFFD070));
    Hills(c, 190, 18, Rgb(0x2A3E26), 9);
    c.Grain(0, 0, kWidth, kHeight, 0.03f, 11);
    return c;
}

Canvas LightsInTheHills() {
    Canvas c(kWidth, kHeight);
    c.VGradient(0, 0, kWidth, 140, Rgb(0x050818), Rgb(0x1A2440));
    uint32_t seed = 17;
    // One draw per statement: a call's arguments are evaluated in the compiler's order, and the
    // page must be the same whichever compiler built the builder.
    for (int i = 0; i < 70; ++i) {
        const uint32_t x = Step(seed) % kWidth;
        const uint32_t y = Step(seed) % 90;
        c.Set(static_cast<int>(x), static_cast<int>(y), Rgb(0xE8ECFF));
    }
    c.Disc(60, 40, 12, Rgb(0xE8E8D0));
    c.Disc(65, 37, 11, Rgb(0x0A1026));
    Hills(c, 130, 40, Rgb(0x141A2A), 21);
    for (int i = 0; i < 6; ++i) {
        const float x = 150.0f + static_cast<float>(i * 23 % 140);
        const float y = 100.0f + static_cast<float>(i * 13 % 22);
        c.Disc(x, y, 5, Rgb(0x60C8A0, 70));
        c.Disc(x, y, 2, Rgb(0xC8FFE0));
    }
    Hills(c, 175, 22, Rgb(0x0C1018), 23);
    c.Fill(40, 168, 44, 32, Rgb(0x201A18));
    c.RoundRect(50, 178, 24, 22, 10, Rgb(0x050505));
    c.Grain(0, 0, kWidth, kHeight, 0.03f, 29);
    return c;
}

Canvas MorningCart() {
    Canvas c(kWidth, kHeight);
    c.VGradient(0, 0, kWidth, 120, Rgb(0x4A86D8), Rgb(0xD8E8F8));
    Hills(c, 115, 24, Rgb(0x7A9A6A), 31);
    c.Fill(0, 115, kWidth, kHeight - 115, Rgb(0x6A9A48));
    c.Polygon({{140, 115}, {180, 115}, {260, 200}, {60, 200}}, Rgb(0xB0966A));
    c.RoundRect(130, 130, 60, 26, 4, Rgb(0x7A5030));
    c.Ring(142, 160, 9, 3, Rgb(0x3A2818));
    c.Ring(178, 160, 9, 3, Rgb(0x3A2818));
    c.RoundRect(192, 128, 26, 20, 6, Rgb(0x8A6A4A));
    c.Disc(222, 126, 6, Rgb(0x8A6A4A));
    c.Fill(150, 114, 10, 16, Rgb(0x40506A));
    c.Disc(155, 110, 5, Rgb(0xE0B090));
    c.Grain(0, 0, kWidth, kHeight, 0.03f, 37);
    return c;
}

}  // namespace page_art

std::vector<std::pair<std::string, Canvas>> PaintPagePictures() {
    using namespace page_art;
    return {{"bres_intro_vale", QuietVale()},
            {"bres_intro_lights", LightsInTheHills()},
            {"bres_intro_cart", MorningCart()}};
}

std::vector<PageSequence> FrontEndPageSequences() {
    PageSequence intro;
    intro.id = "bres_intro";
    intro.text = "bmus_main";
    intro.pages = {
        {"bres_intro_vale",
         "The vale has been quiet for a generation. Its farms are green, its roads are "
         "safe, and the old wars are songs that grandmothers sing.",
         ""},
        {"bres_intro_lights",
         "Now lights move in the hills at night, and the old cellars below the town are "
         "not empty any more. The elder has sent for help, and nobody has come.",
         ""},
        {"bres_intro_cart",
         "You arrive with the morning cart, a stranger with little more than a name. "
         "Tell us who you are.",
         "bres_intro_arrival"},
    };
    PageSequence credits;
    credits.id = "bmus_credits";
    credits.text = "bmus_town";
    credits.pages = {
        {"",
         "VANTREL\r\rA small tale of a quiet vale\r\rWorld, pictures, music and sounds\rmade by hand "
         "by the Vantrel team\r\rThank you for playing",
         ""},
    };
    return {intro, credits};
}

std::vector<std::string> FrontEndPageIds() { return {"bres_intro", "bmus_credits"}; }

}  // namespace world
