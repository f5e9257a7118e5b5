// The player character as the world's scripts, stored conditions and text macros see it: the player
// the game view holds, with the open world's tables to find quests, skills, attributes and races by
// name. Without a player (before a game starts) every query answers 0 and every change is dropped.
#pragma once

#include "script/ScriptTargets.h"

class CGameScreen;
class CPlayer;
struct CRuleContext;

class CScriptPlayer : public IScriptPlayer {
public:
    explicit CScriptPlayer(CGameScreen& view) : view_(view) {}

    const char* GetName() const override;
    u32 GetGold() const override;
    i32 GetCrime() const override;
    i16 GetFame() const override;
    i32 GetLevel() const override;
    u8 GetRaceIndex() const override;
    u8 GetGender() const override;
    i32 GetHp() const override;
    i32 GetMaxHp() const override;
    i32 GetHpPercent() const override;
    i32 GetMana() const override;
    i32 GetMaxMana() const override;
    i32 GetOutfit() const override;
    i32 GetArmorClass(i32 shieldFactor) const override;
    u32 GetSavedXp() const override;
    const char* GetFirstDiseaseName() const override;
    i32 GetAttribute(i32 attribute) const override;
    i32 GetSkillValue(i32 skill) const override;
    i32 GetPoisonStrength() const override;
    bool IsParalyzed() const override;
    bool IsCursed() const override;

    void AddQuest(const char* id) override;
    const char* SetQuestState(const char* id, i32 state) override;
    bool HasQuest(const char* id) const override;
    bool IsQuestSolved(const char* id) const override;
    bool IsQuestFailed(const char* id) const override;
    void RemoveQuest(const char* id) override;

    void FindItem(const char* id, i32 amount, bool report) override;
    void ReceiveItem(const char* id, i32 amount, bool report) override;
    void RemoveItems(const char* id, i32 amount) override;
    i32 CountItems(const char* id) const override;
    void AddXp(i32 value, bool report) override;
    void RemoveXp(i32 value, bool restorable) override;
    void RestoreSavedXp() override;
    void AddGold(i32 value, bool report, bool found) override;
    void SetGold(u32 gold) override;
    void RemoveGold(i32 value, bool report) override;

    i32 FindSkillId(const char* name) const override;
    const char* GetSkillKey(i32 skill) const override;
    i32 GetSkillDetails(i32 skill) const override;
    void AddSkillValue(i32 skill, i32 value, bool report) override;
    i32 FindAttributeId(const char* name) const override;
    i32 GetAttributeValue(i32 attribute, bool withDrink) const override;
    void AddAttributeValue(i32 attribute, i32 value, bool report) override;
    void LearnSpell(const char* id, bool report) override;
    void ForgetSpell(const char* id) override;
    bool KnowsSpell(const char* id) const override;
    void AddAbility(const char* id, bool report) override;
    void RemoveAbility(const char* id) override;
    bool HasAbility(const char* id) const override;
    void InfectDisease(const char* id) override;
    void CureDisease(const char* id) override;
    bool IsDiseased(const char* id) const override;
    const char* GetRaceKey() const override;

    void SetHp(i32 value, bool report) override;
    void AddHp(i32 value, bool report) override;
    void SetFullHp(bool report) override;
    void SetMana(i32 value, bool report) override;
    void AddMana(i32 value, bool report) override;
    void SetFullMana(bool report) override;
    void AddFame(i32 value) override;
    void ClearCrime() override;
    void AddCrime(i32 value) override;

private:
    CPlayer* Player() const;
    const CRuleContext* Rules() const;
    // The title of the open world's quest record; null when the world has none of that id.
    const char* QuestTitle(const char* id) const;

    CGameScreen& view_;
};
