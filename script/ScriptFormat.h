// The compiled script format: token codes, the class the interpreter gives each code, the spelling of
// keywords and operators, and the result codes with their texts.
//
// A compiled script: u16 (unused), u16 offset of the string table, the token stream from offset 4
// ended by a byte 0; at the string table a u16 count and that many NUL-terminated strings. Numbers
// are little-endian; a 16-bit operand starts at the next even offset and a 32-bit one at the next
// multiple of 4, counted from the script's first byte.
#pragma once

#include "core/Types.h"

namespace script {

enum TokenCode : u8 {
    kCodeEnd = 0,
    kCodeSemicolon = 3,
    kCodeLink = 6,
    kCodeVariable = 8,
    kCodeObject = 10,
    kCodeSeparator = 11,
    kCodePadding = 12,
    kCodeLine = 13,
    kCodeInt8 = 30,
    kCodeInt16 = 31,
    kCodeInt32 = 32,
    kCodeString = 33,
    kCodeBlockOpen = 50,
    kCodeBlockClose = 51,
    kCodeParenOpen = 60,
    kCodeParenClose = 61,
    kCodeIf = 95,
    kCodeElse = 96,
    kCodeReturn = 97,
    kCodeFirstCommand = 100,
    kCodeLastCommand = 254,
};

enum TokenClass : u8 {
    kClassEnd = 0,
    kClassKeyword = 1,
    kClassOperator = 2,
    kClassSemicolon = 3,
    kClassConstant = 4,
    kClassLink = 6,
    kClassBrace = 7,
    kClassVariable = 8,
    kClassCommand = 9,
    kClassObject = 10,
    kClassSeparator = 11,
    kClassParen = 14,
};

enum OperatorCode : u8 {
    kOpNotEqual = 70,
    kOpAnd = 71,
    kOpIncrement = 72,
    kOpDecrement = 73,
    kOpLessEqual = 74,
    kOpLess = 75,
    kOpEqual = 76,
    kOpGreaterEqual = 77,
    kOpGreater = 78,
    kOpOr = 79,
    kOpNot = 80,
    kOpAssign = 81,
    kOpAdd = 82,
    kOpSubtract = 83,
    kOpMultiply = 84,
    kOpDivide = 85,
    kOpRemainder = 86,
    kOpAddAssign = 87,
    kOpSubtractAssign = 88,
    kOpMultiplyAssign = 89,
    kOpDivideAssign = 90,
    kOpRemainderAssign = 91,
    kOpBitAnd = 92,
    kOpBitOr = 93,
};

enum ResultCode : i32 {
    kResultOk = 0,
    kErrInvalidToken = 1,
    kErrLvalueRequired = 4,
    kErrParenRequired = 5,
    kErrUnexpectedSemicolon = 6,
    kErrUnexpectedParen = 7,
    kErrUnexpectedBrace = 9,
    kErrElseWithoutIf = 10,
    kErrUnexpectedEnd = 11,
    kErrNotAnObject = 12,
    kErrMethodRequired = 13,
    kErrRvalueRequired = 19,
    kResultReturn = 20,
};

constexpr u8 TokenClassOf(u8 code) {
    if (code >= 30 && code <= 39) return kClassConstant;
    if (code >= 50 && code <= 59) return kClassBrace;
    if (code >= 60 && code <= 69) return kClassParen;
    if (code >= 70 && code <= 94) return kClassOperator;
    if (code >= 95 && code <= 99) return kClassKeyword;
    if (code >= 100) return kClassCommand;
    return code;
}

struct ErrorRow {
    i32 code;
    const char* text;
};
inline constexpr ErrorRow kErrorTable[25] = {
    {0, "no error"},
    {1, "invalid token"},
    {2, "end of string"},
    {3, "empty prog"},
    {4, "lvalue required"},
    {5, "( required"},
    {6, "unexpected ;"},
    {7, "unexpected )"},
    {8, "empty func"},
    {9, "unexpected }"},
    {10, "else without if"},
    {11, "unexpected end of file"},
    {12, "not an object"},
    {13, "object method required"},
    {14, "properties aren't supported"},
    {15, "invalid method"},
    {16, "invalid define"},
    {17, "not implemented"},
    {18, "parameter required"},
    {19, "rvalue required"},
    {20, "return"},
    {21, "error in method"},
    {22, "unenclosed block(s)"},
    {23, "invalid close block(s)"},
    {24, "Invalid number of arguments."},
};

// "Unknown error" for a code outside the table.
const char* ErrorText(i32 code);

struct SpellingRow {
    u8 kind;  // 1 keyword, 2 operator
    const char* text;
    u8 length;
    u8 code;
};
// Two-character operators stand ahead of their one-character prefixes.
inline constexpr SpellingRow kSpellingTable[27] = {
    {1, "if", 2, 95}, {1, "else", 4, 96}, {1, "return", 6, 97}, {2, "!=", 2, 70}, {2, "&&", 2, 71},
    {2, "++", 2, 72}, {2, "--", 2, 73},   {2, "<=", 2, 74},     {2, "==", 2, 76}, {2, ">=", 2, 77},
    {2, "||", 2, 79}, {2, "!", 1, 80},    {2, "=", 1, 81},      {2, "+=", 2, 87}, {2, "-=", 2, 88},
    {2, "*=", 2, 89}, {2, "/=", 2, 90},   {2, "%=", 2, 91},     {2, "+", 1, 82},  {2, "-", 1, 83},
    {2, "*", 1, 84},  {2, "/", 1, 85},    {2, "%", 1, 86},      {2, "&", 1, 92},  {2, "|", 1, 93},
    {2, "<", 1, 75},  {2, ">", 1, 78},
};

}  // namespace script
