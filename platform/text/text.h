#pragma once
// Text helpers shared by every layer. Text inside the program is UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Removes blanks (spaces) at both ends; other characters, NUL included, stay.
std::string Trim(std::string_view text);

bool EndsWith(std::string_view text, std::string_view tail);

// A whole number in decimal digits, with "-" before a negative one.
std::string DecimalText(std::int32_t number);

// The first `count` characters (not bytes) of a UTF-8 text.
std::string LeftChars(std::string_view text, std::size_t count);

// Letter-case folding of ASCII letters, as the file system and the registry compare names.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view head);

}  // namespace platform
