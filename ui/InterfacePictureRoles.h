// What the interface pictures show where the screens leave the choice to the interface database.
// Each constant is a base number (see app/InterfacePictures.h); a pair is the normal picture followed
// by the pressed one. The content builder (tools/content) paints the pictures to these roles.
#pragma once

#include "core/Types.h"

// Frames.
constexpr u16 kPictureButtonFrame = 3024;         // three pieces (left cap, middle, right cap)
constexpr u16 kPictureButtonFramePressed = 3027;  // the same, pressed
constexpr u16 kPictureListFrame = 3140;           // nine pieces, 3 pixels wide, drawn outside a list
constexpr u16 kPictureLargeFrameSet = 3291;       // nine pieces: dialogs and screens of the large layouts
constexpr u16 kPictureCompactFrameSet = 3039;     // nine pieces: boxes inside dialogs, small layouts
constexpr u16 kPictureMessageBackground = 3019;   // the centre of the message-box frame 3015..3023

// Backgrounds, tiled.
constexpr u16 kPictureScreenBackground = 3200;
constexpr u16 kPictureDialogBackground = 3231;

// Buttons (pairs).
constexpr u16 kPictureOk = 3100;
constexpr u16 kPictureCancel = 3102;
constexpr u16 kPictureTextButton = 3104;  // plain face for framed captions
constexpr u16 kPictureKeyFrame = 3106;    // the on-screen keyboard's keys
constexpr u16 kPictureYes = 3491;
constexpr u16 kPictureNo = 3493;
constexpr u16 kPictureContinue = 3495;
constexpr u16 kPictureListPageUp = 3110;
constexpr u16 kPictureListPageDown = 3112;
constexpr u16 kPictureClose = 3114;
constexpr u16 kPictureArrowButtons = 3120;     // up, down, left, right
constexpr u16 kPictureRename = 3220;           // then the face button 3222
constexpr u16 kPictureBetButtons = 3210;       // raise, lower, maximum, minimum
constexpr u16 kPicturePanelTabs = 3150;        // inventory, character, quests, spells
constexpr u16 kPicturePanelMenuClose = 3170;   // main menu, then close
constexpr u16 kPictureItemActions = 3180;      // take, drop, use, detail
constexpr u16 kPictureItemFilters = 3250;      // all, weapons, armour, jewellery, books, apparatus, potions,
                                               // ingredients, other
constexpr u16 kPictureSpellSchoolTabs = 3270;  // six schools, then magic items
constexpr u16 kPictureCheckbox = 3324;         // off, on (single pictures); then a delete pair 3326
constexpr u16 kPictureSkillButtons = 3310;     // plus, minus, up, down, left, right, undo

// The game view's HUD.
constexpr u16 kPictureHudBottom = 3230;    // behind element 534 (tiled stone)
constexpr u16 kPictureHudSide = 3231;      // behind element 713 (tiled wood)
constexpr u16 kPictureMoveButtons = 3236;  // pairs: turn left, forward, turn right, strafe left, back,
                                           // strafe right, attack
constexpr u16 kPictureSpellBookButton = 3284;
constexpr u16 kPicturePanelButton = 3286;
constexpr u16 kPictureRestButton = 3289;
constexpr u16 kPictureHands = 3224;       // one per display orientation
constexpr u16 kPictureHandFrames = 3227;  // 8 pixels larger than the hands on every side
constexpr u16 kPictureCompassBand = 3130;
constexpr u16 kPictureCompassMark = 3131;
constexpr u16 kPictureTargetBarEnd = 4138;

// Panels and faces.
constexpr u16 kPicturePanelStateOff = 3350;  // CPanel::SetStateColor with state 0
constexpr u16 kPicturePanelStateOn = 3351;   // and with any other state
constexpr u16 kPictureFaceFrame = 3489;
constexpr u16 kPictureFallbackFace = 3490;
