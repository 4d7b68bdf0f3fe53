#include "tests/support/forged_item.h"

#include <array>

#include "codec/crc32.h"
#include "codec/szdd_decoder.h"
#include "tools/common/host_files.h"

namespace payload_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The literals whose bits may restore the CRC-32: 64 bits, more than the 32 needed, so that
// a few that change it alike do not leave it unsolved.
constexpr std::size_t kSolvingLiterals = 8;
constexpr std::size_t kSolvingBits = kSolvingLiterals * 8;

// The expansion of `item`; nothing when it does not expand.
std::optional<Bytes> Expansion(std::span<const std::uint8_t> item) {
  tools::MemorySource source(item);
  tools::MemorySink sink;
  if (codec::szdd::Expand(source, sink).status != codec::szdd::Status::kOk) return std::nullopt;
  return std::move(sink.bytes);
}

std::uint32_t Crc32Of(const Bytes& bytes) {
  codec::Crc32 crc;
  crc.Add(bytes.data(), bytes.size());
  return crc.Value();
}

// Where the literal bytes of the stream lie that reach the first `expandedLength` bytes of
// the expansion, in stream order.
std::vector<std::size_t> LiteralOffsets(std::span<const std::uint8_t> item,
                                        std::size_t expandedLength) {
  std::vector<std::size_t> literals;
  std::size_t at = codec::szdd::kHeaderSize;
  std::size_t expanded = 0;
  while (expanded < expandedLength && at < item.size()) {
    const unsigned flags = item[at++];
    for (std::size_t token = 0;
         token < codec::szdd::kTokensPerFlag && expanded < expandedLength && at < item.size();
         ++token) {
      if (flags >> token & 1) {
        literals.push_back(at);
        at += 1;
        expanded += 1;
      } else if (at + 1 < item.size()) {
        expanded += (item[at + 1] & 0x0Fu) + codec::szdd::kMinMatch;
        at += codec::szdd::kMatchBytes;
      } else {
        at = item.size();
      }
    }
  }
  return literals;
}

// One literal bit: the byte's offset in the item and the bit's mask.
struct LiteralBit {
  std::size_t offset = 0;
  std::uint8_t mask = 0;
};

// The bits among `candidates` whose changes of the CRC-32 add up (over GF(2)) to `wanted`,
// as a mask over their indices: Gaussian elimination, each basis vector keeping the
// candidates it is made of. Nothing when `wanted` lies outside their span.
std::optional<std::uint64_t> Solve(const std::array<std::uint32_t, kSolvingBits>& changes,
                                   std::uint32_t wanted) {
  std::array<std::uint32_t, 32> basis{};  // by highest bit
  std::array<std::uint64_t, 32> madeOf{};
  auto reduce = [&](std::uint32_t& vector, std::uint64_t& mask) {
    for (int bit = 31; bit >= 0; --bit) {
      if ((vector >> bit & 1) && basis[bit] != 0) {
        vector ^= basis[bit];
        mask ^= madeOf[bit];
      }
    }
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    std::uint32_t vector = changes[i];
    std::uint64_t mask = std::uint64_t{1} << i;
    reduce(vector, mask);
    if (vector == 0) continue;
    int top = 31;
    while ((vector >> top & 1) == 0) --top;
    basis[top] = vector;
    madeOf[top] = mask;
  }
  std::uint64_t solution = 0;
  reduce(wanted, solution);
  if (wanted != 0) return std::nullopt;
  return solution;
}

}  // namespace

std::optional<Bytes> ForgeItem(std::span<const std::uint8_t> item) {
  const std::optional<Bytes> original = Expansion(item);
  if (!original) return std::nullopt;
  const std::uint32_t crc = Crc32Of(*original);
  const std::vector<std::size_t> literals = LiteralOffsets(item, original->size());
  if (literals.size() <= kSolvingLiterals) return std::nullopt;

  // How flipping one bit changes the CRC-32 of the expansion.
  auto change = [&](const LiteralBit& bit) -> std::optional<std::uint32_t> {
    Bytes flipped(item.begin(), item.end());
    flipped[bit.offset] ^= bit.mask;
    const std::optional<Bytes> expanded = Expansion(flipped);
    if (!expanded) return std::nullopt;
    return Crc32Of(*expanded) ^ crc;
  };
  const LiteralBit target{literals[literals.size() - kSolvingLiterals - 1], 1};
  std::array<LiteralBit, kSolvingBits> solving;
  std::array<std::uint32_t, kSolvingBits> changes;
  for (std::size_t i = 0; i < kSolvingBits; ++i) {
    solving[i] = {literals[literals.size() - kSolvingLiterals + i / 8],
                  static_cast<std::uint8_t>(1u << (i % 8))};
    const std::optional<std::uint32_t> bitChange = change(solving[i]);
    if (!bitChange) return std::nullopt;
    changes[i] = *bitChange;
  }
  const std::optional<std::uint32_t> targetChange = change(target);
  if (!targetChange) return std::nullopt;
  const std::optional<std::uint64_t> solution = Solve(changes, *targetChange);
  if (!solution) return std::nullopt;

  Bytes forged(item.begin(), item.end());
  forged[target.offset] ^= target.mask;
  for (std::size_t i = 0; i < kSolvingBits; ++i) {
    if (*solution >> i & 1) forged[solving[i].offset] ^= solving[i].mask;
  }
  // The expansion differs: the first literal changed is the first expanded byte changed,
  // as no match copies from ahead. Its length and CRC-32 are checked all the same, as any
  // reader of the forged item would.
  const std::optional<Bytes> expanded = Expansion(forged);
  if (!expanded || expanded->size() != original->size() || Crc32Of(*expanded) != crc)
    return std::nullopt;
  return forged;
}

}  // namespace payload_test
