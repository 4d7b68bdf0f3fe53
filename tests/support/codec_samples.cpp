#include "tests/support/codec_samples.h"

#include <algorithm>
#include <iterator>

namespace payload_test {
namespace {

std::uint32_t NextRandom(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

const char* const kWords[] = {"the ", "setup ",  "program ", "installs ", "Pelmora ", "into ",
                              "a ",   "folder ", "of ",      "your ",     "choice. ", "\r\n"};

}  // namespace

std::string SampleName(Sample sample) {
  switch (sample) {
    case Sample::kRandom:
      return "random";
    case Sample::kText:
      return "text";
    case Sample::kRuns:
      return "runs";
    case Sample::kBlanks:
      return "blanks";
    case Sample::kPeriodic4095:
      return "periodic4095";
    case Sample::kStructured:
      return "structured";
  }
  return "?";
}

Bytes MakeSample(Sample sample, std::size_t size, std::uint32_t seed) {
  Bytes bytes;
  bytes.reserve(size);
  std::uint32_t state = seed;
  while (bytes.size() < size) {
    switch (sample) {
      case Sample::kRandom:
        bytes.push_back(static_cast<std::uint8_t>(NextRandom(state)));
        break;
      case Sample::kText:
        for (const char* c = kWords[NextRandom(state) % std::size(kWords)]; *c; ++c) {
          bytes.push_back(static_cast<std::uint8_t>(*c));
        }
        break;
      case Sample::kRuns: {
        const std::size_t length = 1 + NextRandom(state) % 300;
        bytes.insert(bytes.end(), length, static_cast<std::uint8_t>(NextRandom(state) % 4));
        break;
      }
      case Sample::kBlanks:
        bytes.push_back(' ');
        break;
      case Sample::kPeriodic4095:
        // Random bytes that repeat a window's length minus one later: the farthest matches.
        if (bytes.size() < 4095) {
          bytes.push_back(static_cast<std::uint8_t>(NextRandom(state)));
        } else {
          const std::uint8_t earlier = bytes[bytes.size() - 4095];
          bytes.push_back(earlier);
        }
        break;
      case Sample::kStructured: {
        // Records of a few fields, some repeated from earlier records: matches of every
        // length and distance, where the cheapest parse is not the greedy one.
        const std::uint32_t kind = NextRandom(state) % 4;
        if (kind == 0 && bytes.size() > 40) {
          const std::size_t back =
              1 + NextRandom(state) % std::min<std::size_t>(bytes.size(), 4000);
          const std::size_t length = 2 + NextRandom(state) % 25;
          for (std::size_t i = 0; i < length; ++i) {
            const std::uint8_t earlier = bytes[bytes.size() - back];
            bytes.push_back(earlier);
          }
        } else if (kind == 1) {
          bytes.push_back(static_cast<std::uint8_t>(NextRandom(state)));
        } else {
          for (const char* c = kWords[NextRandom(state) % std::size(kWords)]; *c; ++c) {
            bytes.push_back(static_cast<std::uint8_t>(*c));
          }
        }
        break;
      }
    }
  }
  bytes.resize(size);
  return bytes;
}

}  // namespace payload_test
