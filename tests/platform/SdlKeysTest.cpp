#include "platform/Window.h"
#include "platform/sdl/SdlKeys.h"

#include <gtest/gtest.h>

namespace {

// SDL key codes by value: printable keys are their characters, the others their scan code with bit 30.
constexpr int32_t Scan(int32_t scancode) { return scancode | (1 << 30); }

TEST(SdlKeys, TranslateToVirtualKeyCodes) {
    struct Case {
        int32_t sdl;
        uint32_t vk;
    } cases[] = {
        {'a', 'A'},
        {'z', 'Z'},
        {'0', '0'},
        {'9', '9'},
        {13, plat::vk::Return},
        {Scan(88), plat::vk::Return} /* keypad Enter */,
        {27, plat::vk::Escape},
        {' ', plat::vk::Space},
        {9, plat::vk::Tab},
        {8, plat::vk::Back},
        {Scan(82), plat::vk::Up},
        {Scan(81), plat::vk::Down},
        {Scan(80), plat::vk::Left},
        {Scan(79), plat::vk::Right},
        {Scan(224), plat::vk::Control},
        {Scan(228), plat::vk::Control},
        {Scan(225), plat::vk::Shift},
        {Scan(58), plat::vk::F1},
        {Scan(69), plat::vk::F1 + 11},
        {';', plat::vk::Oem1},
        {'=', plat::vk::OemPlus},
        {',', plat::vk::OemComma},
        {'-', plat::vk::OemMinus},
        {'.', plat::vk::OemPeriod},
        {'/', plat::vk::Oem2},
        {'`', plat::vk::Oem3},
        {'[', plat::vk::Oem4},
        {'\\', plat::vk::Oem5},
        {']', plat::vk::Oem6},
        {'\'', plat::vk::Oem7},
        {127, plat::vk::Delete},
        {Scan(98), plat::vk::Numpad0},
        {Scan(89), plat::vk::Numpad0 + 1},
        {Scan(75), plat::vk::Prior},
        {Scan(1), 0} /* a key the game never sees */,
    };
    for (const Case& c : cases) EXPECT_EQ(plat::VirtualKeyOfSdlKey(c.sdl), c.vk) << c.sdl;
}

}  // namespace
