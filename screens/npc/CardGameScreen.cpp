#include "screens/npc/CardGameScreen.h"

#include "core/LayoutTable.h"
#include "core/Random.h"
#include "data/Npc.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "screens/ScreenHost.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/npc/NpcServiceRules.h"
#include "script/ScriptContext.h"
#include "script/ScriptTargets.h"
#include "ui/Draw.h"
#include "ui/Layout.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetGameData.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"
#include "world/Player.h"

namespace {

// The board's pictures, by their place in the screen's list.
enum BoardPicture : size_t {
    kBoardGround,
    kGiveUpPicture,
    kEmptyTable,
    kClassPicture,  // three, by class
    kPileFrame = kClassPicture + 3,
    kMarkerGround,
    kInstantFace,
    kMarkerFace,
    kMarkerRim,
    kMarkerLight,
    kBoardPictureCount,
};

// Record ids in the large layouts; the small layouts take the pictures from kClassPicture on 894
// records further.
constexpr u16 kBoardPictureIds[kBoardPictureCount] = {3051, 3655, 3656, 3048, 3049, 3050,
                                                      3052, 3053, 3054, 3055, 3056, 3057};
constexpr u16 kSmallLayoutOffset = 894;

constexpr u32 kBoardElement = 19, kPlayerPortrait = 109, kCardText = 110, kOpponentPortrait = 124;
constexpr u32 kPlayerPile = 128, kOpponentPile = 129, kOpponentHp = 130, kPlayerHp = 131;
constexpr u32 kDecoration = 132;

constexpr u32 kHpColour = 0xE8F0F0;
constexpr u32 kHpShade = 0x102010;
constexpr u32 kPortraitFill = 0x101010;

void PlayNamed(const char* name) { WidgetGameData().PlaySound(name, 10); }

}  // namespace

CCardGameScreen::CCardGameScreen(CScreenHost& host) : host_(host) {}

CCardGameScreen::~CCardGameScreen() { ReleasePictures(); }

u32 CCardGameScreen::Now() const { return plat::TickCount(); }

CRecordHolder* CCardGameScreen::Loaded(u16 index) {
    CRecordHolder* holder = boardPictures_[index].get();
    return holder != nullptr && holder->data != nullptr ? holder : nullptr;
}

CRecordHolder* CCardGameScreen::CardPicture(const CCardDef* card) {
    if (card == nullptr || card->Key() >= kCardCount) return nullptr;
    CRecordHolder& holder = cardPictures_[card->Key()];
    return holder.data != nullptr ? &holder : nullptr;
}

void CCardGameScreen::LoadPictures() {
    const bool small = IsSmallLayoutMode(game != nullptr ? game->GetLayoutMode() : 0);
    for (size_t i = 0; i < kBoardPictureCount; ++i) {
        const u16 id = static_cast<u16>(kBoardPictureIds[i] + (small && i >= kClassPicture ? kSmallLayoutOffset : 0));
        if (boardPictures_[i] == nullptr) boardPictures_[i] = std::make_unique<CRecordHolder>();
        if (!boardPictures_[i]->IsLoaded()) boardPictures_[i]->Load(dataDb, id);
    }
    for (u32 key = 0; key < kCardCount; ++key)
        if (!cardPictures_[key].IsLoaded()) cardPictures_[key].Load(dataDb, table_.CardAt(key).picture);
}

void CCardGameScreen::ReleasePictures() {
    for (std::unique_ptr<CRecordHolder>& holder : boardPictures_)
        if (holder != nullptr) holder->Release();
    for (CRecordHolder& holder : cardPictures_) holder.Release();
}

void CCardGameScreen::PlaceHand(std::array<CCardPlace, kCardHandSize>& hand,
                                const u32 (&elements)[kCardHandSize]) {
    for (u32 i = 0; i < kCardHandSize; ++i) {
        PlaceWidget(*this, hand[i], kLayoutGroup, elements[i]);
        hand[i].instantFace = Loaded(kInstantFace);
        hand[i].markerFace = Loaded(kMarkerFace);
    }
}

void CCardGameScreen::PlaceMarkers(std::array<CCardMarkerPlace, kCardMarkerSlots>& markers,
                                   const u32 (&elements)[kCardMarkerSlots]) {
    for (u32 i = 0; i < kCardMarkerSlots; ++i) {
        PlaceWidget(*this, markers[i], kLayoutGroup, elements[i]);
        markers[i].ground = Loaded(kMarkerGround);
        markers[i].rim = Loaded(kMarkerRim);
        markers[i].light = Loaded(kMarkerLight);
    }
}

void CCardGameScreen::PlaceBoard() {
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    background = nullptr;
    drawBackground = 1;
    const u32 mode = game != nullptr ? game->GetLayoutMode() : 0;
    const bool small = IsSmallLayoutMode(mode);

    // Drawn in this order: the board, then what lies on it, the hands last so that a flying card
    // passes over the rest.
    PlaceWidget(*this, board, kLayoutGroup, kBoardElement);
    board.picture = Loaded(kBoardGround);

    PlaceWidget(*this, decoration, kLayoutGroup, kDecoration);
    decoration.font = small ? 0 : 1;
    CStr stake;
    stake.Format("Stake: %d%c", match_ ? match_->Bet() : static_cast<i32>(entryA), '\x09');
    decoration.Show(npc_ && npc_->GetName() ? npc_->GetName() : "", stake.GetText());

    PlaceWidget(*this, cardText, kLayoutGroup, kCardText);
    cardText.font = small ? 0 : 1;

    CCardPortrait* portraits[2] = {&opponentPortrait, &playerPortrait};
    const u32 portraitElements[2] = {kOpponentPortrait, kPlayerPortrait};
    for (int side = 0; side < 2; ++side) {
        PlaceWidget(*this, *portraits[side], kLayoutGroup, portraitElements[side]);
        portraits[side]->fillColour = kPortraitFill;
        portraits[side]->flash = false;
    }
    const char* npcPortrait = npc_ ? npc_->GetPortraitId() : nullptr;
    if (npcPortrait && *npcPortrait)
        opponentPortrait.SetPortrait(npcPortrait);
    else
        opponentPortrait.SetPicture("bres_headunknown");
    const char* face = host_.GetPlayer().portrait.GetText();
    if (face && *face)
        playerPortrait.SetPortrait(face);
    else
        playerPortrait.SetPicture("bres_headunknown");

    const u32 hpFont = mode == 5 || mode == 8 ? 2 : 1;
    PlaceLabel(*this, opponentHp, kLayoutGroup, kOpponentHp, "", CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle,
               hpFont, kHpColour);
    PlaceLabel(*this, playerHp, kLayoutGroup, kPlayerHp, "", CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle,
               hpFont, kHpColour);
    opponentHp.backgroundColour = playerHp.backgroundColour = kHpShade;

    CCardPile* piles[2] = {&opponentPile, &playerPile};
    const u32 pileElements[2] = {kOpponentPile, kPlayerPile};
    for (int side = 0; side < 2; ++side) {
        PlaceWidget(*this, *piles[side], kLayoutGroup, pileElements[side]);
        piles[side]->frame = Loaded(kPileFrame);
        pileHome_[side] = {piles[side]->x, piles[side]->y};
    }

    PlaceWidget(*this, table, kLayoutGroup, kTable);
    table.instantFace = Loaded(kInstantFace);
    table.markerFace = Loaded(kMarkerFace);
    table.emptyMark = Loaded(kEmptyTable);
    tableHome_ = {table.x, table.y};

    PlaceMarkers(opponentMarkers, kOpponentMarkers);
    PlaceMarkers(playerMarkers, kPlayerMarkers);

    if (PlaceWidget(*this, giveUpButton, kLayoutGroup, kGiveUp)) {
        giveUpButton.picture = Loaded(kGiveUpPicture);
        giveUpButton.shortcutKey = kCommandCancel;
    }

    PlaceHand(opponentHand, kOpponentHand);
    PlaceHand(playerHand, kPlayerHand);
    for (u32 i = 0; i < kCardHandSize; ++i) {
        opponentHand[i].EnablePen(0);
        home_[kCardOpponent][i] = {opponentHand[i].x, opponentHand[i].y};
        home_[kCardPlayer][i] = {playerHand[i].x, playerHand[i].y};
    }
    raise_ = playerHand[0].h / 8;
}

void CCardGameScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    messageBar.Attach(game);
    npc_ = host_.GetNpcForEntry(b);
    finished_ = false;
    asking_ = false;
    endText_.Assign("");
    table_.BuildCardTable(game != nullptr ? game->GetLayoutMode() : 0);
    LoadPictures();
    match_.reset();
    PlaceBoard();

    CRandom* random = game != nullptr ? game->GetRandom() : nullptr;
    match_ = std::make_unique<CCardMatch>(table_, random != nullptr ? *random : ownRandom_);
    match_->SetView(this);
    INpcCustomer* customer = host_.GetCustomer();
    u32 gold = customer ? customer->GetGold() : 0;
    const bool begun = match_->Begin(static_cast<i32>(a), gold, Now());
    if (begun && customer) customer->SetGold(gold);
    if (begun) cardText.Show("", match_->OpeningText().c_str());
    Refresh();
    ResetInputGuard();
    // The gold was spent between the bet and the board: nothing is taken and the game ends at once.
    if (!begun) Finish();
}

void CCardGameScreen::Leave() {
    match_.reset();
    ReleasePictures();
    CloseModal();
    RemoveAllWidgets();
    keepOnStack = 0;
}

void CCardGameScreen::ShowMessage(const char* text, u32 buttons) {
    ShowMessageText(game, &messageView, text, buttons, &messageBar, this);
    OpenModal(&messageBar);
    Draw();
}

void CCardGameScreen::ShowCard(const CCardDef* card, u32 count) {
    if (card == nullptr) return;
    cardText.Show(card->name, FormatCardText(*card, count).c_str());
}

void CCardGameScreen::Finish() {
    if (finished_ || !match_) return;
    finished_ = true;
    asking_ = false;
    CloseModal();
    INpcCustomer* customer = host_.GetCustomer();
    u32 gold = customer ? customer->GetGold() : 0;
    const bool played = match_->Duel().IsOver();
    endText_.Assign(match_->Settle(gold).c_str());
    if (customer) customer->SetGold(gold);
    // A game played to its end took an hour; a refused bet took none.
    if (played)
        if (CScriptContext* context = host_.GetScriptContext())
            if (IScriptWorld* world = context->GetWorld()) world->AdvanceClock(0, 1, 0);
    Refresh();
    ShowMessage(endText_.GetText(), CButtonBar::kOk);
}

void CCardGameScreen::Refresh() {
    if (!match_) return;
    const CCardDuel& duel = match_->Duel();
    const std::vector<CCardFlight>& flights = match_->Flights();
    for (u32 side = 0; side < 2; ++side) {
        const CCardSide& s = duel.Side(side);
        std::array<CCardPlace, kCardHandSize>& hand = side == kCardPlayer ? playerHand : opponentHand;
        for (u32 i = 0; i < kCardHandSize; ++i) {
            CCardPlace& place = hand[i];
            CCardPoint at = home_[side][i];
            const CCardFlight* flight = nullptr;
            for (const CCardFlight& f : flights)
                if (f.owner == side && f.slot == i) flight = &f;
            place.card = s.hand[i];
            place.picture = CardPicture(s.hand[i]);
            place.back = Loaded(kClassPicture + s.cls);
            // The opponent's cards lie face down until one is chosen and flies to the table.
            place.faceDown = side == kCardOpponent && !(flight != nullptr && flight->play);
            place.selected = side == kCardPlayer && match_->Selection() == static_cast<i32>(i) && !flight;
            if (place.selected) at.y -= raise_;
            if (flight != nullptr) at = flight->delay > 0 ? at : flight->Position();
            place.x = static_cast<u16>(at.x);
            place.y = static_cast<u16>(at.y);
            // A dealt card waiting for its turn to fly is still on the pile.
            place.Show(flight == nullptr || flight->delay == 0 ? 1 : 0);
        }
        std::array<CCardMarkerPlace, kCardMarkerSlots>& markers =
            side == kCardPlayer ? playerMarkers : opponentMarkers;
        for (u32 i = 0; i < kCardMarkerSlots; ++i) {
            markers[i].card = s.markers[i].card;
            markers[i].picture = CardPicture(s.markers[i].card);
            markers[i].count = s.markers[i].count;
            markers[i].flash = s.markers[i].flash;
        }
        CCardPile& pile = side == kCardPlayer ? playerPile : opponentPile;
        pile.picture = Loaded(kClassPicture + s.cls);
        pile.left = s.deck.Count();
        (side == kCardPlayer ? playerPortrait : opponentPortrait).flash = s.hitFlash;
        CStr hp;
        hp.Format("hp: %u/%u", static_cast<u32>(s.hp < 0 ? 0 : s.hp), static_cast<u32>(s.maxHp < 0 ? 0 : s.maxHp));
        ToNumberGlyphs(hp);
        CTextLabel& label = side == kCardPlayer ? playerHp : opponentHp;
        label.SetText(hp.GetText());
        label.Layout();
    }
    table.card = duel.TableCard();
    table.picture = CardPicture(duel.TableCard());
    flags |= kFormRedrawAll;
    Draw();
}

u32 CCardGameScreen::OnTick(u32 tick) {
    if (!match_ || finished_ || asking_) return CForm::OnTick(tick);
    const bool ran = match_->Tick(Now());
    if (match_->IsOver()) {
        Finish();
        return 0;
    }
    if (!ran) return 0;
    Refresh();
    return CForm::OnTick(tick);
}

void CCardGameScreen::TapHand(u32 slot) {
    const CCardMatch::TapResult result = match_->TapHandSlot(slot);
    if (result == CCardMatch::kTapSelected) ShowCard(match_->Duel().Side(kCardPlayer).hand[slot], kNoCardValue);
    if (result != CCardMatch::kTapIgnored) Refresh();
}

void CCardGameScreen::TapMarker(u32 side, u32 slot) {
    if (match_->Duel().GetTurn() != CCardDuel::kPlayerTurn) return;
    match_->ClearSelection();
    const CCardMarker& marker = match_->Duel().Side(side).markers[slot];
    if (marker.card != nullptr) ShowCard(marker.card, static_cast<u32>(marker.count < 0 ? 0 : marker.count));
    Refresh();
}

u32 CCardGameScreen::OnCommand(u32 command) {
    if (!match_) return 0;
    if (finished_) {
        if (command != kEndOk) return 0;
        CloseModal();
        return kScreenBack;
    }
    if (match_->IsBusy()) return 0;
    if (asking_) {
        asking_ = false;
        CloseModal();
        if (command == kGiveUpYes) {
            match_->GiveUp();
            Finish();
            return 0;
        }
        ResetInputGuard();
        Refresh();
        return 0;
    }
    if (command == kGiveUp) {
        PlayInterfaceSound(game, 0, 10);
        asking_ = true;
        ShowMessage("Do you want to give up?", CButtonBar::kYes | CButtonBar::kNo);
        return 0;
    }
    if (command == kTable) {
        if (const CCardDef* card = match_->Duel().TableCard()) {
            PlayNamed("bsnd_cardselect");
            match_->ClearSelection();
            ShowCard(card, kNoCardValue);
            Refresh();
        }
        return 0;
    }
    for (u32 i = 0; i < kCardHandSize; ++i)
        if (command == kPlayerHand[i]) {
            PlayNamed("bsnd_cardselect");
            TapHand(i);
            return 0;
        }
    for (u32 i = 0; i < kCardMarkerSlots; ++i) {
        if (command == kPlayerMarkers[i] || command == kOpponentMarkers[i]) {
            PlayNamed("bsnd_cardselect");
            TapMarker(command == kPlayerMarkers[i] ? kCardPlayer : kCardOpponent, i);
            return 0;
        }
    }
    return 0;
}

CCardPoint CCardGameScreen::DrawPilePosition(u32 side) { return pileHome_[side & 1u]; }

CCardPoint CCardGameScreen::HandSlotPosition(u32 side, u32 slot) {
    return slot < kCardHandSize ? home_[side & 1u][slot] : CCardPoint{};
}

CCardPoint CCardGameScreen::TablePosition() { return tableHome_; }

void CCardGameScreen::OnFlightStarted(const CCardFlight&) { PlayNamed("bsnd_card"); }

void CCardGameScreen::OnOpponentChose(u32 slot) {
    if (slot < kCardHandSize) ShowCard(match_->Duel().Side(kCardOpponent).hand[slot], kNoCardValue);
}

void CCardGameScreen::OnCardHit(u32) { PlayNamed("bsnd_carddamage"); }
