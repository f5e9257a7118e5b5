#include "screens/npc/TrainingDialog.h"

#include "data/CharacterTables.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "screens/frontend/DialogKit.h"
#include "screens/npc/LayoutPlacing.h"
#include "screens/npc/TradeRules.h"
#include "screens/npc/TradeWorld.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kLabelColour = 0xC8C8C8;
constexpr u32 kLabelBackground = 0x161616;

void SetupLabel(CTextLabel& label, u32 font, u32 colour) {
    label.font = font;
    label.textColour = colour;
    label.backgroundColour = kLabelBackground;
    label.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
}

}  // namespace

void CTrainingDialog::Open(ITradeWorld* world, const CNpc& npc) {
    world_ = world;
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    background = game ? game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    drawBackground = 1;
    PlaceDialogFrame(*this, backgroundFrame, kLayoutGroup);
    PlaceWidget(*this, title, kLayoutGroup, 0x10);
    SetupLabel(title, 2, 0xFFFFFF);
    title.backgroundColour = 0;
    title.outline = 1;
    PlaceWidget(*this, levelLabel, kLayoutGroup, 0x14);
    SetupLabel(levelLabel, 1, kLabelColour);
    PlaceWidget(*this, messageLabel, kLayoutGroup, 0x15);
    SetupLabel(messageLabel, 1, kLabelColour);
    PlaceWidget(*this, goldLabel, kLayoutGroup, 0x16);
    SetupLabel(goldLabel, 1, kLabelColour);

    CRecordHolder* const* pressed = StandardButtonFrames(game, true);
    CRecordHolder* const* normal = StandardButtonFrames(game, false);
    PlaceWidget(*this, trainButton, kLayoutGroup, kTrain);
    trainButton.SetFramedText(pressed, normal, "Train", kTrain, 2, 0xFFFFFF, 0x202020, 0x00FFFF, 0x202020,
                              kCommandUse);
    PlaceWidget(*this, cancelButton, kLayoutGroup, kCancel);
    cancelButton.SetFramedText(pressed, normal, "Cancel", kCancel, 2, 0xFFFFFF, 0x202020, 0x00FFFF, 0x202020,
                               kCommandCancel);

    trainer = &npc;
    skill = npc.trainerSkill;
    maxLevel = npc.GetTrainerMaximum();
    const CRuleContext* rules = world_ ? world_->GetRuleContext() : nullptr;
    const char* name = rules && rules->skills ? rules->skills->GetName(static_cast<int>(skill)) : nullptr;
    // A skill byte outside 1..20 names no skill: the dialog says so and offers nothing.
    skillName = name ? name : "an unknown skill";
    CStr text;
    text.Format("%s trains %s.", npc.GetName() ? npc.GetName() : "", skillName.GetText());
    title.SetText(text.GetText());
    title.Layout();

    Refresh();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CTrainingDialog::Refresh() {
    IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    const CRuleContext* rules = world_ ? world_->GetRuleContext() : nullptr;
    const u32 base = player ? player->GetSkillBase(static_cast<int>(skill)) : 0;
    const u32 gold = player ? player->GetGold() : 0;
    CStr text;
    text.Format("Your skill level: %u", base);
    ToNumberGlyphs(text);
    levelLabel.SetText(text.GetText());

    const int s = static_cast<int>(skill);
    const TrainingRefusal refusal =
        CheckTraining(s, player ? player->GetRace() : 0, base, maxLevel, player && player->CanRaiseSkill(s));
    const char* trainerName = trainer && trainer->GetName() ? trainer->GetName() : "";
    bool canTrain = false;
    switch (refusal) {
    case TrainingRefusal::kTrainUnknownSkill: text.Format("%s cannot train you.", trainerName); break;
    case TrainingRefusal::kTrainCannotLearn: text.Format("You cannot learn %s.", skillName.GetText()); break;
    case TrainingRefusal::kTrainTrainerLimit: text.Format("%s cannot train you anymore.", trainerName); break;
    case TrainingRefusal::kTrainNeedAttribute: {
        const CSkillEntry* entry = rules && rules->skills ? rules->skills->GetEntry(s) : nullptr;
        const char* attribute =
            entry && rules->attributes ? rules->attributes->GetName(entry->attribute) : nullptr;
        text.Format("You need higher %s to learn %s.", attribute ? attribute : "attributes",
                    skillName.GetText());
        break;
    }
    case TrainingRefusal::kTrainOk: {
        static const CSkillTable kBuiltIn;
        const CSkillTable& table = rules && rules->skills ? *rules->skills : kBuiltIn;
        price = GetTrainingPrice(table, base, player ? player->GetTradeBonus() : 0);
        text.Format("Cost for the next level: %u%c", price, 9);
        canTrain = price <= gold;
        break;
    }
    }
    messageLabel.SetText(text.GetText());
    text.Format("Your gold: %u%c", gold, 9);
    ToNumberGlyphs(text);
    goldLabel.SetText(text.GetText());
    for (CTextLabel* label : {&levelLabel, &messageLabel, &goldLabel}) {
        label->Layout();
        label->state |= kWidgetRedraw;
    }
    trainButton.Show(canTrain ? 1 : 0);
    trainButton.EnablePen(canTrain ? 1 : 0);
    trainButton.state |= kWidgetRedraw;
    flags |= kFormRedrawAll;
}

void CTrainingDialog::Train() {
    IServicePlayer* player = world_ ? world_->GetServicePlayer() : nullptr;
    if (!player || !trainButton.IsShown()) return;
    // The checks of Refresh again: a stale press must neither raise a barred skill nor wrap the gold.
    const int s = static_cast<int>(skill);
    const u32 base = player->GetSkillBase(s);
    if (CheckTraining(s, player->GetRace(), base, maxLevel, player->CanRaiseSkill(s)) !=
            TrainingRefusal::kTrainOk ||
        player->GetGold() < price) {
        Refresh();
        return;
    }
    player->SetSkillBase(s, base + 1);
    player->SetGold(std::min(player->GetGold() - price, kGoldLimit));
    Refresh();
}

u32 CTrainingDialog::OnCommand(u32 command) {
    if (command == kTrain) {
        PlayInterfaceSound(game, 1, 10);
        Train();
        return 0;
    }
    if (command == kCancel) {
        PlayInterfaceSound(game, 1, 10);
        return parent ? parent->OnCommand(kCancel) : 0;
    }
    return 0;
}
