#pragma once
// What the uninstaller says.
#include <string_view>

namespace demo {

inline constexpr std::string_view kUninstallTitle = "Uninstall Pelmora";
inline constexpr std::string_view kQuestionText =
    "Do you want to remove Tarvo's Pelmora and all of its components from this computer?";
inline constexpr std::string_view kNothingLeftText = "There is nothing left to remove.";
inline constexpr std::string_view kRemovedText =
    "Tarvo's Pelmora has been removed from this computer.";
inline constexpr std::string_view kLeftBehindText =
    "Tarvo's Pelmora could not be removed completely. These are left:";

}  // namespace demo
