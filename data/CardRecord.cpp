#include "data/CardRecord.h"

#include <new>

CResourceRefEntry::CResourceRefEntry() : picture(new (std::nothrow) CRecordHolder) {}

CResourceRefEntry::~CResourceRefEntry() {
    if (picture)
        picture->Release();
}

void FormatCardText(const CResourceRefEntry& card, CStr& out, u32 value) {
    const char* text = card.effectText;
    u32 places = CountOccurrences(text, "%u");
    u32 last = value == kCardNoValue ? card.values[2] : value;
    const bool flagged = card.IsFlagged();
    switch (places) {
    case 0:
        if (text)
            out = text;
        break;
    case 1:
        out.AppendFormat(text, flagged ? card.values[0] : last);
        break;
    case 2:
        out.AppendFormat(text, card.values[0], flagged ? card.values[1] : last);
        break;
    case 3:
        // A flagged card has no value for a third place: it gets no text rather than a guess.
        if (!flagged)
            out.AppendFormat(text, card.values[0], card.values[1], last);
        break;
    default:
        break;
    }
}
