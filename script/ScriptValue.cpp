#include "script/ScriptValue.h"

#include "core/Stream.h"

#include <string>

CScriptValue::CScriptValue() : text_("0") {}

CScriptValue::CScriptValue(i32 number) { SetNumber(number); }

CScriptValue::CScriptValue(const char* text) {
    if (!text) {
        isString_ = 1;
        hasText_ = false;
        text_.Assign("");
        return;
    }
    SetString(text);
}

void CScriptValue::SetNumber(i32 number) {
    number_ = number;
    isString_ = 0;
    hasText_ = true;
    text_.Format("%ld", number);
}

void CScriptValue::SetString(const char* text) {
    text_.Assign(text ? text : "");
    isString_ = 1;
    hasText_ = true;
    ExpandTabEscapes(text_);
    number_ = ParseInt(text_.GetText());
}

void CScriptValue::AppendText(const char* text) {
    CStr joined(text_);
    joined.Append(text ? text : "");
    SetString(joined.GetText());
}

void CScriptValue::Serialize(CStream& stream, bool reading) {
    u8 isString = isString_;
    stream.SerializeU8(isString);
    if (isString) {
        CStr text(text_);
        stream.SerializeStr(text);
        if (reading) {
            // Stored texts were expanded when they were made; only the number is derived again.
            text_.Assign(text.GetText());
            isString_ = 1;
            hasText_ = true;
            number_ = ParseInt(text_.GetText());
        }
        return;
    }
    u32 word = static_cast<u32>(number_);
    stream.SerializeU32(word);
    if (reading) SetNumber(static_cast<i32>(word));
}

void ExpandTabEscapes(CStr& text) {
    const char* p = text.GetText();
    if (FindSubstring(p, "\\g") < 0) return;
    std::string out;
    for (; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'g') {
            out.push_back('\t');
            ++p;
        } else {
            out.push_back(*p);
        }
    }
    text.Assign(out.c_str());
}
