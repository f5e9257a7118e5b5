// Everything that happens in a fight is an action of the player's action list, advanced one step at a
// time by the clock: the weapon blow with the first-person hands, missiles of the player and of
// creatures, casting with its hands, spells on oneself, at a cell and in flight, the hurt display
// when the player is hit, the bump of a paralysed attack and the second hand's guard. Each kind steps
// only when its period (40, 50 or 100 ms, 120 for a bow's draw) has passed since its last step.
#pragma once

#include <memory>
#include <vector>

#include "core/Types.h"
#include "world/Creatures.h"

class CFpsAnimation;
class CSpell;
struct CItemInstance;
struct CRuleContext;

enum ActionKind : u8 {
    kActionBlow = 1,
    kActionMissile = 2,
    kActionCast = 3,
    kActionSpellSelf = 4,
    kActionSpellAtCell = 5,
    kActionProjectile = 6,
    kActionPlayerHit = 7,
    kActionParalysedBump = 9,
    kActionGuard = 10,
};

struct CCombatAction {
    u8 kind = 0;
    u32 lastStep = 0;
    bool started = false;
    int step = 0;   // steps taken
    int frame = 0;  // the right hand's (or the cast's) frame counter
    int frameDirection = 1;
    bool blowDone = false, alternate = false, bow = false, crossbow = false, thrown = false;
    bool byPlayer = true;
    CItemInstance* weapon = nullptr;
    CItemInstance* quiver = nullptr;
    const CFpsAnimation* animation = nullptr;
    // Missiles and spells: the cell, the place inside it, the table direction, cells travelled.
    i32 cellX = 0, cellY = 0;
    i32 posX = 0x8000, posY = 0x8000;
    i32 direction = 0;
    int cells = 0;
    const CSpell* spell = nullptr;
    int skill = 0;
    CItemInstance* castItem = nullptr;
    CMapSection* attackerSection = nullptr;
    u8 attackerId = 0;
    // What a missile or projectile shows in its cell: its picture and the effect picture's name.
    const CFpsAnimation* flightAnimation = nullptr;
    const char* effectPicture = nullptr;
    int delay = 0;        // the guard's wait in steps
    int hitQuarter = -1;  // the hurt display's push-back: the facing quarter the blow came from
};

// One of the two first-person hands: its picture and its place in percent of the view.
struct CHandSprite {
    u16 picture = 0;
    int x = 96, y = 100;
    bool shown = true;
};

class CCombatActions : public ICreatureAttacks {
public:
    CCombatActions(ICreatureHost& host, CCreatures& creatures);

    // ---- starting actions ----
    void StartAttack();
    void StartCasting(const CSpell* spell, CItemInstance* item);
    void LaunchPlayerMissile(i32 tableDirection);
    void LaunchCreatureMissile(CMapSection& section, const CMonster& shooter, i32 tableDirection) override;
    void ReleasePlayerSpell(const CSpell& spell, int strength);
    void ReleaseCreatureSpell(CMapSection& section, const CMonster& caster, const CSpell& spell,
                              i32 tableDirection, int skill) override;
    // The hurt display; `fromQuarter` -1 for damage over time.
    void ShowPlayerHit(int fromQuarter, bool overTime);
    void StartWeaponChange(int delay, i32 tableDirection);

    // ---- resolution ----
    // A blow on the window cell (the one in front for a melee blow, where a missile stopped); p is
    // the reduction in percent; `secondSlot` targets the second creature of the cell.
    void ResolveBlow(i32 x, i32 y, int p, bool secondSlot = false);
    void SpellImpact(const CSpell& spell, int skill, i32 x, i32 y, bool area, bool byPlayer);
    void AreaImpact(const CSpell& spell, int skill, i32 x, i32 y, bool byPlayer);
    int SpellDamageAgainst(const CSpell& spell, int strength, const CMapSection& section,
                           const CMonster& m) const;
    // The spell a scroll or wand casts: the first effect of its type's list (subclasses 1 and 4) or of
    // its own (3 and 5); null for other items, an empty list or an id that names no spell.
    static const CSpell* SpellOfItem(const CItemInstance& item, const CRuleContext& rules);
    // The player's casting strength for a spell: the school skill and the Fortify magic bonus.
    int PlayerSpellStrength(const CSpell& spell) const;
    // Whether a missile or spell in flight stops in the cell (its creatures, its centre object).
    bool IsPassableForProjectile(i32 x, i32 y) const;

    // ---- the runner ----
    // Advances every action that is due by one step, in list order, and drops the finished ones.
    void Run();
    int Count() const { return static_cast<int>(actions_.size()); }
    bool HasKind(u8 kind) const;
    const CCombatAction* At(int i) const { return actions_[static_cast<size_t>(i)].get(); }
    // A missile or spell of the player in flight positioned in the cell.
    bool IsFlightInCell(i32 x, i32 y) const;
    // Every missile and projectile in flight with its cell, place in the cell, picture (0 when none)
    // and effect picture name: what the view records of those cells show.
    template <class Visit>
    void ForEachFlight(Visit visit) const {
        for (const auto& a : actions_)
            if (a->kind == kActionMissile || a->kind == kActionProjectile)
                visit(a->cellX, a->cellY, a->posX, a->posY, FlightPicture(*a), a->effectPicture);
    }
    static u16 FlightPicture(const CCombatAction& a);
    void Clear() { actions_.clear(); }

    // ---- the hands ----
    // The hand pictures and places from the equipment (left alone while the player is paralysed).
    void SetHandSprites();
    // Each player step starts a bob; each 25 ms tick of the step moves the hands.
    void StartHandBob();
    void HandBobTick();

    CHandSprite weaponHand, secondHand;
    bool spellCastByPlayer = false;
    // The view's push-back while the player is hit or bumps, relative to the cell centre.
    i32 viewOffset = 0;

private:
    CCombatAction& Add(u8 kind);
    bool Due(CCombatAction& a, u32 period);
    bool StepBlow(CCombatAction& a);
    void ShowBlowFrame(const CCombatAction& a);
    bool StepMissile(CCombatAction& a);
    bool StepCast(CCombatAction& a);
    bool StepSpellSelf(CCombatAction& a);
    bool StepSpellAtCell(CCombatAction& a);
    bool StepProjectile(CCombatAction& a);
    bool StepPlayerHit(CCombatAction& a);
    bool StepBump(CCombatAction& a);
    bool StepGuard(CCombatAction& a);
    // Moves a missile or projectile half a cell; false when it left the window or its range.
    bool Fly(CCombatAction& a);
    void MissileStopped(CCombatAction& a);
    void ReleaseSpell(const CSpell& spell, int strength, i32 x, i32 y, i32 tableDirection, bool byPlayer,
                      CMapSection* section, u8 casterId);
    int Roll(int n);

    ICreatureHost& host_;
    CCreatures& creatures_;
    std::vector<std::unique_ptr<CCombatAction>> actions_;
    int guardStartX_ = 0, guardStartY_ = 0;
    int bobSteps_ = 0, bobTick_ = 8;
    int bobSaved_[4] = {};
};
