// The record holders of the game data: the plain holder (core/RecordHolder.h) and the loaded sound
// record that the two interface sounds are held in.
#pragma once

#include "core/RecordHolder.h"
#include "core/Types.h"
#include "sound/SoundEntry.h"

// A loaded sound record with its data pointer (the two interface sounds), and the sound entry over
// it that the sound front-end plays.
class CLoadedResource : public CRecordHolder {
public:
    CLoadedResource() { holdsPicture_ = false; }
    ~CLoadedResource() override { Release(); }
    bool Load(CPdbFile* database, u16 id);
    void Release();

    CSoundEntry sound;
};
