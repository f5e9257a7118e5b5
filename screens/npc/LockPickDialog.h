// "Picking a lock": the player's usable lock picks, the chosen pick's condition, the chance against
// the lock, and the Pick button that wears the pick and tries the lock. The dialog knows the lock
// only through ILockTarget and the player through ILockPicker; its owner hears the end as 104
// (opened or cancelled: close the dialog) or 103 (the trap springs).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Types.h"
#include "screens/npc/CraftRules.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/PictureView.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextLabel.h"

class CRandom;
class CRecordHolder;
struct CItemInstance;

// The locked door or chest in front of the player.
class ILockTarget {
public:
    virtual ~ILockTarget() = default;
    // Lock level in bits 6..9, trap level in bits 10..13.
    virtual u16 GetLockWord() const = 0;
    virtual void SetLockWord(u16 word) = 0;
};

// What picking needs of the player.
class ILockPicker {
public:
    virtual ~ILockPicker() = default;
    virtual std::vector<CItemInstance*> GetCarriedItems() = 0;
    // The lock-picking skill with the player's active effects on it.
    virtual int GetLockpickSkill() const = 0;
    virtual u16& LockpickUseCounter() = 0;
    virtual void ShowGameMessage(const char* text) = 0;
};

class CLockPickDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 12;
    enum : u32 { kPrevious = 101, kNext = 102, kPick = 103, kClose = 104 };

    CLockPickDialog();
    ~CLockPickDialog() override;

    // Builds the dialog over the game view's 3D view rectangle, collects the picks and shows the
    // first one with its chance. The owner makes it its modal child first.
    void Open(ILockPicker* picker, ILockTarget* target, CRandom* random);
    u32 OnCommand(u32 command) override;
    u32 OnTick(u32 tick) override;

    int PickCount() const { return static_cast<int>(picks.size()); }
    int Selection() const { return selection; }
    bool Opened() const { return opened; }

    CPicture frame;
    CTextLabel title;
    CPictureView pickPicture;
    CTextBox pickText;
    CBitmapButton previousButton, nextButton, pickButton, closeButton;
    CTextLabel result;

private:
    struct PickEntry {
        CItemInstance* item = nullptr;
        std::string name;
    };
    void Place(CWidget& widget, u32 element);
    void CollectLockPicks();
    void ShowPickCondition();
    // The name and condition of a pick in the text box (null: empty).
    void ShowPick(const PickEntry* shown);
    void ShowChance();
    int SkillWith(const CItemInstance* pick) const;
    u32 Pick();

    ILockPicker* picker = nullptr;
    ILockTarget* target = nullptr;
    CRandom* random = nullptr;
    std::vector<PickEntry> picks;
    int selection = -1;
    bool opened = false;
    craft::CFailedNotice failed;
    bool brokenShown = false;  // the text box shows the pick that broke until "Failed" goes
    CRecordHolder* previousPictures[3] = {};
    CRecordHolder* nextPictures[3] = {};
    CRecordHolder* pickPictures[3] = {};
    CRecordHolder* closePictures[3] = {};
};
