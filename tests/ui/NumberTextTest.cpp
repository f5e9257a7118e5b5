#include <gtest/gtest.h>

#include <string>

#include "core/Str.h"
#include "ui/Draw.h"

TEST(NumberText, CompactNumbers) {
    struct Case {
        u32 value;
        const char* text;
    } cases[] = {{0, "0"},        {9999, "9999"},  {10000, "10K"},        {999999, "999K"},
                 {1000000, "1M"}, {1999999, "1M"}, {4294967295u, "4294M"}};
    for (const Case& c : cases) {
        CStr s;
        FormatCompactNumber(c.value, s);
        EXPECT_STREQ(s.GetText(), c.text) << c.value;
    }
}

TEST(NumberText, GlyphConversion) {
    auto conv = [](const char* in, bool alt) {
        CStr s(in);
        alt ? ToAltNumberGlyphs(s) : ToNumberGlyphs(s);
        return std::string(s.GetText());
    };
    struct Case {
        const char* in;
        std::string normal;
        std::string alternative;
    } cases[] = {
        {"hp: 5/12", "hp: \x13/\x0f\x10", "hp: \xa5/\xa1\xa2"},
        {"-5%", "\x1c\x13\x1b", "\x86\xa5\x85"},
        {"x-y", "x-y", "x-y"},
        {"(12)K", "(\x0f\x10)\x18", "(\xa1\xa2)\x82"},
        {"K5M", "K\x13\x19", "K\xa5\x83"},
        {"+9B", "\x1d\x17\x1a", "\x87\xa9\x84"},
        {"5 K", "\x13 K", "\xa5 K"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(conv(c.in, false), c.normal) << c.in;
        EXPECT_EQ(conv(c.in, true), c.alternative) << c.in;
    }
}
