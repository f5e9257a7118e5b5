// The fixed pictures of the interface: 449 records of the interface database, loaded once at
// start-up into holders that the game object keeps. Each picture is named by its base number (its
// record number in the base layouts); the record actually loaded depends on the layout mode.
#pragma once

#include "core/Types.h"

constexpr int kInterfacePictureCount = 449;
// The map view's pictures, base numbers 3400..3468, are consecutive holders.
constexpr u16 kFirstMapPicture = 3400;
constexpr int kMapPictureCount = 69;

// The holder index of a base number, or -1 when the number names no interface picture.
int InterfacePictureIndex(u16 base);
// The base number of a holder index (0 .. 448).
u16 InterfacePictureBase(int index);
// The record that holds a picture in a layout mode; 0 when the base number names no picture.
u16 InterfacePictureRecord(u16 base, u32 layoutMode);

// The two interface sounds, always loaded beside the pictures.
constexpr u16 kInterfaceSoundClick = 4031;
constexpr u16 kInterfaceSoundConfirm = 4032;
