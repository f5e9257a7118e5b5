// The player's commands of the game view besides moving (attack, spell book, potions, rest), and the
// HUD over the view: its widgets from the layout table, the target panel and
// the effect timer.
#include <algorithm>
#include <cstdio>

#include "data/CreatureCatalogue.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "data/WorldLists.h"
#include "display/Video.h"
#include "display/FontSet.h"
#include "platform/Clock.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"
#include "world/GameCreatures.h"
#include "world/GameScreen.h"
#include "world/Player.h"
#include "world/RestRules.h"

namespace {

constexpr u16 kMapForbidsMagic = 0x02, kMapForbidsAttack = 0x04, kMapForbidsRest = 0x10;
constexpr u16 kHudGroup = 43;

}  // namespace

// --- commands ---

void CGameScreen::Attack() {
    if (IsBusy()) return;
    if (section && (section->flags & kMapForbidsAttack)) {
        PostMessageEvent("Attack is forbidden on this map.", 1, nullptr);
        return;
    }
    if (fightActions) fightActions->StartAttack();
    AdvanceMinute();
}

void CGameScreen::OpenSpellBook() {
    if (IsBusy()) return;
    if (section && (section->flags & kMapForbidsMagic)) {
        PostMessageEvent("Magic is forbidden on this map.", 1, nullptr);
        return;
    }
    if (player_ && !player_->effects[kListMagicImmunity].empty()) {
        PostMessageEvent("You have active magic immunity effect.", 1, nullptr);
        return;
    }
    OpenModalDialog(CGameViewDialog::kSpellBook, kModeSpellBook);
}

void CGameScreen::OpenPotions() {
    if (IsBusy()) return;
    OpenModalDialog(CGameViewDialog::kPotions, kModePotions);
    if (!modalDialog) PostMessageEvent("You don't have any potions.", 1, nullptr);
}

bool CGameScreen::DrinkSelected(CItemInstance* potion) {
    CFight* f = Fight();
    if (potion && player_) {
        const CItemType* type = potion->type;
        if (type && type->HasPermanentFortifyEffect(potion)) {
            // The player's level-gain flag counts the permanent potion of the level.
            if (player_->levelGainFlag != 0) {
                PlayInterfaceSound(game, 0, 10);
                PostMessageEvent("You cannot drink more potions with permanent effects until your level advances.",
                                 1, nullptr);
                potion = nullptr;
            } else {
                player_->levelGainFlag = 1;
            }
        }
        if (potion) {
            PlaySound("bsnd_drink", 10);
            // Text 6 of a potion names the visual effect record it shows as it acts.
            if (type) ShowPanelEffect(type->texts[2]);
            player_->ApplyPotion(*potion);
            player_->RemoveItem(potion);
            UpdateGauges();
        }
    } else {
        potion = nullptr;
    }
    if (f) f->near.Scan();
    return potion != nullptr;
}

void CGameScreen::ShowPanelEffect(const char* id) {
    CWorldLists* lists = host_ ? host_->GetWorldLists() : nullptr;
    const CPictureSet* set = lists && id && *id ? lists->pictureSets.FindById(id) : nullptr;
    if (!set || set->pictureIndices.empty()) return;
    panelEffect = set;
    panelEffectStep = 0;
    // The first picture goes up with the next tick.
    panelEffectLast = plat::TickCount() - kPanelEffectStepMs;
}

void CGameScreen::StepPanelEffect(u32 now) {
    if (!panelEffect || now - panelEffectLast < kPanelEffectStepMs) return;
    panelEffectLast = now;
    if (panelEffectStep < panelEffect->pictureIndices.size()) {
        portrait.SetPaletteColors(static_cast<u16>(panelEffect->pictureIndices[panelEffectStep++]), 0);
        return;
    }
    panelEffect = nullptr;
    panelEffectStep = 0;
    if (player_) portrait.SetPortrait(player_->portrait.GetText());
}

void CGameScreen::ShowHitFrame(int step) {
    if (panelEffect || step < 0) return;
    CWorldLists* lists = host_ ? host_->GetWorldLists() : nullptr;
    const CPictureSet* set = lists ? lists->pictureSets.FindById(kHitPictureSet) : nullptr;
    if (!set || set->pictureIndices.empty()) return;
    const size_t i = std::min(static_cast<size_t>(step), set->pictureIndices.size() - 1);
    portrait.SetPaletteColors(static_cast<u16>(set->pictureIndices[i]), 0);
}

void CGameScreen::EndHitFrames() {
    if (panelEffect || !player_) return;
    portrait.SetPortrait(player_->portrait.GetText());
}

void CGameScreen::RestCommand() {
    if (IsBusy()) return;
    CRestSituation situation;
    situation.forbidden = section && (section->flags & kMapForbidsRest);
    situation.monstersNear = window.IsThreatNearby();
    if (player_) {
        situation.poisoned = player_->GetPoisonStrength() > 0;
        situation.seriouslyDiseased = player_->HasSeriousDisease();
        situation.hasFoodAndWater = player_->HasFoodIngredients();
        situation.undead = player_->race == 1;
    }
    if (const char* refusal = RestRefusal(situation)) {
        PostMessageEvent(refusal, 1, nullptr);
        return;
    }
    PostRestPromptEvent();
}

// Resting out in the weather (before or after the eight hours) gives back only half of what is lacking.
void CGameScreen::Rest() {
    OpenModalDialog(CGameViewDialog::kRest, kModeRest);
    const bool rainBefore = weather.Intensity() != 0;
    AdvanceClockHours(8);
    const bool exposed = window.IsSurface() && (rainBefore || weather.Intensity() != 0);
    if (player_) {
        player_->ConsumeFood();
        const int hp = RestedValue(player_->hp, player_->GetMaxHp(), exposed);
        const int mana = RestedValue(player_->mana, player_->GetMaxMana(), exposed);
        if (hp != player_->hp) player_->SetHp(hp, false);
        if (mana != player_->mana) player_->AddMana(mana - player_->mana, false);
    }
    UpdateSkyPicture();
    UpdateGauges();
    if (modalDialog && host_ && host_->GetGameViewDialogs())
        host_->GetGameViewDialogs()->ReportRest(*modalDialog, exposed);
}

void CGameScreen::PickLock(u16& lockWord) {
    IGameViewDialogs* dialogs = host_ ? host_->GetGameViewDialogs() : nullptr;
    std::unique_ptr<CForm> dialog = dialogs ? dialogs->OpenLockPick(lockWord) : nullptr;
    if (!dialog) return;
    modalDialog = std::move(dialog);
    screenMode = kModeLockPick;
    lockWord_ = &lockWord;
    OpenModal(modalDialog.get());
}

// --- HUD ---

void CGameScreen::UpdateGauges() {
    if (!player_) return;
    const int maxHp = player_->GetMaxHp(), maxMana = player_->GetMaxMana();
    SetHpGauge(maxHp > 0 ? std::min(100, player_->hp * 100 / maxHp) : 0);
    SetManaGauge(maxMana > 0 ? std::min(100, player_->mana * 100 / maxMana) : 0);
}

namespace {

// The layout modes whose game view has the hand area and the frame round the view.
bool HasHandArea(u32 mode) {
    switch (mode) {
    case 2: case 3: case 4: case 9: case 10: case 11: case 14: case 15: return true;
    default: return false;
    }
}

u32 LayoutModeOf(const CPlayer* player) {
    const CRuleContext* rules = player ? player->GetWorld() : nullptr;
    return rules ? rules->layoutMode : 0;
}

}  // namespace

void CGameScreen::SetupHud() {
    RemoveAllWidgets();
    if (!game) return;
    auto place = [this](CWidget& w, u32 element) -> bool {
        w.Attach(this);
        w.SetLayoutRect(FindLayoutRect(game, kHudGroup, element));
        if (!(w.state & kWidgetEnabled)) return false;
        AddWidget(&w);
        return true;
    };
    // The hand area and the frame round the view belong to the large layout modes, and to a display
    // orientation that has its hand picture.
    const u32 orientation = video ? std::min<u32>(video->viewSet, 2) : 0;
    CRecordHolder* hand = game->GetInterfacePicture(static_cast<u16>(kPictureHands + orientation));
    CRecordHolder* handFrame = game->GetInterfacePicture(static_cast<u16>(kPictureHandFrames + orientation));
    if (hand && HasHandArea(LayoutModeOf(player_))) {
        if (place(viewFrame, 550)) {
            viewFrame.x -= CHandFrame::kBorder;
            viewFrame.y -= CHandFrame::kBorder;
            viewFrame.w += 2 * CHandFrame::kBorder;
            viewFrame.h += 2 * CHandFrame::kBorder;
            viewFrame.picture = nullptr;
            viewFrame.framePicture = handFrame;
        }
    }
    if (place(hudBottom, 534)) hudBottom.SetPicture(game->GetInterfacePicture(kPictureHudBottom), 0, 0, 1);
    if (place(hudSide, 713)) hudSide.SetPicture(game->GetInterfacePicture(kPictureHudSide), 0, 0, 1);
    if (place(mapView, 535)) {
        mapView.Setup();
        mapView.id = 535;  // a tap opens the world map
    }
    if (place(portrait, 36)) {
        // A tap on the portrait opens the player's items (command 36, the panel's id).
        portrait.capabilities |= kWidgetTakesPen;
        if (player_) portrait.SetPortrait(player_->portrait.GetText());
    }
    if (place(hpBar, 544)) hpBar.Setup(1);
    if (place(manaBar, 545)) manaBar.Setup(0);
    UpdateGauges();
    if (place(buttons[0], 542))
        buttons[0].SetPictures(game->GetInterfacePictureSet(kPictureMoveButtons + 12, 2), 542, 0);
    if (place(spellButton, 543))
        spellButton.SetPictures(game->GetInterfacePictureSet(kPictureSpellBookButton, 2), 543, 0);
    if (place(potionButton, 546))
        potionButton.SetPictures(game->GetInterfacePictureSet(kPicturePanelButton, 2), 546, 0);
    if (place(restButton, 547))
        restButton.SetPictures(game->GetInterfacePictureSet(kPictureRestButton, 2), 547, 0);
    if (hand && HasHandArea(LayoutModeOf(player_)) && place(handArea, 549)) {
        handArea.picture = hand;
        handArea.framePicture = handFrame;
    }
    if (place(compass, 548))
        compass.Setup(game->GetInterfacePicture(kPictureCompassBand), nullptr,
                      game->GetInterfacePicture(kPictureCompassMark), nullptr);
    for (int i = 1; i < 7; ++i)
        if (place(buttons[i], kButtonIds[i]))
            buttons[i].SetPictures(
                game->GetInterfacePictureSet(static_cast<u16>(kPictureMoveButtons + 2 * (i - 1)), 2),
                kButtonIds[i], 0);
}

void CGameScreen::SetupTargetPanel() {
    for (Target& t : targets) t = Target{};
    selectedTarget = 0;
    targetPanelX = static_cast<i32>(viewState.viewX) + 8;
    targetPanelY = static_cast<i32>(viewState.viewY) + 8;
    targetPanelW = static_cast<i32>(viewState.viewWidth) / 3;
    // A line of the panel's font, its margins and the health bar under it.
    if (fonts) fonts->Select(1, 0xE8E8E8, 0);
    const CBitmapFont* font = fonts ? fonts->CurrentFont() : nullptr;
    targetPanelH = std::max<i32>(24, font ? font->LineHeight() + 12 : 0);
}

void CGameScreen::UpdateTarget() {
    for (Target& t : targets) t = Target{};
    if (!viewWorld) return;
    // A person in the player's own cell, on the side he looks at, is the target.
    for (int slot = 0; slot < 2; ++slot) {
        const CMonster* m = PersonFacedInOwnCell(slot);
        if (!m) continue;
        Target& t = targets[slot];
        t.visible = true;
        t.name.Assign(m->Type()->displayName ? m->Type()->displayName : "");
        t.bar = false;
        t.health = static_cast<u32>(CCreatures::HpPercent(*m));
    }
    if (targets[0].visible || targets[1].visible) return;
    const u32 d = DirectionOfFacing(facing);
    const i32 reach = std::max(1, viewState.visibleDistance / kFogStep);
    for (i32 k = 1; k <= reach; ++k) {
        const i32 x = playerX + kDx[d] * k, y = playerY + kDy[d] * k;
        const CMapCell* cell = window.Cell(x, y);
        CMapSection* at = window.SectorSection(x, y);
        if (!cell || !at) return;
        for (int slot = 0; slot < 2; ++slot) {
            const CMonster* m =
                cell->creature[slot] ? at->FindMonster(static_cast<u8>(cell->creature[slot])) : nullptr;
            const auto* type = m ? static_cast<const CMonsterType*>(m->type) : nullptr;
            if (!type) continue;
            Target& t = targets[slot];
            t.visible = true;
            t.name.Assign(type->displayName ? type->displayName : "");
            t.bar = type->kind != kCreaturePeople;
            t.health = static_cast<u32>(CCreatures::HpPercent(*m));
        }
        if (targets[0].visible || targets[1].visible) return;
        const u8 code = viewWorld->TypeCode(cell->centre);
        if (code == typecode::kWall) {
            TargetEntrance(*cell, *at, static_cast<i32>((d + 2) & 3));
            return;
        }
        if ((code == typecode::kDoor || code == typecode::kDoorB) && window.CentreObject(x, y).Hides())
            return;
    }
}

// A house front that the player looks at names the NPC who keeps it (the entrance's placement names
// the NPC by id), without a health bar.
void CGameScreen::TargetEntrance(const CMapCell& cell, CMapSection& at, i32 side) {
    const u16 object = cell.side[side];
    if (object == kNoCellIndex || viewWorld->TypeCode(object) != typecode::kEntrance) return;
    const CPlacement* p = cell.sideId[side] ? at.FindPlacement(cell.sideId[side]) : nullptr;
    if (p && !(p->flags & CPlacement::kVisible)) return;
    CWorldLists* lists = host_ ? host_->GetWorldLists() : nullptr;
    const CNpc* npc = p && p->text && *p->text && lists ? lists->npcs.FindById(p->text) : nullptr;
    if (!npc || !npc->GetName()) return;
    Target& t = targets[0];
    t.visible = true;
    t.name.Assign(npc->GetName());
    t.health = 100;
    t.bar = false;
}

void CGameScreen::DrawTargetPanel() {
    if (!video || !fonts) return;
    // The panel's own font: whatever drew last (a dark talk or menu font) must not name the target.
    fonts->Select(1, 0xE8E8E8, 0);
    for (u32 i = 0; i < 2; ++i) {
        const Target& t = targets[i];
        if (!t.visible) continue;
        const i32 x = targetPanelX, y = targetPanelY + static_cast<i32>(i) * targetPanelH;
        // A name longer than the panel widens it on one line ("Restless bones" showed as "Restless"),
        // up to the view's width.
        i32 widest = 0, lines = 0;
        fonts->MeasureText(t.name.GetText(), 0x7FFF, widest, lines);
        const i32 w = std::clamp<i32>(widest + 14, targetPanelW,
                                      std::max<i32>(targetPanelW, static_cast<i32>(viewState.viewWidth) - 16));
        video->FillRect(x, y, w, targetPanelH, i == selectedTarget ? 0x94D6 : 0x4A49);
        video->FillRect(x + 1, y + 1, w - 2, targetPanelH - 2, 0x1082);
        fonts->DrawTextBox(x + 6, y + 3, x + w - 6, y + targetPanelH - 3, t.name.GetText(), 0);
        if (t.bar) video->FillRect(x + 6, y + targetPanelH - 6, (w - 12) * static_cast<i32>(t.health) / 100, 3, 0xF800);
    }
}

void CGameScreen::DrawEffectTimer() {
    if (effectTimer >= 40 || !video) return;
    video->FillRect(targetPanelX, targetPanelY - 6, static_cast<i32>(effectTimer * 30 / 100), 4, 0xFFE0);
}
