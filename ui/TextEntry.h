// The line that the on-screen keyboard types into: the text with a blinking caret. It takes no key
// codes itself; its owner turns keyboard commands into AppendChar and DeleteLastChar.
#pragma once

#include "core/Types.h"
#include "ui/Widget.h"

class CTextEntry : public CWidget {
public:
    // The text holds 100 characters with its terminating NUL.
    static constexpr i32 kCapacity = 100;
    static constexpr u32 kBlinkMs = 600;

    CTextEntry() : CWidget(kWidgetTakesTicks) {}

    void Reset();
    void AppendChar(char c);
    void DeleteLastChar();
    const char* GetText() const { return text; }
    i32 GetLength() const;

    u32 OnTick(u32 tick) override;
    void Draw() override;

    char text[kCapacity] = {};
    i32 maximumLength = 0;  // characters; never more than kCapacity - 1 are kept, whatever it says
    u32 font = 0;
    u32 textColour = 0;
    u32 backgroundColour = 0;
    u16 caretColour = 0;
    u32 caretShown = 0;
    u32 blinkTime = 0;

private:
    i32 MeasureLine();
    void RestartCaret();
};
