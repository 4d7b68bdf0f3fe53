#pragma once
// Text in an array of fixed size. The demo programs use no heap and none of the C++ library's
// strings and containers: their code and the exception support that comes with it would make
// each program ten times its size.
#include <cstddef>
#include <string_view>

namespace demo {

template <typename Char, std::size_t Capacity>
class FixedString {
 public:
  using View = std::basic_string_view<Char>;

  FixedString() { chars_[0] = Char{}; }
  explicit FixedString(View text) : FixedString() { Append(text); }

  // Appends `text` when it fits. When it does not, the string stays as it was and is
  // incomplete from then on, whatever is appended later: a cut path must never be used.
  FixedString& Append(View text) {
    if (!complete_ || text.size() > Capacity - size_) {
      complete_ = false;
      return *this;
    }
    std::char_traits<Char>::copy(chars_ + size_, text.data(), text.size());
    size_ += text.size();
    chars_[size_] = Char{};
    return *this;
  }

  FixedString& Append(Char c) { return Append(View(&c, 1)); }

  void MarkIncomplete() { complete_ = false; }

  bool complete() const { return complete_; }
  bool empty() const { return size_ == 0; }
  View view() const { return View(chars_, size_); }
  const Char* c_str() const { return chars_; }
  // For the Windows functions that take a writable text, and do not change its length.
  Char* data() { return chars_; }

 private:
  Char chars_[Capacity + 1];
  std::size_t size_ = 0;
  bool complete_ = true;
};

// The first `count` characters of `text`, or all of it when it is shorter: what substr(0, count)
// gives, without the exception that substr() can throw, and so without the library code.
template <typename Char>
std::basic_string_view<Char> Prefix(std::basic_string_view<Char> text, std::size_t count) {
  return std::basic_string_view<Char>(text.data(), count < text.size() ? count : text.size());
}

}  // namespace demo
