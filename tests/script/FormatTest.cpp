// The compiled form byte by byte: hand-written scripts for the operand alignment cases, checked
// against what the assembler writes and run by the loader and interpreter; bad tables and cut scripts.
#include "ScriptFixture.h"

#include "script/ScriptFormat.h"

#include <cstring>

using namespace scripttest;

namespace {

using Bytes = std::vector<u8>;

TEST(ScriptFormat, AssemblerWritesTheHandWrittenBytes) {
    struct Case {
        const char* source;
        Bytes bytes;
    };
    const Case cases[] = {
        // x = 5; : variable at 4 with its index at 6, "=", an 8-bit constant, ";", end; table at 14.
        {"x = 5;", {0, 0, 14, 0, 8, 0, 0, 0, 81, 30, 5, 3, 0, 0, 1, 0, 'x', 0}},
        // An i16 operand after a code at an odd offset starts one byte later (code 31 at 9, value at 10).
        {"x = 300;", {0, 0, 14, 0, 8, 0, 0, 0, 81, 31, 0x2C, 0x01, 3, 0, 1, 0, 'x', 0}},
        // An i32 operand after a code at 4k+1 starts three bytes later (code 32 at 9, value at 12).
        {"x = 70000;", {0, 0, 18, 0, 8, 0, 0, 0, 81, 32, 0, 0, 0x70, 0x11, 0x01, 0x00, 3, 0, 1, 0, 'x', 0}},
        // A string constant and an object with its link; the strings in order of first use.
        {"d.open(\"k\");",
         {0, 0, 18, 0, 10, 0, 0, 0, 6, 103, 60, 33, 1, 0, 61, 3, 0, 0, 2, 0, 'd', 0, 'k', 0}},
    };
    for (const Case& c : cases) {
        ScriptRig rig;
        EXPECT_EQ(rig.Compile(c.source), c.bytes) << c.source;
    }
}

TEST(ScriptFormat, HandWrittenBytesRun) {
    ScriptRig rig;
    rig.world.AddObject("d");
    EXPECT_EQ(rig.RunBytes(
                  {0, 0, 18, 0, 8, 0, 0, 0, 81, 32, 0xEE, 0xEE, 0x70, 0x11, 0x01, 0x00, 3, 0, 1, 0, 'x', 0}),
              0);
    EXPECT_EQ(rig.Num("x"), 70000) << "the padding bytes are not read";
    EXPECT_EQ(rig.RunBytes({0, 0, 14, 0, 8, 0xEE, 0, 0, 81, 31, 0x2C, 0xFF, 3, 0, 1, 0, 'x', 0}), 0);
    EXPECT_EQ(rig.Num("x"), -212);
    // Padding tokens and line records between any two tokens, also between a command and its "(".
    EXPECT_EQ(rig.RunBytes({0, 0,  28, 0,  10, 12, 0, 0, 12, 6, 12, 103, 13, 0,   0, 0,   7,
                            0, 60, 12, 61, 3,  0,  0, 0, 0,  0, 0,  2,   0,  'd', 0, 'k', 0}),
              0);
    EXPECT_EQ(rig.log.back(), "object d 103  3 4 1");
}

TEST(ScriptFormat, LoaderReadsTwoHundredStrings) {
    std::string source;
    for (int i = 0; i < 200; ++i) source += "v" + std::to_string(i) + " = " + std::to_string(i) + ";\n";
    ScriptRig rig;
    EXPECT_EQ(rig.Run(source), 0);
    EXPECT_EQ(rig.Num("v199"), 199);
    EXPECT_EQ(rig.engine.GetVariableCount(), 200u);
}

TEST(ScriptFormat, LoaderRefusesTablesOutsideTheScript) {
    const Bytes good = {0, 0, 14, 0, 8, 0, 0, 0, 81, 30, 5, 3, 0, 0, 1, 0, 'x', 0};
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases = {
        {"too short for a header", {0, 0, 4}},
        {"table offset past the end", {0, 0, 40, 0, 0}},
        {"table offset inside the header", {0, 0, 2, 0, 0, 0}},
        {"count field cut", {0, 0, 4, 0, 0}},
    };
    Bytes noNul = good;
    noNul.back() = 'y';
    cases.push_back({"last string without its NUL", noNul});
    Bytes tooMany = good;
    tooMany[14] = 2;
    cases.push_back({"more strings than the table holds", tooMany});
    for (const Case& c : cases) {
        ScriptRig rig;
        CScriptEngine& engine = rig.engine;
        EXPECT_EQ(engine.LoadScript(c.bytes.data(), static_cast<u32>(c.bytes.size())), 1) << c.what;
        EXPECT_EQ(engine.Run(), 1) << c.what << ": nothing was loaded";
    }
    ScriptRig rig;
    EXPECT_EQ(rig.engine.LoadScript(good.data(), static_cast<u32>(good.size())), 0);
    EXPECT_EQ(rig.engine.LoadScript(nullptr, 0), 1);
}

TEST(ScriptFormat, BadIndicesAndCutScriptsFail) {
    struct Case {
        const char* what;
        Bytes bytes;
        i32 result;
    };
    const Case cases[] = {
        {"variable index past the table", {0, 0, 14, 0, 8, 0, 5, 0, 81, 30, 5, 3, 0, 0, 1, 0, 'x', 0}, 1},
        {"negative variable index", {0, 0, 14, 0, 8, 0, 0xFF, 0xFF, 81, 30, 5, 3, 0, 0, 1, 0, 'x', 0}, 1},
        {"string constant index past the table",
         {0, 0, 14, 0, 8, 0, 0, 0, 81, 33, 3, 0, 3, 0, 1, 0, 'x', 0},
         1},
        {"object index past the table", {0, 0, 10, 0, 10, 0, 9, 0, 6, 0, 1, 0, 'x', 0}, 1},
        // A line record whose operand jumps the table's zero count, then the script ends without its
        // end byte; and an i32 operand that would lie past the last byte.
        {"no end byte", {0, 0, 6, 0, 3, 13, 0, 0, 5, 0, 3}, 11},
        {"operand cut by the end", {0, 0, 6, 0, 3, 32, 0, 0}, 11},
    };
    for (const Case& c : cases) {
        ScriptRig rig;
        EXPECT_EQ(rig.RunBytes(c.bytes), c.result) << c.what;
    }
}

TEST(ScriptFormat, LineRecordsGiveErrorLines) {
    ScriptRig rig;
    EXPECT_EQ(rig.Run("x = 1;\n\n\n\n\n\n\n\n\n\ny = 2;\n5;", true), 4);
    EXPECT_EQ(rig.engine.GetErrorLine(), 12);
    // Lines keep their low 8 bits in the token.
    std::string far;
    for (int i = 0; i < 299; ++i) far += "\n";
    far += "5;";
    EXPECT_EQ(rig.Run(far, true), 4);
    EXPECT_EQ(rig.engine.GetErrorLine(), 300 & 0xFF);
}

TEST(ScriptFormat, AssemblerErrorsNameTheirLine) {
    const char* bad[] = {"x = \"open;", "x = 1 $ 2;", "@bogus", "door.nosuchcommand();", "x = 99999999999;"};
    for (const char* source : bad) {
        const scriptasm::Result r = scriptasm::Assemble(source);
        EXPECT_FALSE(r.ok) << source;
        EXPECT_EQ(r.errorLine, 1) << source;
        EXPECT_FALSE(r.error.empty());
    }
    EXPECT_NE(std::string(scriptasm::HelpText()).find("@pad"), std::string::npos);
}

}  // namespace

namespace {

TEST(ScriptFormat, SpellingTableMatchesTheAssembler) {
    for (const script::SpellingRow& row : script::kSpellingTable) {
        EXPECT_EQ(std::strlen(row.text), row.length) << row.text;
        const std::string source = row.kind == 1 ? std::string(row.text) : std::string("x ") + row.text;
        const scriptasm::Result r = scriptasm::Assemble(source);
        ASSERT_TRUE(r.ok) << row.text;
        EXPECT_EQ(r.bytes[row.kind == 1 ? 4 : 8], row.code) << row.text;
        EXPECT_EQ(script::TokenClassOf(row.code), row.kind) << row.text;
    }
    // Classes of the codes that are their own class, and of the ranges.
    for (u8 code : {0, 3, 6, 8, 10, 11, 12, 13, 20, 40, 49}) EXPECT_EQ(script::TokenClassOf(code), code);
    EXPECT_EQ(script::TokenClassOf(94), script::kClassOperator);
    EXPECT_EQ(script::TokenClassOf(99), script::kClassKeyword);
    EXPECT_EQ(script::TokenClassOf(255), script::kClassCommand);
}

}  // namespace
