// The value of the script language: a text and a number that always describe the same value, and
// whether the value is a string or a number.
#pragma once

#include "core/Str.h"
#include "core/Types.h"

class CStream;

class CScriptValue {
public:
    // Number 0 with the text "0".
    CScriptValue();
    explicit CScriptValue(i32 number);
    // A string value; the backslash-g rule and the number parse apply. A null text makes a string
    // without text, which the comparisons treat apart from the empty text.
    explicit CScriptValue(const char* text);

    void SetNumber(i32 number);
    // The text becomes a string value: every backslash followed by "g" turns into a TAB, and the
    // number is the text read as a decimal integer.
    void SetString(const char* text);
    void AppendText(const char* text);

    const char* GetText() const { return text_.GetText(); }
    i32 GetNumber() const { return number_; }
    bool IsString() const { return isString_ != 0; }
    bool HasText() const { return hasText_; }

    // Global variables are stored this way: one byte is-string, then the number (a 32-bit word
    // aligned to 4) or the NUL-terminated text.
    void Serialize(CStream& stream, bool reading);

private:
    CStr text_;
    i32 number_ = 0;
    u8 isString_ = 0;
    bool hasText_ = true;
};

// Replaces each backslash followed by "g" with a TAB, in place.
void ExpandTabEscapes(CStr& text);
