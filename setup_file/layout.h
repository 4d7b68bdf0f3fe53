#pragma once
// How the items are found in a setup file: the layout that mksetup writes and the program
// reads, the item table that the program is built with, and the one walk over the items that
// the run, mksetup's assembly and its check all use.
//
//   0                                                                              file end
//   +---------------+---------+---------+-------------------+-----+-------------+- - - - - - -+
//   | program image | padding | PLM.ch_ | Uninstall PLM.ex_ | ... | Pelmora.ex_ | certificate |
//   | PE headers    | 0 to 7  | item 8  | item 7            |     | item 1      | table, once |
//   | and sections  | zeros   |         |                   |     |             | signed      |
//   +---------------+---------+---------+-------------------+-----+-------------+- - - - - - -+
//                   ^ image end                                    payload end ^
//                             |<------------------- payload ------------------>|
//
// - The items are complete SZDD files, back to back, in file order: the reverse of the order
//   in which the run handles them (product::kProductFiles), so that the application comes last.
// - The program finds each item from the payload end by two numbers: its size, and its
//   "bytes after", the sizes of the items behind it. The item table holds the sizes, with
//   each item's expanded length and SHA-256: whoever can write the setup file could match a
//   weaker checksum, but the program image cannot be changed while it runs.
// - The payload ends where the file ends, or where a certificate table that signing appended
//   begins (the PE security directory points at it).
// - Signing starts the certificate table at an 8-byte boundary; the padding makes image,
//   padding and payload a multiple of 8 bytes long, so that the table follows the last item.
// - A setup file is whole when exactly the table's payload lies between the end of the image
//   (with its padding) and the payload end.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "product/pelmora.h"

namespace setup_file {

// One item for each product file, in the order the run handles them.
constexpr std::size_t kItemCount = product::kProductFiles.size();

using Sha256Digest = std::array<std::uint8_t, 32>;

// What the program knows of one item appended to the setup file.
struct ItemRecord {
  std::int32_t size = 0;             // the item's bytes in the setup file
  std::uint32_t expandedLength = 0;  // the bytes of the file it expands to
  Sha256Digest sha256{};             // the SHA-256 of those bytes
  friend bool operator==(const ItemRecord&, const ItemRecord&) = default;
};

// A call that a constant expression cannot make: a table that spells its digests with
// anything but lower-case hexadecimal digits does not compile.
inline std::uint8_t NotAHexDigit() { return 0; }

// The digest that 64 hexadecimal digits spell, as the generated item table writes it (a
// string of another length does not compile either).
consteval Sha256Digest HexDigest(const char (&hex)[65]) {
  auto value = [](char digit) -> std::uint8_t {
    if (digit >= '0' && digit <= '9') return static_cast<std::uint8_t>(digit - '0');
    if (digit >= 'a' && digit <= 'f') return static_cast<std::uint8_t>(digit - 'a' + 10);
    return NotAHexDigit();
  };
  Sha256Digest digest{};
  for (std::size_t i = 0; i < digest.size(); ++i)
    digest[i] = static_cast<std::uint8_t>(value(hex[2 * i]) << 4 | value(hex[2 * i + 1]));
  return digest;
}

using ItemTable = std::array<ItemRecord, kItemCount>;

// The table of the items this program carries. mksetup generates its definition from the
// items it appends, so the table cannot disagree with the setup file it was built for.
extern const ItemTable kItemTable;

constexpr std::size_t kSignatureAlignment = 8;

// The zero bytes between an image that ends at `imageEnd` and a payload of `payloadLength`.
std::size_t AlignmentPadding(std::uint64_t imageEnd, std::uint64_t payloadLength);

// Where the items lie, in run order.
struct ItemPlaces {
  std::array<std::int32_t, kItemCount> bytesAfter{};
  std::int32_t payloadLength = 0;
};

// The one walk over the items: the bytes after each item, and the payload's length. False
// when an item size is below 1 or the payload is too large for 32-bit signed arithmetic,
// which the program locates items with.
bool PlaceItems(const ItemTable& table, ItemPlaces& places);

// Does exactly a payload of `payloadLength` bytes, behind an image that ends at `imageEnd`
// and its padding, end at `payloadEnd`?
bool PayloadFitsExactly(std::int64_t imageEnd, std::int64_t payloadEnd, std::int32_t payloadLength);

// The 1-based position of the item's first byte: payloadEnd − bytesAfter − itemSize + 1, in
// 32-bit signed arithmetic. False on an overflow, when the position would lie before the
// file's first byte, or for an item size below 1 or a negative bytesAfter.
bool ItemPosition(std::int64_t payloadEnd, std::int32_t itemSize, std::int32_t bytesAfter,
                  std::int32_t& position);

// How many bytes from the start of a setup file hold its PE headers (the file's first ones).
constexpr std::size_t kPeHeaderSpan = 4096;

// Where the program image ends: the end of the last section's bytes in the file (or of the
// headers, if later), read from its PE headers; -1 when `headers` (the file's first bytes,
// up to kPeHeaderSpan) do not hold the headers of a PE file.
std::int64_t ImageEnd(std::span<const std::uint8_t> headers);

// Where the payload ends: where the setup file's certificate table (an Authenticode
// signature, appended after the payload) begins when the file's PE security directory
// points at a table that ends the file; otherwise the file's length. `headers` holds the
// file's first bytes (up to kPeHeaderSpan).
std::int64_t PayloadEnd(std::span<const std::uint8_t> headers, std::int64_t fileLength);

}  // namespace setup_file
