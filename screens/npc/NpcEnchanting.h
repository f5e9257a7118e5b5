// The enchanter's service as the talk and services screens offer it: the enchant item selection over
// the player's items, with the enchanting screen and its entry dialogs behind it. The screen that
// owns it makes the selection its modal child and hears its end as CEnchantSelectDialog::kClose.
#pragma once

#include <memory>

#include "screens/npc/EnchantSelectDialog.h"
#include "screens/npc/EnchantSpellEntryDialog.h"

class CNpc;
class CPlayerCrafts;
class CScreenHost;

class CNpcEnchanting {
public:
    CNpcEnchanting();
    ~CNpcEnchanting();
    CNpcEnchanting(const CNpcEnchanting&) = delete;
    CNpcEnchanting& operator=(const CNpcEnchanting&) = delete;

    // Opens the selection for the enchanter with a storage-limit argument (the talk screen passes
    // three times the NPC's enchant level, the services menu 0); the caller opens it as its modal
    // child.
    CEnchantSelectDialog& Open(CScreenHost& host, const CNpc& enchanter, int level);
    // The same selection without an enchanter, for a spell: it enchants free of charge up to the
    // spell's level, or recharges a wand at once.
    CEnchantSelectDialog& OpenForSpell(CScreenHost& host, int level, bool recharge);
    // Whether the selection would list anything of the player's (equipped items count).
    static bool HasCandidates(CScreenHost& host);

    CEnchantSelectDialog selection;
    CEnchantEntryDialogs entries;

private:
    void Prepare(CScreenHost& host);
    std::unique_ptr<CPlayerCrafts> crafts_;
};
