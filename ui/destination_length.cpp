#include "ui/destination_length.h"

#include <cstddef>
#include <string_view>

#include "product/pelmora.h"

namespace ui {

namespace {

constexpr std::size_t kLongestPath = 259;
// The longest path ends in a "\" and the longest name of a file made in the destination.
constexpr std::size_t kLongestDestination = kLongestPath - 1 - product::kLongestNameInDestination;

// The UTF-16 units of a UTF-8 text: one for each character, two for one beyond the first
// 65,536 (a lead byte 11110xxx).
std::size_t Utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) ++units;
    if (byte >= 0xF0) ++units;
  }
  return units;
}

}  // namespace

bool AcceptDestinationLength(platform::Toolkit& toolkit, const std::string& destination) {
  if (Utf16Length(destination) <= kLongestDestination) return true;
  static_assert(kLongestDestination == 235, "the message names the longest destination");
  toolkit.MsgBox("The destination can have at most 235 characters.",
                 platform::MsgBoxStyle::kExclamation, "Warning");
  return false;
}

}  // namespace ui
