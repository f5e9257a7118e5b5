#include "data/CardRecord.h"

#include <new>
#include <string>

CResourceRefEntry::CResourceRefEntry() : picture(new (std::nothrow) CRecordHolder) {}

CResourceRefEntry::~CResourceRefEntry() {
    if (picture) picture->Release();
}

namespace {

// Fills the "%u" places of a stored text with `values` in order and turns "%%" into "%"; every other
// character, a stray '%' included, is copied as it stands. A world file's text never reaches a
// printf-style formatter, so a "%s" or "%n" in it cannot read or write through a missing argument.
void AppendFilledText(CStr& out, const char* text, const u32* values, u32 count) {
    std::string filled;
    u32 next = 0;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && p[1] == 'u' && next < count) {
            filled += std::to_string(values[next++]);
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            filled += '%';
            ++p;
        } else {
            filled += *p;
        }
    }
    out.Append(filled.c_str());
}

}  // namespace

void FormatCardText(const CResourceRefEntry& card, CStr& out, u32 value) {
    const char* text = card.effectText;
    u32 places = CountOccurrences(text, "%u");
    u32 last = value == kCardNoValue ? card.values[2] : value;
    const bool flagged = card.IsFlagged();
    switch (places) {
    case 0:
        if (text) out = text;
        break;
    case 1: {
        const u32 fill[1] = {flagged ? card.values[0] : last};
        AppendFilledText(out, text, fill, 1);
        break;
    }
    case 2: {
        const u32 fill[2] = {card.values[0], flagged ? card.values[1] : last};
        AppendFilledText(out, text, fill, 2);
        break;
    }
    case 3:
        // A flagged card has no value for a third place: it gets no text rather than a guess.
        if (!flagged) {
            const u32 fill[3] = {card.values[0], card.values[1], last};
            AppendFilledText(out, text, fill, 3);
        }
        break;
    default: break;
    }
}
