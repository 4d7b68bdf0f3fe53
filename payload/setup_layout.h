#pragma once
// The layout of a setup file, as mksetup writes it and the program reads it.
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
//   in which the run handles them (kProductFiles), so that the application comes last.
// - The program finds each item from the payload end by two numbers: its size, and its
//   "bytes after", the sizes of the items behind it. The item table (payload_items.h) holds
//   the sizes, with each item's expanded length and CRC-32.
// - The payload ends where the file ends, or where a certificate table that signing appended
//   begins (the PE security directory points at it).
// - Signing starts the certificate table at an 8-byte boundary; the padding makes image,
//   padding and payload a multiple of 8 bytes long, so that the table follows the last item.
// - A setup file is whole when exactly the table's payload lies between the end of the image
//   (with its padding) and the payload end.
#include <array>
#include <cstddef>
#include <cstdint>

#include "payload/payload_items.h"

namespace payload {

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

}  // namespace payload
