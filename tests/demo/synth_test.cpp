#include "demo/sounds/synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace demo {
namespace {

// How often the samples change sign between two indices.
int SignChanges(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
  int changes = 0;
  for (std::size_t i = from + 1; i < to; ++i) {
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++changes;
  }
  return changes;
}

TEST(Synth, SineFollowsTheRealSineOverAFullTurn) {
  for (std::uint32_t step = 0; step < 4096; ++step) {
    const std::uint32_t phase = step << 20;
    const double angle = 2 * std::numbers::pi * step / 4096;
    EXPECT_NEAR(Sine(phase), kFullScale * std::sin(angle), 0.003 * kFullScale) << "step " << step;
  }
}

TEST(Synth, SineReachesFullScaleAtTheQuarterTurns) {
  EXPECT_EQ(Sine(0), 0);
  EXPECT_EQ(Sine(0x40000000u), kFullScale);
  EXPECT_EQ(Sine(0xC0000000u), -kFullScale);
}

TEST(Synth, ToneHasThePitchAsked) {
  // 440 Hz for one second: 440 periods, two sign changes each.
  const Voice tone{Waveform::Sine, 440, 440, 0, 1000, 0, 1000, 10000};
  const std::vector<std::int16_t> samples = Mix(std::span(&tone, 1));

  ASSERT_EQ(samples.size(), kSampleRate);
  EXPECT_NEAR(SignChanges(samples, 0, samples.size()), 880, 2);
}

TEST(Synth, GlideRisesFromStartToEndPitch) {
  const Voice glide{Waveform::Square, 200, 2000, 0, 1000, 0, 1000, 10000};
  const std::vector<std::int16_t> samples = Mix(std::span(&glide, 1));

  const std::size_t tenth = samples.size() / 10;
  // Around 290 Hz in the first tenth, around 1910 Hz in the last.
  EXPECT_NEAR(SignChanges(samples, 0, tenth), 2 * 29, 4);
  EXPECT_NEAR(SignChanges(samples, samples.size() - tenth, samples.size()), 2 * 191, 4);
}

TEST(Synth, EnvelopeRisesHoldsAndFallsToSilence) {
  const Voice tone{Waveform::Square, 100, 100, 0, 300, 100, 100, 20000};
  const std::vector<std::int16_t> samples = Mix(std::span(&tone, 1));

  const auto levelAround = [&](std::uint32_t ms) {
    const std::size_t at = SamplesIn(ms);
    return std::abs(samples[at]);
  };
  EXPECT_EQ(samples.front(), 0);
  EXPECT_NEAR(levelAround(50), 10000, 200);  // half way up the attack
  EXPECT_NEAR(levelAround(150), 20000, 1);   // holding the peak
  EXPECT_NEAR(levelAround(250), 5000, 200);  // half way down, quadratic: a quarter
  EXPECT_LE(std::abs(samples.back()), 5);
}

TEST(Synth, MixLastsUntilTheLastVoiceEndsAndAddsVoices) {
  const Voice voices[] = {
      Voice{Waveform::Square, 100, 100, 0, 100, 0, 100, 10000},
      Voice{Waveform::Square, 100, 100, 50, 100, 0, 100, 6000},
  };
  const std::vector<std::int16_t> samples = Mix(voices);

  ASSERT_EQ(samples.size(), SamplesIn(150));
  EXPECT_NEAR(std::abs(samples[SamplesIn(20)]), 10000, 2);  // the first voice alone
  EXPECT_NEAR(samples[SamplesIn(50) + 1], 16000, 2);        // both, each at the top of its wave
  EXPECT_NEAR(std::abs(samples[SamplesIn(120)]), 6000, 2);  // the second voice alone
}

TEST(Synth, MixClipsAtFullScale) {
  const Voice loud{Waveform::Square, 100, 100, 0, 100, 0, 100, kFullScale};
  const Voice voices[] = {loud, loud};
  const std::vector<std::int16_t> samples = Mix(voices);

  EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), kFullScale);
  EXPECT_EQ(*std::min_element(samples.begin(), samples.end()), -kFullScale);
}

TEST(Synth, PitchAtHalfTheSampleRateIsRefused) {
  const Voice tooHigh{Waveform::Sine, kSampleRate / 2, 440, 0, 100, 0, 0, 1000};
  EXPECT_THROW(Mix(std::span(&tooHigh, 1)), std::invalid_argument);
}

}  // namespace
}  // namespace demo
