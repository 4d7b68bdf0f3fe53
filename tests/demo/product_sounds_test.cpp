#include "demo/sounds/product_sounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "product/pelmora.h"

namespace demo {
namespace {

TEST(ProductSounds, AreTheFiveInstalledSoundsInOrder) {
  const std::span<const ProductSound> sounds = ProductSounds();
  ASSERT_EQ(sounds.size(), product::kSounds.size());
  for (std::size_t i = 0; i < sounds.size(); ++i)
    EXPECT_EQ(sounds[i].fileName, product::kSounds[i].installedName);
}

TEST(ProductSounds, AreShortAudibleAndFreeOfClicksAndClipping) {
  for (const ProductSound& sound : ProductSounds()) {
    SCOPED_TRACE(std::string(sound.fileName));
    const std::vector<std::int16_t> samples = Mix(sound.voices);
    ASSERT_FALSE(samples.empty());
    EXPECT_GE(samples.size(), SamplesIn(20));
    EXPECT_LE(samples.size(), SamplesIn(1000));

    int peak = 0;
    for (std::int16_t sample : samples) peak = std::max(peak, std::abs(int{sample}));
    EXPECT_GE(peak, kFullScale / 3);
    EXPECT_LT(peak, kFullScale);
    // A sound that starts or stops at a high level clicks.
    EXPECT_LE(std::abs(int{samples.front()}), kFullScale / 100);
    EXPECT_LE(std::abs(int{samples.back()}), kFullScale / 100);
  }
}

TEST(ProductSounds, AreSynthesisedTheSameEveryTime) {
  for (const ProductSound& sound : ProductSounds()) {
    EXPECT_EQ(Mix(sound.voices), Mix(sound.voices)) << sound.fileName;
  }
}

TEST(ProductSounds, SoundDifferent) {
  std::set<std::vector<std::int16_t>> distinct;
  for (const ProductSound& sound : ProductSounds()) distinct.insert(Mix(sound.voices));
  EXPECT_EQ(distinct.size(), ProductSounds().size());
}

}  // namespace
}  // namespace demo
