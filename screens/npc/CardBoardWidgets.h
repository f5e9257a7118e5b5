// The pieces of the card board: a card lying in a hand or on the table, a marker slot, a draw pile, a
// portrait that flashes when its side is hit, the card text panel, a board picture and the give-up
// button. None of them owns its pictures: the card screen loads them on entry and frees them on leaving.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Panel.h"
#include "ui/Widget.h"

class CRecordHolder;
struct CCardDef;

// A picture drawn over the widget's rectangle: as it is when it has the rectangle's size, else
// stretched to it (the board of the large layouts serves the small ones too).
class CBoardPicture : public CWidget {
public:
    CBoardPicture() : CWidget(0) {}
    void Draw() override;

    CRecordHolder* picture = nullptr;
};

// A card in a hand slot or on the table. Face up it shows the face picture of its kind with the card's
// own picture and its number on it; face down the back of its side's deck. A tap answers the widget's
// id.
class CCardPlace : public CWidget {
public:
    CCardPlace() : CWidget(kWidgetTakesPen) {}
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override { return HitTestTap(px, py, down, moving); }
    void Draw() override;

    const CCardDef* card = nullptr;
    CRecordHolder* picture = nullptr;      // the card's own picture
    CRecordHolder* instantFace = nullptr;  // instants and combos
    CRecordHolder* markerFace = nullptr;   // markers
    CRecordHolder* back = nullptr;         // face down
    CRecordHolder* emptyMark = nullptr;    // drawn centred when no card lies here (null: nothing)
    bool faceDown = false;
    bool selected = false;
};

// One of a side's three marker slots: its card's picture on the slot's ground, the count left in a
// corner, and the slot's rim, lit while the marker acts.
class CCardMarkerPlace : public CWidget {
public:
    CCardMarkerPlace() : CWidget(kWidgetTakesPen) {}
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override { return HitTestTap(px, py, down, moving); }
    void Draw() override;

    const CCardDef* card = nullptr;
    CRecordHolder* picture = nullptr;
    i32 count = 0;
    bool flash = false;
    CRecordHolder* ground = nullptr;
    CRecordHolder* rim = nullptr;
    CRecordHolder* light = nullptr;
};

// A side's draw pile: the class picture and the number of cards left under it.
class CCardPile : public CWidget {
public:
    CCardPile() : CWidget(0) {}
    void Draw() override;

    CRecordHolder* picture = nullptr;
    CRecordHolder* frame = nullptr;
    u32 left = 0;
};

// A portrait that shows a red rim while its side's hit flash lasts.
class CCardPortrait : public CPanel {
public:
    void Draw() override;
    bool flash = false;
};

// The card text: a heading (the card's name) over the wrapped text, whose line-break character
// starts a new line.
class CCardTextPanel : public CWidget {
public:
    CCardTextPanel() : CWidget(0) {}
    void Draw() override;
    void Show(const char* heading, const char* body);

    CStr heading;
    CStr body;
    u32 font = 1;
};

// The give-up button: a picture that answers its id on a completed press, or on its key command.
class CBoardButton : public CWidget {
public:
    CBoardButton() : CWidget(kWidgetTakesPen | kWidgetTakesKeys) {}
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override { return TrackPress(px, py, down, id); }
    u32 OnKey(u32 key) override { return key != 0 && key == shortcutKey ? id : 0; }
    void Draw() override;

    CRecordHolder* picture = nullptr;
    u32 shortcutKey = 0;
};
