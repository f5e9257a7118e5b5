// The map objects that open, lock and hurt: the lockable and trappable door (type codes 20 and 22),
// the town doors that lead to an NPC (11) and into a building (12), and the floor trap (42). All
// their run-time state lives in the placement: the state flags, the lock level (bits 6..9 of the
// level word) and the trap level (bits 10..13); a trap reads its level word its own way.
#pragma once

#include "world/MapObject.h"

// The skills the doors and stealing read.
inline constexpr int kSkillDisarm = 19;
inline constexpr int kSkillStealth = 20;

class CDoor : public CMapObject {
public:
    static constexpr i32 kFullyOpen = 63;

    bool IsBlocking(const CPlacement* placement) const override;
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    void UpdateCentreLight(CPlacement* placement, const CMapCell& cell, i32 x, i32 y, CBlockCacheEntry& entry,
                           u16& light) override;
    const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
    void AnimateTick(CMapSection* section, CPlacement* placement, const CMapCell& cell, i32 x, i32 y, u16& phase,
                     CBlockCacheEntry* entry) override;
    i32 ExecuteCommand(CMapSection* section, CPlacement* placement, i32 x, i32 y, i32 command,
                       const ScriptArgs& args, ScriptResult& result, bool& redraw) override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;

    void Open(CPlacement& placement, i32 x, i32 y) const;
    void Close(CPlacement& placement, i32 x, i32 y) const;
    static bool IsOpen(const CPlacement& placement);
    // How far the leaf moves per animation tick.
    i32 PhaseStep() const { return typeCode == 22 ? 3 : 5; }

private:
    i32 Use(CMapSection* section, CPlacement& placement, const CMapCell& cell, i32 x, i32 y);
    void Spell(CPlacement& placement);
};

class CSimpleDoor : public CMapObject {
public:
    bool DescribeSide(const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                      i32 side) const override;
    bool DescribeSideOverlay(const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                             i32 side) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

class CEntranceObject : public CMapObject {
public:
    bool DescribeSide(const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                      i32 side) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

class CTrap : public CMapObject {
public:
    // The trap's level word: bits 8..11 the damage level, 12..15 the spring counter (0 idle, 1..7).
    static u8 DamageLevel(u16 level) { return static_cast<u8>((level >> 8) & 15); }
    static u8 SpringCounter(u16 level) { return static_cast<u8>((level >> 12) & 15); }
    static void SetSpringCounter(u16& level, u32 counter) {
        level = static_cast<u16>((level & 0x0FFF) | ((counter & 15) << 12));
    }

    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    void UpdateCentreLight(CPlacement* placement, const CMapCell& cell, i32 x, i32 y, CBlockCacheEntry& entry,
                           u16& light) override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};
