// The SDL backend's translation of SDL key codes (SDL_Keycode values) into the Windows virtual-key
// codes that the game keeps in its settings; 0 for a key the game never sees.
#pragma once

#include <cstdint>

namespace plat {

uint32_t VirtualKeyOfSdlKey(int32_t sdlKeycode);

}  // namespace plat
