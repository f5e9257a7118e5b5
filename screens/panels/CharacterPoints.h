// The bookkeeping behind the character pages: attribute and skill points spent one raise at a time,
// what each raise button offers, and the undo record that gives back everything spent since the pages
// were last built. Also the texts of those pages that are rules rather than looks: the compact numbers
// and the experience line of the sheet, and the lines of the active-effects page.
//
// The raise handlers check points, allowance and the race bar themselves: a command can arrive from a
// button drawn before the last raise, and the stored points are unsigned.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "world/Player.h"

struct CRuleContext;

// The first and last raise commands of the character pages.
constexpr int kRaiseStrengthCommand = 373;
constexpr int kUndoAttributesCommand = 411;
constexpr int kRaisePrimarySkillCommand = 454;  // .. 459
constexpr int kRaiseOtherSkillCommand = 460;    // .. 473
constexpr int kUndoSkillsCommand = 474;
constexpr int kPrimarySkillSlots = 6;
constexpr int kOtherSkillSlots = kPlayerSkillCount - kPrimarySkillSlots;

// The attribute 1..5 raised by a command of the sheet; 0 for any other command.
int AttributeOfRaiseCommand(int command);

class CCharacterPoints {
public:
    // What the raise button beside a skill shows.
    enum class SkillButton { kHidden, kRaise, kRuleBars };
    // What pressing it did.
    enum class SkillRaise { kRaised, kRuleBars, kRefused };

    explicit CCharacterPoints(CPlayer& player) : player_(player) {}

    // ---- attributes ----
    // Shown while attribute points and the attribute's allowance remain.
    bool ShowsAttributeRaise(int attribute) const;
    // One point into the attribute; false (nothing changed) when no point or allowance is left.
    bool RaiseAttribute(int attribute);
    void UndoAttributePoints();
    // Keeps what was spent: Undo no longer reaches it.
    void CommitAttributePoints();
    u32 AttributePointsSpent() const { return attributePointsSpent_; }
    u32 AttributeRaises(int attribute) const;

    // ---- skills ----
    // The skill of a primary (0..5) or other (0..13) slot of the player's order; 0 for none.
    int PrimarySkill(int slot) const;
    int OtherSkill(int slot) const;
    // The skill the player's race cannot have.
    bool IsBarred(int skill) const { return skill == player_.MissingSkill(); }
    // 1 for a primary skill, 2 for any other.
    int RaiseCost(bool primary) const { return primary ? 1 : 2; }
    SkillButton SkillButtonOf(int skill, bool primary) const;
    // kRuleBars: the base may not pass twice its governing attribute (the page explains it);
    // kRefused: a stale button (no points, no allowance, barred, or at 100): nothing changes.
    SkillRaise RaiseSkill(int skill, bool primary);
    void UndoSkillPoints();
    void CommitSkillPoints();
    u32 SkillPointsSpent() const { return skillPointsSpent_; }
    u32 SkillRaises(int skill) const;

    // Both records, as a rebuild of the panel's page or leaving the panel does.
    void CommitAll() {
        CommitAttributePoints();
        CommitSkillPoints();
    }

private:
    CPlayer& player_;
    u32 attributePointsSpent_ = 0;
    u32 attributeRaises_[kPlayerAttributeCount + 1] = {};
    u32 skillPointsSpent_ = 0;
    u32 skillPointsSpentOn_[kPlayerSkillCount + 1] = {};
    u32 skillRaises_[kPlayerSkillCount + 1] = {};
};

// The message of a skill the rule bars: the skill's full name and its governing attribute's name
// ("unknown" for either outside the tables).
void FormatSkillRuleMessage(const CRuleContext& rules, int skill, CStr& out);

// "%luB" from a thousand million up, else the compact number of the interface ("%luM", "%luK", "%lu").
void FormatCharacterNumber(u32 value, CStr& out);
// The experience line of the sheet in a layout mode.
void FormatExperienceLine(u32 layoutMode, u32 level, u32 xp, u32 nextLevelXp, CStr& out);

// Effects filter of the active-effects page: 0 the dynamic entries, 1 the constant ones (equipment,
// diseases, abilities), 2 all.
bool IsConstantEffect(u8 source);
bool PassesEffectsFilter(const CActiveEffect& entry, u32 filter);
// The name of what gave an active effect: the item, potion, spell, disease or ability; null when the
// entry has none.
const char* ActiveEffectSourceName(const CActiveEffect& entry, const CRuleContext& rules);
// Appends one line of the description of effect list `kind` (1..24) for the entry, "\r" ending it.
// A target or reference the world's tables do not hold is named "unknown ...".
void AppendActiveEffectLine(const CActiveEffect& entry, int kind, const CRuleContext& rules, CStr& out);
