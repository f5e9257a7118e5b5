// A mixer channel that plays one ModuleData: the row and tick sequencer, the effects and the mixing
// of its tracks.
#pragma once

#include "sound/SoundChannel.h"

#include <array>

class ModuleData;
struct RateTables;

class ModuleChannel : public SoundChannel {
public:
    ModuleChannel();
    void SetVolume(u32 v) override;
    void SetPan(u32 v) override;
    // Positions are order x 64 + row.
    u32 GetPosition() override;
    void SetPosition(u32 p) override;
    u32 GetLength() override;

    // The step and note tables of the mixer's output rate; set once before the first Start.
    void SetTables(const RateTables* tables) { tables_ = tables; }
    // Set-up by the mixer, under the device lock.
    void Start(const ModuleData& module);
    // Adds the next `count` output samples to `out`: the sequencer runs once per output sample, the
    // tracks are summed. Stops the channel where the song ends.
    void Mix(i32* out, u32 count);
    const ModuleData* Module() const { return module_; }

    // State for the tests.
    u32 Speed() const { return speed_; }
    u32 Tempo() const { return tempo_; }
    u32 SamplesPerTick() const { return samplesPerTick_; }
    u32 CurrentOrder() const { return order_; }
    u32 CurrentRow() const { return trackCount_ ? cellIndex_ / trackCount_ : 0; }
    i32 TrackVolume(u32 t) const { return tracks_[t].volume; }
    u32 TrackPeriod(u32 t) const { return tracks_[t].period; }
    u32 TrackStep(u32 t) const { return tracks_[t].step; }

private:
    struct Instrument {
        u32 length = 0, loopStart = 0, loopLength = 0;  // 20.12 bytes
        i32 volume = 0;
        u32 finetune = 0;
        const u8* data1 = nullptr;
        const u8* data2 = nullptr;
    };
    struct Track {
        u32 periodIndex = 0, period = 0, instrument = 0, step = 0;
        i32 volume = 0, effective = 0;
        u8 effect = 0, x = 0, y = 0, param = 0;
        u32 position = 0;
        i32 volumeSlide = 0;
        i32 slidePeriod = 0, portaTarget = 0, portaSpeed = 0;
        u32 arpCounter = 0;
        std::array<u32, 3> arpSteps{};
        u32 vibratoPos = 0, vibratoSpeed = 9, vibratoDepth = 2;
        i32 delayCounter = kDone;
        u32 delayedPeriod = 0;
        u32 cutCounter = 0;
        u32 offsetMemory = 0;  // bytes
        bool loopCounting = false;
        u32 loopCount = 0, loopStart = 0;
    };
    // One cell of a pattern as read: numbers the tables cannot serve are 0 ("none").
    struct Cell {
        u32 instrument = 0, period = 0;
    };
    static constexpr i32 kDone = 0xFFFFFF;

    void ComputeSamplesPerTick();
    bool InTickRun() const { return tick_ != speed_ && sampleCounter_ < samplesPerTick_; }
    bool Step();
    void MixTracks(i32* out, u32 count);
    void ReadRow();
    Cell ReadCell(Track& t, const u8* c) const;
    void StartNote(Track& t, const Cell& cell);
    void RowEffect(Track& t, const Cell& cell);
    void ExtendedRowEffect(Track& t, const Cell& cell);
    void SetArpeggio(Track& t);
    void PatternLoop(Track& t);
    void AdvancePosition();
    void TickEffects();
    void UpdateEffective(Track& t);
    void SlideVolume(Track& t);
    void SetPeriodStep(Track& t, u32 period);
    void Jump(u32 order, u32 row);
    void EndSong();

    const RateTables* tables_ = nullptr;
    const ModuleData* module_ = nullptr;
    const u8* header_ = nullptr;
    u32 trackCount_ = 0;
    u32 songLength_ = 0;
    u32 pattern_ = 0, cellIndex_ = 0, order_ = 0, restart_ = 0;
    u32 samplesPerTick_ = 882, sampleCounter_ = 0, speed_ = 6, tick_ = 6, tempo_ = 50, tempoBase_ = 44100;
    bool recompute_ = true;
    bool loop_ = false;
    bool endPending_ = false;
    i32 nextOrder_ = -1;
    u32 nextRow_ = 0;
    u32 patternDelay_ = 0;
    std::atomic<u32> volumeSerial_{0};
    u32 seenSerial_ = 0;
    std::array<Instrument, 32> instruments_{};  // index 0 is "no instrument"
    std::array<Track, 32> tracks_{};
};
