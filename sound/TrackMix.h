// The innermost loop of the module player: one track's run of output samples that all read inside one
// block of sample data, with nothing to test per sample.
#pragma once

#include "core/Types.h"

// Adds `count` samples of signed 8-bit `data`, read from 20.12 position `at` on by `step` and scaled by
// `volume`, to `out`; answers the position after them. Every position read lies below `readable`
// bytes; wide loads, which fetch a few bytes past the one they need, stay below it too.
u32 MixTrackRun(i32* out, u32 count, const i8* data, u32 readable, u32 at, u32 step, i32 volume);
