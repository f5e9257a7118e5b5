// What the script engine needs of the game it runs in. The engine sits below the world, so every
// target a command acts on is reached through one of these interfaces, which the world implements:
//   IScriptWorld      the main game view, the open world's data, the talk and pages screens
//   IScriptMapObject  a map object instance in its cell, with its type's command handler
//   IScriptCreature   a creature on the map, with the creature command handler
//   IScriptPlayer     the player character (its command switch is ExecutePlayerScriptCommand)
//   IScriptNpc        an NPC record (talk partner, the NPC that belongs to a trigger)
// Every operation has a do-nothing default, so a subsystem that is not built yet leaves its commands
// without effect here, in one place, until its implementation overrides them.
#pragma once

#include "core/Types.h"
#include "script/ScriptValue.h"

#include <memory>

// Identities the engine keeps and hands back without looking inside.
class CMapSection;
struct CMapCell;
class CMonsterType;

class CScriptContext;

// The three argument values of a command; missing ones are empty strings.
struct ScriptArgs {
    CScriptValue a[3] = {CScriptValue(""), CScriptValue(""), CScriptValue("")};
    const CScriptValue& operator[](int i) const { return a[i]; }
};
// Where a command's value goes: a query fills it, a changer leaves it empty.
using ScriptResult = std::unique_ptr<CScriptValue>;

// Where a command's target stands: its section, cell, side (0..3, -1 the centre) and where its state
// is stored (1 the cell record, 2 the per-cell side record); -1 when unknown.
struct ScriptPlace {
    CMapSection* section = nullptr;
    i32 x = -1;
    i32 y = -1;
    i32 side = -1;
    i32 where = -1;
};

class IScriptNpc {
public:
    virtual ~IScriptNpc() = default;
    virtual const char* GetName() const { return ""; }
    virtual u8 GetRaceByte() const { return 1; }
    virtual i32 GetWillingness() const { return 0; }
};

class IScriptMapObject {
public:
    virtual ~IScriptMapObject() = default;
    virtual const char* GetName() const { return ""; }
    // The type byte of the object's type (5 and 12 matter to the engine).
    virtual u8 GetTypeByte() const { return 0; }
    // The signed state byte that "getstate" and "setstate" read and write.
    virtual i8 GetState() const { return 0; }
    // Flag value 2 of the instance: closed or switched off.
    virtual bool IsClosed() const { return false; }
    // The object's own command handler; sets changed when the cell must be rebuilt.
    virtual i32 ExecuteCommand(const ScriptPlace& place, i32 command, const ScriptArgs& args,
                               ScriptResult& result, bool& changed) {
        return 0;
    }
    // The object's own reaction to an event (the "default" command).
    virtual void HandleEvent(i32 eventKind, const ScriptPlace& place, CMapCell* cell, bool& changed) {}
};

class IScriptCreature {
public:
    virtual ~IScriptCreature() = default;
    virtual const char* GetName() const { return ""; }
    virtual i32 ExecuteMonsterCommand(const ScriptPlace& place, i32 command, const ScriptArgs& args,
                                      ScriptResult& result, bool& changed) {
        return 0;
    }
    virtual void HandleMonsterEvent(i32 eventKind, const ScriptPlace& place, CMapCell* cell, bool& changed) {}
    // Flag value 4, or value 2 while its monster type is aggressive by default.
    virtual bool IsAggressive() const { return false; }
    virtual bool IsParalyzed() const { return false; }
    virtual bool IsCursed() const { return false; }
    virtual bool HasAnyDisease() const { return false; }
    // The sum of the strengths of its active poison effects.
    virtual i32 GetPoisonStrength() const { return 0; }
    virtual const char* GetKindId() const { return ""; }
    virtual const char* GetTypeId() const { return ""; }
};

class IScriptPlayer {
public:
    virtual ~IScriptPlayer() = default;

    // The player's command handler; the default is the shared command switch. Always 0.
    virtual i32 ExecuteCommand(CScriptContext& context, i32 command, const ScriptArgs& args,
                               ScriptResult& result);

    // Values read by commands, conditions and text macros.
    virtual const char* GetName() const { return ""; }
    virtual u32 GetGold() const { return 0; }
    virtual i32 GetCrime() const { return 0; }
    virtual i16 GetFame() const { return 0; }
    virtual i32 GetLevel() const { return 0; }
    virtual u8 GetRaceIndex() const { return 0; }
    virtual u8 GetGender() const { return 0; }
    virtual i32 GetHp() const { return 0; }
    virtual i32 GetMaxHp() const { return 0; }
    virtual i32 GetHpPercent() const { return 0; }
    virtual i32 GetMana() const { return 0; }
    virtual i32 GetMaxMana() const { return 0; }
    virtual i32 GetOutfit() const { return 0; }
    virtual i32 GetArmorClass(i32 shieldFactor) const { return 0; }
    virtual u32 GetSavedXp() const { return 0; }
    // The name of the first disease; null when the player has none.
    virtual const char* GetFirstDiseaseName() const { return nullptr; }
    // Attribute number 1..5 and skill number 1..20, as the conditions name them.
    virtual i32 GetAttribute(i32 attribute) const { return 0; }
    virtual i32 GetSkillValue(i32 skill) const { return 0; }
    virtual i32 GetPoisonStrength() const { return 0; }
    virtual bool IsParalyzed() const { return false; }
    virtual bool IsCursed() const { return false; }

    // Quests.
    virtual void AddQuest(const char* id) {}
    // Sets the state (1 solved, 2 failed) and gives the quest's title, null for no such quest.
    virtual const char* SetQuestState(const char* id, i32 state) { return nullptr; }
    virtual bool HasQuest(const char* id) const { return false; }
    virtual bool IsQuestSolved(const char* id) const { return false; }
    virtual bool IsQuestFailed(const char* id) const { return false; }
    virtual void RemoveQuest(const char* id) {}

    // Items, experience and gold.
    virtual void FindItem(const char* id, i32 amount, bool report) {}
    virtual void ReceiveItem(const char* id, i32 amount, bool report) {}
    virtual void RemoveItems(const char* id, i32 amount) {}
    virtual i32 CountItems(const char* id) const { return 0; }
    virtual void AddXp(i32 value, bool report) {}
    virtual void RemoveXp(i32 value, bool restorable) {}
    virtual void RestoreSavedXp() {}
    virtual void AddGold(i32 value, bool report, bool found) {}
    virtual void SetGold(u32 gold) {}
    virtual void RemoveGold(i32 value, bool report) {}

    // Skills (found by key or full name), attributes (by key, display or short name), spells,
    // abilities, diseases.
    virtual i32 FindSkillId(const char* name) const { return 0; }
    virtual const char* GetSkillKey(i32 skill) const { return ""; }
    // The skill's value as the skill table details it (used to pick the highest).
    virtual i32 GetSkillDetails(i32 skill) const { return GetSkillValue(skill); }
    virtual void AddSkillValue(i32 skill, i32 value, bool report) {}
    virtual i32 FindAttributeId(const char* name) const { return 0; }
    virtual i32 GetAttributeValue(i32 attribute, bool withDrink) const { return 0; }
    virtual void AddAttributeValue(i32 attribute, i32 value, bool report) {}
    virtual void LearnSpell(const char* id, bool report) {}
    virtual void ForgetSpell(const char* id) {}
    virtual bool KnowsSpell(const char* id) const { return false; }
    virtual void AddAbility(const char* id, bool report) {}
    virtual void RemoveAbility(const char* id) {}
    virtual bool HasAbility(const char* id) const { return false; }
    virtual void InfectDisease(const char* id) {}
    virtual void CureDisease(const char* id) {}
    // An empty id asks for any disease.
    virtual bool IsDiseased(const char* id) const { return false; }
    // The key of the player's race row in the race table.
    virtual const char* GetRaceKey() const { return ""; }

    // Hit points, mana, fame and crime through the value changers.
    virtual void SetHp(i32 value, bool report) {}
    virtual void AddHp(i32 value, bool report) {}
    virtual void SetFullHp(bool report) {}
    virtual void SetMana(i32 value, bool report) {}
    virtual void AddMana(i32 value, bool report) {}
    virtual void SetFullMana(bool report) {}
    virtual void AddFame(i32 value) {}
    virtual void ClearCrime() {}
    virtual void AddCrime(i32 value) {}
};

class IScriptWorld {
public:
    virtual ~IScriptWorld() = default;

    virtual IScriptPlayer* GetPlayer() { return nullptr; }
    virtual u32 NextRandom(i32 n) { return 0; }

    // Targets by name. A map object of that name in the sections of the open world with its place
    // (for a creature's object, kind 8, its cell); kind 4 map object, 8 creature, 0 none.
    struct Target {
        u8 kind = 0;
        IScriptMapObject* mapObject = nullptr;  // the instance in the cell; null when the cell has none
        IScriptCreature* creature = nullptr;    // the creature bound to the object; null when none
        ScriptPlace place;
    };
    virtual Target FindMapObjectByName(const char* name) { return {}; }
    // The creature bound to the map object of that name in the current world.
    virtual IScriptCreature* FindMonsterByName(const char* name) { return nullptr; }
    // The plain map object that runs commands aimed at a cell without an instance.
    virtual IScriptMapObject* GetDefaultMapObject() { return nullptr; }
    // The creature of the fallback creature type (made on first need from the creature kind
    // "bres_cyclops"), for commands aimed at an object without a creature.
    virtual IScriptCreature* GetFallbackCreature() { return nullptr; }
    virtual IScriptNpc* FindNpc(const char* id) { return nullptr; }

    // The main game view: clock (minutes), weather, the current map and world.
    virtual u32 GetClock() const { return 0; }
    virtual void AdvanceClock(i32 minutes, i32 hours, i32 days) {}
    virtual const char* FormatDateTime() const { return ""; }
    virtual i32 GetCloud() const { return 0; }
    virtual i32 GetRain() const { return 0; }
    virtual void SetSkyName(const char* name) {}
    virtual void SetCloud(i32 cloud) {}
    virtual void RedrawSky() {}
    virtual void SetRain(i32 rain) {}
    virtual CMapSection* GetCurrentSection() { return nullptr; }
    virtual const char* GetCurrentMapName() const { return ""; }
    virtual const char* GetCurrentMapDisplayName() const { return ""; }
    virtual const char* GetCurrentWorldId() const { return ""; }
    // The base world's prefixes ("base", "bres", "bmus", "bsnd") give 0; additional worlds 1..3.
    virtual const char* GetCurrentWorldPrefix() const { return ""; }
    virtual i32 GetCurrentWorldExpansion() const { return 0; }
    virtual bool IsWorldOpen() const { return false; }
    // The player's cell in the 35 x 35 cell window.
    virtual void GetPlayerCell(i32& x, i32& y) const { x = y = 0; }
    // Rebuilds the view caches of the cells in the context's changed-cell records and clears them.
    virtual void RebuildChangedCells(CScriptContext& context) {}

    // Messages and events of the main game view.
    virtual void PostMessageEvent(const char* text, i32 options) {}
    virtual void AppendMessage(const char* text, i32 style) {}
    virtual void PostTalkEvent(const char* npcId) {}
    virtual void PostPlaySceneEvent(const char* name) {}
    virtual void PostChangeMapEvent(const char* mapObject, i32 transitionKind) {}
    virtual void PostMapPromptEvent(const char* mapObject, const char* question, i32 transitionKind,
                                    i32 extra) {}
    virtual void PostTurnEvent(i32 direction) {}
    virtual void PostSetPositionEvent(i32 x, i32 y) {}
    virtual void PostJailEvent(const char* jail) {}
    virtual void PostStepBackEvent() {}
    virtual void PostShipVoyageEvent(const char* target, const char* text) {}
    virtual void ClearJail() {}
    virtual i32 GetJailState() const { return 0; }
    // Casts the spell at the player with the skill value; false when no spell has that id.
    virtual bool CastSpellAtPlayer(const char* spellId, i32 skillValue) { return false; }

    // Object lists of the main game view (a pending list box) and of the talk screen (its topics).
    virtual void CreatePendingList(const char* title) {}
    // Every set-up of the run context drops a list that a previous run built but never showed.
    virtual void DeletePendingList() {}
    virtual void AddPendingListEntry(const char* id, const char* title) {}
    virtual void PostShowObjectListEvent() {}
    virtual void ClearTalkTopics() {}
    virtual void AddTalkTopic(const char* id, const char* title) {}
    // One entry per installed and enabled additional world of the expansion number, to the pending
    // list or (toTalk) to the talk screen's topics.
    virtual void AddWorldStartEntries(i32 expansion, bool toTalk) {}

    // The talk screen and the pages screen.
    virtual void AddTalkText(const char* text, i32 style) {}
    virtual void EndTalk() {}  // hides the topics, lays the speech out, marks the end, updates, redraws
    virtual void SetTalkGoNext() {}
    virtual void SetTalkGoFirst() {}
    virtual void SetPagesText(const char* text) {}

    // World data.
    // The compiled script of the world's script record with that id: false when there is no such
    // record; code stays null when the record has no code.
    virtual bool FindScriptCode(const char* id, const u8*& code, u32& size) { return false; }
    // The global variable of that name; null when none.
    virtual CScriptValue* FindGlobal(const char* name) { return nullptr; }
    // A script has just changed the value FindGlobal gave for that name; a world that keeps its
    // globals elsewhere stores it back here.
    virtual void GlobalChanged(const char* name) {}
    // The base value of the item type plus the value word of the record it links to; 0 when unknown.
    virtual i32 GetItemValue(const char* id) { return 0; }
    virtual const char* GetRaceName(u8 raceIndex) const { return ""; }

    // Map fog of a section found in every open world.
    virtual CMapSection* FindSectionInAllWorlds(const char* name) { return nullptr; }
    virtual bool IsSurfaceSection(CMapSection* section) const { return false; }
    virtual void SetSectionFog(CMapSection* section, u8 viewDistance, u16 fogColour) {}
    virtual void ResetSectionFog(CMapSection* section) {}
    virtual void RefreshView() {}

    // Creatures of a section.
    virtual CMonsterType* FindMonsterType(const char* id) { return nullptr; }
    virtual void GetSectionSize(CMapSection* section, i32& width, i32& height) const { width = height = 0; }
    virtual void RemoveMonstersOfType(CMapSection* section, CMonsterType* type) {}
    // A new creature at the section position; flagScripted sets its flag bit 0. False on failure.
    virtual bool CreateMonster(CMapSection* section, CMonsterType* type, i32 x, i32 y, bool flagScripted) {
        return false;
    }
    // The section position of the named map object; false when none.
    virtual bool GetMapObjectPosition(const char* name, i32& x, i32& y) { return false; }
    // The creature scan around the player: mode 1 aggressive, 0 peaceful; how many changed.
    virtual i32 ScanCreatures(i32 distance, i32 mode) { return 0; }

    // Sound.
    virtual void PlaySound(const char* name, i32 volume) {}
    virtual void PlayMusic(const char* name) {}
};
