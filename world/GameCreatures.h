// The creatures and the fight as the game view runs them: the view's answers to what the creatures
// ask (its cell window, its player, its clock and generator, its messages, sounds and music), and the
// fight itself, which the view drives from its tick and its commands. The view makes one when a world
// is open and a player is bound to the world's tables.
#pragma once

#include "world/CreatureHost.h"
#include "world/CreatureSprite.h"
#include "world/Fight.h"
#include "world/GameEvent.h"

class CGameScreen;

class CGameCreatures : public ICreatureHost, public ICellSprites, public IGameViewActions {
public:
    explicit CGameCreatures(CGameScreen& view) : view_(view), fight(*this) {}
    CGameCreatures(const CGameCreatures&) = delete;
    CGameCreatures& operator=(const CGameCreatures&) = delete;

    // ICreatureHost.
    CCellWindow& Window() override;
    CPlayer& Player() override;
    const CRuleContext& Rules() const override;
    CRandom& Random() override;
    u32 TickCount() const override;
    void GetPlayerCell(i32& x, i32& y) const override;
    void GetPlayerFraction(i32& fx, i32& fy) const override;
    void SetPlayerFraction(i32 fx, i32 fy) override;
    u32 GetFacing() const override;
    bool IsSurfaceMap() const override;
    int GetHour() const override;
    void PostMessageEvent(const char* text, u32 buttons) override;
    void ShowGameMessage(const char* text) override;
    void PlaySound(const char* name, int volume) override;
    void TalkToCreature(CMapSection& section, CMonster& creature) override;
    void PostStealPrompt(CMapSection& section, CMonster& creature) override;
    void PostExamineCreature(CMapSection& section, CMonster& creature, int level) override;
    void RaiseFightFlag() override;
    void SetFightCountdown(int value) override;
    void UpdateMusic() override;
    void RefreshAfterChange() override;
    void ShowHitFrame(int step) override;
    void EndHitFrames() override;
    bool CanCreatureEnter(i32 x, i32 y, i32 direction) override;
    void OnPlayerDied() override;
    bool RunCreatureEventScript(int code, CMapSection& section, CMonster& creature, CCreatureEvent& event) override;
    CCellObject* SpriteOf(const CMonster& creature) override;
    void RaiseObjectEvent(int code, i32 x, i32 y, int amount, const CSpell* spell) override;
    void PlayGroundSound(i32 x, i32 y) override;

    // ICellSprites: a shown creature of a cell slot stands in the 3D view as its sprite, numbered by
    // the view's caches (the number is kept in the creature).
    bool HasSprite(i32 x, i32 y, i32 slot) const override;
    u16 SpriteIndex(i32 x, i32 y, i32 slot) const override;
    void SetSpriteIndex(i32 x, i32 y, i32 slot, u16 index) override;
    void FillSprite(i32 x, i32 y, i32 slot, CCellObject& sprite) override;

    // IGameViewActions: the fight's own action list.
    void StartAttack() override;
    void Run() override;
    bool Empty() const override;
    bool HasBlockingAction() const override;
    void Clear() override;

    // Each creature within 7 cells that is not a person and whose controlling map object is absent
    // or shown passes `turns` turns of its effects (poison, paralysis, regeneration).
    void AgeNearbyEffects(int turns);
    // The sprite place and frame of the creatures within 7 cells (those in the first part of an
    // animation keep theirs).
    void UpdateVisibility(bool turning);
    // The creature the near list chose to be heard now and then (null: none); the view's ambient tick
    // spaces its idle sound with the map's ambient sounds.
    const CMonster* SoundCreature() const;
    // The two first-person hands over the view's lower corners: the weapon hand from the right, the
    // second hand (while shown) from the left, their places as the percent of each picture showing.
    void ShowHands(struct CViewState3D& view) const;
    void SoundNearCreature();

private:
    // The shown creature of a window cell's slot; null when none.
    CMonster* SlotCreature(i32 x, i32 y, i32 slot, CMapSection** section = nullptr) const;
    void PlaceSprite(i32 x, i32 y, i32 slot, const CMonster& m, CCellObject& sprite) const;

    CGameScreen& view_;

public:
    CFight fight;
};
