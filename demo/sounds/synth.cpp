#include "demo/sounds/synth.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace demo {
namespace {

constexpr std::int64_t kUnit = 1 << 15;         // 1.0 in the Q15 fixed point used below
constexpr std::int64_t kSineCorrection = 7373;  // 0.225 in Q15: lifts the parabola onto a sine
constexpr std::uint32_t kNoiseSeed = 0x9E3779B9u;

std::uint32_t PhaseStep(std::uint32_t hz) {
  if (hz >= kSampleRate / 2) throw std::invalid_argument("voice pitch above half the sample rate");
  return static_cast<std::uint32_t>((std::uint64_t{hz} << 32) / kSampleRate);
}

// Attack, hold and quadratic fall of a voice, in Q15, at sample n of `length`.
std::int64_t Envelope(std::uint32_t n, std::uint32_t attack, std::uint32_t hold,
                      std::uint32_t length) {
  if (n < attack) return std::int64_t{n} * kUnit / attack;
  if (n < attack + hold) return kUnit;
  const std::int64_t fall = length - attack - hold;
  const std::int64_t left = fall - (n - attack - hold);
  const std::int64_t linear = left * kUnit / fall;
  return linear * linear / kUnit;
}

std::uint32_t NextRandom(std::uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

class Oscillator {
 public:
  explicit Oscillator(const Voice& voice)
      : waveform_(voice.waveform), noise_(kNoiseSeed ^ voice.startMs) {}

  // The level at the current phase, then moves the phase on by `step`.
  std::int32_t Next(std::uint32_t step) {
    const std::int32_t level = Level();
    const std::uint32_t before = phase_;
    phase_ += step;
    if (phase_ < before) held_ = static_cast<std::int32_t>(NextRandom(noise_) >> 16) - kUnit;
    return std::clamp(level, -kFullScale, kFullScale);
  }

 private:
  std::int32_t Level() const {
    switch (waveform_) {
      case Waveform::Sine:
        return Sine(phase_);
      case Waveform::Square:
        return phase_ < 0x80000000u ? kFullScale : -kFullScale;
      case Waveform::Noise:
        return held_;
    }
    return 0;
  }

  Waveform waveform_;
  std::uint32_t phase_ = 0;
  std::uint32_t noise_;
  std::int32_t held_ = 0;
};

void AddVoice(const Voice& voice, std::vector<std::int32_t>& sum) {
  const std::uint32_t first = SamplesIn(voice.startMs);
  const std::uint32_t length = SamplesIn(voice.lengthMs);
  const std::uint32_t attack = std::min(SamplesIn(voice.attackMs), length);
  const std::uint32_t hold = std::min(SamplesIn(voice.holdMs), length - attack);
  const std::int64_t startStep = PhaseStep(voice.startHz);
  const std::int64_t endStep = PhaseStep(voice.endHz);
  Oscillator oscillator(voice);
  for (std::uint32_t n = 0; n < length; ++n) {
    const auto step = static_cast<std::uint32_t>(startStep + (endStep - startStep) * n / length);
    const std::int64_t level = oscillator.Next(step);
    const std::int64_t gain = Envelope(n, attack, hold, length) * voice.peak / kFullScale;
    sum[first + n] += static_cast<std::int32_t>(level * gain / kUnit);
  }
}

}  // namespace

std::uint32_t SamplesIn(std::uint32_t milliseconds) {
  return static_cast<std::uint32_t>((std::uint64_t{milliseconds} * kSampleRate + 500) / 1000);
}

std::int32_t Sine(std::uint32_t phase) {
  // The phase as a signed Q15 angle from -1 (-pi) to +1 (+pi).
  const std::int64_t x = static_cast<std::int32_t>(phase) >> 16;
  const std::int64_t parabola = 4 * x * (kUnit - std::abs(x)) / kUnit;
  const std::int64_t squared = parabola * std::abs(parabola) / kUnit;
  const std::int64_t sine = parabola + (squared - parabola) * kSineCorrection / kUnit;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sine, -kFullScale, kFullScale));
}

std::vector<std::int16_t> Mix(std::span<const Voice> voices) {
  std::uint32_t total = 0;
  for (const Voice& voice : voices) {
    total = std::max(total, SamplesIn(voice.startMs) + SamplesIn(voice.lengthMs));
  }
  std::vector<std::int32_t> sum(total);
  for (const Voice& voice : voices) AddVoice(voice, sum);

  std::vector<std::int16_t> samples(total);
  std::transform(sum.begin(), sum.end(), samples.begin(), [](std::int32_t value) {
    return static_cast<std::int16_t>(std::clamp(value, -kFullScale, kFullScale));
  });
  return samples;
}

}  // namespace demo
