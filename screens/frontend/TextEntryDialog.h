// The text entry dialog with its on-screen keyboard: digits, letters, delete, shift and space keys, a
// text field with a blinking caret and a shift mark. It types the first letter, and the first letter
// after a space, in capitals unless caps lock is on. Taps on its keys type, and so does the keyboard;
// the owner opens it as its modal child, puts the old text in with SetText and reads the text back
// when OK comes.
#pragma once

#include "core/Types.h"
#include "ui/Boxes.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/PictureWidgets.h"
#include "ui/TextEntry.h"
#include "ui/TextLabel.h"

class CTextEntryDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 17;
    static constexpr u32 kKeyCount = 45;
    static constexpr i32 kMaximumLength = 50;
    // Command ids of the keys that are not characters.
    static constexpr u32 kSpaceKey = 193;
    static constexpr u32 kShiftKey = 194;
    static constexpr u32 kDeleteKey = 195;

    enum : u8 { kLowerCase = 0, kOneCapital = 1, kCapsLock = 2 };

    CTextEntryDialog();

    void Open();
    // Puts a text in the field (at most the field's limit of it; null keeps the field as it is) and
    // chooses the shift: a capital next when the field is empty.
    void SetText(const char* text);
    const char* GetText() const { return field.GetText(); }

    u32 OnCommand(u32 command) override;
    // The keyboard types as the on-screen keys do (letters, digits, space; backspace deletes), with
    // the same capitals; Enter and Escape press OK and Cancel.
    bool OnChar(char c) override;
    // Enter is the attack key in the wide layouts; here it presses OK as the use key does.
    u32 OnKey(u32 key) override;

    void TypeChar(char c);
    void DeleteChar();
    void UpdateKeyCaptions();

    // The command id of the key at a position (0 for the unused positions) and the character it types
    // (0 for delete, shift and space).
    static u32 KeyCommand(u32 position);
    static char KeyChar(u32 command);

    CPicture frame;
    CPicture innerFrame;
    CBitmapButton keys[kKeyCount];
    CPicture fieldFrame;
    CTextLabel shiftMark;
    CBitmapButton okButton;
    CBitmapButton cancelButton;
    CFramedBox box;
    CTextEntry field;
    u8 shiftState = kLowerCase;

private:
    void SetCaptions();
};
