// The pictures of the rule records, drawn from simple shapes: item icons, first-person hands,
// creature frames and portraits. Each kind of name has its own painter.
#include <cctype>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/content/rules/BaseRules.h"
#include "tools/content/rules/NpcPortraits.h"

namespace {

bool Has(const std::string& name, const char* part) { return name.find(part) != std::string::npos; }

const Rgba kClear{0, 0, 0, 0};
const Rgba kOutline = Rgb(0x1A1208);
const Rgba kSteel = Rgb(0xB8C0C8);
const Rgba kSteelDark = Rgb(0x6A7078);
const Rgba kWood = Rgb(0x7A4E2A);
const Rgba kLeather = Rgb(0x8A5A32);
const Rgba kGold = Rgb(0xD8B048);

// Item pictures are 50 pixels square, the size the inventory, the shop and the paper doll lay out
// (the small layouts shrink them from exactly that size). The shapes below are drawn in a 32-unit
// square; the adapter scales every coordinate so they stay readable as the sizes change.
constexpr int kItemPicture = 50;

class ItemCanvas {
public:
    explicit ItemCanvas(Canvas& c) : c_(c), k_(static_cast<float>(c.Width()) / 32.0f) {}
    void Fill(int x, int y, int w, int h, Rgba col) { c_.Fill(I(x), I(y), I(x + w) - I(x), I(y + h) - I(y), col); }
    void Frame(int x, int y, int w, int h, Rgba col, int t) {
        c_.Frame(I(x), I(y), I(x + w) - I(x), I(y + h) - I(y), col, std::max(1, I(t)));
    }
    void Line(Pt a, Pt b, float t, Rgba col) { c_.Line(P(a), P(b), t * k_, col); }
    void Disc(float x, float y, float r, Rgba col) { c_.Disc(x * k_, y * k_, r * k_, col); }
    void Ring(float x, float y, float r, float t, Rgba col) { c_.Ring(x * k_, y * k_, r * k_, t * k_, col); }
    void RoundRect(int x, int y, int w, int h, float r, Rgba col) {
        c_.RoundRect(I(x), I(y), I(x + w) - I(x), I(y + h) - I(y), r * k_, col);
    }
    void Polygon(const std::vector<Pt>& pts, Rgba col) {
        std::vector<Pt> scaled;
        for (Pt q : pts) scaled.push_back(P(q));
        c_.Polygon(scaled, col);
    }

private:
    int I(int v) const { return static_cast<int>(std::lround(static_cast<float>(v) * k_)); }
    Pt P(Pt q) const { return Pt{q.x * k_, q.y * k_}; }
    Canvas& c_;
    float k_;
};

// A dark rim round every shape, so an item reads on the black cells of the inventory and on the
// floor of the 3D view alike.
void OutlineShapes(Canvas& c) {
    const Canvas before = c;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (before.Get(x, y).a >= 128) continue;
            bool touches = false;
            for (int d = 0; d < 4 && !touches; ++d) {
                const int nx = x + (d == 0) - (d == 1), ny = y + (d == 2) - (d == 3);
                touches = nx >= 0 && ny >= 0 && nx < c.Width() && ny < c.Height() && before.Get(nx, ny).a >= 128;
            }
            if (touches) c.Set(x, y, kOutline);
        }
}

void Blade(ItemCanvas& c, float length, float width) {
    c.Line({6, 26}, {6 + length, 26 - length}, width + 2, kOutline);
    c.Line({6, 26}, {6 + length, 26 - length}, width, kSteel);
    c.Line({4, 22}, {10, 28}, 3, kGold);
    c.Line({3, 29}, {6, 26}, 3, kLeather);
}

Canvas PaintItem(const std::string& name) {
    Canvas picture(kItemPicture, kItemPicture, kClear);
    ItemCanvas c(picture);
    if (Has(name, "sword") || Has(name, "dagger")) {
        Blade(c, Has(name, "dagger") ? 12.0f : 20.0f, 3);
    } else if (Has(name, "club")) {
        c.Line({5, 28}, {24, 7}, 7, kOutline);
        c.Line({5, 28}, {24, 7}, 5, kWood);
        c.Disc(24, 7, 5, Rgb(0x5A3A1E));
    } else if (Has(name, "bow")) {
        c.Ring(6, 16, 14, 3, kWood);
        c.Fill(0, 0, 6, 32, kClear);
        c.Line({6, 2}, {6, 30}, 1, Rgb(0xE0E0D0));
    } else if (Has(name, "quiver")) {
        c.RoundRect(9, 8, 12, 22, 3, kLeather);
        for (int i = 0; i < 3; ++i) c.Line({11.0f + 4 * i, 8}, {13.0f + 4 * i, 1}, 2, kSteel);
    } else if (Has(name, "shield")) {
        c.Disc(16, 16, 13, kOutline);
        c.Disc(16, 16, 11, kWood);
        c.Disc(16, 16, 4, kSteel);
    } else if (Has(name, "mail") || Has(name, "leather")) {
        Rgba body = Has(name, "mail") ? kSteelDark : kLeather;
        c.Polygon({{6, 6}, {26, 6}, {28, 14}, {24, 14}, {24, 28}, {8, 28}, {8, 14}, {4, 14}}, body);
        c.Frame(8, 6, 16, 22, kOutline, 1);
    } else if (Has(name, "helm")) {
        c.Disc(16, 18, 11, kSteelDark);
        c.Fill(5, 18, 22, 10, kClear);
        c.Fill(8, 17, 16, 3, kSteel);
    } else if (Has(name, "cape")) {
        c.Polygon({{10, 4}, {22, 4}, {28, 28}, {4, 28}}, Rgb(0x3A5A8A));
    } else if (Has(name, "boots")) {
        c.Polygon({{8, 6}, {16, 6}, {16, 22}, {26, 22}, {26, 28}, {8, 28}}, Rgb(0x9A7A5A));
    } else if (Has(name, "potion") || Has(name, "vial") || Has(name, "water")) {
        Rgba liquid = Has(name, "red")                          ? Rgb(0xC02A2A)
                      : Has(name, "blue")                       ? Rgb(0x2A5AD0)
                      : Has(name, "green")                      ? Rgb(0x3A9A3A)
                      : Has(name, "black") || Has(name, "vial") ? Rgb(0x5A1020)
                                                                : Rgb(0x7AB8E0);
        c.Disc(16, 20, 9, kOutline);
        c.Disc(16, 20, 8, liquid);
        c.Fill(13, 5, 6, 8, Rgb(0xD8E8F0));
        c.Fill(12, 3, 8, 3, kWood);
    } else if (Has(name, "letter") || Has(name, "scroll")) {
        c.Fill(6, 6, 20, 20, Rgb(0xE8DAB0));
        c.Frame(6, 6, 20, 20, kOutline, 1);
        for (int y = 10; y < 24; y += 4)
            c.Line({9, static_cast<float>(y)}, {23, static_cast<float>(y)}, 1, Rgb(0x6A5A40));
        if (Has(name, "scroll")) c.Disc(16, 26, 3, Rgb(0xB02222));
    } else if (Has(name, "spellbook")) {
        c.Fill(6, 4, 20, 24, Rgb(0x4A2A7A));
        c.Frame(6, 4, 20, 24, kOutline, 1);
        c.Disc(16, 16, 5, kGold);
    } else if (Has(name, "hammer")) {
        c.Line({8, 28}, {20, 10}, 3, kWood);
        c.Fill(14, 4, 14, 8, kSteelDark);
    } else if (Has(name, "coins")) {
        for (int i = 0; i < 3; ++i) c.Disc(12.0f + 4 * i, 20.0f - 3 * i, 7, i % 2 ? kGold : Rgb(0xF0D070));
    } else if (Has(name, "gem") || Has(name, "ring") || Has(name, "amulet")) {
        if (!Has(name, "gem")) c.Ring(16, 18, 8, 2, kGold);
        c.Polygon({{16, 4}, {24, 12}, {16, 22}, {8, 12}}, Rgb(0x9A4AD0));
    } else if (Has(name, "herb")) {
        c.Line({16, 28}, {16, 8}, 2, Rgb(0x2E6A2A));
        for (int i = 0; i < 3; ++i) c.Disc(11.0f + 5 * i, 9.0f + (i % 2) * 4, 4, Rgb(0x3E9A3A));
    } else if (Has(name, "mortar")) {
        c.Disc(16, 20, 10, Rgb(0x8A8A8A));
        c.Fill(4, 6, 24, 12, kClear);
        c.Line({18, 18}, {26, 4}, 3, Rgb(0xA0A0A0));
    } else if (Has(name, "item_key")) {
        // An old iron key: a ring bow, a shaft and a toothed bit, so that it is not taken for a pick.
        c.Ring(9, 9, 6, 3, kGold);
        c.Line({13, 13}, {26, 26}, 3, kGold);
        c.Line({20, 20}, {16, 24}, 3, kGold);
        c.Line({24, 24}, {20, 28}, 3, kGold);
    } else if (Has(name, "lockpick")) {
        c.Line({6, 26}, {24, 8}, 2, kSteel);
        c.Line({24, 8}, {27, 11}, 2, kSteel);
    } else if (Has(name, "wand")) {
        c.Line({6, 26}, {24, 8}, 3, kWood);
        c.Disc(25, 7, 3, Rgb(0xF0E060));
    } else if (Has(name, "apple")) {
        c.Disc(16, 18, 9, Rgb(0xC03020));
        c.Line({16, 9}, {18, 4}, 2, kWood);
    } else if (Has(name, "cheese")) {
        c.Polygon({{4, 24}, {28, 24}, {28, 12}}, Rgb(0xE8C040));
    } else {
        c.RoundRect(6, 12, 20, 14, 5, Rgb(0xC89050));  // bread and everything else
    }
    OutlineShapes(picture);
    return picture;
}

// First-person hands: the player's right forearm reaching in from the lower right corner of the
// picture, its fist round what it holds, rising with the frame number. The view draws the same picture
// mirrored as the left hand. Painted like the 3D view's sprites: soft shapes lit from the upper left.
void HandShading(Canvas& c) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const Rgba p = c.Get(x, y);
            if (p.a == 0) continue;
            const float lean = 1.14f - 0.22f * (static_cast<float>(x) / w) - 0.22f * (static_cast<float>(y) / h);
            const float grain = 0.96f + 0.08f * static_cast<float>(Hash(static_cast<uint32_t>(x * 131 + y * 7919)) % 100) / 100.0f;
            Rgba shaded = Shade(p, lean * grain);
            shaded.a = p.a;
            c.Set(x, y, shaded);
        }
}

// A shape with a dark rim one pixel wide: drawn first in the rim colour, a little larger.
void Rimmed(Canvas& c, const std::vector<Pt>& pts, Rgba fill, Rgba rim) {
    float cx = 0, cy = 0;
    for (const Pt& p : pts) cx += p.x, cy += p.y;
    cx /= static_cast<float>(pts.size()), cy /= static_cast<float>(pts.size());
    std::vector<Pt> outer;
    for (const Pt& p : pts) {
        const float dx = p.x - cx, dy = p.y - cy, d = std::max(1.0f, std::hypot(dx, dy));
        outer.push_back({p.x + dx / d * 1.5f, p.y + dy / d * 1.5f});
    }
    c.Polygon(outer, rim);
    c.Polygon(pts, fill);
}

Canvas PaintHand(const std::string& name) {
    Canvas c(176, 136, kClear);
    const int frame = std::isdigit(static_cast<unsigned char>(name.back())) ? name.back() - '0' : 0;
    const float y0 = -10.0f * static_cast<float>(frame);  // the hand rises frame by frame
    auto P = [y0](float x, float y) { return Pt{x, y + y0}; };
    const Rgba skin = Rgb(0xD9A57C), skinDark = Rgb(0xA8714E), skinLight = Rgb(0xEBC29C);
    const Rgba sleeve = Rgb(0x4E5E3A), cuff = Rgb(0x6B4A2A);
    const bool cast = Has(name, "cast"), shield = Has(name, "shield");

    // What the fist holds, behind it: it leans up and in towards the middle of the view.
    if (Has(name, "sword")) {
        c.Line(P(86, 46), P(30, -40), 13, kOutline);
        c.Line(P(86, 46), P(30, -40), 10, kSteel);
        c.Line(P(84, 44), P(32, -36), 3, Rgb(0xE8EEF4));  // the ridge catches the light
        c.Line(P(72, 58), P(104, 36), 8, kOutline);       // the cross guard
        c.Line(P(73, 57), P(103, 37), 5, kGold);
    } else if (Has(name, "club")) {
        c.Line(P(88, 48), P(44, -18), 16, kOutline);
        c.Line(P(88, 48), P(44, -18), 13, kWood);
        c.Disc(P(42, -20).x, P(42, -20).y, 16, kOutline);
        c.Disc(P(42, -20).x, P(42, -20).y, 14, Rgb(0x6A4224));
        for (int i = 0; i < 5; ++i) {
            const float a = 0.6f + 1.2f * static_cast<float>(i);
            c.Disc(42 + 11 * std::cos(a), -20 + y0 + 11 * std::sin(a), 2.5f, kSteelDark);
        }
    } else if (Has(name, "bow")) {
        Pt last = P(112, -30);
        for (int i = 1; i <= 16; ++i) {
            const float t = static_cast<float>(i) / 16.0f, u = 2 * t - 1;
            const Pt p = P(112 - 34 * (1 - u * u), -30 + 180 * t);
            c.Line(last, p, 9, kOutline);
            c.Line(last, p, 6, kWood);
            last = p;
        }
        c.Line(P(112, -30), P(112, 150), 1.5f, Rgb(0xE8E4D4));  // the string
    } else if (Has(name, "arrow")) {
        c.Line(P(150, 70), P(40, 8), 4, kOutline);
        c.Line(P(150, 70), P(40, 8), 2, kWood);
        c.Polygon({P(34, 4), P(48, 8), P(42, 16)}, kSteel);
        c.Polygon({P(150, 70), P(160, 62), P(156, 76)}, Rgb(0xC8C0B0));
    } else if (Has(name, "throw")) {
        c.Line(P(86, 48), P(60, 8), 8, kOutline);
        c.Line(P(86, 48), P(60, 8), 5, kSteel);
        c.Line(P(76, 54), P(96, 42), 5, kGold);
    }

    // The forearm from the corner, in its sleeve.
    Rimmed(c, {P(84, 78), P(120, 64), P(176, 104), P(176, 136), P(124, 136)}, skin, skinDark);
    c.Polygon({P(118, 100), P(146, 88), P(176, 110), P(176, 136), P(112, 136)}, sleeve);
    c.Line(P(116, 102), P(148, 88), 5, cuff);

    if (cast) {
        // An open hand, palm up, fingers spread round a glow that grows with the frame.
        Rimmed(c, {P(70, 54), P(110, 46), P(122, 72), P(88, 86)}, skin, skinDark);
        const float tips[4][2] = {{64, 30}, {80, 22}, {96, 22}, {110, 28}};
        const float roots[4][2] = {{76, 56}, {86, 52}, {96, 50}, {106, 50}};
        for (int i = 0; i < 4; ++i) {
            c.Line(P(roots[i][0], roots[i][1]), P(tips[i][0], tips[i][1]), 10, skinDark);
            c.Line(P(roots[i][0], roots[i][1]), P(tips[i][0], tips[i][1]), 8, skin);
        }
        c.Line(P(72, 70), P(52, 60), 10, skinDark);  // the thumb
        c.Line(P(72, 70), P(52, 60), 8, skin);
        HandShading(c);
        const float r = 12.0f + 5.0f * static_cast<float>(frame);
        c.Disc(90, 36 + y0, r + 8, Rgba{120, 170, 255, 60});
        c.Disc(90, 36 + y0, r, Rgba{150, 200, 255, 140});
        c.Disc(90, 36 + y0, r * 0.45f, Rgba{235, 245, 255, 220});
        return c;
    }

    // The fist: the back of the hand, four curled fingers with their knuckles, the thumb across.
    Rimmed(c, {P(72, 50), P(112, 40), P(124, 70), P(92, 86), P(76, 80)}, skin, skinDark);
    for (int i = 0; i < 4; ++i) {
        const float x = 70.0f + 11.0f * static_cast<float>(i), y = 50.0f - 3.0f * static_cast<float>(i);
        c.RoundRect(static_cast<int>(x), static_cast<int>(y + y0), 12, 22, 5, skinDark);
        c.RoundRect(static_cast<int>(x) + 1, static_cast<int>(y + y0) + 1, 10, 20, 4, skin);
        c.Disc(x + 6, y + y0 + 4, 3.5f, skinLight);  // the knuckle
    }
    Rimmed(c, {P(66, 66), P(92, 60), P(100, 70), P(74, 80)}, skin, skinDark);  // the thumb
    c.Line(P(92, 62), P(98, 68), 2, Rgb(0xE8C8B0));                          // its nail
    if (Has(name, "club") || Has(name, "sword") || Has(name, "throw")) {
        c.Disc(P(106, 84).x, P(106, 84).y, 6, kOutline);  // the pommel below the fist
        c.Disc(P(106, 84).x, P(106, 84).y, 4.5f, Has(name, "sword") ? kGold : Rgb(0x5A3A1E));
    }

    if (shield) {
        // A round shield of planks with an iron rim and boss, held in front of the fist.
        const float cx = 84, cy = 66 + y0;
        c.Disc(cx, cy, 62, kOutline);
        c.Disc(cx, cy, 60, kSteelDark);
        c.Disc(cx, cy, 54, kWood);
        for (int k = -3; k <= 3; ++k) c.Line({cx + 15.0f * k, cy - 54}, {cx + 15.0f * k, cy + 54}, 1.5f, Rgb(0x4A2E18));
        c.Ring(cx, cy, 57, 6, kSteelDark);
        c.Disc(cx, cy, 14, kOutline);
        c.Disc(cx, cy, 12, kSteel);
        c.Disc(cx - 4, cy - 4, 4, Rgb(0xE0E6EC));
    }
    HandShading(c);
    return c;
}

// Creatures: a body and head in the kind's colours, the legs swung by the frame number.
// A grown person at the size the 3D view gives a level (240 texels a level, so about 175 texels
// tall). People turn and walk, so their ten frames are three steps seen from behind (0..2), from the
// side (3..5) and from the front (6..8), and a tenth frame from the front; the side frames face west
// and the game mirrors them for the east.
Canvas PaintPerson(const std::string& name) {
    Canvas c(84, 180, kClear);
    const bool still = Has(name, "still");
    const int frame = std::isdigit(static_cast<unsigned char>(name.back())) ? name.back() - '0' : 6;
    const int view = still ? 2 : std::min(frame / 3, 2);
    const int step = still ? 0 : frame % 3;
    const float stride = step == 1 ? 9.0f : step == 2 ? -9.0f : 0.0f;
    // The women of the town wear long dresses and their hair long; the men tunics and hose.
    const bool woman = Has(name, "woman");
    const Rgba skin = Rgb(0xD8A880), hair = woman ? Rgb(0x7A4420) : Rgb(0x4A3020);
    const Rgba tunic = woman ? (still ? Rgb(0x9A3A4A) : Rgb(0x8A3444)) : (still ? Rgb(0x4060C0) : Rgb(0x3A5A9A));
    const Rgba belt = woman ? Rgb(0xD8C090) : Rgb(0x5A3A1E), hose = Rgb(0x5A4A3A), shoe = Rgb(0x2A1C10);
    if (woman) {
        const float sway = view == 1 ? stride * 0.4f : 0.0f;
        // The skirt to the ankles, the feet peeping out as she walks.
        c.Fill(32 - static_cast<int>(stride / 2), 166, 12, 8, shoe);
        c.Fill(42 + static_cast<int>(stride / 2), 166, 12, 8, shoe);
        c.Polygon({{26, 96}, {58, 96}, {68 + sway, 168}, {16 + sway, 168}}, tunic);
        c.Line({42, 100}, {42 + sway, 166}, 2, Mix(tunic, kOutline, 0.3f));
        if (view == 1) {
            c.RoundRect(31, 40, 24, 62, 8, tunic);
            c.Fill(31, 94, 24, 5, belt);
            c.Line({43, 46}, {43 + stride, 100}, 7, Mix(tunic, kOutline, 0.25f));
            c.Disc(43 + stride, 102, 5, skin);
            c.Line({50, 16}, {54, 58}, 10, hair);  // the hair down her back
            c.Disc(42, 24, 14, skin);
            c.Disc(47, 19, 13, hair);
            c.Disc(32, 24, 2, kOutline);
            return c;
        }
        const float left = step == 1 ? -4.0f : 4.0f, right = step == 2 ? -4.0f : 4.0f;
        c.RoundRect(24, 40, 36, 62, 10, tunic);
        c.Fill(24, 94, 36, 5, belt);
        c.Line({25, 48}, {15, 100 + 2 * right}, 7, tunic);
        c.Line({59, 48}, {69, 100 + 2 * left}, 7, tunic);
        c.Disc(15, 102 + 2 * right, 5, skin);
        c.Disc(69, 102 + 2 * left, 5, skin);
        c.RoundRect(25, 14, 34, 46, 12, hair);  // falls to the shoulders
        if (view == 0) {
            c.Disc(42, 24, 16, hair);
        } else {
            c.Disc(42, 26, 14, skin);
            c.Disc(42, 14, 13, hair);
            c.Disc(36, 25, 2, kOutline);
            c.Disc(48, 25, 2, kOutline);
            c.Line({38, 33}, {46, 33}, 2, Rgb(0xA04A4A));
        }
        return c;
    }
    if (view == 1) {
        // Seen from the side, looking west (left): the legs and the near arm swing along the way.
        c.Line({42, 112}, {42 - stride, 170}, 10, hose);
        c.Line({42, 112}, {42 + stride, 170}, 10, Mix(hose, kOutline, 0.3f));
        c.Fill(32 - static_cast<int>(stride), 168, 14, 8, shoe);
        c.Fill(32 + static_cast<int>(stride), 168, 14, 8, shoe);
        c.RoundRect(30, 40, 26, 76, 8, tunic);
        c.Fill(30, 100, 26, 6, belt);
        c.Line({43, 46}, {43 + stride, 104}, 8, Mix(tunic, kOutline, 0.25f));
        c.Disc(43 + stride, 106, 5, skin);
        c.Disc(42, 24, 15, skin);
        c.Disc(46, 19, 14, hair);
        c.Disc(32, 24, 2, kOutline);
        c.Fill(26, 26, 4, 3, skin);
        return c;
    }
    const float left = step == 1 ? -4.0f : 4.0f, right = step == 2 ? -4.0f : 4.0f;
    c.Line({34, 112}, {34, 168 + left}, 11, hose);
    c.Line({50, 112}, {50, 168 + right}, 11, hose);
    c.Fill(27, static_cast<int>(166 + left), 14, 8, shoe);
    c.Fill(43, static_cast<int>(166 + right), 14, 8, shoe);
    c.RoundRect(22, 40, 40, 76, 10, tunic);
    c.Fill(22, 100, 40, 6, belt);
    c.Line({22, 48}, {12, 102 + 2 * right}, 8, tunic);
    c.Line({62, 48}, {72, 102 + 2 * left}, 8, tunic);
    c.Disc(12, 104 + 2 * right, 5, skin);
    c.Disc(72, 104 + 2 * left, 5, skin);
    c.Disc(42, 24, 16, view == 0 ? hair : skin);
    if (view == 2) {
        c.Disc(42, 14, 13, hair);
        c.Disc(42, 27, 13, skin);
        c.Disc(36, 24, 2, kOutline);
        c.Disc(48, 24, 2, kOutline);
        c.Line({37, 32}, {47, 32}, 2, Rgb(0x8A4A3A));
    }
    return c;
}

// Creatures that walk upright stand as tall as a grown person (the view counts 240 texels to a wall's
// height): the skeletons bare bones, the others robed.
Canvas PaintUpright(const std::string& name, Rgba body, float swing) {
    Canvas c(84, 180, kClear);
    const bool bones = Has(name, "skeleton");
    const Rgba dark = Mix(body, kOutline, 0.35f);
    const float legs = swing * 2.0f;
    c.Line({36, 106}, {32 + legs, 176}, bones ? 6.0f : 10.0f, body);
    c.Line({48, 106}, {52 - legs, 176}, bones ? 6.0f : 10.0f, body);
    if (bones) {
        // Spine, ribs and pelvis.
        c.Line({42, 38}, {42, 104}, 5, body);
        for (int i = 0; i < 5; ++i) {
            const float y = 48.0f + 9.0f * static_cast<float>(i), half = 17.0f - 1.5f * static_cast<float>(i);
            c.Line({42 - half, y + 3}, {42 + half, y + 3}, 3.5f, body);
        }
        c.RoundRect(28, 98, 28, 12, 5, body);
    } else {
        c.Polygon({{26, 40}, {58, 40}, {66, 150}, {18, 150}}, body);
        c.Fill(26, 96, 32, 5, dark);
    }
    // Arms, the near one swinging, and the skull or hooded head.
    c.Line({26, 44}, {18, 96 + swing * 2.0f}, bones ? 5.0f : 8.0f, body);
    c.Line({58, 44}, {66, 96 - swing * 2.0f}, bones ? 5.0f : 8.0f, body);
    c.Line({22, 40}, {62, 40}, bones ? 5.0f : 9.0f, body);
    c.Disc(42, 22, 15, body);
    if (bones) {
        c.Disc(36, 20, 4, kOutline);
        c.Disc(48, 20, 4, kOutline);
        c.Fill(37, 30, 10, 3, kOutline);
    } else {
        c.Disc(42, 25, 9, Rgb(0xD8A880));
        c.Disc(38, 24, 1.5f, kOutline);
        c.Disc(46, 24, 1.5f, kOutline);
    }
    return c;
}

// Beasts that go on four legs, seen from the side and looking west (left), at the size the view
// gives them beside a person (240 texels to a wall's height): a giant rat about as high as a man's
// thigh, a wolf a hundred texels at the shoulder. The picture's bottom row is the floor the paws
// stand on, and the beast's length is centred in it. The frames are the stance (0, and 6), two steps
// (1, 2), the crouch before a bite (3), the bite (4) and the flinch of a hurt beast (5).
struct BeastShape {
    enum Kind { kEllipse, kLine, kPolygon } kind;
    Pt a{}, b{};  // ellipse: centre and radii; line: the two ends
    float size = 0.0f;  // ellipse: rotation (radians); line: thickness
    std::vector<Pt> points;
    Rgba colour{};
};

std::vector<Pt> EllipsePoints(Pt centre, Pt radii, float turn, float grow = 0.0f) {
    std::vector<Pt> out;
    for (int i = 0; i < 32; ++i) {
        const float t = static_cast<float>(i) * 6.2831853f / 32.0f;
        const float x = (radii.x + grow) * std::cos(t), y = (radii.y + grow) * std::sin(t);
        out.push_back({centre.x + x * std::cos(turn) - y * std::sin(turn),
                       centre.y + x * std::sin(turn) + y * std::cos(turn)});
    }
    return out;
}

// Draws the shapes over a dark rim: first every shape grown by the rim, then the shapes themselves,
// so that the beast has one outline round its whole silhouette.
void DrawBeast(Canvas& c, const std::vector<BeastShape>& shapes, float rim) {
    for (int pass = 0; pass < 2; ++pass) {
        const float grow = pass == 0 ? rim : 0.0f;
        for (const BeastShape& s : shapes) {
            const Rgba colour = pass == 0 ? kOutline : s.colour;
            switch (s.kind) {
            case BeastShape::kEllipse: c.Polygon(EllipsePoints(s.a, s.b, s.size, grow), colour); break;
            case BeastShape::kLine: c.Line(s.a, s.b, s.size + 2.0f * grow, colour); break;
            case BeastShape::kPolygon:
                if (pass == 1) c.Polygon(s.points, colour);
                else {
                    for (size_t i = 0; i < s.points.size(); ++i)
                        c.Line(s.points[i], s.points[(i + 1) % s.points.size()], 2.0f * grow, colour);
                    c.Polygon(s.points, colour);
                }
                break;
            }
        }
    }
}

BeastShape Ellipse(Pt centre, Pt radii, Rgba colour, float turn = 0.0f) {
    return {BeastShape::kEllipse, centre, radii, turn, {}, colour};
}
BeastShape Limb(Pt from, Pt to, float thickness, Rgba colour) {
    return {BeastShape::kLine, from, to, thickness, {}, colour};
}
BeastShape Shape(std::vector<Pt> points, Rgba colour) {
    return {BeastShape::kPolygon, {}, {}, 0.0f, std::move(points), colour};
}

// The pose of a frame: how far the legs stride, how low the body crouches, how far it lunges, how
// much the head lifts (a flinch) and how wide the jaws open.
struct BeastPose {
    float stride = 0, crouch = 0, lunge = 0, lift = 0, jaw = 0;
};

BeastPose PoseOf(int frame, bool still) {
    BeastPose p;
    if (still) return p;
    switch (frame) {
    case 1: p.stride = 1.0f; break;
    case 2: p.stride = -1.0f; break;
    case 3: p.crouch = 1.0f, p.jaw = 0.6f; break;
    case 4: p.lunge = 1.0f, p.jaw = 1.0f; break;
    case 5: p.lift = 1.0f, p.jaw = 0.4f; break;
    default: break;
    }
    return p;
}

Canvas PaintRat(Rgba body, const BeastPose& p) {
    // 128 x 80: the back about 60 texels above the floor, the head low and forward, a long bare tail.
    Canvas c(128, 80, kClear);
    const float g = 78.0f;  // the floor
    const Rgba dark = Mix(body, kOutline, 0.35f), belly = Mix(body, Rgb(0xD8C8B0), 0.35f);
    const Rgba pink = Rgb(0xD89A9A), pinkDark = Rgb(0xA86A6A);
    const float dx = -8.0f * p.lunge, dy = 6.0f * p.crouch;
    const float s = 7.0f * p.stride;
    const float headX = 24.0f + dx - 4.0f * p.lunge, headY = 54.0f + dy + 4.0f * p.crouch - 10.0f * p.lift;
    std::vector<BeastShape> shapes = {
        // The tail, curling back along the floor.
        Limb({100 + dx, 58 + dy}, {116, 70}, 5, pink),
        Limb({116, 70}, {126, 76}, 3, pink),
        // The far legs, darker, behind the body.
        Limb({46 + dx, 62 + dy}, {44 + dx - s, g - 2}, 6, dark),
        Limb({88 + dx, 60 + dy}, {90 + dx + s, g - 2}, 8, dark),
        // The body: the hunched haunch and the lower chest.
        Ellipse({78 + dx, 46 + dy}, {32, 26 - 2 * p.crouch}, body, 0.1f),
        Ellipse({50 + dx, 54 + dy}, {22, 17}, body, -0.2f),
        Ellipse({60 + dx, 64 + dy}, {30, 8}, belly),
        // The near legs with their pink feet.
        Limb({52 + dx, 62 + dy}, {50 + dx + s, g - 2}, 7, body),
        Limb({86 + dx, 62 + dy}, {80 + dx - s, g - 2}, 10, body),
        Ellipse({47 + dx + s, g - 2}, {6, 2.5f}, pink),
        Ellipse({77 + dx - s, g - 2}, {7, 2.5f}, pink),
        // The head: a wedge of a snout, the round ear, the eye and the teeth when it bites.
        Ellipse({headX + 6, headY}, {15, 11}, body, -0.15f - 0.3f * p.lift),
        Shape({{headX, headY - 8}, {headX - 22, headY + 2 - 4 * p.jaw}, {headX + 2, headY + 8}}, body),
        Shape({{headX - 2, headY + 6}, {headX - 18, headY + 6 + 6 * p.jaw}, {headX + 6, headY + 10}}, dark),
        Ellipse({headX + 14, headY - 11}, {7, 8}, body),
        Ellipse({headX + 14, headY - 10}, {4, 5}, pink),
        Ellipse({headX - 21, headY + 1 - 4 * p.jaw}, {2.5f, 2.5f}, pinkDark),
    };
    DrawBeast(c, shapes, 1.5f);
    c.Disc(headX + 1, headY - 3, 2.5f, Rgb(0xD02020));
    c.Disc(headX + 0.5f, headY - 3.5f, 0.8f, Rgb(0xFFD0D0));
    if (p.jaw > 0.3f) {
        c.Line({headX - 18, headY + 1}, {headX - 16, headY + 6}, 2, Rgb(0xF0E8D0));
        c.Line({headX - 15, headY + 1}, {headX - 13, headY + 6}, 2, Rgb(0xF0E8D0));
    }
    for (int w = 0; w < 3; ++w)  // whiskers
        c.Line({headX - 14, headY + 2}, {headX - 26, headY - 4 + 5.0f * w}, 0.8f, Mix(body, kOutline, 0.6f));
    return c;
}

Canvas PaintWolf(Rgba body, const BeastPose& p) {
    // 176 x 128: the shoulder a hundred texels above the floor, the head carried above it, a bushy tail.
    Canvas c(176, 128, kClear);
    const float g = 126.0f;
    const Rgba dark = Mix(body, kOutline, 0.4f), back = Mix(body, kOutline, 0.2f),
               belly = Mix(body, Rgb(0xF0F0E8), 0.45f);
    const float dx = -10.0f * p.lunge, dy = 10.0f * p.crouch;
    const float s = 10.0f * p.stride;
    const float headX = 38.0f + dx - 8.0f * p.lunge, headY = 30.0f + 2.2f * dy + 8.0f * p.lunge - 12.0f * p.lift;
    std::vector<BeastShape> shapes = {
        // The tail, hanging in a brush behind.
        Shape({{146 + dx, 46 + dy}, {162, 58 - 6 * p.lift}, {172, 92}, {164, 100}, {150, 74 + dy}}, back),
        // The far legs.
        Limb({62 + dx, 76 + dy}, {58 + dx - s, g - 3}, 9, dark),
        Limb({132 + dx, 72 + dy}, {138 + dx + s, g - 3}, 10, dark),
        // Chest, barrel and hindquarters; the belly paler.
        Ellipse({64 + dx, 54 + dy}, {28, 27}, body, -0.2f),
        Ellipse({100 + dx, 58 + dy}, {48, 21}, body),
        Ellipse({136 + dx, 56 + dy}, {22, 24}, body),
        Ellipse({104 + dx, 40 + dy}, {40, 7}, back),
        Ellipse({92 + dx, 74 + dy}, {34, 6}, belly),
        // The near legs: the foreleg straight under the shoulder, the hind leg bent at the hock.
        Limb({68 + dx, 74 + dy}, {66 + dx + s, g - 3}, 10, body),
        Limb({136 + dx, 70 + dy}, {146 + dx - s, 102}, 14, body),
        Limb({146 + dx - s, 102}, {140 + dx - s, g - 3}, 9, body),
        Ellipse({62 + dx + s, g - 3}, {8, 3.5f}, dark),
        Ellipse({136 + dx - s, g - 3}, {8, 3.5f}, dark),
        // The neck up to the head, the long muzzle, the pricked ears and the jaw.
        Shape({{52 + dx, 34 + dy}, {headX + 10, headY - 8}, {headX + 14, headY + 14}, {70 + dx, 70 + dy}}, body),
        Ellipse({headX + 6, headY}, {18, 14}, body, -0.1f - 0.25f * p.lift),
        Shape({{headX - 4, headY - 8}, {headX - 34, headY + 4 - 4 * p.jaw}, {headX - 32, headY + 10 - 4 * p.jaw},
               {headX + 2, headY + 10}},
              body),
        Shape({{headX - 2, headY + 8}, {headX - 28, headY + 12 + 10 * p.jaw}, {headX + 8, headY + 14}}, back),
        Shape({{headX + 8, headY - 10}, {headX + 10, headY - 30}, {headX + 20, headY - 10}}, body),
        Shape({{headX + 14, headY - 8}, {headX + 20, headY - 26}, {headX + 26, headY - 6}}, back),
        Ellipse({headX - 33, headY + 5 - 4 * p.jaw}, {3.5f, 3}, kOutline),
    };
    DrawBeast(c, shapes, 2.0f);
    c.Disc(headX + 2, headY - 3, 3.0f, Rgb(0xE0B020));
    c.Disc(headX + 1.5f, headY - 3, 1.3f, kOutline);
    if (p.jaw > 0.3f)
        for (int t = 0; t < 3; ++t) {
            const float x = headX - 26 + 7.0f * t;
            c.Line({x, headY + 7}, {x + 1, headY + 11}, 2, Rgb(0xF0ECE0));
        }
    return c;
}

// The crypt's armed dead stand like the bare skeletons (the same bones and size) and carry what tells
// them apart across a room: the warrior a dented helm, a rusty sword and a round shield, the mage a
// tattered hooded robe and a staff with a glowing stone. Their frames pose as the beasts' do: the
// stance (0, and 6), two steps (1, 2), the wind-up (3), the blow (4) and the flinch (5).
struct SkeletonPose {
    float stride = 0, raise = 0, strike = 0, flinch = 0;
};

SkeletonPose SkeletonPoseOf(int frame, bool still) {
    SkeletonPose p;
    if (still) return p;
    switch (frame) {
    case 1: p.stride = 1.0f; break;
    case 2: p.stride = -1.0f; break;
    case 3: p.raise = 1.0f; break;
    case 4: p.strike = 1.0f; break;
    case 5: p.flinch = 1.0f; break;
    default: break;
    }
    return p;
}

Pt Along(Pt from, Pt to, float t) { return {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t}; }

// A limb drawn over a dark rim, as the beasts' are.
void RimmedLine(Canvas& c, Pt a, Pt b, float thickness, Rgba colour) {
    c.Line(a, b, thickness + 2.0f, kOutline);
    c.Line(a, b, thickness, colour);
}

// The legs, and (for the warrior, whose ribs show) the spine, ribs, pelvis and shoulders; `lean`
// shifts the shoulders sideways, as a flinch throws them.
void DrawSkeletonBody(Canvas& c, Rgba bone, float stride, float lean, bool torso) {
    const float legs = 5.0f * stride;
    const Rgba boneDark = Mix(bone, kOutline, 0.3f);
    RimmedLine(c, {36, 106}, {32 + legs, 174}, 6, bone);
    RimmedLine(c, {48, 106}, {52 - legs, 174}, 6, bone);
    RimmedLine(c, {26 + legs, 175}, {34 + legs, 175}, 4, boneDark);
    RimmedLine(c, {50 - legs, 175}, {58 - legs, 175}, 4, boneDark);
    if (!torso) return;
    RimmedLine(c, {42 + lean, 38}, {42, 104}, 5, bone);
    for (int i = 0; i < 5; ++i) {
        const float y = 51.0f + 9.0f * static_cast<float>(i), half = 17.0f - 1.5f * static_cast<float>(i);
        const float x = 42.0f + lean * (1.0f - static_cast<float>(i) / 6.0f);
        RimmedLine(c, {x - half, y}, {x + half, y}, 3.5f, bone);
    }
    c.RoundRect(27, 97, 30, 14, 6, kOutline);
    c.RoundRect(28, 98, 28, 12, 5, bone);
    c.Disc(35, 104, 2.5f, boneDark);
    c.Disc(49, 104, 2.5f, boneDark);
}

// A bare skull centred at (x, y): the sockets, the nose and the teeth.
void DrawSkull(Canvas& c, Rgba bone, float x, float y, float r) {
    c.Disc(x, y, r + 1.0f, kOutline);
    c.Disc(x, y, r, bone);
    c.Disc(x - 0.4f * r, y - 0.1f * r, 0.27f * r, kOutline);
    c.Disc(x + 0.4f * r, y - 0.1f * r, 0.27f * r, kOutline);
    c.Polygon({{x, y + 0.2f * r}, {x - 0.12f * r, y + 0.42f * r}, {x + 0.12f * r, y + 0.42f * r}}, kOutline);
    c.Fill(static_cast<int>(x - 0.33f * r), static_cast<int>(y + 0.56f * r), static_cast<int>(0.67f * r), 3,
           kOutline);
    for (int t = -1; t <= 1; ++t)
        c.Line({x + 0.16f * r * t, y + 0.56f * r}, {x + 0.16f * r * t, y + 0.56f * r + 3}, 1,
               Mix(bone, kOutline, 0.2f));
}

// A short sword in a bony fist at `hand`, its blade pointing at `tip`: rust on the blade, an iron
// guard, a leather grip.
void DrawRustySword(Canvas& c, Rgba bone, Pt hand, Pt tip) {
    const float dx = tip.x - hand.x, dy = tip.y - hand.y, len = std::sqrt(dx * dx + dy * dy);
    const Pt d{dx / len, dy / len}, n{-d.y, d.x};
    auto at = [&](float t, float side = 0.0f) {
        return Pt{hand.x + d.x * t + n.x * side, hand.y + d.y * t + n.y * side};
    };
    const Rgba blade = Rgb(0x9C968A), rust = Rgb(0x8A4A22), edge = Rgb(0xD0CCC0);
    // The blade tapers to its point.
    const std::vector<Pt> shape = {at(6, -3.8f), at(len - 7, -3.0f), at(len), at(len - 7, 3.0f), at(6, 3.8f)};
    for (size_t i = 0; i < shape.size(); ++i) c.Line(shape[i], shape[(i + 1) % shape.size()], 2.0f, kOutline);
    c.Polygon(shape, blade);
    c.Line(at(7, -1.2f), at(len - 4, -0.6f), 1.2f, edge);
    c.Disc(at(len * 0.45f, 1.0f).x, at(len * 0.45f, 1.0f).y, 2.0f, rust);
    c.Disc(at(len * 0.62f, -1.0f).x, at(len * 0.62f, -1.0f).y, 1.5f, rust);
    c.Disc(at(len * 0.3f, -1.5f).x, at(len * 0.3f, -1.5f).y, 1.2f, Mix(rust, blade, 0.4f));
    RimmedLine(c, at(5, -8), at(5, 8), 3, Rgb(0x5A5048));  // the guard
    RimmedLine(c, at(-7), at(4), 3.5f, kLeather);          // the grip
    c.Disc(at(-8).x, at(-8).y, 3.0f, kOutline);
    c.Disc(at(-8).x, at(-8).y, 2.0f, Rgb(0x6A6058));  // the pommel
    c.Disc(hand.x, hand.y, 4.5f, kOutline);
    c.Disc(hand.x, hand.y, 3.5f, bone);  // the fist round the grip
}

// A round shield of planks in an iron rim, with an iron boss, centred at (x, y).
void DrawRoundShield(Canvas& c, float x, float y) {
    const float r = 16.0f;
    const Rgba wood = Rgb(0x7A5030), woodDark = Rgb(0x553620), iron = Rgb(0x5E5A56);
    c.Disc(x, y, r + 1.5f, kOutline);
    c.Disc(x, y, r, wood);
    for (int k = -2; k <= 2; ++k) {
        if (k == 0) continue;
        const float px = x + 6.0f * static_cast<float>(k) - 3.0f * (k > 0 ? 1.0f : -1.0f);
        const float h = std::sqrt(std::max(0.0f, r * r - (px - x) * (px - x))) - 1.0f;
        c.Line({px, y - h}, {px, y + h}, 1.0f, woodDark);
    }
    c.Disc(x - 5, y + 6, 2.0f, Mix(wood, Rgb(0xB08050), 0.4f));  // a knot and a lighter plank
    c.Ring(x, y, r - 1.0f, 2.5f, iron);
    c.Polygon({{x + 9, y - 14}, {x + 14, y - 9}, {x + 11, y - 10}}, kOutline);  // a bite out of the rim
    c.Disc(x, y, 5.5f, kOutline);
    c.Disc(x, y, 4.5f, iron);
    c.Disc(x - 1.5f, y - 1.5f, 1.5f, Rgb(0x9A948C));
}

// A dented iron helm over a skull centred at (x, y).
void DrawHelm(Canvas& c, float x, float y) {
    const Rgba iron = Rgb(0x6E6A64), ironDark = Rgb(0x45423E), ironLight = Rgb(0xA09A90),
               rust = Rgb(0x7A4422);
    std::vector<Pt> dome, rim;
    for (int i = 0; i <= 16; ++i) {
        const float a = 3.14159265f + 3.14159265f * static_cast<float>(i) / 16.0f;
        dome.push_back({x + 16.5f * std::cos(a), y - 2 + 15.0f * std::sin(a)});
        rim.push_back({x + 18.0f * std::cos(a), y - 2 + 16.5f * std::sin(a)});
    }
    // The dent: the dome pushed in over the right eye.
    dome[11] = {dome[11].x - 3, dome[11].y + 3};
    rim[11] = {rim[11].x - 3, rim[11].y + 3};
    c.Polygon(rim, kOutline);
    c.Polygon(dome, iron);
    c.Line(dome[10], dome[11], 2.0f, ironDark);
    c.Line(dome[11], dome[12], 1.5f, ironLight);
    c.Line({x - 12, y - 8}, {x - 6, y - 14}, 2.0f, ironLight);  // the sheen
    c.Disc(x + 4, y - 8, 2.0f, rust);
    c.Disc(x - 9, y - 4, 1.5f, rust);
    RimmedLine(c, {x - 17, y - 1}, {x + 17, y - 1}, 3.5f, ironDark);             // the brow band
    RimmedLine(c, {x, y - 1}, {x, y + 8}, 3.0f, iron);                           // the nose guard
    for (int k = -2; k <= 2; ++k) c.Disc(x + 7.0f * k, y - 1, 0.9f, ironLight);  // rivets
}

Canvas PaintSkeletonWarrior(Rgba bone, const SkeletonPose& p) {
    Canvas c(84, 180, kClear);
    const float lean = 4.0f * p.flinch, sway = 5.0f * p.stride;
    const Pt head{42 + lean, 22 + 2 * p.flinch};
    const Pt rShoulder{25 + lean, 42}, lShoulder{59 + lean, 42};
    // The sword arm: hanging at the side, cocked back by the shoulder, brought down across the body,
    // and thrown out as the blow lands on it.
    Pt elbow{19, 68 + sway}, hand{17, 94 + sway}, tip{8, 48 + sway};
    if (p.raise > 0) elbow = {11, 50}, hand = {14, 30}, tip = {30, 2};
    if (p.strike > 0) elbow = {22, 64}, hand = {36, 82}, tip = {10, 128};
    if (p.flinch > 0) elbow = {13, 64}, hand = {9, 88}, tip = {4, 134};
    // The shield rides on the left forearm.
    Pt shield{63, 80 - sway};
    if (p.raise > 0) shield = {61, 74};
    if (p.strike > 0) shield = {66, 86};
    if (p.flinch > 0) shield = {52 + lean, 60};
    DrawSkeletonBody(c, bone, p.stride, lean, true);
    RimmedLine(c, {22 + lean, 40}, {62 + lean, 40}, 5, bone);
    RimmedLine(c, lShoulder, Along(lShoulder, shield, 0.8f), 5, bone);
    DrawSkull(c, bone, head.x, head.y, 15);
    DrawHelm(c, head.x, head.y);
    // The blade behind the arm when it is cocked back, in front of it otherwise.
    if (p.raise > 0) DrawRustySword(c, bone, hand, tip);
    RimmedLine(c, rShoulder, elbow, 5, bone);
    RimmedLine(c, elbow, hand, 4.5f, bone);
    if (p.raise <= 0) DrawRustySword(c, bone, hand, tip);
    DrawRoundShield(c, shield.x, shield.y);
    return c;
}

Canvas PaintSkeletonMage(Rgba bone, const SkeletonPose& p) {
    Canvas c(84, 180, kClear);
    const Rgba robe = Rgb(0x3A3350), robeDark = Mix(robe, kOutline, 0.5f),
               robeLight = Mix(robe, Rgb(0x8A80A0), 0.25f);
    const Rgba wood = Rgb(0x5A3A22), rope = Rgb(0x6A5A40);
    const float lean = 4.0f * p.flinch, sway = 4.0f * p.stride;
    const Pt head{42 + lean, 22 + 2 * p.flinch};
    DrawSkeletonBody(c, bone, p.stride, lean, false);
    // The robe hangs from the shoulders to a torn hem above the ankles, swinging with the steps.
    std::vector<Pt> gown = {{24 + lean, 36}, {60 + lean, 36}, {66, 96}, {72 + sway, 150}};
    const float hem[] = {150, 160, 149, 157, 147, 161, 150, 156, 146, 158, 151};
    for (int i = 0; i < 11; ++i) gown.push_back({72 + sway - 6.0f * static_cast<float>(i), hem[i]});
    gown.push_back({12 + sway, 150});
    gown.push_back({18, 96});
    for (size_t i = 0; i < gown.size(); ++i) c.Line(gown[i], gown[(i + 1) % gown.size()], 2.5f, kOutline);
    c.Polygon(gown, robe);
    c.Line({34 + lean, 48}, {28 + sway, 150}, 2.0f, robeDark);  // the folds
    c.Line({50 + lean, 48}, {56 + sway, 150}, 2.0f, robeDark);
    c.Line({42 + lean, 60}, {42 + sway, 152}, 1.5f, robeLight);
    // A rent over the ribs, and the rope round the waist.
    c.Polygon({{46 + lean, 62}, {56 + lean, 66}, {54 + lean, 80}, {47 + lean, 76}}, kOutline);
    c.Line({48 + lean, 68}, {54 + lean, 69}, 2.0f, bone);
    c.Line({48 + lean, 74}, {53 + lean, 75}, 2.0f, bone);
    RimmedLine(c, {21, 98}, {63, 98}, 2.5f, rope);
    RimmedLine(c, {30, 98}, {28 + sway, 120}, 2.0f, rope);
    // The staff in the right hand: upright at rest, lifted to call the spell, thrust at the foe with
    // the blow, knocked askew by a hurt.
    Pt hand{16, 96 + sway}, top{16 - sway * 0.5f, 22 + sway}, foot{16 + sway * 0.4f, 172};
    Pt freeHand{64, 96 - sway};
    float glow = 1.0f;
    if (p.raise > 0) hand = {18, 70}, top = {22, 8}, foot = {14, 146}, freeHand = {68, 54}, glow = 1.4f;
    if (p.strike > 0) hand = {24, 96}, top = {32, 50}, foot = {18, 136}, freeHand = {62, 78}, glow = 1.8f;
    if (p.flinch > 0)
        hand = {14, 98}, top = {4, 28}, foot = {24, 170}, freeHand = {60 + lean, 52}, glow = 0.8f;
    // The sleeves, torn at the cuffs, and the bony hands out of them.
    const Pt rShoulder{26 + lean, 42}, lShoulder{58 + lean, 42};
    const Pt rCuff = Along(rShoulder, hand, 0.82f), lCuff = Along(lShoulder, freeHand, 0.82f);
    RimmedLine(c, rShoulder, rCuff, 10, robe);
    RimmedLine(c, lShoulder, lCuff, 10, robe);
    c.Polygon({{rCuff.x - 6, rCuff.y}, {rCuff.x + 6, rCuff.y}, {rCuff.x + 1, rCuff.y + 6}}, robe);
    c.Polygon({{lCuff.x - 6, lCuff.y}, {lCuff.x + 6, lCuff.y}, {lCuff.x - 2, lCuff.y + 7}}, robe);
    RimmedLine(c, foot, top, 4, wood);
    c.Disc(Along(foot, top, 0.35f).x, Along(foot, top, 0.35f).y, 2.5f, Mix(wood, kOutline, 0.3f));
    // The stone in its crook: a pale core in a fainter halo.
    const Pt stone = top;
    c.Disc(stone.x, stone.y, 7.0f * glow + 1.0f, Rgb(0x1E3A3A));
    c.Disc(stone.x, stone.y, 7.0f * glow, Rgb(0x2E6A66));
    c.Disc(stone.x, stone.y, 4.2f * glow, Rgb(0x5AB0A4));
    c.Disc(stone.x, stone.y, 2.6f * glow, Rgb(0xB8F4E8));
    c.Disc(stone.x - glow, stone.y - glow, 0.9f * glow, Rgb(0xF0FFFC));
    RimmedLine(c, {stone.x - 5, stone.y + 5}, {stone.x - 2, stone.y + 1}, 1.5f, wood);  // the crook's claws
    RimmedLine(c, {stone.x + 5, stone.y + 5}, {stone.x + 2, stone.y + 1}, 1.5f, wood);
    c.Disc(hand.x, hand.y, 4.5f, kOutline);
    c.Disc(hand.x, hand.y, 3.5f, bone);
    c.Disc(freeHand.x, freeHand.y, 4.0f, kOutline);
    c.Disc(freeHand.x, freeHand.y, 3.0f, bone);
    if (p.raise > 0 || p.flinch > 0)  // the fingers spread
        for (int f = -1; f <= 1; ++f)
            RimmedLine(c, freeHand, {freeHand.x + 3.0f * f, freeHand.y - 7}, 1.2f, bone);
    // The hood, peaked, falling to the shoulders, and the skull in its shadow.
    c.Polygon({{head.x - 19, head.y + 2}, {head.x - 22, 44}, {head.x + 22, 44}, {head.x + 19, head.y + 2}},
              kOutline);
    c.Polygon({{head.x - 18, head.y + 2}, {head.x - 20, 43}, {head.x + 20, 43}, {head.x + 18, head.y + 2}},
              robe);
    c.Disc(head.x, head.y, 19.5f, kOutline);
    c.Disc(head.x, head.y, 18.5f, robe);
    c.Polygon({{head.x - 8, head.y - 15}, {head.x + 3, head.y - 21}, {head.x + 8, head.y - 14}}, robe);
    c.Line({head.x - 14, head.y - 8}, {head.x - 6, head.y - 16}, 2.0f, robeLight);
    c.Disc(head.x, head.y + 3, 13.5f, Rgb(0x0E0A10));
    DrawSkull(c, Mix(bone, Rgb(0x0E0A10), 0.25f), head.x, head.y + 6, 10);
    c.Disc(head.x - 4, head.y + 5, 1.2f, Rgb(0x7AD8C8));  // a glint of the stone's light in each socket
    c.Disc(head.x + 4, head.y + 5, 1.2f, Rgb(0x7AD8C8));
    return c;
}

// The paralysed look: the whole figure, gear and all, drained towards the blue of a held creature.
void TintStill(Canvas& c) {
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const Rgba px = c.Get(x, y);
            if (px.a == 0) continue;
            Rgba tinted = Mix(px, Rgb(0x4060C0), 0.5f);
            tinted.a = px.a;
            c.Set(x, y, tinted);
        }
}

Canvas PaintCreature(const std::string& name) {
    if (Has(name, "townsfolk") || Has(name, "townswoman")) return PaintPerson(name);
    bool still = Has(name, "still");
    int frame = std::isdigit(static_cast<unsigned char>(name.back())) ? name.back() - '0' : 0;
    if (Has(name, "skeletonwarrior") || Has(name, "skeletonmage")) {
        const SkeletonPose pose = SkeletonPoseOf(frame, still);
        Canvas c = Has(name, "warrior") ? PaintSkeletonWarrior(Rgb(0xE0DCC8), pose)
                                        : PaintSkeletonMage(Rgb(0xE0DCC8), pose);
        if (still) TintStill(c);
        return c;
    }
    float swing = still ? 0.0f : 4.0f * std::sin(frame * 0.9f);
    Rgba body = Has(name, "rat")        ? Rgb(0x6A5A4A)
                : Has(name, "wolf")     ? Rgb(0x8A8A90)
                : Has(name, "skeleton") ? Rgb(0xE0DCC8)
                                        : Rgb(0x3A5A9A);
    if (still) body = Mix(body, Rgb(0x4060C0), 0.5f);
    if (Has(name, "rat")) return PaintRat(body, PoseOf(frame, still));
    if (Has(name, "wolf")) return PaintWolf(body, PoseOf(frame, still));
    return PaintUpright(name, body, swing);
}

// The plain head of the default and the unknown portraits: a face in front of a cap of hair.
Canvas PaintPlainHead(Rgba skin, Rgba hair, Rgba back) {
    Canvas c(48, 56, back);
    c.VGradient(0, 0, 48, 56, back, Shade(back, 0.6f));
    c.RoundRect(10, 34, 28, 22, 8, Shade(hair, 0.8f));
    c.Disc(24, 24, 13, skin);
    c.RoundRect(11, 6, 26, 11, 5, hair);
    c.Disc(19, 24, 1.6f, Rgb(0x202020));
    c.Disc(29, 24, 1.6f, Rgb(0x202020));
    c.Line({20, 31}, {28, 31}, 1.2f, Shade(skin, 0.6f));
    return c;
}

// Portraits: a face whose skin and hair follow the race in the name; the two faces of a race differ
// in their hair. The town's people have portraits of their own.
Canvas PaintPortrait(const std::string& name) {
    if (name.rfind("bres_npc_", 0) == 0) return PaintNpcPortrait(name);
    if (name == "bres_head34") return PaintPlainHead(Rgb(0xE0B090), Rgb(0x5A3A1A), Rgb(0x40506A));
    if (name == "bres_headunknown") return PaintPlainHead(Rgb(0x8A8A8A), Rgb(0x3A3A3A), Rgb(0x303030));
    Canvas c(64, 80, Rgb(0x2A190D));
    Rgba skin = Has(name, "undead")    ? Rgb(0x9AA890)
                : Has(name, "etherim") ? Rgb(0xE8D0C0)
                : Has(name, "seiry")   ? Rgb(0xC8A070)
                : Has(name, "derth")   ? Rgb(0xB07850)
                : Has(name, "nogur")   ? Rgb(0x8A6040)
                                       : Rgb(0xD8A880);
    Rgba hair = Has(name, "head01") ? Rgb(0xC8A040) : Has(name, "merchant") ? Rgb(0x606060) : Rgb(0x3A2414);
    c.RoundRect(14, 60, 36, 20, 8, Has(name, "merchant") ? Rgb(0x6A2A2A) : Rgb(0x2A4A6A));
    c.Disc(32, 38, 20, skin);
    c.Disc(32, 24, 18, hair);
    c.Disc(32, 40, 17, skin);
    c.Disc(25, 38, 2.5f, kOutline);
    c.Disc(39, 38, 2.5f, kOutline);
    c.Line({27, 50}, {37, 50}, 2, Rgb(0x6A2A2A));
    return c;
}

}  // namespace

Canvas PaintDrinkEffect(int frame) {
    Canvas c(64, 80, Rgba{});
    // Six bubbles climb a fifth of the picture a frame, in two colours, wrapping at the top.
    for (int j = 0; j < 6; ++j) {
        const float x = 9.0f + 9.0f * static_cast<float>(j) + static_cast<float>((j % 2) * 3);
        const int rise = (frame * 16 + j * 23) % 64;
        const float y = 72.0f - static_cast<float>(rise);
        const float r = 2.5f + static_cast<float>(j % 3);
        const Rgba colour = j % 2 ? Rgb(0xFFE8A0) : Rgb(0xB8E8FF);
        c.Disc(x, y, r + 1.5f, Shade(colour, 0.6f));
        c.Disc(x, y, r, colour);
        c.Disc(x - r / 3, y - r / 3, r / 3, Rgb(0xFFFFFF));
    }
    return c;
}

Canvas PaintHitEffect(int frame) {
    Canvas c(64, 80, Rgba{});
    // Three claw marks torn across the face: they open over the first frames, flare, then thin and
    // darken, leaving a few drops that run down.
    const float open = std::min(1.0f, 0.45f + 0.3f * static_cast<float>(frame));
    const float width = frame < 3 ? 4.0f : 4.0f - 0.9f * static_cast<float>(frame - 2);
    const Rgba bright = Rgb(0xE02818), deep = Rgb(0x8A1010);
    const Rgba colour = frame <= 2 ? bright : Mix(bright, deep, 0.35f * static_cast<float>(frame - 2));
    for (int k = 0; k < 3; ++k) {
        const float x0 = 14.0f + 14.0f * static_cast<float>(k), y0 = 14.0f + 3.0f * static_cast<float>(k);
        const Pt a{x0, y0}, b{x0 + 16.0f * open, y0 + 46.0f * open};
        c.Line(a, b, width + 2.0f, Shade(colour, 0.55f));
        c.Line(a, b, width, colour);
        if (frame >= 3)
            for (int d = 0; d < 2; ++d) {
                const float t = 0.4f + 0.35f * static_cast<float>(d);
                const Pt at{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t + 3.0f * static_cast<float>(frame - 2)};
                c.Disc(at.x, at.y, 1.6f, deep);
            }
    }
    return c;
}

std::vector<RulePicture> PaintRulePictures() {
    std::vector<RulePicture> out;
    for (const std::string& name : RulePictureNames(BaseRules())) {
        Canvas picture = name.rfind("bres_item_", 0) == 0 ? PaintItem(name)
                         : name.rfind("bres_fps", 0) == 0 ? PaintHand(name)
                         : name.rfind("bres_cr_", 0) == 0 ? PaintCreature(name)
                                                          : PaintPortrait(name);
        out.push_back({name, std::move(picture)});
    }
    return out;
}
