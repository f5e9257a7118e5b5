#include "ui/Draw.h"

#include <string>

#include "app/Str.h"
#include "ui/Form.h"

void DrawFormBackground(CForm& form) {
    if (form.video == nullptr) return;
}

void FormatCompactNumber(u32 value, CStr& out) {
    if (value >= 1000000)
        out.Format("%luM", value / 1000000);
    else if (value >= 10000)
        out.Format("%luK", value / 1000);
    else
        out.Format("%lu", value);
}

namespace {

struct GlyphSet {
    u8 digit0, k, m, b, percent, minus, plus;
};

void ConvertGlyphs(CStr& text, const GlyphSet& set) {
    std::string s = text.GetText();
    char before = 0;  // the previous character as it was before conversion
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        bool afterDigit = (before >= '0' && before <= '9') || before == ')';
        bool beforeDigit = i + 1 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '9';
        if (c >= '0' && c <= '9')
            s[i] = static_cast<char>(set.digit0 + (c - '0'));
        else if (afterDigit && c == 'K')
            s[i] = static_cast<char>(set.k);
        else if (afterDigit && c == 'M')
            s[i] = static_cast<char>(set.m);
        else if (afterDigit && c == 'B')
            s[i] = static_cast<char>(set.b);
        else if (afterDigit && c == '%')
            s[i] = static_cast<char>(set.percent);
        else if (beforeDigit && c == '-')
            s[i] = static_cast<char>(set.minus);
        else if (beforeDigit && c == '+')
            s[i] = static_cast<char>(set.plus);
        before = c;
    }
    text.Assign(s.c_str());
}

}  // namespace

void ToNumberGlyphs(CStr& text) { ConvertGlyphs(text, {14, 24, 25, 26, 27, 28, 29}); }
void ToAltNumberGlyphs(CStr& text) { ConvertGlyphs(text, {160, 130, 131, 132, 133, 134, 135}); }
