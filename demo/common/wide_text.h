#pragma once
// UTF-8 inside, UTF-16 at the Windows calls. A text that is not valid in its encoding, or
// does not fit, converts to an incomplete string.
#include <windows.h>

#include <string_view>

#include "demo/common/fixed_string.h"

namespace demo {

// A path as the file functions take it (the programs do not ask for longer paths).
using WidePath = FixedString<wchar_t, MAX_PATH - 1>;
// A text to show, up to the longest report of the uninstaller.
using WideText = FixedString<wchar_t, 16 * 1024>;
// The UTF-8 form of a WidePath (up to three bytes for each UTF-16 unit), with room to spare.
using Utf8Path = FixedString<char, 3 * MAX_PATH + 64>;

// Converts `text` into `out`, which has room for `room` characters; the count written, or -1
// when the text does not fit or is not valid.
int ConvertToWide(std::string_view text, wchar_t* out, int room);

// Appends `text`, converted.
template <std::size_t N>
void AppendWide(FixedString<wchar_t, N>& out, std::string_view text) {
  wchar_t wide[N];
  const int count = ConvertToWide(text, wide, static_cast<int>(N));
  if (count < 0) {
    out.MarkIncomplete();
  } else {
    out.Append(std::wstring_view(wide, static_cast<std::size_t>(count)));
  }
}

WideText ToWide(std::string_view text);
WidePath ToWidePath(std::string_view path);
Utf8Path ToUtf8(const WidePath& path);

}  // namespace demo
