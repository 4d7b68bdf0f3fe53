#pragma once
// What Pelmora installs: its eight files, the registry records that name them, and its
// program group. The setup program writes all of it; the uninstaller removes exactly this.
#include <array>
#include <cstddef>
#include <string_view>

namespace product {

inline constexpr char kTitle[] = "Tarvo's Pelmora";

// A file of the product, as the setup file carries it and as it is installed.
struct ProductFile {
  std::string_view temporaryName;  // the extracted item in the temporary folder
  std::string_view installedName;  // the expanded file in the destination directory
};

inline constexpr char kApplicationFile[] = "Pelmora.exe";
inline constexpr char kUninstallerFile[] = "Uninstall PLM.exe";
inline constexpr char kHelpFile[] = "PLM.chm";

inline constexpr ProductFile kApplication = {"Pelmora.ex_", kApplicationFile};
inline constexpr std::array<ProductFile, 5> kSounds = {{
    {"Stop.wa_", "Stop.wav"},
    {"Start.wa_", "Start.wav"},
    {"Shot.wa_", "Shot.wav"},
    {"Click.wa_", "Click.wav"},
    {"Beep.wa_", "Beep.wav"},
}};
inline constexpr ProductFile kUninstaller = {"Uninstall PLM.ex_", kUninstallerFile};
inline constexpr ProductFile kHelp = {"PLM.ch_", kHelpFile};

// Every file, in the order the run handles them: the application first, which is the last
// item in the setup file.
inline constexpr std::array<ProductFile, 8> kProductFiles = {
    kApplication, kSounds[0], kSounds[1], kSounds[2], kSounds[3], kSounds[4], kUninstaller, kHelp};

// While a file is installed, its new version is written beside it first: under the installed
// name followed by this suffix, and by one spare digit more when a file that an interrupted run
// left holds that name.
inline constexpr char kNewFileSuffix[] = ".new_";

// The longest name of a file that an installation makes in the destination directory.
inline constexpr std::size_t kLongestNameInDestination = [] {
  std::size_t longest = 0;
  for (const ProductFile& file : kProductFiles) {
    if (file.installedName.size() > longest) longest = file.installedName.size();
  }
  return longest + std::string_view(kNewFileSuffix).size() + 1;
}();

// Registry keys under HKEY_LOCAL_MACHINE, and their values.
inline constexpr char kVendorKey[] = "Software\\Quorvalen";
inline constexpr char kProductKey[] = "Software\\Quorvalen\\PLM";
inline constexpr char kDestinationValue[] = "Dizin";  // the installation folder
inline constexpr char kVersionValue[] = "Version";
inline constexpr int kVersion = 7;
inline constexpr char kIncCurValue[] = "IncCur";
inline constexpr int kIncCur = 1;
// The entry in the system's list of programs that can be uninstalled: the title, and the
// uninstaller's command line.
inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora";
inline constexpr char kDisplayNameValue[] = "DisplayName";
inline constexpr char kUninstallStringValue[] = "UninstallString";
// What the list shows beside the title, and where it finds the product.
inline constexpr char kDisplayVersionValue[] = "DisplayVersion";
inline constexpr char kDisplayVersion[] = "1.5";
inline constexpr char kPublisherValue[] = "Publisher";
inline constexpr char kPublisher[] = "Quorvalen";
inline constexpr char kDisplayIconValue[] = "DisplayIcon";          // the application's first icon
inline constexpr char kInstallLocationValue[] = "InstallLocation";  // the destination directory
inline constexpr char kEstimatedSizeValue[] = "EstimatedSize";      // KB of the files installed
// The uninstaller only removes: the list offers no change and no repair (both are 1).
inline constexpr char kNoModifyValue[] = "NoModify";
inline constexpr char kNoRepairValue[] = "NoRepair";

// The program group, and the captions of its items: the application (kTitle) always, the
// help file and the uninstaller when their files are in place.
inline constexpr char kProgramGroup[] = "Pelmora";
inline constexpr char kHelpCaption[] = "Pelmora Help";
inline constexpr char kUninstallerCaption[] = "Uninstall Pelmora";

}  // namespace product
