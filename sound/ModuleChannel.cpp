#include "sound/ModuleChannel.h"

#include "sound/Mixer.h"
#include "sound/ModuleData.h"
#include "sound/PitchTables.h"
#include "sound/SoundDevice.h"
#include "sound/TrackMix.h"

namespace {
u32 ReadBE16(const u8* p) { return (static_cast<u32>(p[0]) << 8) | p[1]; }
}  // namespace

ModuleChannel::ModuleChannel() { pan_.store(255); }

void ModuleChannel::SetVolume(u32 v) {
    const u32 volume = std::min<u32>(v, 64);
    volume_.store(volume, std::memory_order_relaxed);
    const u32 mixerVolume = mixer_ ? mixer_->MusicVolume() : 64;
    effective_.store((mixerVolume * volume) >> 6, std::memory_order_relaxed);
    // The tracks take the new level on the mixing thread, which owns them.
    volumeSerial_.fetch_add(1, std::memory_order_release);
}

void ModuleChannel::SetPan(u32 v) { SoundChannel::SetPan(v); }

u32 ModuleChannel::GetPosition() { return order_ * 64 + CurrentRow(); }

u32 ModuleChannel::GetLength() { return songLength_ * 64; }

void ModuleChannel::SetPosition(u32 p) {
    const u32 order = p / 64;
    if (order + 1 > songLength_) return;
    SoundDeviceLock lock(mixer_ ? mixer_->Device() : nullptr);
    order_ = order;
    pattern_ = header_[952 + order];
    cellIndex_ = (p % 64) * trackCount_;
}

void ModuleChannel::Start(const ModuleData& m) {
    module_ = &m;
    header_ = m.header;
    trackCount_ = m.trackCount;
    songLength_ = m.songLength;
    instruments_ = {};
    for (u32 i = 1; i <= kModuleInstruments; ++i) {
        const u8* h = header_ + 20 + (i - 1) * 30;
        Instrument& ins = instruments_[i];
        const u32 words = ReadBE16(h + 22);
        if (words == 0) continue;
        ins.length = words * 8192;
        ins.finetune = h[24] & 15;
        ins.volume = std::min<i32>(h[25], 64);
        const u32 loopWords = ReadBE16(h + 28);
        ins.loopStart = ReadBE16(h + 26) * 8192;
        ins.loopLength = loopWords < 2 ? 0 : loopWords * 8192;
        ins.data1 = m.samples[i - 1].data;
        ins.data2 = m.samples2[i - 1].data;
    }
    tempoBase_ = m.tempoBaseRate;
    speed_ = 6;
    tick_ = 6;  // the first output sample reads row 0
    tempo_ = 50;
    recompute_ = true;
    sampleCounter_ = 0;
    order_ = 0;
    pattern_ = header_[952];
    cellIndex_ = 0;
    restart_ = header_[951];
    if (restart_ == 127 || restart_ >= songLength_) restart_ = 0;
    nextOrder_ = -1;
    patternDelay_ = 0;
    endPending_ = false;
    SetPan(m.pan);
    tracks_ = {};
    loop_ = m.loop;
    SetVolume(m.volume);
    seenSerial_ = volumeSerial_.load() - 1;  // the tracks take the level on the first sample
    SetPaused(false);
    SetStopped(false);
}

void ModuleChannel::ComputeSamplesPerTick() {
    const u64 base = static_cast<u64>(tempoBase_) * 256 / 44100;
    const u64 rate = tables_ ? tables_->outputRate : 44100;
    const u64 divisor = base * tempo_;
    samplesPerTick_ = divisor ? static_cast<u32>(((rate * 65536) / divisor) >> 8) : 882;
}

void ModuleChannel::UpdateEffective(Track& t) {
    t.effective = static_cast<i32>((EffectiveVolume() * static_cast<u32>(t.volume)) >> 6);
}

void ModuleChannel::SetPeriodStep(Track& t, u32 period) {
    t.period = period;
    t.step = tables_->steps[std::min<u32>(period, kStepTableSize - 1)];
}

void ModuleChannel::SlideVolume(Track& t) {
    t.volume = std::clamp(t.volume + t.volumeSlide, 0, 64);
    UpdateEffective(t);
}

void ModuleChannel::Jump(u32 order, u32 row) {
    nextOrder_ = static_cast<i32>(order);
    nextRow_ = row;
}

// The position moves on right after a row is read, so the end is only marked there: the last row
// still plays its ticks, and the channel stops when the next row would be read.
void ModuleChannel::EndSong() { endPending_ = true; }

namespace {
constexpr u32 kSecondPart = kModuleFirstPart << 12;  // 20.12 position of the second data block
}  // namespace

// The sequencer's work for one output sample, for every sample that is not just a count inside a
// tick: a row read (or a pattern-delay row) or a tick's effects. False when the song has ended.
bool ModuleChannel::Step() {
    if (tick_ == speed_) {
        if (endPending_) {
            Stop();
            return false;
        }
        if (patternDelay_ == 0) {
            ReadRow();
            AdvancePosition();
        } else {
            --patternDelay_;
        }
        tick_ = 0;
    } else {
        ++tick_;
        sampleCounter_ = 0;
        if (tick_ != speed_) TickEffects();
    }
    return true;
}

// The sequencer changes the tracks only on the samples that Step handles; between them every track
// plays on unchanged, so each track is mixed for the whole run at once.
void ModuleChannel::Mix(i32* out, u32 count) {
    if (recompute_) {
        ComputeSamplesPerTick();
        recompute_ = false;
    }
    const u32 serial = volumeSerial_.load(std::memory_order_acquire);
    if (serial != seenSerial_) {
        seenSerial_ = serial;
        for (u32 t = 0; t < trackCount_; ++t) UpdateEffective(tracks_[t]);
    }
    for (u32 done = 0; done < count;) {
        u32 n = 0;
        if (!InTickRun()) {
            if (!Step()) return;
            n = 1;
        }
        if (InTickRun()) {
            const u32 run = std::min(samplesPerTick_ - sampleCounter_, count - done - n);
            sampleCounter_ += run;
            n += run;
        }
        MixTracks(out + done, n);
        done += n;
    }
}

void ModuleChannel::MixTracks(i32* out, u32 count) {
    for (u32 i = 0; i < trackCount_; ++i) {
        Track& t = tracks_[i];
        const Instrument& ins = instruments_[t.instrument];
        // A track without a sounding note (step 0) stays silent instead of holding one byte.
        if (ins.data1 == nullptr || t.step == 0) continue;
        const u32 step = t.step;
        const i32 volume = t.effective;
        const u32 loopEnd = ins.loopStart + ins.loopLength;
        u32 position = t.position;
        for (u32 j = 0; j < count;) {
            if (ins.loopLength && position >= loopEnd) position -= ins.loopLength;
            // Past the end the track is silent. A loop goes on wrapping it back one loop length per
            // sample (an offset can land far past the end); without one it holds still.
            if (position >= ins.length) {
                if (ins.loopLength == 0 || position < loopEnd) break;
                ++j;
                continue;
            }
            // The samples up to the next loop wrap, data end or change of data block read one block with
            // nothing to test. A loop shorter than the step can leave the position past the loop's end
            // after its one wrap: that sample is read where it lies.
            u32 limit = ins.length;
            if (ins.loopLength) limit = std::min(limit, loopEnd);
            const bool second = position >= kSecondPart;
            if (!second) limit = std::min(limit, kSecondPart);
            const u32 n = position >= limit ? 1 : std::min(count - j, (limit - position + step - 1) / step);
            const auto* data = reinterpret_cast<const i8*>(second ? ins.data2 : ins.data1);
            const u32 base = second ? kSecondPart : 0;
            const u32 bytes = ins.length >> 12;
            const u32 readable = second ? bytes - kModuleFirstPart : std::min(bytes, kModuleFirstPart);
            const u32 at = MixTrackRun(out + j, n, data, readable, position - base, step, volume);
            position = at + base;
            j += n;
        }
        t.position = position;
    }
}

ModuleChannel::Cell ModuleChannel::ReadCell(Track& t, const u8* c) const {
    Cell cell;
    cell.instrument = (c[0] & 0xF0) | (c[2] >> 4);
    cell.period = ((c[0] & 0x0F) << 8) | c[1];
    if (cell.instrument > kModuleInstruments) cell.instrument = 0;
    if (cell.period < kMinPeriod || cell.period > kMaxPeriod) cell.period = 0;
    t.effect = c[2] & 0x0F;
    t.param = c[3];
    t.x = t.param >> 4;
    t.y = t.param & 0x0F;
    return cell;
}

// An instrument number resets the volume; a period starts the note from the sample's beginning unless
// the effect slides to it (3, 5) or delays it (ED).
void ModuleChannel::StartNote(Track& t, const Cell& cell) {
    if (cell.instrument != 0) {
        t.instrument = cell.instrument;
        t.volume = instruments_[cell.instrument].volume;
        UpdateEffective(t);
    }
    const bool slidesOrDelays = t.effect == 3 || t.effect == 5 || (t.effect == 0xE && t.x == 0xD);
    if (cell.period != 0 && !slidesOrDelays) {
        t.position = 0;
        t.periodIndex = instruments_[t.instrument].finetune * kNotesPerRow + tables_->notes[cell.period];
        t.period = PeriodTable()[t.periodIndex];
    }
    if (t.instrument != 0) t.step = tables_->steps[t.period];
}

void ModuleChannel::ReadRow() {
    const u8* row = module_->patterns[pattern_].data + cellIndex_ * 4;
    for (u32 i = 0; i < trackCount_; ++i) {
        Track& t = tracks_[i];
        const Cell cell = ReadCell(t, row + i * 4);
        StartNote(t, cell);
        RowEffect(t, cell);
    }
}

void ModuleChannel::SetArpeggio(Track& t) {
    const auto& periods = PeriodTable();
    const u32* steps = tables_->steps.data();
    t.arpCounter = 0;
    const u32 rowStart = t.periodIndex - t.periodIndex % kNotesPerRow;
    const u32 note = t.periodIndex % kNotesPerRow;
    t.arpSteps[0] = t.step;
    t.arpSteps[1] = steps[periods[rowStart + std::min(note + t.x, kNotesPerRow - 1)]];
    t.arpSteps[2] = steps[periods[rowStart + std::min(note + t.y, kNotesPerRow - 1)]];
}

// The effects that act once, on the row's first tick.
void ModuleChannel::RowEffect(Track& t, const Cell& cell) {
    const auto& periods = PeriodTable();
    switch (t.effect) {
    case 0x0:
        if (t.param != 0) SetArpeggio(t);
        break;
    case 0x1:
    case 0x2: t.slidePeriod = static_cast<i32>(t.period); break;
    case 0x3:
        if (cell.period != 0)
            t.portaTarget =
                periods[instruments_[t.instrument].finetune * kNotesPerRow + tables_->notes[cell.period]];
        else if (t.portaTarget == 0)
            t.portaTarget = periods[t.periodIndex];
        if (t.param != 0) t.portaSpeed = t.param;
        break;
    case 0x4:
        if (t.param != 0) {
            t.vibratoPos = 0;
            t.vibratoSpeed = t.x;
            t.vibratoDepth = t.y;
        }
        break;
    case 0x5:
    case 0x6:
    case 0xA:
        t.volumeSlide = t.param == 0 ? 0 : (t.x == 0 ? -static_cast<i32>(t.y) : static_cast<i32>(t.x));
        break;
    case 0x9:
        if (t.param != 0) t.offsetMemory = t.param * 256u;
        t.position = t.offsetMemory << 12;
        break;
    case 0xB:
        if (!loop_ && t.param <= order_)
            Jump(songLength_, 0);
        else
            Jump(t.param, 0);
        break;
    case 0xC:
        // Louder than full scale would only clip.
        t.volume = std::min<i32>(t.param, 64);
        UpdateEffective(t);
        break;
    case 0xD: {
        u32 breakRow = t.x * 10u + t.y;
        if (breakRow > 63) breakRow = 0;
        if (order_ + 1 < songLength_)
            Jump(order_ + 1, breakRow);
        else if (!loop_)
            Jump(songLength_, 0);
        else
            Jump(restart_, breakRow);
        break;
    }
    case 0xE: ExtendedRowEffect(t, cell); break;
    case 0xF:
        if (t.param >= 1 && t.param <= 32) {
            speed_ = t.param;
        } else if (t.param > 32) {
            tempo_ = t.param * 2u / 5u;
            ComputeSamplesPerTick();
        }
        break;
    default: break;
    }
}

void ModuleChannel::PatternLoop(Track& t) {
    if (!t.loopCounting) {
        if (t.y == 0) {
            t.loopStart = CurrentRow();
        } else {
            t.loopCounting = true;
            t.loopCount = t.y;
            Jump(order_, t.loopStart);
        }
    } else if (t.y != 0) {
        if (--t.loopCount == 0)
            t.loopCounting = false;
        else
            Jump(order_, t.loopStart);
    }
}

void ModuleChannel::ExtendedRowEffect(Track& t, const Cell& cell) {
    switch (t.x) {
    case 0x6: PatternLoop(t); break;
    case 0xA:
        t.volume = std::min(t.volume + t.y, 64);
        UpdateEffective(t);
        break;
    case 0xB:
        t.volume = std::max(t.volume - t.y, 0);
        UpdateEffective(t);
        break;
    case 0xC: t.cutCounter = t.y; break;
    case 0xD:
        // The period is taken as stored: on a row without a note it is 0, and the delay then
        // silences the track at its tick.
        t.delayCounter = t.y == 0 ? -1 : t.y - 1;
        t.delayedPeriod = cell.period;
        break;
    case 0xE: patternDelay_ = t.y; break;
    default: break;
    }
}

void ModuleChannel::AdvancePosition() {
    if (nextOrder_ < 0) {
        cellIndex_ += trackCount_;
        if (cellIndex_ >= kModuleRows * trackCount_) {
            cellIndex_ = 0;
            if (++order_ >= songLength_) {
                if (!loop_) {
                    EndSong();
                    return;
                }
                order_ = restart_;
            }
            pattern_ = header_[952 + order_];
        }
        return;
    }
    const u32 next = static_cast<u32>(nextOrder_);
    const u32 row = nextRow_;
    nextOrder_ = -1;
    if (next >= songLength_) {
        if (!loop_) {
            EndSong();
            return;
        }
        // A looping song that jumps past its end goes on at its restart order.
        order_ = restart_;
        cellIndex_ = 0;
    } else {
        order_ = next;
        cellIndex_ = row * trackCount_;
    }
    pattern_ = header_[952 + order_];
}

void ModuleChannel::TickEffects() {
    const u32* steps = tables_->steps.data();
    const auto& sine = VibratoSine();
    for (u32 i = 0; i < trackCount_; ++i) {
        Track& t = tracks_[i];
        switch (t.effect) {
        case 0x0:
            if (t.param != 0) {
                t.arpCounter = (t.arpCounter + 1) % 3;
                t.step = t.arpSteps[t.arpCounter];
            }
            break;
        case 0x1:
            t.slidePeriod = std::max<i32>(t.slidePeriod - t.param, kMinPeriod);
            SetPeriodStep(t, static_cast<u32>(t.slidePeriod));
            break;
        case 0x2:
            t.slidePeriod = std::min<i32>(t.slidePeriod + t.param, kMaxPeriod);
            SetPeriodStep(t, static_cast<u32>(t.slidePeriod));
            break;
        case 0x3:
        case 0x5:
            if (t.portaTarget != 0) {
                i32 p = static_cast<i32>(t.period);
                if (p > t.portaTarget) {
                    p -= t.portaSpeed;
                    if (p < t.portaTarget) p = t.portaTarget;
                } else if (p < t.portaTarget) {
                    p += t.portaSpeed;
                    if (p > t.portaTarget) p = t.portaTarget;
                }
                SetPeriodStep(t, static_cast<u32>(p));
            }
            if (t.effect == 0x5) SlideVolume(t);
            break;
        case 0x4:
        case 0x6: {
            const u32 pos = t.vibratoPos;
            const i32 delta = static_cast<i32>(sine[pos & 31] * t.vibratoDepth / 128);
            const i32 p = static_cast<i32>(t.period) + (pos < 32 ? delta : -delta);
            t.step = steps[std::clamp<i32>(p, kMinPeriod, kStepTableSize - 1)];
            t.vibratoPos += t.vibratoSpeed;
            if (t.vibratoPos > 63) t.vibratoPos -= 64;
            if (t.effect == 0x6) SlideVolume(t);
            break;
        }
        case 0xA: SlideVolume(t); break;
        case 0xE:
            if (t.x == 0xC) {
                if (t.cutCounter != 0) --t.cutCounter;
                if (t.cutCounter == 0) t.effective = 0;
            } else if (t.x == 0xD) {
                if (t.delayCounter == -1) {
                    // The delayed note starts from the sample's beginning; left where the previous
                    // note ended, it would often not sound at all.
                    t.position = 0;
                    SetPeriodStep(t, t.delayedPeriod);
                    t.delayCounter = kDone;
                } else if (t.delayCounter != kDone) {
                    --t.delayCounter;
                }
            }
            break;
        default: break;
        }
    }
}
