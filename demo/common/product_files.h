#pragma once
// The names of Pelmora's installed files, its registry keys and its program group: what the
// setup program leaves behind and what the uninstaller takes away again.
#include <array>
#include <string_view>

namespace demo {

inline constexpr std::string_view kProductTitle = "Tarvo's Pelmora";

inline constexpr std::string_view kApplicationFile = "Pelmora.exe";
inline constexpr std::string_view kUninstallerFile = "Uninstall PLM.exe";
inline constexpr std::string_view kHelpFile = "PLM.chm";

inline constexpr std::array<std::string_view, 5> kSoundFiles = {
    "Stop.wav", "Start.wav", "Shot.wav", "Click.wav", "Beep.wav"};

inline constexpr std::array<std::string_view, 8> kProductFiles = {
    kApplicationFile, kUninstallerFile, kHelpFile, kSoundFiles[0],
    kSoundFiles[1],   kSoundFiles[2],   kSoundFiles[3], kSoundFiles[4]};

// Registry keys under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kVendorKey = "Software\\Quorvalen";
inline constexpr std::string_view kProductKey = "Software\\Quorvalen\\PLM";
inline constexpr std::string_view kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora";

inline constexpr std::string_view kProgramGroup = "Pelmora";

}  // namespace demo
