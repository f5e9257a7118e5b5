// The two interface sounds as WAV images: a short wooden click for every selection and step, and a
// brighter two-note confirm for OK, Cancel and back. Mono 16-bit at 22,050 Hz.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kWavRate = 22050;

// A RIFF/WAVE image of 16-bit mono samples.
std::vector<uint8_t> MakeWav(const std::vector<int16_t>& samples, int rate = kWavRate);
std::vector<int16_t> ClickSamples();
std::vector<int16_t> ConfirmSamples();
