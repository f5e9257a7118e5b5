#include "screens/panels/CharacterSheetPage.h"

#include "data/CharacterTables.h"
#include "data/RuleContext.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/panels/CharacterList.h"
#include "screens/panels/CharacterPageTexts.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kCaptionColour = 0xBEC8D2;
constexpr u32 kValueColour = 0xC8C8C8;
constexpr u32 kPointsColour = 0x64C8C8;
constexpr u32 kCaptionAlign = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
constexpr u32 kValueAlign = CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle;

bool Smallest(u32 mode) { return mode == 5 || mode == 7 || mode == 8; }

struct CaptionRow {
    u32 caption, value;
    const char* text;
};
const CaptionRow kRows[12] = {
    {142, 143, "Race:"},  {367, 368, "Level:"},  {365, 366, "Xp:"}, {378, 380, "Fame:"},
    {381, 382, "Crime:"}, {389, 390, "Damage:"}, {391, 392, "Ac:"}, {393, 394, "Hp:"},
    {395, 410, "Sp:"},    {396, 397, "Outfit:"}, {0, 0, nullptr},   {0, 0, nullptr},
};
enum { kRace, kLevel, kXp, kFame, kCrime, kDamage, kArmour, kHp, kSp, kOutfit };

struct AttributeRow {
    u32 name, value, button;
    const char* full;
    const char* brief;
};
const AttributeRow kAttributes[kPlayerAttributeCount] = {
    {369, 370, 373, "Strength:", "Str:"},    {371, 372, 374, "Dexterity:", "Dex:"},
    {375, 376, 377, "Endurance:", "End:"},   {383, 384, 385, "Intelligence:", "Int:"},
    {386, 387, 388, "Personality:", "Per:"},
};
const u32 kResistElements[4][2] = {{402, 403}, {404, 405}, {406, 407}, {408, 409}};
const char* const kResistNames[4] = {"Magic:", "Poison:", "Paralysis:", "Diseases:"};

}  // namespace

void CCharacterSheetPage::Open(CPlayer& player, const CRuleContext& rules, CCharacterPoints& points) {
    player_ = &player;
    rules_ = &rules;
    points_ = &points;
    RemoveAllWidgets();
    PlacePanelPage(*this, kLayoutGroup);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;
    const u32 mode = rules.layoutMode;
    const bool small = IsSmallLayout(mode);

    CStr text;
    for (int r = kRace; r <= kOutfit; ++r) {
        const char* caption = r == kXp && Smallest(mode) ? "Level:" : kRows[r].text;
        PlaceLabel(*this, captions[r], kLayoutGroup, kRows[r].caption, caption, kCaptionAlign, 1,
                   kCaptionColour);
        PlaceLabel(*this, values[r], kLayoutGroup, kRows[r].value, "", kValueAlign, 1, kValueColour);
    }
    const char* race = rules.races ? rules.races->GetName(static_cast<int>(player.race)) : nullptr;
    values[kRace].SetText(race ? race : "");
    text.Format("%lu", static_cast<unsigned long>(player.level));
    ToNumberGlyphs(text);
    values[kLevel].SetText(text.GetText());
    FormatExperienceLine(mode, player.level, player.xp, player.GetXpForNextLevel(), text);
    ToNumberGlyphs(text);
    values[kXp].SetText(text.GetText());
    const char* fame = player.FameTitle();
    values[kFame].SetText(fame ? fame : "");
    if (PlaceWidget(*this, fameScale, kLayoutGroup, 379)) {
        fameScale.flags = 1;
        fameScale.lowValue = -100;
        fameScale.middleValue = 0;
        fameScale.highValue = 100;
        fameScale.lowColour = 0x5064FA;
        fameScale.middleColour = 0xBEDCE6;
        fameScale.highColour = 0x64DC64;
        fameScale.markerColour = 0xFFFFFF;
        fameScale.value = player.fame;
    }
    FormatCharacterNumber(player.crime, text);
    ToNumberGlyphs(text);
    values[kCrime].SetText(text.GetText());
    const int outfit = player.GetOutfit();
    if (mode == 5 || mode == 8) {
        text.Format("%u", static_cast<unsigned>(outfit));
    } else {
        const char* word = CPlayer::OutfitWord(outfit);
        text.Format("%s (%u)", word ? word : "", static_cast<unsigned>(outfit));
    }
    ToNumberGlyphs(text);
    values[kOutfit].SetText(text.GetText());

    PlaceLabel(*this, attributesTitle, kLayoutGroup, 565, "Attributes:", kValueAlign, 1, kValueColour);
    for (int i = 0; i < kPlayerAttributeCount; ++i) {
        const AttributeRow& row = kAttributes[i];
        PlaceLabel(*this, attributeNames[i], kLayoutGroup, row.name, Smallest(mode) ? row.brief : row.full,
                   kCaptionAlign, 1, kCaptionColour);
        PlaceLabel(*this, attributeValues[i], kLayoutGroup, row.value, "", kValueAlign, 1, kValueColour);
        PlacePictureButton(*this, raiseButtons[i], kLayoutGroup, row.button, kPictureSkillButtons,
                           kPictureSkillButtons + 1, true);
    }
    PlaceLabel(*this, pointsCaption, kLayoutGroup, 398,
               small ? "Available pts:" : "Available points:", kCaptionAlign, 1, kPointsColour);
    PlaceLabel(*this, pointsValue, kLayoutGroup, 399, "", kValueAlign, 1, kPointsColour);
    if (PlaceWidget(*this, undo, kLayoutGroup, kUndoAttributesCommand)) {
        undo.Setup("Undo", kUndoAttributesCommand, 0x64C8C8, 0x00FFFF, 0x161616);
    }
    PlaceLabel(*this, resistTitle, kLayoutGroup, 401, "Resistances:", kValueAlign, 1, kValueColour);
    for (int i = 0; i < 4; ++i) {
        PlaceLabel(*this, resistNames[i], kLayoutGroup, kResistElements[i][0], kResistNames[i], kCaptionAlign,
                   1, kCaptionColour);
        PlaceLabel(*this, resistValues[i], kLayoutGroup, kResistElements[i][1], "", kValueAlign, 1,
                   kValueColour);
    }
    ShowUndo();
    Refresh();
    ResetInputGuard();
}

void CCharacterSheetPage::Refresh() {
    if (!player_ || !points_) return;
    CSheetValues v;
    ComputeSheetValues(*player_, *points_, v);
    for (int a = 1; a <= kPlayerAttributeCount; ++a) {
        attributeValues[a - 1].SetText(v.attributes[a].GetText());
        raiseButtons[a - 1].Show(v.raiseShown[a] ? 1 : 0);
        raiseButtons[a - 1].EnablePen(v.raiseShown[a] ? 1 : 0);
    }
    pointsValue.SetText(v.availablePoints.GetText());
    CStr* resist[4] = {&v.magic, &v.poison, &v.paralysis, &v.diseases};
    for (int i = 0; i < 4; ++i) resistValues[i].SetText(resist[i]->GetText());
    values[kDamage].SetText(v.damage.GetText());
    values[kArmour].SetText(v.armour.GetText());
    values[kHp].SetText(v.hp.GetText());
    values[kSp].SetText(v.sp.GetText());
    flags |= kFormRedrawAll;
}

void CCharacterSheetPage::ShowUndo() {
    const bool shown = points_ && points_->AttributePointsSpent() > 0;
    undo.Show(shown ? 1 : 0);
    undo.EnablePen(shown ? 1 : 0);
    flags |= kFormRedrawAll;
}

u32 CCharacterSheetPage::OnCommand(u32 command) {
    if (!points_) return 0;
    if (int a = AttributeOfRaiseCommand(static_cast<int>(command))) {
        PlayInterfaceSound(game, 1, 10);
        if (points_->RaiseAttribute(a)) {
            Refresh();
            ShowUndo();
        }
        return 0;
    }
    if (command == kUndoAttributesCommand) {
        points_->UndoAttributePoints();
        Refresh();
        ShowUndo();
    }
    return 0;
}
