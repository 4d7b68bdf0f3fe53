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

// Why the new file could not take the installed file's place, after the installed file's name.
std::string NotReplaced(int error) {
  if (error == platform::SystemError::kSharingViolation ||
      error == platform::SystemError::kAccessDenied) {
    return "is in use or read-only and keeps its earlier version.";
  }
  return "could not be replaced (system error " + platform::DecimalText(error) + ").";
}

// An expansion failure that ExpandFile shows no message for, after the installed file's name.
std::string SilentFailure(std::int32_t result) {
  if (result == kDestinationFull) return "could not be written: the destination drive is full.";
  return "could not be expanded (error " + platform::DecimalText(result) + ").";
}

}  // namespace

ItemInstallation InstallItem(platform::Platform& platform, platform::FileChannel& item,
                             const std::string& destination, const setup_file::ItemRecord& record) {
  namespace SystemError = platform::SystemError;
  const std::string target = platform::Trim(destination);
  const std::string newFile = NewFileFor(target);
  ItemInstallation outcome;

  int error = 0;
  const std::unique_ptr<platform::FileChannel> expansion =
      CreateNewFile(platform.files, target, error);
  if (!expansion && error != SystemError::kStoppedOnLink) {
    ShowOpenError(platform.toolkit, MapOpenError(error), newFile);
    return outcome;
  }
  // What the user is told after the installed file's name, unless ExpandFile has told it.
  std::string reason;
  if (!expansion) {
    reason = "keeps its earlier version: '" + newFile +
             "' is a link, which the setup does not follow.";
  } else if (const std::int32_t expanded = ExpandFile(platform, item, *expansion, true);
             expanded < 0) {
    outcome.destinationFull = expanded == kDestinationFull;
    if (!ExpandFileReports(expanded)) reason = SilentFailure(expanded);
  } else if (!HoldsTheItemsBytes(*expansion, record)) {
    reason = "could not be installed: the setup file is damaged.";
  } else if (const int moved = expansion->MoveTo(target); moved != SystemError::kSuccess) {
    reason = NotReplaced(moved);
  } else {
    // Its bytes were on the disk before it took the name.
    expansion->Close();
    outcome.installed = true;
    return outcome;
  }
  if (!reason.empty()) platform.toolkit.MsgBox("'" + target + "' " + reason, kStyle, "Error");
  if (expansion && expansion->Discard() != SystemError::kSuccess) {
    platform.toolkit.MsgBox(
        "The incomplete file '" + newFile + "' could not be removed. You can delete it yourself.",
        kStyle, "Error");
  }
  return outcome;
}

}  // namespace payload
