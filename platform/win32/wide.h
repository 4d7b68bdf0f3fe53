#pragma once
// Text crosses into Windows as UTF-16 and comes back as UTF-8: every call into the
// system uses its wide (W) function, so that no code page ever touches our texts.
#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace platform::win32
