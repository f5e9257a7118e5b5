#include "core/Str.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

TEST(CStr, CapacityFromTextsAndAssignments) {
    struct Case {
        size_t length;
        u16 capacity;
    };
    for (Case c : {Case{0, 10}, {8, 10}, {9, 20}, {18, 20}, {19, 30}, {28, 30}, {29, 40}}) {
        std::string text(c.length, 'x');
        CStr s(text.c_str());
        EXPECT_EQ(s.GetCapacity(), c.capacity) << c.length;
        EXPECT_EQ(s.GetLength(), c.length);
        EXPECT_EQ(s.GetGrowthStep(), 10);
    }
    CStr empty;
    EXPECT_EQ(empty.GetCapacity(), 10);
    EXPECT_STREQ(empty.GetText(), "");
    EXPECT_EQ(CStr(nullptr).GetCapacity(), 10);

    // Assign grows by whole steps until the capacity exceeds the length.
    CStr s;
    s.Assign(std::string(25, 'a').c_str());
    EXPECT_EQ(s.GetCapacity(), 30);
    s.Assign(std::string(29, 'b').c_str());
    EXPECT_EQ(s.GetCapacity(), 30);
    s.Assign(std::string(30, 'c').c_str());
    EXPECT_EQ(s.GetCapacity(), 40);
    // A text that fits reuses the block; a null text changes nothing.
    const char* block = s.GetText();
    s.Assign("short");
    EXPECT_EQ(s.GetText(), block);
    EXPECT_EQ(s.GetCapacity(), 40);
    s.Assign(nullptr);
    EXPECT_STREQ(s.GetText(), "short");
    // A piece of the string itself may be assigned.
    s.Assign(s.GetText() + 2);
    EXPECT_STREQ(s.GetText(), "ort");
}

TEST(CStr, CopiesTakeTheOthersCapacityAndMovesLeaveAnEmptyText) {
    CStr big(std::string(25, 'z').c_str());
    big.Assign("hi");
    CStr copy(big);
    EXPECT_EQ(copy.GetCapacity(), 30);
    EXPECT_STREQ(copy.GetText(), "hi");
    CStr other("x");
    other.AssignStr(big);
    EXPECT_EQ(other.GetCapacity(), 30);
    EXPECT_STREQ(other.GetText(), "hi");
    other.AssignStr(other);
    EXPECT_STREQ(other.GetText(), "hi");

    CStr moved(std::move(copy));
    EXPECT_STREQ(moved.GetText(), "hi");
    EXPECT_STREQ(copy.GetText(), "");  // NOLINT: a moved-from string reads as empty
    EXPECT_EQ(copy.GetLength(), 0u);
    EXPECT_EQ(copy.EqualsStr(moved), 0);
    EXPECT_EQ(copy.Differs(moved), 1);
    // A moved-from string still works.
    copy.Append("again");
    EXPECT_STREQ(copy.GetText(), "again");
    CStr fromMoved(std::move(moved));
    CStr copyOfEmpty(moved);  // NOLINT
    EXPECT_EQ(copyOfEmpty.GetCapacity(), 10);
    EXPECT_STREQ(copyOfEmpty.GetText(), "");
}

TEST(CStr, ReserveAndAppendingGrowInSteps) {
    CStr s("abc");
    s.Reserve(5);  // need 9 < 10
    EXPECT_EQ(s.GetCapacity(), 10);
    s.Reserve(6);  // need 10 >= 10 -> (10 / 10 + 1) * 10
    EXPECT_EQ(s.GetCapacity(), 20);
    EXPECT_STREQ(s.GetText(), "abc");

    CStr t("abc");
    t.Append("defghi");  // Reserve(7): need 11 -> 20
    EXPECT_STREQ(t.GetText(), "abcdefghi");
    EXPECT_EQ(t.GetCapacity(), 20);
    t.Append(nullptr);
    t.Prepend("<");
    t.AppendChar('>');
    t.PrependChar('[');
    t.AppendChar(']');
    EXPECT_STREQ(t.GetText(), "[<abcdefghi>]");
    t.Append(t.GetText());
    EXPECT_STREQ(t.GetText(), "[<abcdefghi>][<abcdefghi>]");

    CStr e;
    e.Prepend("x");
    e.PrependChar('y');
    EXPECT_STREQ(e.GetText(), "yx");
    CStr f;
    f.PrependChar('q');
    EXPECT_STREQ(f.GetText(), "q");
}

TEST(CStr, LongTextsAreCutSoTheCapacityNeverWraps) {
    std::string huge(70000, 'h');
    CStr s(huge.c_str());
    EXPECT_EQ(s.GetLength(), CStr::kMaxLength);
    EXPECT_EQ(s.GetCapacity(), CStr::kMaxCapacity);

    CStr t;
    t.Assign(huge.c_str());
    EXPECT_EQ(t.GetLength(), CStr::kMaxLength);
    EXPECT_EQ(t.GetCapacity(), CStr::kMaxCapacity);

    CStr u(std::string(65000, 'a').c_str());
    u.Append(std::string(1000, 'b').c_str());
    EXPECT_EQ(u.GetLength(), CStr::kMaxLength);
    u.AppendChar('c');
    u.PrependChar('d');
    EXPECT_EQ(u.GetLength(), CStr::kMaxLength);
    EXPECT_EQ(u.GetText()[0], 'a');
    EXPECT_LT(u.GetLength(), u.GetCapacity());

    CStr v(std::string(40000, 'a').c_str());
    v.Replace("a", "aa");
    EXPECT_EQ(v.GetLength(), CStr::kMaxLength);
    EXPECT_LT(v.GetLength(), v.GetCapacity());
}

TEST(CStr, ReplaceCases) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        bool noCase;
        const char* expected;
    };
    const Case cases[] = {
        {"a.pdb.pdb", ".pdb", "", false, "a"},
        {"aaa", "a", "aa", false, "aaaaaa"},
        {"abab", "ab", "abab", false, "abababab"},  // replacements are not rescanned
        {"aaaa", "aa", "b", false, "bb"},
        {"xyz", "q", "r", false, "xyz"},
        {"abc", "", "x", false, "abc"},
        {"Hello HELLO hello", "hello", "bye", false, "Hello HELLO bye"},
        {"Hello HELLO hello", "hello", "bye", true, "bye bye bye"},
        {"Name: %NAME%", "%name%", "Ann", true, "Name: Ann"},
        {"", "a", "b", false, ""},
    };
    for (const auto& c : cases) {
        CStr s(c.text);
        if (c.noCase)
            s.ReplaceNoCase(c.from, c.to);
        else
            s.Replace(c.from, c.to);
        EXPECT_STREQ(s.GetText(), c.expected) << c.text << " / " << c.from;
        EXPECT_LT(s.GetLength(), s.GetCapacity());
    }
    CStr s("abc");
    s.Replace(nullptr, "x");
    s.Replace("a", nullptr);
    s.ReplaceNoCase(nullptr, "x");
    EXPECT_STREQ(s.GetText(), "abc");
    // The replacement may come from the string itself.
    CStr self("ab");
    self.Replace("b", self.GetText());
    EXPECT_STREQ(self.GetText(), "aab");
}

TEST(CStr, QueriesStripLeftAndRight) {
    CStr s("base_water");
    EXPECT_EQ(s.Equals("base_water"), 1);
    EXPECT_EQ(s.Equals("base_Water"), 0);
    EXPECT_EQ(s.Equals(nullptr), 0);
    EXPECT_EQ(s.IsEmpty(), 0);
    EXPECT_EQ(CStr().IsEmpty(), 1);
    EXPECT_EQ(s.EqualsStr(CStr("base_water")), 1);
    EXPECT_EQ(s.Differs(CStr("base_water")), 0);
    EXPECT_EQ(s.Differs(CStr("x")), 1);

    struct Strip {
        const char* text;
        const char* expected;
    };
    for (Strip c : {Strip{"base_water", "water"}, {"abc", ""}, {"abcde", ""}, {"", ""}, {"abcdef", "f"}}) {
        CStr t(c.text);
        t.StripNamePrefix();
        EXPECT_STREQ(t.GetText(), c.expected) << c.text;
    }

    struct Cut {
        int n;
        const char* left;
        const char* right;
    };
    CStr text("abcdefghijk");
    for (Cut c : {Cut{0, "", ""},
                  {3, "abc", "ijk"},
                  {11, "abcdefghijk", "abcdefghijk"},
                  {50, "abcdefghijk", "abcdefghijk"},
                  {-2, "", ""}}) {
        EXPECT_STREQ(text.Left(c.n).GetText(), c.left) << c.n;
        EXPECT_STREQ(text.Right(c.n).GetText(), c.right) << c.n;
    }
    EXPECT_EQ(text.Left(9).GetCapacity(), 20);
    EXPECT_EQ(text.Right(2).GetCapacity(), 10);
}

TEST(PlainStrings, Comparisons) {
    EXPECT_EQ(CompareStrings(nullptr, nullptr), 1);
    EXPECT_EQ(CompareStrings(nullptr, "x"), 1);
    EXPECT_EQ(CompareStrings("x", nullptr), -1);
    EXPECT_EQ(CompareStrings("abc", "abc"), 0);
    EXPECT_EQ(CompareStrings("abc", "abd"), -1);
    EXPECT_EQ(CompareStrings("abc", "ab"), 'c');
    EXPECT_EQ(CompareStrings("", ""), 0);
    // Characters compare as signed: a high character sorts before the letters.
    EXPECT_LT(CompareStrings("\xe9", "a"), 0);

    EXPECT_EQ(CompareStringsNoCase(nullptr, nullptr), 1);
    EXPECT_EQ(CompareStringsNoCase("x", nullptr), -1);
    EXPECT_EQ(CompareStringsNoCase("HeLLo", "hEllO"), 0);
    EXPECT_NE(CompareStringsNoCase("hello", "hell"), 0);
    EXPECT_NE(CompareStringsNoCase("[", "{"), 0);  // only A..Z fold
    EXPECT_NE(CompareStringsNoCase("\xc9", "\xe9"), 0);

    EXPECT_EQ(CompareFirstFourNoCase("BASE_water", "base_fire"), 0);
    EXPECT_EQ(CompareFirstFourNoCase("base", "BASE"), 0);
    EXPECT_NE(CompareFirstFourNoCase("bas", "base"), 0);
    EXPECT_NE(CompareFirstFourNoCase("bres_x", "base_x"), 0);
    EXPECT_EQ(CompareFirstFourNoCase(nullptr, "base"), 1);
}

TEST(PlainStrings, FindingAndCounting) {
    struct Case {
        const char* text;
        const char* pattern;
        int found;
        int foundNoCase;
        u32 count;
        u32 countNoCase;
    };
    const Case cases[] = {
        {"aaaa", "aa", 0, 0, 2, 2},  {"xAbab", "ab", 3, 1, 1, 2},         {"abc", "", -1, -1, 0, 0},
        {"", "a", -1, -1, 0, 0},     {nullptr, "a", -1, -1, 0, 0},        {"abc", nullptr, -1, -1, 0, 0},
        {"ab", "abc", -1, -1, 0, 0}, {"one.pdb.PDB", ".pdb", 3, 3, 1, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindSubstring(c.text, c.pattern), c.found) << (c.text ? c.text : "null");
        EXPECT_EQ(FindNoCase(c.text, c.pattern), c.foundNoCase) << (c.text ? c.text : "null");
        EXPECT_EQ(CountOccurrences(c.text, c.pattern), c.count) << (c.text ? c.text : "null");
        EXPECT_EQ(CountOccurrencesNoCase(c.text, c.pattern), c.countNoCase) << (c.text ? c.text : "null");
    }
    EXPECT_EQ(FindChar("a_b_c", '_'), 1);
    EXPECT_EQ(FindChar("abc", 'x'), -1);
    EXPECT_EQ(FindChar("abc", '\0'), -1);
    EXPECT_EQ(FindChar(nullptr, 'a'), -1);
}

TEST(PlainStrings, BoundedCopiesAndReplacement) {
    char buf[16];
    CopyStringN(buf, "abcdef", 3);
    EXPECT_STREQ(buf, "abc");
    CopyStringN(buf, "ab", 10);
    EXPECT_STREQ(buf, "ab");
    CopyStringN(buf, nullptr, 3);
    EXPECT_STREQ(buf, "ab");

    AppendString(buf, sizeof buf, "cd");
    EXPECT_STREQ(buf, "abcd");
    AppendString(buf, sizeof buf, "efghijklmnopqrstuvwxyz");
    EXPECT_STREQ(buf, "abcdefghijklmno");
    AppendString(buf, sizeof buf, nullptr);
    EXPECT_STREQ(buf, "abcdefghijklmno");

    char small[8] = "aaa";
    ReplaceAll(small, sizeof small, "a", "xyz");
    EXPECT_STREQ(small, "xyzxyzx");
    char word[16] = "Dragon DRAGON";
    ReplaceAllNoCase(word, sizeof word, "dragon", "wyrm");
    EXPECT_STREQ(word, "wyrm wyrm");
    ReplaceAll(word, sizeof word, "", "x");
    ReplaceAll(word, sizeof word, nullptr, "x");
    EXPECT_STREQ(word, "wyrm wyrm");

    char rev[] = "abcd";
    ReverseText(rev);
    EXPECT_STREQ(rev, "dcba");
    ReverseText(nullptr);

    std::unique_ptr<char[]> dup(DuplicateString("hello"));
    EXPECT_STREQ(dup.get(), "hello");
    EXPECT_EQ(DuplicateString(nullptr), nullptr);
    std::unique_ptr<char[]> left(LeftText("hello", 2)), right(RightText("hello", 3));
    std::unique_ptr<char[]> all(LeftText("hi", 9)), none(RightText("hi", -1));
    EXPECT_STREQ(left.get(), "he");
    EXPECT_STREQ(right.get(), "llo");
    EXPECT_STREQ(all.get(), "hi");
    EXPECT_STREQ(none.get(), "");
    EXPECT_EQ(LeftText(nullptr, 1), nullptr);
    EXPECT_EQ(RightText(nullptr, 1), nullptr);
}

TEST(PlainStrings, ParsingAndNumberTexts) {
    struct Case {
        const char* text;
        i32 value;
    };
    const Case ints[] = {
        {"  -42abc", -42}, {"+7", 7},
        {"x1", 0},         {nullptr, 0},
        {"", 0},           {" - 5", 0},
        {"\t5", 0},        {"007", 7},
        {"--1", 0},        {"2147483647", 2147483647},
        {"4294967297", 1}, {"-2147483648", static_cast<i32>(0x80000000u)},
    };
    for (const auto& c : ints) EXPECT_EQ(ParseInt(c.text), c.value) << (c.text ? c.text : "null");
    EXPECT_EQ(ParseShort("  -42abc"), -42);
    EXPECT_EQ(ParseShort("32767"), 32767);
    EXPECT_EQ(ParseShort("40000"), -25536);  // wraps in 16 bits

    char buf[12];
    struct Text {
        i32 value;
        const char* text;
    };
    for (Text c : {Text{0, "0"},
                   {7, "7"},
                   {-15, "-15"},
                   {2147483647, "2147483647"},
                   {static_cast<i32>(0x80000000u), "-2147483648"}}) {
        IntToText(c.value, buf);
        EXPECT_STREQ(buf, c.text);
    }
    UIntToText(4294967295u, buf);
    EXPECT_STREQ(buf, "4294967295");
    UIntToText(0, buf);
    EXPECT_STREQ(buf, "0");
}

TEST(PlainStrings, IndefiniteArticle) {
    struct Case {
        const char* word;
        const char* article;
    };
    for (Case c : {Case{"apple", "an"},
                   {"Orc", "an"},
                   {"elf", "an"},
                   {"Ice", "an"},
                   {"umbra", "an"},
                   {"sword", "a"},
                   {"Yew", "a"},
                   {"", "a"},
                   {nullptr, "a"},
                   {"1 coin", "a"}})
        EXPECT_STREQ(IndefiniteArticle(c.word), c.article) << (c.word ? c.word : "null");
}

}  // namespace
