#pragma once
// UTF-8 (scripts, messages) to UTF-16 (Windows) and back.
#include <string>

namespace robot {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

}  // namespace robot
