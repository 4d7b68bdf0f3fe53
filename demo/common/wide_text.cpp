#include "demo/common/wide_text.h"

namespace demo {

int ConvertToWide(std::string_view text, wchar_t* out, int room) {
  if (text.empty()) return 0;
  const int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                        static_cast<int>(text.size()), out, room);
  return count > 0 ? count : -1;
}

WideText ToWide(std::string_view text) {
  WideText wide;
  AppendWide(wide, text);
  return wide;
}

WidePath ToWidePath(std::string_view path) {
  WidePath wide;
  AppendWide(wide, path);
  return wide;
}

Utf8Path ToUtf8(const WidePath& path) {
  Utf8Path narrow;
  const std::wstring_view text = path.view();
  if (!path.complete()) {
    narrow.MarkIncomplete();
  } else if (!text.empty()) {
    char converted[3 * MAX_PATH];  // up to three bytes for each UTF-16 unit
    const int count = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(),
                                          static_cast<int>(text.size()), converted,
                                          sizeof(converted), nullptr, nullptr);
    if (count > 0) {
      narrow.Append(std::string_view(converted, static_cast<std::size_t>(count)));
    } else {
      narrow.MarkIncomplete();
    }
  }
  return narrow;
}

}  // namespace demo
