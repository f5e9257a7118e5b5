// The trade bonus: how much the player's persuasion, personality and trading skill lower every price
// the player pays and raise every price the player is paid. One rule for the player's own price
// adjustment and for every NPC service that trades.
#pragma once

#include "core/Types.h"

// Which way the gold goes: the trade bonus lowers what the player pays and raises what the player is
// paid (one signature for every caller, so no caller can turn the bonus into a penalty).
enum class TradeSide { PlayerBuys, PlayerSells };

// What the trade bonus is made of: skills and Personality with their Fortify effects.
struct CTradeSkills {
    int persuade = 0;
    int personality = 0;
    int mercantile = 0;
    int drunkenness = 0;
    bool drunk = false;
};

// (Persuade / 2 + max(1, Personality - drunkenness penalty) + 2 x Mercantile) / 14, in percent.
// Stacked Fortify effects can push it past 100; it is held to 0..100 so that a price never wraps.
int ComputeTradeBonus(const CTradeSkills& skills);
// The price after the bonus (percent, clamped to 0..100 here as well), truncated; a selling price
// that would pass the 32-bit range stays at its top.
u32 AdjustPrice(u32 price, int bonus, TradeSide side);
