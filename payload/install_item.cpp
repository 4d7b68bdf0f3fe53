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
// Not system-modal: the user is to close another program first.
constexpr int kInUseStyle =
    platform::MsgBoxStyle::kRetryCancel | platform::MsgBoxStyle::kExclamation;
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

// A program holds the installed file open (a running application its own), or it is
// read-only: the user can do something about it, and may try again.
bool InUse(int error) {
  return error == platform::SystemError::kSharingViolation ||
         error == platform::SystemError::kAccessDenied;
}

// Tells the user what became of the installed file `target`: its name, then `what`. Returns
// the button pressed.
int Tell(platform::Toolkit& toolkit, const std::string& target, const std::string& what,
         int style) {
  std::string text = "File '";
  text.append(target).append("' ").append(what);
  return toolkit.MsgBox(text, style, "Error");
}

// What the user is asked about an installed file in use, after its name, naming its holder
// where the system can tell.
std::string InUseQuestion(const std::string& holder) {
  if (holder.empty()) {
    return "is in use or read-only. Close the program that uses it and choose Retry, or choose "
           "Cancel to keep its earlier version.";
  }
  return "is in use by " + holder +
         ". Close it and choose Retry, or choose Cancel to keep its earlier version.";
}

// Gives the new file the installed file's name; while that is in use, as often as the user
// chooses Retry. Returns 0 or the error code of the last attempt.
int TakePlace(platform::Platform& platform, platform::FileChannel& expansion,
              const std::string& target) {
  int moved;
  do {
    moved = expansion.MoveTo(target);
  } while (InUse(moved) && Tell(platform.toolkit, target,
                                InUseQuestion(platform.files.FileHolder(target)),
                                kInUseStyle) == platform::kRetry);
  return moved;
}

}  // namespace

ItemInstallation InstallItem(platform::Platform& platform, platform::FileChannel& item,
                             const std::string& destination, const setup_file::ItemRecord& record,
                             bool showErrors) {
  namespace SystemError = platform::SystemError;
  const std::string target = platform::Trim(destination);
  ItemInstallation outcome;

  int error = 0;
  std::string leftBehind;  // a new file of ours that the user is to remove
  const std::unique_ptr<platform::FileChannel> expansion =
      CreateNewFile(platform.files, target, error, leftBehind);
  // Why the item is not installed, after the installed file's name; null where ExpandFile
  // tells it (or has nothing to tell), and where the user chose Cancel.
  const char* reason = nullptr;
  if (!expansion) {
    if (error == SystemError::kStoppedOnLink) {
      reason = "could not be installed: a link lies beside it!";
    } else if (showErrors) {
      ShowOpenError(platform.toolkit, MapOpenError(error), target);
      outcome.told = true;
    }
  } else if (const std::int32_t expanded = ExpandFile(platform, item, *expansion, showErrors);
             expanded < 0) {
    outcome.destinationFull = expanded == kDestinationFull;
    outcome.told = showErrors && ExpandFileReports(expanded);
  } else if (!HoldsTheItemsBytes(*expansion, record)) {
    reason = "could not be installed: the setup file is damaged!";
  } else if (const int moved = TakePlace(platform, *expansion, target);
             moved != SystemError::kSuccess) {
    if (!InUse(moved)) reason = "could not be replaced!";
  } else {
    // Its bytes were on the disk before it took the name.
    expansion->Close();
    outcome.installed = true;
    return outcome;
  }
  if (reason != nullptr && showErrors) {
    Tell(platform.toolkit, target, reason, kStyle);
    outcome.told = true;
  }
  // A second failure, with a file of its own left behind for the user to remove.
  if (expansion && expansion->Discard() != SystemError::kSuccess) leftBehind = NewFileFor(target);
  if (!leftBehind.empty())
    Tell(platform.toolkit, leftBehind, "could not be removed! You can delete it yourself.", kStyle);
  return outcome;
}

}  // namespace payload
