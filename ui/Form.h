// The base of everything that holds widgets and takes input. A form keeps a list of widgets that it
// does not own, draws them by their redraw bits and offers them keys, pen events and ticks; a
// widget's answer is a command id, which the form's OnCommand turns into a screen code. A form can
// show one other form as its modal child, which then receives all input.
#pragma once

#include "core/PointerArray.h"
#include "core/Types.h"

class CWidgetHost;
class CVideo;
class CFontSet;
class CPdbFile;
class CRecordHolder;
class CWidget;

enum : u8 {
    kFormRedrawAll = 0x01,  // the next draw repaints the background and every widget
};

class CForm {
public:
    CForm();
    virtual ~CForm();
    CForm(const CForm&) = delete;
    CForm& operator=(const CForm&) = delete;

    // Stores the game and copies its video output, fonts and data database.
    virtual void Attach(CWidgetHost* game);
    virtual void Draw();
    // Turns a widget's command id into a screen code: 0 stay, a screen id, 99 back.
    virtual u32 OnCommand(u32 command) { return 0; }
    virtual u32 OnKey(u32 key);
    virtual u32 OnPen(i32 x, i32 y, u32 down, u32 moving);
    virtual u32 OnTick(u32 tick);
    // A character typed on the keyboard ('\b' for backspace), offered before the key becomes a
    // command: true when a form that types text took it. The form passes it to its modal child.
    virtual bool OnChar(char c) { return modalChild != nullptr && modalChild->OnChar(c); }

    void AddWidget(CWidget* widget);
    void RemoveWidget(CWidget* widget);
    void RemoveAllWidgets();
    void DrawWidgets();

    // The input guard: a tap that opened or resumed this form must not act on it. Events are taken
    // only after the game's tick counter has moved on and a pen-down has been seen.
    void ResetInputGuard();
    // Shows `dialog` as this form's modal child (its guard reset, redraw-all set, its own child
    // cleared), and takes it down again.
    void OpenModal(CForm* dialog);
    void CloseModal();

    // Whether this form is the game's current screen.
    bool IsCurrentScreen() const;
    // Whether this form is on screen: the current screen, or the modal child of a form on screen.
    bool IsShownForm() const;

    CForm* modalChild = nullptr;
    CForm* parent = nullptr;
    u32 x = 0, y = 0, width = 0, height = 0;
    u8 flags = 0;
    CRecordHolder* background = nullptr;  // tiled over the rectangle; null selects the fill colour
    u8 fillRed = 0, fillGreen = 0, fillBlue = 0;
    u32 drawBackground = 1;
    CPointerArray widgets;  // of CWidget*, never owned
    u32 guardTick = 0;
    u32 penDownSeen = 0;
    CWidgetHost* game = nullptr;
    CVideo* video = nullptr;
    CFontSet* fonts = nullptr;
    CPdbFile* dataDb = nullptr;

private:
    u32 AfterCommand(u32 command, bool redrawAgain);
};
