// The character sheet ("Main" page of the character pages) as a form of its own: race, level,
// experience, fame, crime, damage, armour, hit and spell points, outfit, the five attributes with
// their raise buttons, the points left, Undo and the four resistances. It works on the player and the
// world's tables it is opened with, so the panel screen can host it or it can be shown alone.
#pragma once

#include "core/Types.h"
#include "screens/panels/CharacterPoints.h"
#include "ui/Boxes.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"

struct CRuleContext;

class CCharacterSheetPage : public CForm {
public:
    static constexpr u16 kLayoutGroup = 36;

    // Builds the page for the player; `points` keeps the undo record across rebuilds and must outlive
    // the page.
    void Open(CPlayer& player, const CRuleContext& rules, CCharacterPoints& points);
    u32 OnCommand(u32 command) override;
    // The values spending points can change.
    void Refresh();

    CTextLabel captions[12], values[12];
    CEquipmentView fameScale;
    CTextLabel attributesTitle, attributeNames[kPlayerAttributeCount], attributeValues[kPlayerAttributeCount];
    CBitmapButton raiseButtons[kPlayerAttributeCount];
    CTextLabel pointsCaption, pointsValue;
    CTextLink undo;
    CTextLabel resistTitle, resistNames[4], resistValues[4];

private:
    void ShowUndo();

    CPlayer* player_ = nullptr;
    const CRuleContext* rules_ = nullptr;
    CCharacterPoints* points_ = nullptr;
};
