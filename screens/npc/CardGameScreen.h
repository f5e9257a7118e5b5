// The card game (screen 12): the player's duel against an NPC for a bet. The talk and services screens
// open it after the bet dialog with the entry words (the bet, the NPC). The board shows both hands,
// the draw piles, the markers, the card played last, the portraits with their hit points and the text
// of the card looked at; the duel itself runs in CCardMatch, whose flights, plays and waits this screen
// draws and sounds.
#pragma once

#include <array>
#include <memory>

#include "core/Random.h"
#include "core/RecordHolder.h"
#include "core/Types.h"
#include "screens/npc/CardBoardWidgets.h"
#include "screens/npc/CardMatch.h"
#include "screens/npc/CardTable.h"
#include "ui/ButtonBar.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"
#include "ui/TextView.h"

class CNpc;
class CScreenHost;

class CCardGameScreen : public CScreen, public ICardMatchView {
public:
    static constexpr u16 kLayoutGroup = 14;

    // Commands: the end message's Ok, the give-up prompt's Yes and No, and the board's own elements.
    enum : u32 {
        kEndOk = 1,
        kGiveUpYes = 4,
        kGiveUpNo = 8,
        kTable = 120,
        kGiveUp = 133,
    };
    // The hand slots' elements, slot 0..4 of each side, and the marker slots'.
    static constexpr u32 kPlayerHand[kCardHandSize] = {108, 111, 112, 113, 114};
    static constexpr u32 kOpponentHand[kCardHandSize] = {115, 116, 117, 118, 119};
    static constexpr u32 kPlayerMarkers[kCardMarkerSlots] = {121, 122, 123};
    static constexpr u32 kOpponentMarkers[kCardMarkerSlots] = {125, 126, 127};

    explicit CCardGameScreen(CScreenHost& host);
    ~CCardGameScreen() override;

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Leave() override;
    u32 OnCommand(u32 command) override;
    u32 OnTick(u32 tick) override;

    // The duel under way; null outside the screen.
    const CCardMatch* Match() const { return match_.get(); }
    CCardMatch* Match() { return match_.get(); }
    // Whether the closing message (win, loss or the bet refused) has been shown.
    bool IsFinished() const { return finished_; }
    const char* EndText() const { return endText_.GetText(); }

    // ICardMatchView
    CCardPoint DrawPilePosition(u32 side) override;
    CCardPoint HandSlotPosition(u32 side, u32 slot) override;
    CCardPoint TablePosition() override;
    void OnFlightStarted(const CCardFlight& flight) override;
    void OnOpponentChose(u32 slot) override;
    void OnCardHit(u32 side) override;

    CBoardPicture board;
    CCardTextPanel decoration;  // the opponent's name and the stake
    std::array<CCardPlace, kCardHandSize> playerHand;
    std::array<CCardPlace, kCardHandSize> opponentHand;
    CCardPlace table;
    std::array<CCardMarkerPlace, kCardMarkerSlots> playerMarkers;
    std::array<CCardMarkerPlace, kCardMarkerSlots> opponentMarkers;
    CCardPile playerPile;
    CCardPile opponentPile;
    CCardPortrait playerPortrait;
    CCardPortrait opponentPortrait;
    CTextLabel playerHp;
    CTextLabel opponentHp;
    CCardTextPanel cardText;
    CBoardButton giveUpButton;
    CTextView messageView;
    CButtonBar messageBar;

private:
    void LoadPictures();
    void ReleasePictures();
    CRecordHolder* Loaded(u16 id);
    CRecordHolder* CardPicture(const CCardDef* card);
    void PlaceBoard();
    void PlaceHand(std::array<CCardPlace, kCardHandSize>& hand, const u32 (&elements)[kCardHandSize]);
    void PlaceMarkers(std::array<CCardMarkerPlace, kCardMarkerSlots>& markers,
                      const u32 (&elements)[kCardMarkerSlots]);
    // Sets every piece of the board from the duel and the flights, then redraws.
    void Refresh();
    void ShowCard(const CCardDef* card, u32 count);
    void ShowMessage(const char* text, u32 buttons);
    void TapHand(u32 slot);
    void TapMarker(u32 side, u32 slot);
    // The duel has ended (or never began): the closing message, the payout and the hour spent.
    void Finish();
    u32 Now() const;

    CScreenHost& host_;
    CCardTable table_;
    CRandom ownRandom_;  // only when the game has no generator yet
    std::unique_ptr<CCardMatch> match_;
    const CNpc* npc_ = nullptr;
    bool finished_ = false;
    bool asking_ = false;  // the give-up prompt is open
    CStr endText_;
    std::array<CRecordHolder, kCardCount> cardPictures_;
    // The board's own pictures by record id, loaded on entry.
    std::array<std::unique_ptr<CRecordHolder>, 16> boardPictures_;
    std::array<u16, 16> boardPictureIds_{};
    CCardPoint home_[2][kCardHandSize] = {};
    CCardPoint pileHome_[2] = {};
    CCardPoint tableHome_;
    i32 raise_ = 0;
};
