// The ship voyage over the game view: a travel picture and the voyage's text while the travel sound
// loops. OK is the only way out: it stops the sound, enters the destination and hands 228 to the
// owner, which takes the dialog down and releases the picture (ReleasePicture).
#pragma once

#include <memory>

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/PictureView.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class CRecordHolder;
class IGameViewDialogHost;

class CRealmTravelDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 21;
    static constexpr u16 kTravelPicture = 3657;
    static constexpr u32 kOk = 228;
    static constexpr const char* kTravelSound = "bsnd_shiptravel";

    CRealmTravelDialog();
    ~CRealmTravelDialog() override;

    void SetHost(IGameViewDialogHost* dialogHost) { host = dialogHost; }
    // Opens the voyage with its text; a voyage without a destination (null or empty) keeps the
    // destination of the one before.
    void Open(const char* text, const char* destination);
    // Frees the travel picture; the next Open reads it again.
    void ReleasePicture();

    u32 OnCommand(u32 command) override;

    const char* GetDestination() const { return destination.GetText(); }
    bool HoldsPicture() const;

    CPicture frame, innerFrame;
    CPictureView view;
    CTextLabel text;
    CBitmapButton okButton;

private:
    IGameViewDialogHost* host = nullptr;
    std::unique_ptr<CRecordHolder> picture;
    CStr destination;
    CRecordHolder* okPictures[3] = {};
};
