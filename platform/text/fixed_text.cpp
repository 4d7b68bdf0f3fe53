#include "platform/text/fixed_text.h"

#include "platform/text/text.h"

namespace platform {

FixedText& FixedText::operator=(std::string_view value) {
  value_ = LeftChars(value, kWidth);
  assigned_ = true;
  return *this;
}

std::string FixedText::Padded() const {
  if (!assigned_) return std::string(kWidth, '\0');
  std::size_t chars = 0;
  for (unsigned char c : value_) chars += (c & 0xC0) != 0x80;
  return value_ + std::string(kWidth - chars, ' ');
}

std::string FixedText::Trimmed() const { return assigned_ ? Trim(value_) : Padded(); }

std::string FixedText::Left(std::size_t count) const { return LeftChars(Padded(), count); }

}  // namespace platform
