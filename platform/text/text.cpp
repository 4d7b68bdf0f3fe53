#include "platform/text/text.h"

#include <algorithm>

namespace platform {

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string DecimalText(std::int32_t number) {
  // Counted unsigned, so that the most negative number has its digits too; in 32 bits, which
  // the program's numbers fit and for which the 32-bit machine divides without a library.
  std::uint32_t rest =
      number < 0 ? 0 - static_cast<std::uint32_t>(number) : static_cast<std::uint32_t>(number);
  char reversed[10];
  std::size_t count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  std::string text = number < 0 ? "-" : "";
  while (count > 0) text += reversed[--count];
  return text;
}

std::string LeftChars(std::string_view text, std::size_t count) {
  std::size_t bytes = 0;
  for (std::size_t chars = 0; bytes < text.size() && chars < count; ++chars) {
    ++bytes;  // the lead byte, then its continuation bytes (10xxxxxx)
    while (bytes < text.size() && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) ++bytes;
  }
  return std::string(text.substr(0, bytes));
}

static char FoldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view head) {
  return text.size() >= head.size() && EqualsIgnoringCase(text.substr(0, head.size()), head);
}

}  // namespace platform
