// Fills arbitrary effect texts (as a stored card record may bring them) with the card's values: the
// first byte picks the kind and the value given, the rest is the text.
#include "screens/npc/CardTable.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const u32 kinds[] = {kCardInstant, kCardHitPoints, kCardAttacks, kCardTurns, kCardCombo, 0};
    CCardDef card;
    card.kind = kinds[data[0] % 6];
    card.value1 = 4294967295u;
    card.value2 = 12;
    card.value3 = 3;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    card.text = text.c_str();
    std::string out = FormatCardText(card, (data[0] & 0x80) ? kNoCardValue : data[0]);
    // Each filled place yields at most ten digits for its two characters.
    if (out.size() > text.size() * 5 + 1) __builtin_trap();
    return 0;
}
