// The builder's picture painter: the fantasy look of the interface (dark wood, parchment, gold)
// drawn procedurally — frames cut into nine pieces, buttons, icons, gauges and map tiles.
#pragma once

#include <string>
#include <vector>

#include "tools/content/Canvas.h"

namespace palette {
constexpr Rgba kWoodDark = Rgb(0x2A190D);
constexpr Rgba kWood = Rgb(0x4A2F1A);
constexpr Rgba kWoodLight = Rgb(0x6E4A2A);
constexpr Rgba kGold = Rgb(0xC9A040);
constexpr Rgba kGoldLight = Rgb(0xF2DA92);
constexpr Rgba kGoldDark = Rgb(0x7A5A18);
constexpr Rgba kParchment = Rgb(0xE7D694);  // the list and message background colour 0x94D6E7
constexpr Rgba kParchmentDark = Rgb(0xC2AA66);
constexpr Rgba kInk = Rgb(0x161616);
constexpr Rgba kStone = Rgb(0x4A4A52);
constexpr Rgba kStoneLight = Rgb(0x7A7A84);
constexpr Rgba kRed = Rgb(0xB02222);
constexpr Rgba kBlue = Rgb(0x2A4EB8);
constexpr Rgba kGreen = Rgb(0x2E8B3A);
constexpr Rgba kLeather = Rgb(0x5C2E1E);
constexpr Rgba kBlack = Rgb(0x000000);
constexpr Rgba kClear = Rgba{0, 0, 0, 0};
}  // namespace palette

// Frame styles of the nine-piece and eight-piece sets.
enum class FrameStyle {
    Dialog,   // ornate gold on dark wood, for dialogs and screens
    Message,  // bronze rim round parchment, for messages and menus
    Book,     // leather with gold stitching round parchment
    Dark,     // dark wood rim round a dark centre, compact boxes
    List,     // thin gold bevel, outside a list
    Thin,     // thin dark-gold line, round progress bars and page pictures
};

// The nine pieces of a frame in the order the frame sets use: 0 top-left, 1 left, 2 bottom-left,
// 3 top, 4 centre, 5 bottom, 6 top-right, 7 right, 8 bottom-right. edge is the rim thickness, tile the
// length of the tiled edge and centre pieces. A transparent centre leaves the inside clear.
std::vector<Canvas> PaintFrame(FrameStyle style, int edge, int tile, bool transparentCentre = false);

enum class Icon {
    None,
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    Check,
    Cross,
    Plus,
    Minus,
    DoubleUp,
    DoubleDown,
    Sword,
    Shield,
    Helmet,
    Ring,
    Book,
    Potion,
    Flask,
    Leaf,
    Scroll,
    Gem,
    Star,
    Coin,
    Hand,
    Map,
    Globe,
    Gear,
    Door,
    Key,
    Lock,
    Skull,
    Moon,
    Sun,
    Flame,
    Bag,
    Eye,
    Person,
    Quill,
    Undo,
    Hourglass,
    Anvil,
    Wand,
    Heart,
    Bolt,
    Shift,
    Back,
    Enter,
    Dot,
    Pin,
    Area,
    Hammer,
    TurnLeft,
    TurnRight,
    StrafeLeft,
    StrafeRight,
    Feather,
    Cards,
    Pause
};

// An icon drawn into the square (x, y, size) in colour c with a dark outline.
void PaintIcon(Canvas& c, Icon icon, int x, int y, int size, Rgba colour);

// A button face: rounded, bevelled wood with a gold rim; pressed buttons are darker and inset, and
// their icon sits one pixel lower right.
Canvas PaintButton(int w, int h, Icon icon, bool pressed, Rgba iconColour = palette::kGoldLight);
// The frame of a button whose label the game writes on it in dark text: the same shape with a light
// face.
Canvas PaintLabelButton(int w, int h, bool pressed);
// A wooden button with a text caption (rasterised from a DejaVu font at build time).
Canvas PaintTextButton(int w, int h, const std::string& caption, bool pressed);

// Text onto a canvas, centred in (x, y, w, h), with a one-pixel dark shadow when shadow is set.
void PaintText(Canvas& c, const std::string& text, int x, int y, int w, int h, int pixelSize, Rgba colour,
               bool bold = true, bool serif = true, bool shadow = true);

// Tiles of surfaces.
Canvas PaintWood(int w, int h, uint32_t seed, float grain = 0.12f);
Canvas PaintParchment(int w, int h, uint32_t seed);
Canvas PaintStone(int w, int h, uint32_t seed);

// The folder of the DejaVu fonts.
void SetFontFolder(const std::string& folder);
const std::string& FontFolder();
