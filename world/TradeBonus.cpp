#include "world/TradeBonus.h"

#include <algorithm>

int ComputeTradeBonus(const CTradeSkills& skills) {
    int penalty = 0;
    if (skills.drunkenness > 0)
        penalty = skills.drunk ? skills.drunkenness / 5 + 1 : skills.drunkenness / 10 + 1;
    const int personality = std::max(1, skills.personality - penalty);
    const int bonus = (skills.persuade / 2 + personality + 2 * skills.mercantile) / 14;
    return std::clamp(bonus, 0, 100);
}

u32 AdjustPrice(u32 price, int bonus, TradeSide side) {
    const u64 b = static_cast<u64>(std::clamp(bonus, 0, 100));
    const u64 change = static_cast<u64>(price) * b / 100;
    if (side == TradeSide::PlayerBuys) return static_cast<u32>(price - change);
    return static_cast<u32>(std::min<u64>(price + change, 0xFFFFFFFFu));
}
