// The game view's spell and travel dialogs as the game holds them: the spell book, mark and recall and
// the ship voyage, each shown as the game view's modal child, with the game answering what they ask
// (IGameViewDialogHost): the player and the open worlds from the game, the player's cell, map changes
// and the view's sounds from the game view when it offers them (IGameViewTravel).
#pragma once

#include "screens/panels/GameViewDialogHost.h"
#include "screens/panels/MarkRecallDialog.h"
#include "screens/panels/RealmTravelDialog.h"
#include "screens/panels/SpellBookDialog.h"

class CGame;
class IGameViewTravel;

class CGameViewDialogs : public IGameViewDialogHost {
public:
    explicit CGameViewDialogs(CGame& game);

    // Each opens its dialog as the game view's modal child; false without a game view. The game view
    // has refused what the current map forbids before it asks; what the player's state forbids is
    // refused here with its message: the book while a magic immunity lasts, recall without a marked
    // place.
    bool OpenSpellBook();
    bool OpenMarkRecall(bool markMode);
    bool OpenVoyage(const char* text, const char* destination);
    // After the voyage's OK has closed it: its picture is freed until the next voyage.
    void ReleaseVoyagePicture() { voyage.ReleasePicture(); }

    // What the game view casts after the book's cast command: a spell, or else a carried scroll or
    // wand; both null when nothing is chosen.
    const CSpell* GetSelectedSpell() const { return spellBook.GetSelectedSpell(); }
    CItemInstance* GetSelectedItem() const { return spellBook.GetSelectedItem(); }

    // IGameViewDialogHost
    CPlayer* GetPlayer() override;
    const CRuleContext* GetRules() override;
    bool GetCurrentPlace(CMarkPlace& place) override;
    void TravelToMark(const CMarkedPosition& mark) override;
    void ShowGameMessage(const char* text) override;
    void StopQueuedSounds(bool stopMusic) override;
    void StopAllSamples() override;
    void ChangeMap(const char* destination) override;
    void PlayNamedSound(const char* name, bool looped) override;
    bool HasWorld(const char* worldId) const override;
    bool HasMap(const char* worldId, const char* mapId) const override;

    CSpellBookDialog spellBook;
    CMarkRecallDialog markRecall;
    CRealmTravelDialog voyage;

private:
    // The game view, with the dialogs attached to the game on first use; null without one.
    CForm* PrepareView();
    IGameViewTravel* Travel() const;

    CGame& game_;
    bool attached_ = false;
};
