#pragma once
// A tiny synthesiser for Pelmora's sounds. It uses integer arithmetic only, so that every
// compiler and machine makes the same samples from the same voices, bit for bit.
#include <cstdint>
#include <span>
#include <vector>

namespace demo {

inline constexpr std::uint32_t kSampleRate = 11025;
inline constexpr std::int32_t kFullScale = 32767;

enum class Waveform { Sine, Square, Noise };

// One voice of a sound: a waveform whose pitch glides linearly from startHz to endHz (for
// noise: how often a new random level is taken), rising to its peak during the attack, holding
// it, then falling to silence along a quadratic curve, so that it neither starts nor ends with
// a click. Pitches stay below half the sample rate.
struct Voice {
  Waveform waveform;
  std::uint32_t startHz;
  std::uint32_t endHz;
  std::uint32_t startMs;  // where the voice begins within the sound
  std::uint32_t lengthMs;
  std::uint32_t attackMs;
  std::uint32_t holdMs;
  std::int32_t peak;  // 0 to kFullScale
};

std::uint32_t SamplesIn(std::uint32_t milliseconds);

// The sine of a phase where a full turn is 2^32, scaled to kFullScale.
std::int32_t Sine(std::uint32_t phase);

// The voices added together, as long as the last one to end, clipped to kFullScale.
std::vector<std::int16_t> Mix(std::span<const Voice> voices);

}  // namespace demo
