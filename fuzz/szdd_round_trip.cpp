// Compression then expansion gives back every file: the compressed file is no longer than
// the literals alone would make it, records the name's last character and the length, and
// both the project's expander and the plain one return the original bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include "codec/szdd_decoder.h"
#include "codec/szdd_encoder.h"
#include "fuzz/plain_szdd.h"
#include "fuzz/require.h"
#include "tools/common/host_files.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The last bytes: the last character, and how often the rest repeats (so that short
  // inputs make files longer than the 4096-byte window, with matches across it), while the
  // file is below 16 KiB.
  FuzzedDataProvider input(data, size);
  const auto lastChar = input.ConsumeIntegral<std::uint8_t>();
  const int repeats = input.ConsumeIntegralInRange<int>(1, 64);
  const std::vector<std::uint8_t> piece = input.ConsumeRemainingBytes<std::uint8_t>();
  std::vector<std::uint8_t> original;
  for (int i = 0; i < repeats && original.size() < 16384; ++i) {
    original.insert(original.end(), piece.begin(), piece.end());
  }
  // A changed byte in each copy after the first, so that the copies are not all alike.
  for (std::size_t at = piece.size(); at < original.size(); at += piece.size() + 1) {
    original[at] = static_cast<std::uint8_t>(original[at] + at);
  }

  const std::vector<std::uint8_t> compressed = codec::szdd::Compress(original, lastChar);
  const std::size_t literalsOnly = 14 + original.size() + (original.size() + 7) / 8;
  Require(compressed.size() <= literalsOnly, "longer than literals alone");

  const fuzz::PlainExpansion plain = fuzz::PlainExpand(compressed);
  Require(plain.result == fuzz::PlainResult::kOk, "the plain expander refuses it");
  Require(plain.bytes == original, "the plain expander gives other bytes");
  Require(plain.lastChar == lastChar && plain.length == original.size(), "a wrong header");

  tools::MemorySource source(compressed);
  tools::MemorySink sink;
  const codec::szdd::Expansion expansion = codec::szdd::Expand(source, sink);
  Require(expansion.status == codec::szdd::Status::kOk, "the expander refuses it");
  Require(sink.bytes == original, "the expander gives other bytes");
  return 0;
}
