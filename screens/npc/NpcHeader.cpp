#include "screens/npc/NpcHeader.h"

#include "data/Npc.h"
#include "screens/ScreenHost.h"
#include "screens/npc/TradeRules.h"
#include "screens/frontend/FrontendWidgets.h"
#include "ui/Form.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/Panel.h"
#include "ui/PictureWidgets.h"
#include "core/LayoutTable.h"
#include "ui/TextLabel.h"
#include "ui/WidgetHost.h"
#include "script/ScriptContext.h"
#include "script/ScriptValue.h"

void PlaceNpcHeader(CForm& form, u16 group, const CNpcFrames& frames, CPanel& portrait, CTextLabel& name,
                    const CNpc* npc) {
    constexpr u32 kPortrait = 288, kName = 289, kColumn = 293, kContent = 292;
    form.RemoveAllWidgets();
    GetLayoutSize(form.game, group, form.width, form.height);
    form.background = form.game ? form.game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    form.drawBackground = 1;
    CRecordHolder* const* set = form.game ? form.game->GetInterfacePictureSet(
                                                IsLargeLayoutMode(form.game->GetLayoutMode()) ? kPictureLargeFrameSet
                                                                                              : kPictureCompactFrameSet,
                                                9)
                                          : nullptr;
    const struct {
        CPicture* picture;
        u32 element;
    } placed[] = {{frames.column, kColumn}, {frames.content, kContent}, {frames.header, frames.headerElement}};
    for (const auto& p : placed) {
        if (p.picture == nullptr || !PlaceWidget(form, *p.picture, group, p.element)) continue;
        p.picture->frameSet = set;
        p.picture->transparent = 1;
        p.picture->sides = 0x0F;
    }
    if (PlaceWidget(form, portrait, group, kPortrait) && npc && npc->GetPortraitId())
        portrait.SetPortrait(npc->GetPortraitId());
    PlaceLabel(form, name, group, kName, npc && npc->GetName() ? npc->GetName() : "",
               CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 2, 0xbec8d2);
}

u32 GetNpcPriceLevel(CScreenHost& host, const CNpc& npc) {
    const i32* value = nullptr;
    i32 number = 0;
    CScriptContext* context = host.GetScriptContext();
    if (npc.GetPriceVariable() && context && context->GetWorld())
        if (CScriptValue* global = context->GetWorld()->FindGlobal(npc.GetPriceVariable())) {
            number = global->GetNumber();
            value = &number;
        }
    return GetNpcPriceLevel(npc, value);
}
