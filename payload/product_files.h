#pragma once
// The eight product files that a setup file carries, in the order the run handles them:
// the application first, which is the last item in the setup file.
#include <array>
#include <cstddef>
#include <string_view>

namespace payload {

struct ProductFile {
  std::string_view temporaryName;  // the extracted item in the temporary folder
  std::string_view installedName;  // the expanded file in the destination directory
};

constexpr std::size_t kItemCount = 8;

constexpr std::array<ProductFile, kItemCount> kProductFiles = {{
    {"Pelmora.ex_", "Pelmora.exe"},
    {"Stop.wa_", "Stop.wav"},
    {"Start.wa_", "Start.wav"},
    {"Shot.wa_", "Shot.wav"},
    {"Click.wa_", "Click.wav"},
    {"Beep.wa_", "Beep.wav"},
    {"Uninstall PLM.ex_", "Uninstall PLM.exe"},
    {"PLM.ch_", "PLM.chm"},
}};

}  // namespace payload
