#include "payload/install_item.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "codec/sha256.h"
#include "payload/expand_files.h"
#include "payload/run_files.h"
#include "platform/services/lz_api.h"
#include "platform/text/text.h"

namespace payload {
namespace {

constexpr std::size_t kCheckChunk = 64 * 1024;
constexpr int kStyle = platform::MsgBoxStyle::kSystemModal | platform::MsgBoxStyle::kExclamation;
constexpr std::int32_t kDestinationFull = platform::LzError::kWrite * 100;

// Does the file hold exactly the bytes the item table describes?
bool HoldsTheItemsBytes(platform::FileChannel& file, const setup_file::ItemRecord& record) {
  const std::int64_t length = file.Length();
  bool intact = length == static_cast<std::int64_t>(record.expandedLength);
  codec::Sha256 sha256;
  std::vector<std::uint8_t> chunk(kCheckChunk);
  for (std::int64_t at = 0; intact && at < length;) {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(length - at, kCheckChunk));
    intact = file.ReadAt(at, chunk.data(), count);
    sha256.Add(chunk.data(), count);
    at += static_cast<std::int64_t>(count);
  }
  return intact && sha256.Digest() == record.sha256;
}

// What the user is told when the new file cannot take the installed file's place.
std::string NotReplaced(const std::string& destination, int error) {
  if (error == platform::SystemError::kSharingViolation ||
      error == platform::SystemError::kAccessDenied) {
    return "'" + destination + "' is in use or read-only and keeps its earlier version.";
  }
  return "'" + destination + "' could not be replaced (system error " +
         platform::DecimalText(error) + ").";
}

// An expansion failure that ExpandFile shows no message for.
std::string SilentFailure(const std::string& destination, std::int32_t result) {
  if (result == kDestinationFull)
    return "'" + destination + "' could not be written: the destination drive is full.";
  return "'" + destination + "' could not be expanded (error " + platform::DecimalText(result) +
         ").";
}

}  // namespace

ItemInstallation InstallItem(platform::Platform& platform, platform::FileChannel& item,
                             const std::string& destination, const setup_file::ItemRecord& record) {
  const std::string target = platform::Trim(destination);
  const std::string newFile = NewFileFor(target);
  platform::Toolkit& toolkit = platform.toolkit;
  ItemInstallation outcome;

  int error = 0;
  const std::unique_ptr<platform::FileChannel> expansion =
      CreateNewFile(platform.files, target, error);
  if (!expansion) {
    if (error == platform::SystemError::kStoppedOnLink) {
      toolkit.MsgBox("'" + target + "' keeps its earlier version: '" + newFile +
                         "' is a link, which the setup does not follow.",
                     kStyle, "Error");
    } else {
      ShowOpenError(toolkit, MapOpenError(error), newFile);
    }
    return outcome;
  }
  const std::int32_t expanded = ExpandFile(platform, item, *expansion, /*showErrors=*/true);
  if (expanded < 0) {
    outcome.destinationFull = expanded == kDestinationFull;
    if (!ExpandFileReports(expanded))
      toolkit.MsgBox(SilentFailure(target, expanded), kStyle, "Error");
  } else if (!HoldsTheItemsBytes(*expansion, record)) {
    toolkit.MsgBox("'" + target + "' could not be installed: the setup file is damaged.", kStyle,
                   "Error");
  } else if (const int moved = expansion->MoveTo(target); moved != platform::SystemError::kSuccess) {
    toolkit.MsgBox(NotReplaced(target, moved), kStyle, "Error");
  } else {
    // Its bytes were on the disk before it took the name.
    expansion->Close();
    outcome.installed = true;
    return outcome;
  }
  if (expansion->Discard() != platform::SystemError::kSuccess) {
    toolkit.MsgBox(
        "The incomplete file '" + newFile + "' could not be removed. You can delete it yourself.",
        kStyle, "Error");
  }
  return outcome;
}

}  // namespace payload
