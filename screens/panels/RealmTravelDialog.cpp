#include "screens/panels/RealmTravelDialog.h"

#include "core/LayoutTable.h"
#include "core/RecordHolder.h"
#include "screens/npc/CraftWidgets.h"
#include "screens/panels/GameViewDialogHost.h"
#include "screens/panels/ViewDialogPlacing.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kFrameElement = 19, kPictureElement = 227, kInnerFrameElement = 229, kTextElement = 230;

}  // namespace

CRealmTravelDialog::CRealmTravelDialog() = default;
CRealmTravelDialog::~CRealmTravelDialog() = default;

bool CRealmTravelDialog::HoldsPicture() const { return picture && picture->IsLoaded(); }

void CRealmTravelDialog::Open(const char* voyageText, const char* voyageDestination) {
    if (!HoldsPicture()) {
        if (!picture) picture = std::make_unique<CRecordHolder>();
        picture->Load(dataDb, kTravelPicture);
    }
    RemoveAllWidgets();
    CentreInGameView(*this, kLayoutGroup);
    background = game ? game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    drawBackground = 1;
    const u16 frameSet =
        IsSmallLayoutMode(game ? game->GetLayoutMode() : 0) ? kPictureCompactFrameSet : kPictureLargeFrameSet;
    craft::PlaceWidget(*this, frame, kLayoutGroup, kFrameElement);
    craft::SetupFrame(frame, game, frameSet);
    craft::PlaceWidget(*this, innerFrame, kLayoutGroup, kInnerFrameElement);
    craft::SetupFrame(innerFrame, game, frameSet);
    craft::PlaceButton(*this, okButton, okPictures, kLayoutGroup, kOk, kPictureOk, 0);
    craft::PlaceWidget(*this, view, kLayoutGroup, kPictureElement);
    craft::PlaceWidget(*this, text, kLayoutGroup, kTextElement);
    text.font = 1;
    text.textColour = 0xC8C8C8;
    text.outline = 1;
    text.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;

    if (host) host->StopQueuedSounds(true);
    if (voyageDestination && *voyageDestination) destination = voyageDestination;
    view.SetPicture(HoldsPicture() ? picture.get() : nullptr, 0, 0, 0);
    if (host) host->PlayNamedSound(kTravelSound, true);
    text.SetText(voyageText ? voyageText : "");
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CRealmTravelDialog::ReleasePicture() {
    view.SetPicture(nullptr, 0, 0, 0);
    if (picture) picture->Release();
}

u32 CRealmTravelDialog::OnCommand(u32 command) {
    if (command != kOk) return 0;
    // The looped sound ends before the new map is entered.
    if (host) host->StopAllSamples();
    PlayInterfaceSound(game, 1, 10);
    if (host) host->ChangeMap(destination.GetText());
    return parent ? parent->OnCommand(kOk) : 0;
}
