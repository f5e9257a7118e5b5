// The interpreter on scripts written as text: values and operators, control flow, the result codes,
// and the rules that keep a bad script from hanging or crashing the game.
#include "ScriptFixture.h"

#include "script/ScriptFormat.h"

#include <climits>

using namespace scripttest;

namespace {

struct NumberCase {
    const char* source;
    i32 expected;
};

TEST(ScriptInterpreter, ArithmeticAndOperators) {
    const NumberCase cases[] = {
        {"x = 5;", 5},
        {"x = 2 * 3 + 1;", 7},
        {"x = 1 - 2 - 3;", -4},
        {"x = (1 - 2 - 3);", 2},
        {"x = (8 / 4 / 2);", 4},
        {"x = 7 / 2;", 3},
        {"x = -7 / 2;", -3},
        {"x = -7 % 3;", -1},
        {"x = 7 % -3;", 1},
        {"x = 6 & 3;", 2},
        {"x = 6 | 3;", 7},
        {"x = 2147483647 + 1;", INT_MIN},
        {"x = -2147483648 - 1;", INT_MAX},
        {"x = 65536 * 65536;", 0},
        {"x = 3 == 3;", 1},
        {"x = 3 != 3;", 0},
        {"x = 2 < 3;", 1},
        {"x = 3 <= 3;", 1},
        {"x = 2 > 3;", 0},
        {"x = 3 >= 4;", 0},
        {"x = 1 && 0;", 0},
        {"x = 1 || 0;", 1},
        {"x = !0;", 1},
        {"x = !5;", 0},
        {"x = 4; x += 3;", 7},
        {"x = 4; x -= 6;", -2},
        {"x = 4; x *= 3;", 12},
        {"x = 9; x /= 2;", 4},
        {"x = 9; x %= 4;", 1},
        {"x = 4; x++;", 5},
        {"x = 4; x--;", 3},
        {"x = 2147483647; x++;", INT_MIN},
        // Division and remainder without a defined result give 0 and the run goes on.
        {"x = 5 / 0; y = 1;", 0},
        {"x = 5 % 0;", 0},
        {"x = -2147483648 / -1;", 0},
        {"x = -2147483648 % -1;", 0},
        {"x = 9; x /= 0;", 0},
        {"x = 9; x %= 0;", 0},
        {"x = @i32 5;", 5},
        {"x = @i16 -300;", -300},
        {"x = 0x7FFF;", 32767},
        // Adjacent constants: a string joins a number as its 16-bit value.
        {"x = 5 \"12\";", 17},
        {"x = \"12\";", 12},
        {"x = \" -42abc\";", -42},
        {"x = \"abc\";", 0},
    };
    for (const NumberCase& c : cases) {
        ScriptRig rig;
        EXPECT_EQ(rig.Run(c.source), 0) << c.source << ": " << rig.engine.GetErrorText();
        EXPECT_EQ(rig.Num("x"), c.expected) << c.source;
    }
}

struct TextCase {
    const char* source;
    const char* var;
    const char* expected;
};

TEST(ScriptInterpreter, StringsAndComparisons) {
    const TextCase cases[] = {
        {"x = \"a\\gb\";", "x", "a\tb"},
        {"x = \"a\"; x += \"b\";", "x", "ab"},
        {"x = 1; x += \"b\";", "x", "1"},
        {"x = \"ab\" \"cd\";", "x", "abcd"},
        {"x = \"a\\\\\" \"gz\";", "x", "a\tz"},
        {"x = \"n\" + 5;", "x", "n5"},
        {"x = \"abc\" == \"ABC\";", "x", "1"},
        {"x = \"abc\" != \"ABD\";", "x", "1"},
        {"x = \"abc\" < \"ABD\";", "x", "1"},
        {"x = \"b\" > \"A\";", "x", "1"},
        {"x = \"10\" < 9;", "x", "1"},
        {"x = \"a\" && \"\";", "x", "0"},
        {"x = \"a\" || \"\";", "x", "1"},
        {"y = u;", "y", ""},
        {"x = 1; y = x; x = 2;", "y", "1"},
        {"x = 5; x = \"t\";", "x", "t"},
        {"x = gate1;", "x", ""},
        {"x = @obj \"the gate\";", "x", "the gate"},
    };
    for (const TextCase& c : cases) {
        ScriptRig rig;
        EXPECT_EQ(rig.Run(c.source), 0) << c.source << ": " << rig.engine.GetErrorText();
        EXPECT_EQ(rig.Text(c.var), c.expected) << c.source;
    }
}

TEST(ScriptInterpreter, IfElseAndReturn) {
    const NumberCase cases[] = {
        {"if (1) x = 1; else x = 2;", 1},
        {"if (0) x = 1; else x = 2;", 2},
        {"if (0) { x = 1; } else if (1) x = 3;", 3},
        {"x = 0; if (0) { x = 1; y = 2; } x = x + 10;", 10},
        {"if (1) { x = 1; x++; } else { x = 7; }", 2},
        {"if (u) x = 1; else x = 4;", 4},
        {"if (\"7\") x = 1; else x = 4;", 1},
        {"if (0) if (1) x = 1; else x = 2; x = 9;", 9},
        {"if (1) { if (0) x = 1; else x = 2; }", 2},
        {"if (2 > 1) x = 5;", 5},
        {"if (0) { x = 1; } else { if (0) { x = 2; } else { x = 3; } }", 3},
        {"x = 1; if () x = 2;", 1},
        // A block left open at the end of the text simply ends.
        {"if (1) { x = 6;", 6},
    };
    for (const NumberCase& c : cases) {
        ScriptRig rig;
        EXPECT_EQ(rig.Run(c.source), 0) << c.source << ": " << rig.engine.GetErrorText();
        EXPECT_EQ(rig.Num("x"), c.expected) << c.source;
    }

    ScriptRig rig;
    EXPECT_EQ(rig.Run("x = 1; return; x = 2;"), 20);
    EXPECT_EQ(rig.Num("x"), 1);
    EXPECT_STREQ(rig.engine.GetErrorText(), "return");
    EXPECT_EQ(rig.Run("if (1) { x = 3; return; } x = 4;"), 20);
    EXPECT_EQ(rig.Num("x"), 3);
    // Nothing at all after the keyword: the run simply ends.
    EXPECT_EQ(rig.Run("return"), 0);
    EXPECT_EQ(rig.Run("x = 8; if (1"), 0);
    EXPECT_EQ(rig.Num("x"), 8);
    EXPECT_TRUE(rig.log.empty()) << "a return posts no message";
}

struct ErrorCase {
    const char* source;
    i32 code;
    const char* text;
};

TEST(ScriptInterpreter, ErrorTable) {
    const ErrorCase cases[] = {
        {"5;", 4, "lvalue required"},
        {"5 = x;", 4, "lvalue required"},
        {"x = 1", 11, "unexpected end of file"},
        {"x = (1;", 6, "unexpected ;"},
        {"x = 1);", 7, "unexpected )"},
        {"}", 9, "unexpected }"},
        {"x = 1; }", 9, "unexpected }"},
        {"else x = 1;", 10, "else without if"},
        {"if x = 1;", 5, "( required"},
        {"open;", 5, "( required"},
        {"nowhere.open();", 12, "not an object"},
        {"@obj door @byte 6 x = 1;", 13, "object method required"},
        {"x = 1 + if;", 19, "rvalue required"},
        {"x = setdamage(1);", 19, "rvalue required"},
        {"open();", 12, "not an object"},
        // Tokens no statement or expression consumes end the run instead of looping for ever.
        {"(x = 1);", 1, "invalid token"},
        {"{ x = 1; }", 1, "invalid token"},
        {"@byte 6 x = 1;", 1, "invalid token"},
        {"@byte 11 x = 1;", 1, "invalid token"},
        {"@byte 2;", 1, "invalid token"},
        {"@byte 14;", 1, "invalid token"},
        {"@byte 9();", 1, "invalid token"},
        {"@byte 40;", 1, "invalid token"},
        {"x = 1 @byte 62 ;", 1, "invalid token"},
        {"x = 1 @byte 94 2;", 1, "invalid token"},
        {"x = @byte 255 ();", 1, "invalid token"},
    };
    for (const ErrorCase& c : cases) {
        ScriptRig rig;
        EXPECT_EQ(rig.Run(c.source), c.code) << c.source;
        if (c.code != 19) {
            EXPECT_EQ(rig.engine.GetErrorCode(), c.code) << c.source;
            EXPECT_STREQ(rig.engine.GetErrorText(), c.text) << c.source;
        }
        EXPECT_TRUE(rig.Logged("PostMessageEvent Script error! 1")) << c.source;
    }
    EXPECT_STREQ(script::ErrorText(24), "Invalid number of arguments.");
    EXPECT_STREQ(script::ErrorText(25), "Unknown error");
    EXPECT_STREQ(script::ErrorText(-1), "Unknown error");
}

TEST(ScriptInterpreter, ErrorsKeepEarlierChangesAndTheirLine) {
    ScriptRig rig;
    EXPECT_EQ(rig.Run("x = 1;\ny = 2;\n5;\nz = 3;", true), 4);
    EXPECT_EQ(rig.Num("x"), 1);
    EXPECT_EQ(rig.Num("y"), 2);
    EXPECT_EQ(rig.Var("z"), nullptr);
    EXPECT_EQ(rig.engine.GetErrorLine(), 3);
    // A success clears the last error.
    EXPECT_EQ(rig.Run("x = 2;"), 0);
    EXPECT_EQ(rig.engine.GetErrorCode(), 0);
    EXPECT_STREQ(rig.engine.GetErrorText(), "no error");
}

TEST(ScriptInterpreter, VariablesLiveAcrossRuns) {
    ScriptRig rig;
    EXPECT_EQ(rig.Run("counter = 5;"), 0);
    EXPECT_EQ(rig.Run("counter++;"), 0);
    EXPECT_EQ(rig.Run("counter += 10;"), 0);
    EXPECT_EQ(rig.Num("counter"), 16);
    EXPECT_EQ(rig.engine.GetVariableCount(), 1u);
}

TEST(ScriptInterpreter, StackIsClearedPerRunAndTrimmedPerStatement) {
    ScriptRig rig;
    // Each command statement leaves its value behind; none of them may change how the next statement
    // splits "+" and "-", within the run or in later runs.
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(rig.Run("gethour(); getday(); gettime(); x = 1 - 2 - 3;"), 0);
        EXPECT_EQ(rig.Num("x"), -4) << "run " << run;
        EXPECT_EQ(rig.engine.GetStackHeight(), 0u);
    }
    EXPECT_EQ(rig.Run("if (1) { getday(); getday(); x = 2 * 3 + 1; }"), 0);
    EXPECT_EQ(rig.Num("x"), 7);
    // A run that fails half-way leaves nothing for the next one either.
    EXPECT_EQ(rig.Run("getday(); getday(); 5;"), 4);
    EXPECT_EQ(rig.Run("x = 10 - 4 - 3;"), 0);
    EXPECT_EQ(rig.Num("x"), 3);
}

TEST(ScriptInterpreter, CommandArguments) {
    ScriptRig rig;
    rig.world.AddObject("chest");
    // Four arguments: the first three arrive; fewer: empty strings.
    EXPECT_EQ(rig.Run("chest.setlockedstate(\"a\", \"b\", \"c\", \"d\");"), 0);
    EXPECT_EQ(rig.log.back(), "object chest 106 a 3 4 1");
    EXPECT_EQ(rig.Run("chest.setlockedstate();"), 0);
    EXPECT_EQ(rig.log.back(), "object chest 106  3 4 1");
    // Expressions as arguments, and padding and line records between a command and its "(".
    // Inside parentheses "+" and "-" do not stop an operand: x * (2 + 1).
    EXPECT_EQ(rig.Run("x = 4; chest.setlockedstate @pad @line 9 (x * 2 + 1);"), 0);
    EXPECT_EQ(rig.log.back(), "object chest 106 12 3 4 1");
    EXPECT_EQ(rig.Run("setweatherrain(\"5\", 7);"), 0);
    EXPECT_EQ(rig.log.back(), "SetRain 5");
    // A command's value inside an expression.
    rig.world.clock = 1440 * 3 + 125;
    EXPECT_EQ(rig.Run("x = getday() * 100 + gethour();"), 0);
    EXPECT_EQ(rig.Num("x"), 402);
}

TEST(ScriptInterpreter, ALoneEndRunsAndSucceeds) {
    ScriptRig rig;
    const std::vector<u8> empty = {0, 0, 6, 0, 0, 0, 0, 0};
    EXPECT_EQ(rig.RunBytes(empty), 0);
    EXPECT_TRUE(rig.log.empty());
}

TEST(ScriptInterpreter, DeepNestingFailsCleanly) {
    ScriptRig rig;
    std::string deep = "x = ";
    for (int i = 0; i < 5000; ++i) deep += "(";
    deep += "1;";
    EXPECT_EQ(rig.Run(deep), 1);
    std::string ifs;
    for (int i = 0; i < 5000; ++i) ifs += "if (1) ";
    ifs += "x = 1;";
    EXPECT_EQ(rig.Run(ifs), 1);
}

}  // namespace
