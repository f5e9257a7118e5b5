#include "ui/WidgetHelpers.h"

#include "ui/WidgetHost.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/InterfacePictures.h"
#include "data/RecordHolder.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "sound/SoundManager.h"
#include "ui/PictureSets.h"
#include "display/ViewState.h"

namespace {

InterfaceSoundListener& Listener() {
    static InterfaceSoundListener listener;
    return listener;
}

}  // namespace

i32 CurrentLineHeight(const CFontSet* fonts) {
    if (fonts == nullptr || fonts->CurrentFont() == nullptr) return 0;
    return fonts->CurrentFont()->LineHeight();
}

u16 PackColourWord(u32 colour) {
    return PackRGB565(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void DrawItemPicture(CVideo* video, const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y) {
    i32 w = 0, h = 0;
    PictureSizeOf(picture, w, h);
    if (video != nullptr && w > 0 && h > 0) video->DrawPicturePartTransparentWithPalette(picture, palette, x, y, 0, 0, w, h);
}

void PictureSizeOf(const CRecordHolder* picture, i32& width, i32& height) {
    width = 0;
    height = 0;
    if (picture == nullptr || picture->data == nullptr || picture->Size() < 8) return;
    const u8* d = picture->data;
    const i16 w = static_cast<i16>(d[2] | (d[3] << 8));
    const i16 h = static_cast<i16>(d[4] | (d[5] << 8));
    // A negative size is no size: nothing of it can be drawn or scaled.
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
}

CRecordHolder* const* StandardButtonFrames(CWidgetHost* game, bool pressed) {
    return InterfacePictureSet(game, pressed ? kPictureButtonFramePressed : kPictureButtonFrame, 3);
}

CViewRect GameViewRect(CWidgetHost* game) {
    CViewRect r;
    const CViewState* view = game ? game->GetViewState() : nullptr;
    if (view == nullptr) return r;
    r.x = static_cast<i32>(view->viewX);
    r.y = static_cast<i32>(view->viewY);
    r.width = static_cast<i32>(view->viewWidth);
    r.height = static_cast<i32>(view->viewHeight);
    return r;
}

void GameFrameBufferSize(CWidgetHost* game, i32& width, i32& height) {
    const CViewState* view = game ? game->GetViewState() : nullptr;
    width = view ? view->frameBuffer.width : 0;
    height = view ? view->frameBuffer.height : 0;
}

u32 PlayerFacing(CWidgetHost* game) { return game ? game->GetPlayerFacing() : 0; }

void PlayInterfaceSound(CWidgetHost* game, u32 which, i32 relativeVolume) {
    const u16 record = which == 0 ? kInterfaceSoundClick : kInterfaceSoundConfirm;
    if (Listener()) {
        Listener()(record, relativeVolume);
        return;
    }
    CSoundManager* sound = game ? game->GetSound() : nullptr;
    if (sound == nullptr) return;
    if (CSoundEntry* entry = game->GetInterfaceSound(static_cast<int>(which)))
        sound->PlayEffect(entry, relativeVolume);
}

void SetInterfaceSoundListener(InterfaceSoundListener listener) { Listener() = std::move(listener); }
