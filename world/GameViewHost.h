// What the main game view needs of the game around it, as narrow interfaces that the application
// implements: the open worlds and their tables, the script context, where a new game begins, and the
// dialogs of the panels and NPC screens that the view shows over itself (those live above the world
// and are made by the application on request).
#pragma once

#include <memory>

#include "core/Types.h"
#include "ui/Form.h"

class CMapObjectTable;
class IPanelEntry;
class CMapSection;
class CScriptContext;
class IScriptWorld;
class CTextureSet;
class CWorld;
class CWorldList;
class CWorldLists;
struct CItemInstance;
class CRandom;

// The dialogs the game view opens as its modal child, one kind each.
enum class CGameViewDialog : u8 {
    kSpellBook,
    kPotions,
    kRest,
    kWorldMap,
    kRealmTravel,
    kLockPick,
    kMarkRecall,
    kEnchant,
};

class IGameViewDialogs {
public:
    virtual ~IGameViewDialogs() = default;
    // A new dialog of that kind, attached to the game and opened; null when the application has none
    // (the command then does nothing). The view owns it until it closes.
    virtual std::unique_ptr<CForm> OpenDialog(CGameViewDialog kind) = 0;
    // The dialogs the application keeps and shows itself as the view's modal child (the spell book, mark
    // and recall, the voyage with its text and destination): true when one opened. After one closed,
    // CloseKeptDialog lets the application free what it held for it.
    virtual bool OpenKeptDialog(CGameViewDialog kind, const char* text, const char* destination) {
        return false;
    }
    virtual void CloseKeptDialog(CGameViewDialog kind) {}
    // What the spell book or the potion list chose before closing: the potion chosen (null when none;
    // the view drinks it), the spell cast by CastChosenSpell.
    virtual CItemInstance* ChosenPotion(CForm& dialog) { return nullptr; }
    virtual bool CastChosenSpell(CForm& dialog) { return false; }
    // The rest dialog is told whether the player lay exposed to the weather.
    virtual void ReportRest(CForm& dialog, bool exposed) {}
    // The lock-picking dialog on a lock word (lock level in bits 6..9, trap level in bits 10..13),
    // which a success changes; the word must outlive the dialog. It ends with 104 (opened or
    // cancelled) or 103 (the trap sprang). Null when the application has none.
    virtual std::unique_ptr<CForm> OpenLockPick(u16& lockWord) { return nullptr; }
    // The item selection of a spell that enchants (its power as the storage level) or recharges a
    // wand, kept by the application and shown as the view's modal child; it ends with 279. False when
    // the application has none.
    virtual bool OpenSpellEnchanting(int level, bool recharge) { return false; }
};

class IGameViewHost {
public:
    virtual ~IGameViewHost() = default;
    virtual CWorldList* GetWorldList() const = 0;
    virtual CWorldLists* GetWorldLists() const = 0;
    virtual CTextureSet& GetTextures() = 0;
    virtual CScriptContext* GetScriptContext() = 0;
    virtual CRandom* GetRandom() const = 0;
    // The map object a new or loaded game begins at.
    virtual const char* GetPendingMapName() const = 0;
    // The world the game plays in from now on.
    virtual void SetCurrentWorld(CWorld* world) = 0;
    virtual IGameViewDialogs* GetGameViewDialogs() { return nullptr; }
    // The world's map objects, which the game keeps from world to world (null: the view keeps its own).
    virtual CMapObjectTable* GetMapObjects() { return nullptr; }
    // The panel screen, which takes the bag it opens on before the view switches to it (null: the
    // game has none, and the inventory stays shut).
    virtual IPanelEntry* GetPanelEntry() { return nullptr; }
    // Talk with an NPC by id: the screen to switch to (2 talk, 3 services) and the NPC's entry word;
    // 0 when there is no such NPC or it does not talk.
    virtual u32 TalkEntry(const char* npcId, u32& npcWord) { return 0; }
    // The entry words of the creature that stands for the NPC in the section (0 when none does) and
    // of the section's bags, which the talk hands on to the shop.
    // Where the scripts' talk and page commands go (the talk screen's text, topics and course, the
    // pages screen's text): only those commands of the world are used. Null: nowhere.
    virtual IScriptWorld* GetScreenScripts() { return nullptr; }
    virtual void TalkPlace(const char* npcId, CMapSection* section, u32& creatureWord, u32& sectionWord) {
        creatureWord = 0;
        sectionWord = 0;
    }
    // The number of the page sequence of that id (0 for none): the pages screen's entry word.
    virtual u32 FindPageSequence(const char* id) const { return 0; }
};
