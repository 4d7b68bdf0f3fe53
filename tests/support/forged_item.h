#pragma once
// A forged item: an SZDD item changed so that it keeps its size and still expands to the
// same length with the same CRC-32, but to other bytes. What someone who can write the
// user's download folder could make of a setup file, for the tests of the check that must
// see through it.
//
// A literal byte of an SZDD stream is stored as it is, and a match only copies bytes already
// expanded (or the blanks the window starts with): the expanded bytes are an affine function
// of the literal bits over GF(2), and so is their CRC-32. Flipping one literal bit changes
// the CRC-32 by a fixed amount; flipping a solved set of 32 or so other literal bits changes
// it back.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace payload_test {

// `item` with one literal bit flipped near its end, and the CRC-32 of its expansion restored
// by literal bits of the last few literals. Nothing when the item does not expand or holds
// too few literals.
std::optional<std::vector<std::uint8_t>> ForgeItem(std::span<const std::uint8_t> item);

}  // namespace payload_test
