// How the front-end screens put their controls on the screen: each control is placed by its element
// in the screen's layout group and shown only when the layout table has that element in the current
// layout mode; labels in the screens' grey with a dark outline, buttons from a pair of interface
// pictures.
#pragma once

#include "core/Types.h"

class CBitmapButton;
class CForm;
class CTextLabel;
class CWidget;

// Attaches the widget to the form, places it by the group's element and adds it to the form; false
// (the widget left off the screen) when the element is missing.
bool PlaceWidget(CForm& form, CWidget& widget, u16 group, u32 element);
// A label with its text, alignment (CTextLabel's bits), font and colour.
void PlaceLabel(CForm& form, CTextLabel& label, u16 group, u32 element, const char* text, u32 alignment,
                u32 font, u32 colour);
// A button drawn from two interface pictures (normal, pressed), answering its element id; a disabled
// one shows the pressed picture. transparent skips the pictures' see-through colour.
void PlacePictureButton(CForm& form, CBitmapButton& button, u16 group, u32 element, u16 normal, u16 pressed,
                        bool transparent, u16 shortcutKey = 0);

// The front end's label colours: the text and its outline, 0x00BBGGRR.
constexpr u32 kFrontendLabelColour = 0xC8C8C8;
constexpr u32 kFrontendOutlineColour = 0x161616;
