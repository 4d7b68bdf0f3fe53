#pragma once
// Sample data for the codec tests, deterministic: each kind stresses another part of the
// compressor (no matches, short and long matches, runs, the blank-filled first window).
#include <cstdint>
#include <string>
#include <vector>

namespace payload_test {

using Bytes = std::vector<std::uint8_t>;

enum class Sample { kRandom, kText, kRuns, kBlanks, kPeriodic4095, kStructured };

std::string SampleName(Sample sample);
Bytes MakeSample(Sample sample, std::size_t size, std::uint32_t seed = 1);

}  // namespace payload_test
