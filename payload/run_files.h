#pragma once
// The files that a run makes: its own temporary folder, with the items copied out of the setup
// file, and the new files that the items expand into beside the installed ones. Another
// program may have planted anything under any name beforehand, so every file is made new,
// never opened by a name that exists, and reached only through the channel that made it; the
// clean-up removes exactly the files made here, then the folder.
#include <array>
#include <memory>
#include <string>

#include "platform/services/file_system.h"
#include "setup_file/layout.h"

namespace payload {

class RunFolder {
 public:
  explicit RunFolder(platform::FileSystem& files) : files_(files) {}
  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  // Makes the run's own folder in `parent` (the temporary folder): fresh, with a name that
  // begins with "PLMTMP". Returns 0 or the system's error code.
  int Make(const std::string& parent);
  // The folder's path; empty while it has not been made, and once it is removed.
  const std::string& Path() const { return path_; }

  // Makes the file `name` in the folder, for writing and reading back, and keeps it open until
  // Remove. Null, with the system's error code, when it cannot be made (kTooManyOpenFiles
  // beyond one file for each item).
  platform::FileChannel* Create(const std::string& name, int& error);

  // Deletes the files made here, through their handles, then removes the folder. Returns 0, or
  // the error code of the first step that failed; the rest is still tried.
  int Remove();

 private:
  platform::FileSystem& files_;
  std::string path_;
  // A run makes one file for each item.
  std::array<std::unique_ptr<platform::FileChannel>, setup_file::kItemCount> made_;
  std::size_t count_ = 0;
};

// The new file that an item expands into before it takes the place of `installed`. Its name
// is its own compressed name (an extension that ends in "_").
std::string NewFileFor(const std::string& installed);

// Makes the new file for `installed`, for writing and reading back. One that an interrupted
// run left gives way to it; a link in its place does not, and the result is null with
// SystemError::kStoppedOnLink. Null, with the system's error code, when it cannot be made;
// then `leftBehind` names the spare file made to take the leftover's place when that could
// neither take it nor be removed again.
std::unique_ptr<platform::FileChannel> CreateNewFile(platform::FileSystem& files,
                                                     const std::string& installed, int& error,
                                                     std::string& leftBehind);

}  // namespace payload
