#include "integration/product_records.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "product/pelmora.h"

namespace integration {

namespace {

// The values of one key, written one after the other: every write is tried, whatever happened
// to the one before, and each reports its own failure. The key is created first.
class KeyValues {
 public:
  KeyValues(Registry& registry, const char* key) : registry_(registry), key_(key) {
    registry_.CreateRegKey(platform::kHKeyLocalMachine, key_);
  }
  void Text(const char* name, const std::string& text) {
    written_ &= registry_.SetRegString(platform::kHKeyLocalMachine, key_, name, text);
  }
  void Text(const char* name, const char* text) { Text(name, std::string(text)); }
  // A text made of its parts, joined in one piece: smaller in the image than a chain of +.
  void Text(const char* name, std::initializer_list<std::string_view> parts) {
    std::size_t length = 0;
    for (const std::string_view part : parts) length += part.size();
    std::string text(length, ' ');
    char* end = text.data();
    for (const std::string_view part : parts) end = std::copy(part.begin(), part.end(), end);
    Text(name, text);
  }
  void Number(const char* name, std::int32_t number) {
    written_ &= registry_.SetRegLong(platform::kHKeyLocalMachine, key_, name, number);
  }
  // Whether every value was written. The values are what counts: each of their writes creates
  // the key as well.
  bool Written() const { return written_; }

 private:
  Registry& registry_;
  const std::string key_;
  bool written_ = true;
};

// Kilobytes, as the list of installed programs counts a size: a part of one counts whole.
std::int32_t KilobytesRoundedUp(std::uint64_t bytes) {
  return static_cast<std::int32_t>((bytes + 1023) >> 10);
}

// The entry in the list of installed programs: its title and the uninstaller's command line,
// then what the list shows beside them.
bool WriteUninstallEntry(Registry& registry, const std::string& directory,
                         std::uint64_t installedBytes) {
  using namespace product;
  using namespace std::string_view_literals;
  KeyValues entry(registry, kUninstallKey);
  entry.Text(kDisplayNameValue, kTitle);
  // The system runs this as a command line: quoted, so that a blank in the path does not
  // split it. The file names are written out whole rather than appended.
  static_assert(std::string_view(kUninstallerFile) == "Uninstall PLM.exe",
                "the command line names the uninstaller");
  entry.Text(kUninstallStringValue, {"\""sv, directory, "\\Uninstall PLM.exe\""sv});
  entry.Text(kDisplayVersionValue, kDisplayVersion);
  entry.Text(kPublisherValue, kPublisher);
  // The application's first icon. The system reads an icon's index after the last comma: a
  // comma in the destination would be taken for it otherwise.
  static_assert(std::string_view(kApplicationFile) == "Pelmora.exe",
                "the icon is the application's");
  entry.Text(kDisplayIconValue, {directory, "\\Pelmora.exe,0"sv});
  entry.Text(kInstallLocationValue, directory);
  entry.Number(kEstimatedSizeValue, KilobytesRoundedUp(installedBytes));
  entry.Number(kNoModifyValue, 1);
  entry.Number(kNoRepairValue, 1);
  return entry.Written();
}

}  // namespace

RecordsWritten WriteProductRecords(Registry& registry, const std::string& directory,
                                   std::uint64_t installedBytes, bool uninstallerInstalled) {
  using namespace product;
  KeyValues productKey(registry, kProductKey);
  productKey.Text(kDestinationValue, directory);
  productKey.Number(kVersionValue, kVersion);
  productKey.Number(kIncCurValue, kIncCur);
  return {productKey.Written(),
          uninstallerInstalled && WriteUninstallEntry(registry, directory, installedBytes)};
}

}  // namespace integration
