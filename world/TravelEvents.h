// The handlers of the game events that spells and creatures post instead of acting themselves:
// marking and recalling positions (14, 15), the town portal (16), recharging and enchanting (17, 18)
// and examining a creature (20). Refusals and results are messages with the Ok button.
#pragma once

#include <string>

#include "world/MapObjectHost.h"

class CTravelEvents {
public:
    // Flags of a section's flags word read here.
    static constexpr u16 kNoMarking = 0x0008;
    static constexpr u16 kTownPortalTarget = 0x0200;
    static constexpr u16 kNoTeleport = 0x0400;
    static constexpr i32 kLastRing = 19;

    explicit CTravelEvents(IMapObjectHost& host) : host_(host) {}

    void OnMarkEvent();
    void OnRecallEvent();
    void OnTownPortalEvent();
    void OnRechargeEvent();
    void OnEnchantEvent(u16 item);
    void OnExamineCreatureEvent(CMapSection* section, const CMonster& creature, u32 level);
    // The examination's text of a creature at that level.
    static std::string ExamineText(const CCreatureFacts& facts, u32 level);

private:
    u16 CurrentFlags();
    void Say(const char* text) { host_.PostMessageEvent(text, 1); }

    IMapObjectHost& host_;
};
