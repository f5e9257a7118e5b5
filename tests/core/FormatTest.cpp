#include "core/Str.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct NumberCase {
    const char* format;
    u32 a;
    u32 b;
    const char* expected;
};

TEST(Formatter, NumbersFlagsWidthsAndQuirks) {
    const NumberCase cases[] = {
        {"%02u:%02u", 7, 5, "07:05"},
        {"%+d", 3, 0, "+3"},
        {"%+d", 0, 0, "0"},
        {"%+d", static_cast<u32>(-3), 0, "-3"},
        {"%d", 0x80000000u, 0, "-2147483648"},
        {"%lu", 4294967295u, 0, "4294967295"},
        {"%u", static_cast<u32>(-1), 0, "4294967295"},
        {"%ld", static_cast<u32>(-12), 0, "-12"},
        {"%010u", 123, 0, "0000000123"},
        // The fill stands outside the sign.
        {"%05d", static_cast<u32>(-5), 0, "000-5"},
        {"%-04d", 5, 0, "5000"},
        {"%-5d|", 42, 0, "42   |"},
        // Flags count only in the order -, 0, +: here the 0 belongs to the width.
        {"%+05d", 5, 0, "   +5"},
        {"%-0+4d", 7, 0, "+700"},
        {"%2d", 12345, 0, "12345"},
        {"%3c", 'z', 0, "  z"},
        {"%c%c", 'h', 'i', "hi"},
        {"%cx", 0, 0, "x"},
        {"100%%", 0, 0, "100%"},
        // An unknown conversion, or the end of the format after %, ends the text.
        {"A%xB", 1, 0, "A"},
        {"ab%", 0, 0, "ab"},
        {"%d%q%d", 1, 2, "1"},
        {"%-+", 0, 0, ""},
        // Flags out of their order, and a blank, break the syntax in the same way.
        {"x%0-5d", 5, 0, "x"},
        {"x%+-5d", 5, 0, "x"},
        {"x% d", 5, 0, "x"},
        // A precision keeps only that many characters of the converted text.
        {"%.2d", 12345, 0, "12"},
        {"%5.2u", 12345, 0, "   12"},
        {"%.0u", 12345, 0, "12345"},
        {"%.9u", 12, 0, "12"},
        {"", 0, 0, ""},
    };
    for (const auto& c : cases) {
        char buf[64];
        std::memset(buf, '#', sizeof buf);
        u32 len = FormatString(buf, sizeof buf, c.format, c.a, c.b);
        EXPECT_STREQ(buf, c.expected) << c.format;
        EXPECT_EQ(len, std::strlen(c.expected)) << c.format;
    }
}

TEST(Formatter, Texts) {
    struct TextCase {
        const char* format;
        const char* text;
        const char* expected;
    };
    const TextCase cases[] = {
        {"%3s", "ab", " ab"},        {"[%-4s]", "ab", "[ab  ]"}, {"%s", nullptr, ""},
        {"<%3s>", nullptr, "<   >"}, {"%.3s", "abcdef", "abc"},  {"%s%%", "x", "x%"},
        {"%1s", "long", "long"},
    };
    for (const auto& c : cases) {
        char buf[64];
        FormatString(buf, sizeof buf, c.format, c.text);
        EXPECT_STREQ(buf, c.expected) << c.format;
    }
    char buf[64];
    FormatString(buf, sizeof buf, "%s has %d hp and %u gold", "Orc", -3, 12u);
    EXPECT_STREQ(buf, "Orc has -3 hp and 12 gold");
}

TEST(Formatter, OutputIsBoundedAndNullArgumentsWriteNothing) {
    char buf[8];
    EXPECT_EQ(FormatString(buf, sizeof buf, "%s", "abcdefghij"), 7u);
    EXPECT_STREQ(buf, "abcdefg");
    EXPECT_EQ(FormatString(buf, sizeof buf, "%100000d", 5), 7u);
    EXPECT_STREQ(buf, "       ");
    EXPECT_EQ(FormatString(buf, sizeof buf, "%-99999999999999999999u|", 5), 7u);
    EXPECT_STREQ(buf, "5      ");
    EXPECT_EQ(FormatString(buf, sizeof buf, "1234567%d", 89), 7u);
    EXPECT_STREQ(buf, "1234567");

    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(FormatString(buf, sizeof buf, nullptr), 0u);
    EXPECT_EQ(FormatString(buf, 0, "abc"), 0u);
    EXPECT_EQ(buf[0], '#');
    EXPECT_EQ(FormatString(nullptr, 8, "abc"), 0u);
    EXPECT_EQ(FormatString(buf, 1, "abc"), 0u);
    EXPECT_EQ(buf[0], '\0');
}

TEST(Formatter, CStrFormatAndAppendFormatCutAtTheirScratchSizes) {
    std::string big(6000, 'x');
    CStr s;
    s.Format("%s", big.c_str());
    EXPECT_EQ(s.GetLength(), CStr::kFormatScratch - 1);
    s.Format("%70000d", 1);
    EXPECT_EQ(s.GetLength(), CStr::kFormatScratch - 1);

    CStr t("ab");
    t.AppendFormat("%s", big.c_str());
    EXPECT_EQ(t.GetLength(), 2 + CStr::kAppendFormatScratch - 1);
    EXPECT_LT(t.GetLength(), t.GetCapacity());

    // A null format changes nothing; the text of the string itself may be an argument.
    t.Assign("hp");
    t.Format(nullptr);
    EXPECT_STREQ(t.GetText(), "hp");
    t.Format("%s=%+d", t.GetText(), 4);
    EXPECT_STREQ(t.GetText(), "hp=+4");
    t.AppendFormat(" (%02u:%02u)", 9u, 5u);
    EXPECT_STREQ(t.GetText(), "hp=+4 (09:05)");
    t.AppendFormat(nullptr);
    EXPECT_STREQ(t.GetText(), "hp=+4 (09:05)");
}

TEST(Formatter, CStrFormatGrowsInWholeStepsFromTheCurrentLength) {
    CStr s("abc");                 // capacity 10
    s.Format("%s", "0123456789");  // 10 characters do not fit: Reserve(11) from length 3 -> 20
    EXPECT_STREQ(s.GetText(), "0123456789");
    EXPECT_EQ(s.GetCapacity(), 20);
    s.Format("%u", 7u);  // fits: the block stays
    EXPECT_EQ(s.GetCapacity(), 20);
    EXPECT_STREQ(s.GetText(), "7");
}

}  // namespace
