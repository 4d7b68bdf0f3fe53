#pragma once
// UTF-8 inside, UTF-16 at the Windows calls.
#include <string>
#include <string_view>

namespace demo {

std::wstring ToWide(std::string_view text);
std::string ToUtf8(std::wstring_view text);

}  // namespace demo
