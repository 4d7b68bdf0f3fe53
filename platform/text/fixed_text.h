#pragma once
// A fixed-width text, as the wizard keeps its destination and temporary folders:
// an assigned value is padded with blanks to the width or cut at it, and before
// the first assignment the text holds NUL characters.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class FixedText {
 public:
  static constexpr std::size_t kWidth = 256;

  FixedText& operator=(std::string_view value);

  // The value without blanks at either end; an unassigned text gives its NULs.
  std::string Trimmed() const;
  // The first `count` characters of the padded value.
  std::string Left(std::size_t count) const;
  bool IsUnassigned() const { return !assigned_; }

 private:
  std::string Padded() const;

  std::string value_;  // cut at the width; the padding is implied
  bool assigned_ = false;
};

}  // namespace platform
