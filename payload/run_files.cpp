#include "payload/run_files.h"

#include "product/pelmora.h"

namespace payload {

namespace {

constexpr char kFolderPrefix[] = "PLMTMP";

namespace SystemError = platform::SystemError;

}  // namespace

// Nothing is removed here: the program ends without unwinding, and a run that goes on to its
// end removes its folder itself.
RunFolder::~RunFolder() = default;

int RunFolder::Make(const std::string& parent) {
  int error = SystemError::kSuccess;
  path_ = files_.MakeOwnFolder(parent, kFolderPrefix, error);
  return error;
}

platform::FileChannel* RunFolder::Create(const std::string& name, int& error) {
  error = path_.empty() ? SystemError::kPathNotFound : SystemError::kTooManyOpenFiles;
  if (path_.empty() || count_ == made_.size()) return nullptr;
  made_[count_] = files_.Open(path_ + "\\" + name, platform::ChannelMode::kCreateNew, error);
  return made_[count_] ? made_[count_++].get() : nullptr;
}

int RunFolder::Remove() {
  if (path_.empty()) return SystemError::kSuccess;
  int firstError = SystemError::kSuccess;
  const auto note = [&firstError](int error) {
    if (firstError == SystemError::kSuccess) firstError = error;
  };
  for (; count_ > 0; --count_) {
    note(made_[count_ - 1]->Discard());
    made_[count_ - 1].reset();
  }
  const int removal = files_.RmDir(path_);
  note(removal);
  if (removal == SystemError::kSuccess) path_.clear();
  return firstError;
}

std::string NewFileFor(const std::string& installed) { return installed + product::kNewFileSuffix; }

// A leftover is never removed by its name: some systems (Wine) delete what a link leads to
// through the link's name without showing it as one. A new file made under a name of its own
// takes the leftover's place instead, which replaces the name itself.
std::unique_ptr<platform::FileChannel> CreateNewFile(platform::FileSystem& files,
                                                     const std::string& installed, int& error,
                                                     std::string& leftBehind) {
  const std::string path = NewFileFor(installed);
  if (files.GetAttributes(path) == platform::Attribute::kNoEntry)
    return files.Open(path, platform::ChannelMode::kCreateNew, error);
  if (files.IsLink(path)) {
    error = SystemError::kStoppedOnLink;
    return nullptr;
  }
  std::unique_ptr<platform::FileChannel> channel;
  std::string spare = path + '0';
  while (!channel && spare.back() < '9') {
    ++spare.back();
    channel = files.Open(spare, platform::ChannelMode::kCreateNew, error);
  }
  if (!channel) return nullptr;
  error = channel->MoveTo(path);
  if (error == SystemError::kSuccess) return channel;
  if (channel->Discard() != SystemError::kSuccess) leftBehind = spare;
  return nullptr;
}

}  // namespace payload
