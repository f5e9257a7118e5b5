// The pictures of the rule records, drawn from simple shapes: item icons, first-person hands,
// creature frames and portraits. Each kind of name has its own painter.
#include <cctype>
#include <cmath>
#include <string>

#include "tools/content/rules/BaseRules.h"

namespace {

bool Has(const std::string& name, const char* part) { return name.find(part) != std::string::npos; }

const Rgba kClear{0, 0, 0, 0};
const Rgba kOutline = Rgb(0x1A1208);
const Rgba kSteel = Rgb(0xB8C0C8);
const Rgba kSteelDark = Rgb(0x6A7078);
const Rgba kWood = Rgb(0x7A4E2A);
const Rgba kLeather = Rgb(0x8A5A32);
const Rgba kGold = Rgb(0xD8B048);

void Blade(Canvas& c, float length, float width) {
    c.Line({6, 26}, {6 + length, 26 - length}, width + 2, kOutline);
    c.Line({6, 26}, {6 + length, 26 - length}, width, kSteel);
    c.Line({4, 22}, {10, 28}, 3, kGold);
    c.Line({3, 29}, {6, 26}, 3, kLeather);
}

Canvas PaintItem(const std::string& name) {
    Canvas c(32, 32, kClear);
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
    return c;
}

// First-person hands: a fist, a weapon or a casting glow rising with the frame number.
Canvas PaintHand(const std::string& name) {
    // Large enough to read over the view's lower corners: the fist stands in the picture's lower
    // middle, what it holds reaches up and out.
    Canvas c(160, 112, kClear);
    int frame = std::isdigit(static_cast<unsigned char>(name.back())) ? name.back() - '0' : 0;
    float lift = 10.0f * frame;
    Rgba skin = Rgb(0xD8A880);
    const int top = static_cast<int>(62 - lift);
    c.RoundRect(64, top, 38, 50, 10, skin);
    c.Frame(64, top, 38, 50, kOutline, 1);
    if (Has(name, "sword")) c.Line({84, 66 - lift}, {118, 6 - lift}, 7, kSteel);
    if (Has(name, "club")) c.Line({84, 66 - lift}, {112, 12 - lift}, 11, kWood);
    if (Has(name, "bow")) c.Ring(82, 52, 44, 5, kWood);
    if (Has(name, "arrow")) c.Line({48, 70}, {118, 16}, 3, kSteel);
    if (Has(name, "shield")) c.Disc(50, 70, 38, kWood);
    if (Has(name, "cast")) c.Disc(83, 52 - lift, 10.0f + 3 * frame, Rgba{120, 180, 255, 180});
    if (Has(name, "throw")) c.Line({84, 62 - lift}, {102, 44 - lift}, 5, kSteel);
    return c;
}

// Creatures: a body and head in the kind's colours, the legs swung by the frame number.
Canvas PaintCreature(const std::string& name) {
    Canvas c(64, 64, kClear);
    bool still = Has(name, "still");
    int frame = std::isdigit(static_cast<unsigned char>(name.back())) ? name.back() - '0' : 0;
    float swing = still ? 0.0f : 4.0f * std::sin(frame * 0.9f);
    Rgba body = Has(name, "rat")        ? Rgb(0x6A5A4A)
                : Has(name, "wolf")     ? Rgb(0x8A8A90)
                : Has(name, "skeleton") ? Rgb(0xE0DCC8)
                                        : Rgb(0x3A5A9A);
    if (still) body = Mix(body, Rgb(0x4060C0), 0.5f);
    if (Has(name, "rat") || Has(name, "wolf")) {
        float size = Has(name, "rat") ? 14.0f : 18.0f;
        c.Disc(30, 44, size, body);
        c.Disc(30 + size, 38, size * 0.55f, body);
        c.Disc(30 + size * 1.3f, 35, 2, Rgb(0xD02020));
        c.Line({20 + swing, 52}, {18 + swing, 62}, 3, body);
        c.Line({40 - swing, 52}, {42 - swing, 62}, 3, body);
        c.Line({30 - size, 44}, {4, 40 + swing}, 2, body);
    } else {
        c.Disc(32, 12, 8, Has(name, "skeleton") ? body : Rgb(0xD8A880));
        c.RoundRect(24, 20, 16, 24, 4, body);
        c.Line({28, 44}, {26 + swing, 62}, 4, body);
        c.Line({36, 44}, {38 - swing, 62}, 4, body);
        c.Line({24, 24}, {16, 38 + swing}, 3, body);
        c.Line({40, 24}, {48, 38 - swing}, 3, body);
    }
    return c;
}

// Portraits: a face whose skin and hair follow the race in the name; the two faces of a race differ
// in their hair.
Canvas PaintPortrait(const std::string& name) {
    Canvas c(64, 80, Rgb(0x2A190D));
    Rgba skin = Has(name, "undead")    ? Rgb(0x9AA890)
                : Has(name, "etherim") ? Rgb(0xE8D0C0)
                : Has(name, "seiry")   ? Rgb(0xC8A070)
                : Has(name, "derth")   ? Rgb(0xB07850)
                : Has(name, "nogur")   ? Rgb(0x8A6040)
                                       : Rgb(0xD8A880);
    Rgba hair = Has(name, "head01") ? Rgb(0xC8A040) : Has(name, "merchant") ? Rgb(0x606060) : Rgb(0x3A2414);
    if (Has(name, "unknown")) {
        c.Disc(32, 38, 20, Rgb(0x505050));
        c.Disc(32, 40, 6, Rgb(0x2A190D));
        return c;
    }
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
