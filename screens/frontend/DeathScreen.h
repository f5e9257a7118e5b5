// The death screen (screen 7): three pictures, the mourning text and one button back to the main
// menu, which the use key presses too.
#pragma once

#include <memory>

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/PictureView.h"
#include "ui/ScreenIds.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"

#include "core/RecordHolder.h"

class CDeathScreen : public CScreen {
public:
    static constexpr u16 kLayoutGroup = 13;
    static constexpr u16 kFirstPicture = 3518;
    static constexpr const char* kText =
        " YOU HAVE DIED YOUNG...\rYOUR KING, YOUR COUNTRY AND YOUR GODS MOURN YOU!";

    CDeathScreen();
    ~CDeathScreen() override;

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Leave() override;
    // Enter is the attack key in the wide layouts; here it presses OK as the use key does.
    u32 OnKey(u32 key) override;
    u32 OnCommand(u32 command) override;

    std::unique_ptr<CRecordHolder> holders[3];
    CPictureView pictures[3];
    CTextLabel text;
    CBitmapButton okButton;
};
