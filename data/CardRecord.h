// The card records of the card game: the game object keeps 75, the card game's table builder fills
// the last 25 with its card definitions, and a card's effect text is its format with the card's
// values in its "%u" places.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "data/RecordHolder.h"

#include <memory>

constexpr int kCardRecordCount = 75;
constexpr u32 kCardNoValue = 0xFFFFFFFFu;

class CResourceRefEntry {
public:
    CResourceRefEntry();
    ~CResourceRefEntry();
    CResourceRefEntry(const CResourceRefEntry&) = delete;
    CResourceRefEntry& operator=(const CResourceRefEntry&) = delete;

    // A card whose kind flags have bit 0x01 or 0x10 shows only its own first two values.
    bool IsFlagged() const { return (kindFlags & 0x11) != 0; }

    u32 group = 0;
    u32 cardNumber = 0;
    u32 copies = 0;
    const char* name = nullptr;
    const char* effectText = nullptr;
    u32 values[3] = {};
    u32 kindFlags = 0;
    u16 pictureRecord = 0;
    std::unique_ptr<CRecordHolder> picture;
};

// Writes the card's effect text into out (appending, as the formatter does); value kCardNoValue
// stands for the card's third value.
void FormatCardText(const CResourceRefEntry& card, CStr& out, u32 value);
