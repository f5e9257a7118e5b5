#include "screens/frontend/TextEntryDialog.h"

#include <cstring>
#include <string>

#include "screens/frontend/DialogKit.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetGameData.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr char kLetters[] = "qwertyuiopasdfghjklzxcvbnm";
constexpr char kDigits[] = "1234567890";
constexpr u32 kFirstLetter = 157, kFirstDigit = 183;

// The font's symbols for delete, one capital and caps lock.
constexpr char kDeleteSymbol[] = {static_cast<char>(0x91), 0};
constexpr char kOneCapitalSymbol[] = {static_cast<char>(0x92), 0};
constexpr char kCapsLockSymbol[] = {static_cast<char>(0x93), 0};

constexpr u32 kKeyText = 0x000000, kKeyShade = 0x666E80, kKeyPressedShade = 0x8CA5CE;

bool IsLetterKey(u32 command) { return command >= kFirstLetter && command < kFirstLetter + 26; }

}  // namespace

CTextEntryDialog::CTextEntryDialog() = default;

u32 CTextEntryDialog::KeyCommand(u32 position) {
    if (position < 10) return kFirstDigit + position;
    if (position < 20) return kFirstLetter + (position - 10);
    if (position == 20) return kDeleteKey;
    if (position < 30) return kFirstLetter + 10 + (position - 21);
    if (position >= 32 && position <= 38) return kFirstLetter + 19 + (position - 32);
    if (position == 43) return kShiftKey;
    if (position == 44) return kSpaceKey;
    return 0;
}

char CTextEntryDialog::KeyChar(u32 command) {
    if (IsLetterKey(command)) return kLetters[command - kFirstLetter];
    if (command >= kFirstDigit && command < kFirstDigit + 10) return kDigits[command - kFirstDigit];
    if (command == kSpaceKey) return ' ';
    return 0;
}

void CTextEntryDialog::Open() {
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);

    CRecordHolder* const* compact = CompactFrameSet(game);
    if (PlaceInLayout(*this, frame, kLayoutGroup, 19)) SetupFramePiece(frame, DialogFrameSet(game), 15);
    if (PlaceInLayout(*this, innerFrame, kLayoutGroup, 197)) SetupFramePiece(innerFrame, compact, 4);
    if (PlaceInLayout(*this, box, kLayoutGroup, 198)) {
        box.frameSet = compact;
        box.transparent = 1;
    }

    CRecordHolder* const* normal = StandardButtonFrames(game, false);
    CRecordHolder* const* pressed = StandardButtonFrames(game, true);
    for (u32 position = 0; position < kKeyCount; ++position) {
        const u32 command = KeyCommand(position);
        if (command == 0) continue;
        CBitmapButton& key = keys[position];
        if (!PlaceInLayout(*this, key, kLayoutGroup, command)) continue;
        const char single[2] = {KeyChar(command), 0};
        const char* caption = command == kShiftKey    ? "shift"
                              : command == kSpaceKey  ? "space"
                              : command == kDeleteKey ? kDeleteSymbol
                                                      : single;
        key.SetFramedText(pressed, normal, caption, command, 1, kKeyText, kKeyShade, kKeyText,
                          kKeyPressedShade, 0);
    }

    PlaceInLayout(*this, field, kLayoutGroup, 40);
    field.Reset();
    field.maximumLength = kMaximumLength;
    if (PlaceInLayout(*this, fieldFrame, kLayoutGroup, 199)) SetupFramePiece(fieldFrame, compact, 15);
    if (PlaceInLayout(*this, shiftMark, kLayoutGroup, 196))
        SetupLabel(shiftMark, "", 1, CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 0xC8C8C8, 0x000000);
    if (PlaceInLayout(*this, okButton, kLayoutGroup, 25)) {
        SetupOkButton(okButton, game);
        okButton.shortcutKey = static_cast<u16>(kCommandUse);
    }
    if (PlaceInLayout(*this, cancelButton, kLayoutGroup, 26)) {
        SetupCancelButton(cancelButton, game);
        cancelButton.shortcutKey = static_cast<u16>(kCommandCancel);
    }

    shiftState = kLowerCase;
    SetCaptions();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CTextEntryDialog::SetText(const char* text) {
    if (text != nullptr) {
        // The text may come from a saved game of any length; the field keeps what its limit allows.
        const size_t limit = static_cast<size_t>(kMaximumLength);
        const size_t length = strnlen(text, limit);
        std::memcpy(field.text, text, length);
        field.text[length] = 0;
        field.state |= kWidgetRedraw;
        field.blinkTime = 0;
    }
    shiftState = (text != nullptr && text[0] != 0) ? kLowerCase : kOneCapital;
    UpdateKeyCaptions();
}

void CTextEntryDialog::SetCaptions() {
    for (u32 position = 0; position < kKeyCount; ++position) {
        const u32 command = KeyCommand(position);
        if (!IsLetterKey(command)) continue;
        char c = KeyChar(command);
        if (shiftState != kLowerCase) c = static_cast<char>(c - 'a' + 'A');
        const char caption[2] = {c, 0};
        keys[position].text.Assign(caption);
        keys[position].state |= kWidgetRedraw;
    }
    const char* mark = shiftState == kOneCapital ? kOneCapitalSymbol
                       : shiftState == kCapsLock ? kCapsLockSymbol
                                                 : "";
    shiftMark.SetText(mark);
    shiftMark.Layout();
    shiftMark.state |= kWidgetRedraw;
}

void CTextEntryDialog::UpdateKeyCaptions() {
    fieldFrame.state |= kWidgetRedraw;
    // The shift mark stands on the dialog's own background: a mark that went (or changed to a
    // narrower one) is only erased by drawing the dialog whole.
    const std::string before = shiftMark.text.GetText();
    SetCaptions();
    if (before != shiftMark.text.GetText()) flags |= kFormRedrawAll;
}

void CTextEntryDialog::TypeChar(char c) {
    WidgetGameData().PlaySound("bsnd_clicks", 10);
    if (c >= 'a' && c <= 'z' && shiftState != kLowerCase) c = static_cast<char>(c - 'a' + 'A');
    field.AppendChar(c);
    if (c == ' ' && shiftState != kCapsLock) {
        shiftState = kOneCapital;
        UpdateKeyCaptions();
    } else if (shiftState == kOneCapital) {
        shiftState = kLowerCase;
        UpdateKeyCaptions();
    }
}

void CTextEntryDialog::DeleteChar() {
    WidgetGameData().PlaySound("bsnd_clicks", 10);
    field.DeleteLastChar();
    const i32 length = field.GetLength();
    const bool wantsCapital = length == 0 || field.text[length - 1] == ' ';
    if (wantsCapital && shiftState != kCapsLock) {
        shiftState = kOneCapital;
        UpdateKeyCaptions();
    } else if (!wantsCapital && shiftState == kOneCapital) {
        shiftState = kLowerCase;
        UpdateKeyCaptions();
    }
}

bool CTextEntryDialog::OnChar(char c) {
    const bool typed = c == ' ' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (c == '\b')
        DeleteChar();
    else if (typed)
        TypeChar(c);
    else
        return false;
    if (IsShownForm()) Draw();
    return true;
}

u32 CTextEntryDialog::OnKey(u32 key) { return CForm::OnKey(key == kCommandAttack ? kCommandUse : key); }

u32 CTextEntryDialog::OnCommand(u32 command) {
    if (command == 25 || command == 26) {
        PlayInterfaceSound(game, 1, 10);
        return parent != nullptr ? parent->OnCommand(command) : 0;
    }
    if ((command >= kFirstLetter && command < kFirstDigit + 10) || command == kSpaceKey) {
        TypeChar(KeyChar(command));
        return 0;
    }
    if (command == kShiftKey) {
        shiftState = static_cast<u8>((shiftState + 1) % 3);
        UpdateKeyCaptions();
        return 0;
    }
    if (command == kDeleteKey) DeleteChar();
    return 0;
}
