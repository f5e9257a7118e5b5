// The SDL2 audio backend. The game never sees SDL: it installs this backend once at start-up.
#pragma once

#include "platform/Audio.h"

namespace plat {

std::unique_ptr<AudioBackend> CreateSdlAudio();
// Makes the sound device open SDL's default output from now on.
void InstallSdlAudio();

}  // namespace plat
