#include "app/GameViewModalDialogs.h"

#include <string_view>
#include <vector>

#include "app/Game.h"
#include "app/GameViewDialogs.h"
#include "data/ItemType.h"
#include "world/GameScreen.h"
#include "screens/npc/LockPickDialog.h"
#include "screens/npc/NpcEnchanting.h"
#include "screens/npc/PlayerCrafts.h"
#include "screens/npc/PotionDialog.h"
#include "screens/npc/RestDialog.h"
#include "screens/panels/SpellBookDialog.h"

namespace {

std::vector<CItemInstance*> Carried(CPlayer& player) {
    std::vector<CItemInstance*> carried;
    for (const auto& item : player.items) carried.push_back(item.get());
    return carried;
}

}  // namespace

// A door's lock word as the lock-picking dialog sees it.
class CLockWordTarget : public ILockTarget {
public:
    explicit CLockWordTarget(u16& word) : word_(word) {}
    u16 GetLockWord() const override { return word_; }
    void SetLockWord(u16 word) override { word_ = word; }

private:
    u16& word_;
};

CGameViewModalDialogs::CGameViewModalDialogs(CGame& game) : game_(game) {}

CGameViewModalDialogs::~CGameViewModalDialogs() = default;

std::unique_ptr<CForm> CGameViewModalDialogs::OpenDialog(CGameViewDialog kind) {
    switch (kind) {
    case CGameViewDialog::kRest: {
        auto rest = std::make_unique<CRestDialog>();
        rest->Attach(&game_);
        rest->Open(nullptr, game_.GetCustomer());
        return rest;
    }
    case CGameViewDialog::kPotions: {
        auto potions = std::make_unique<CPotionDialog>();
        potions->Attach(&game_);
        // An empty list opens nothing: the view says there is nothing to drink.
        if (potions->Open(Carried(game_.player)) == 0) return nullptr;
        return potions;
    }
    default: return nullptr;
    }
}

// The spell book and the voyage are the game's own dialogs, kept between their openings.
bool CGameViewModalDialogs::OpenKeptDialog(CGameViewDialog kind, const char* text, const char* destination) {
    switch (kind) {
    case CGameViewDialog::kSpellBook: return game_.GetViewDialogs().OpenSpellBook();
    case CGameViewDialog::kRealmTravel: return game_.GetViewDialogs().OpenVoyage(text, destination);
    case CGameViewDialog::kMarkRecall:
        return game_.GetViewDialogs().OpenMarkRecall(text && std::string_view(text) == "mark");
    default: return false;
    }
}

void CGameViewModalDialogs::CloseKeptDialog(CGameViewDialog kind) {
    if (kind == CGameViewDialog::kRealmTravel) game_.GetViewDialogs().ReleaseVoyagePicture();
}

CItemInstance* CGameViewModalDialogs::ChosenPotion(CForm& dialog) {
    auto* potions = dynamic_cast<CPotionDialog*>(&dialog);
    return potions ? potions->GetSelectedPotion(Carried(game_.player)) : nullptr;
}

// The book's cast command: the chosen spell, or the chosen scroll or wand, goes to the game view,
// which pays for it and starts the casting hands.
bool CGameViewModalDialogs::CastChosenSpell(CForm& dialog) {
    auto* book = dynamic_cast<CSpellBookDialog*>(&dialog);
    CGameScreen* view = game_.GetGameScreen();
    if (!book || !view) return false;
    const CSpell* spell = book->GetSelectedSpell();
    CItemInstance* item = spell ? nullptr : book->GetSelectedItem();
    if (!spell && !item) return false;
    return view->CastSpell(spell, item);
}

void CGameViewModalDialogs::ReportRest(CForm& dialog, bool exposed) {
    if (auto* rest = dynamic_cast<CRestDialog*>(&dialog)) rest->SetRained(exposed);
}

std::unique_ptr<CForm> CGameViewModalDialogs::OpenLockPick(u16& lockWord) {
    const CRuleContext* rules = game_.player.GetWorld();
    if (!rules) return nullptr;
    picker_ = std::make_unique<CPlayerCrafts>(game_.player, *rules, game_.GetRecipes());
    picker_->SetMessageSink([this](const char* text) {
        if (CGameScreen* view = game_.GetGameScreen()) view->AppendMessage(text);
    });
    lock_ = std::make_unique<CLockWordTarget>(lockWord);
    auto dialog = std::make_unique<CLockPickDialog>();
    dialog->Attach(&game_);
    dialog->Open(picker_.get(), lock_.get(), game_.GetRandom());
    return dialog;
}

bool CGameViewModalDialogs::OpenSpellEnchanting(int level, bool recharge) {
    CGameScreen* view = game_.GetGameScreen();
    if (!view || !game_.player.GetWorld()) return false;
    if (!enchanting_) enchanting_ = std::make_unique<CNpcEnchanting>();
    view->OpenModal(&enchanting_->OpenForSpell(game_, level, recharge));
    return true;
}
