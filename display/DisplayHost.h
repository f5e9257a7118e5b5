// What the video output and the fonts need of the game around them. The game object implements it;
// tests give a small fake.
#pragma once

#include "core/Types.h"

#include <cstddef>
#include <vector>

namespace plat {
class Window;
}
struct CViewState;

class CDisplayHost {
public:
    virtual ~CDisplayHost() = default;
    // The layout mode in force (2..16; the game starts in 15).
    virtual u32 GetLayoutMode() const = 0;
    // The frame window that the display draws into.
    virtual plat::Window* GetWindow() = 0;
    // The frame window's client size for the current layout mode.
    virtual void GetClientSize(u32& width, u32& height) const = 0;
    // Switches the frame window to the layout mode's client size and title.
    virtual void ChangeScreenMode(u32 mode) = 0;
    // The main game view's view state, whose frame buffer and 3D rectangle the video output writes.
    virtual CViewState* GetViewState() = 0;
    // The layout table record (null and 0 when there is none).
    virtual void GetLayoutTable(const u8*& table, size_t& size) const = 0;
    // The view-size setting of the view set: 0 "ViewSize", 1 "LViewSize", 2 "RViewSize".
    virtual u32 GetViewSize(u32 viewSet) const = 0;
    // A record of the interface database; false when it is missing.
    virtual bool ReadInterfaceRecord(u32 record, std::vector<u8>& bytes) = 0;
};
