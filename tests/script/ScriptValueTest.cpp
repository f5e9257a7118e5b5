// Script values: the text and number of each kind, and how global variables store them.
#include "core/Stream.h"
#include "script/ScriptValue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ScriptValue, Kinds) {
    const CScriptValue zero;
    EXPECT_FALSE(zero.IsString());
    EXPECT_STREQ(zero.GetText(), "0");
    EXPECT_EQ(zero.GetNumber(), 0);
    const CScriptValue n(-42);
    EXPECT_STREQ(n.GetText(), "-42");
    const CScriptValue s(" 17 apples\\g");
    EXPECT_TRUE(s.IsString());
    EXPECT_EQ(s.GetNumber(), 17);
    EXPECT_STREQ(s.GetText(), " 17 apples\t");
    const CScriptValue none(static_cast<const char*>(nullptr));
    EXPECT_TRUE(none.IsString());
    EXPECT_FALSE(none.HasText());
    EXPECT_STREQ(none.GetText(), "");
}

TEST(ScriptValue, SerializeAsGlobalsStoreIt) {
    // One byte is-string; a number as a 32-bit word aligned to 4, a string as its text and NUL.
    CStream out;
    out.InitForWriting();
    CScriptValue number(-2);
    CScriptValue text("ab");
    number.Serialize(out, false);
    text.Serialize(out, false);
    const std::vector<u8> expected = {0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 'a', 'b', 0};
    ASSERT_EQ(out.GetOffset(), expected.size());
    EXPECT_EQ(std::vector<u8>(out.GetBuffer(), out.GetBuffer() + out.GetOffset()), expected);

    std::vector<u8> bytes = {0, 0, 0, 0, 0x39, 0x30, 0, 0, 1, '1', '2', 'x', 0};
    CStream in;
    in.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    CScriptValue a;
    CScriptValue b;
    a.Serialize(in, true);
    b.Serialize(in, true);
    EXPECT_FALSE(in.HasError());
    EXPECT_EQ(a.GetNumber(), 12345);
    EXPECT_STREQ(a.GetText(), "12345");
    EXPECT_TRUE(b.IsString());
    EXPECT_STREQ(b.GetText(), "12x");
    EXPECT_EQ(b.GetNumber(), 12);
}

}  // namespace
