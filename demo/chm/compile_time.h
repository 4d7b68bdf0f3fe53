#pragma once
// The compile time that a CHM compiler writes into a help file: in the ITSF header (a big-endian
// word) and in the #SYSTEM file's entry 10 (a little-endian word). chmcmd writes the
// milliseconds of the day of the moment it runs; setting both from a fixed date makes two
// compilations of the same sources the same file.
#include <cstdint>
#include <span>
#include <string>

namespace demo {

// Milliseconds since midnight, UTC, of `secondsSince1970`.
std::uint32_t MillisecondsOfDay(std::int64_t secondsSince1970);

// Writes `time` into both places of the CHM file `chm`. On failure returns why and leaves
// `chm` unchanged; on success returns an empty text.
std::string SetCompileTime(std::span<std::uint8_t> chm, std::uint32_t time);

}  // namespace demo
