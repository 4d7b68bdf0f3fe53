#include "platform/portable/portable_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <vector>

#include "platform/text/text.h"

namespace platform::portable {

namespace fs = std::filesystem;

namespace {

constexpr int kFilenameTooLong = 206;  // ERROR_FILENAME_EXCED_RANGE
constexpr int kNotADirectory = 267;    // ERROR_DIRECTORY
constexpr std::size_t kMaxPath = 259;  // characters, without the terminating NUL

int SystemErrorOf(int error) {
  switch (error) {
    case ENOENT:
      return SystemError::kFileNotFound;
    case ENOTDIR:
      return SystemError::kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return SystemError::kAccessDenied;
    case EEXIST:
      return SystemError::kAlreadyExists;
    case ENOTEMPTY:
      return SystemError::kDirNotEmpty;
    case ENOSPC:
      return SystemError::kDiskFull;
    case EROFS:
      return SystemError::kWriteProtect;
    case EMFILE:
    case ENFILE:
      return SystemError::kTooManyOpenFiles;
    case ENOMEM:
      return SystemError::kNotEnoughMemory;
    case ENAMETOOLONG:
      return kFilenameTooLong;
    default:
      return SystemError::kAccessDenied;
  }
}

std::string Lower(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

char DriveLetterOf(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return 0;
  const char letter = Lower(path.substr(0, 1))[0];
  return (letter >= 'a' && letter <= 'z') ? letter : 0;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsInvalidNameCharacter(char c) {
  return static_cast<unsigned char>(c) < 32 ||
         std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
}

// Splits the part after "X:" into components, folding "." and "..", and trimming the
// trailing dots and blanks that Windows drops from names.
std::vector<std::string> Components(std::string_view rest) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = start;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string part(rest.substr(start, end - start));
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (part != ".") {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
      if (!part.empty()) parts.push_back(part);
    }
    start = end + 1;
  }
  return parts;
}

bool IsShortNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

// Upper-case ASCII letters and digits of `text`, at most `count` of them.
std::string ShortNamePart(std::string_view text, std::size_t count) {
  std::string part;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (IsShortNameCharacter(c) && part.size() < count) part += c;
  }
  return part;
}

bool IsDirectory(const fs::path& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

}  // namespace

// A raw byte channel over a host file descriptor.
class PortableChannel : public FileChannel {
 public:
  PortableChannel(PortableFileSystem& files, int fd, std::string key, fs::path host,
                  ChannelMode mode)
      : files_(files), fd_(fd), key_(std::move(key)), host_(std::move(host)), mode_(mode) {}
  ~PortableChannel() override { Close(); }

  std::int64_t Length() override {
    struct stat info {};
    if (fd_ < 0 || files_.faults_.Check(FaultPoint::kLength) != 0 || fstat(fd_, &info) != 0)
      return -1;
    return info.st_size;
  }

  bool ReadAt(std::int64_t offset, std::uint8_t* buffer, std::size_t count) override {
    if (fd_ < 0 || offset < 0 || files_.faults_.Check(FaultPoint::kRead) != 0) return false;
    while (count > 0) {
      const ssize_t got = pread(fd_, buffer, count, static_cast<off_t>(offset));
      if (got <= 0) return false;
      buffer += got;
      offset += got;
      count -= static_cast<std::size_t>(got);
    }
    return true;
  }

  // A torn or short write puts down the first half of the bytes: a torn one then fails, a short
  // one reports success all the same.
  bool Write(const std::uint8_t* data, std::size_t count) override {
    if (fd_ < 0) return false;
    switch (files_.faults_.CheckWrite()) {
      case WriteOutcome::kWhole:
        return WriteAll(data, count);
      case WriteOutcome::kFails:
        return false;
      case WriteOutcome::kTorn:
        WriteAll(data, count / 2);
        return false;
      case WriteOutcome::kShort:
        return WriteAll(data, count / 2);
    }
    return false;
  }

  // Only a new file may take another name, as only it is opened with the right to.
  int MoveTo(const std::string& path) override {
    if (fd_ < 0 || mode_ != ChannelMode::kCreateNew) return SystemError::kAccessDenied;
    if (const int fault = files_.faults_.Check(FaultPoint::kRename); fault != 0) return fault;
    if (fsync(fd_) != 0) return SystemErrorOf(errno);
    return files_.Move(key_, host_, path, key_, host_);
  }

  // The entry that the channel made goes: its name may since lead elsewhere only if the
  // channel itself moved it, which it follows.
  int Discard() override {
    if (fd_ < 0) return SystemError::kAccessDenied;
    int error = files_.faults_.Check(FaultPoint::kDeleteFile);
    if (error == 0 && mode_ != ChannelMode::kCreateNew) error = SystemError::kAccessDenied;
    std::error_code failed;
    if (error == 0 && !fs::remove(host_, failed)) error = SystemErrorOf(failed.value());
    Close();
    return error;
  }

  bool Close() override {
    if (fd_ < 0) return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    files_.Released(key_, mode_);
    return closed && files_.faults_.Check(FaultPoint::kClose) == 0;
  }

 private:
  bool WriteAll(const std::uint8_t* data, std::size_t count) {
    while (count > 0) {
      const ssize_t put = write(fd_, data, count);
      if (put <= 0) return false;
      data += put;
      count -= static_cast<std::size_t>(put);
    }
    return true;
  }

  PortableFileSystem& files_;
  int fd_;
  std::string key_;
  fs::path host_;
  ChannelMode mode_;
};

bool InAnsiCodePage(std::string_view text) {
  // A lead byte of 0xC4 or above starts a code point beyond U+00FF.
  return std::none_of(text.begin(), text.end(),
                      [](char c) { return static_cast<unsigned char>(c) >= 0xC4; });
}

std::string ShortName(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  const std::string_view base = name.substr(0, dot);
  const std::string_view extension =
      dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  const std::string shortBase = ShortNamePart(base, 8);
  const std::string shortExtension = ShortNamePart(extension, 3);
  const bool isShort = shortBase.size() == base.size() &&
                       shortExtension.size() == extension.size() && name.find('.') == dot &&
                       !base.empty();
  std::string alias = isShort ? shortBase : ShortNamePart(base, 6) + "~1";
  if (!shortExtension.empty()) alias += "." + shortExtension;
  return alias;
}

PortableFileSystem::~PortableFileSystem() = default;

void PortableFileSystem::MapDrive(char letter, DriveSetup drive) {
  drives_[Lower(std::string(1, letter))[0]] = std::move(drive);
}

DriveSetup& PortableFileSystem::Drive(char letter) {
  return drives_.at(Lower(std::string(1, letter))[0]);
}

const DriveSetup* PortableFileSystem::FindDrive(char letter) const {
  const auto found = drives_.find(letter);
  return found == drives_.end() ? nullptr : &found->second;
}

void PortableFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  int error = 0;
  if (const auto resolved = Resolve(path, error)) extraAttributes_[resolved->key] = attributes;
}

void PortableFileSystem::HoldElsewhere(const std::string& path, std::string program) {
  int error = 0;
  if (const auto resolved = Resolve(path, error))
    heldElsewhere_[resolved->key] = std::move(program);
}

void PortableFileSystem::ReleaseElsewhere(const std::string& path) {
  int error = 0;
  if (const auto resolved = Resolve(path, error)) heldElsewhere_.erase(resolved->key);
}

std::uint32_t PortableFileSystem::ExtraAttributes(const std::string& key) const {
  const auto found = extraAttributes_.find(key);
  return found == extraAttributes_.end() ? 0 : found->second;
}

std::optional<PortableFileSystem::Resolved> PortableFileSystem::Resolve(const std::string& path,
                                                                        int& error) const {
  const char letter = DriveLetterOf(path);
  const DriveSetup* drive = letter != 0 ? FindDrive(letter) : nullptr;
  if (drive == nullptr) {
    error = SystemError::kPathNotFound;
    return std::nullopt;
  }
  if (!drive->ready) {
    error = SystemError::kNotReady;
    return std::nullopt;
  }
  std::string rest = path.substr(2);
  if (rest.empty() || !IsSeparator(rest.front())) rest = drive->currentFolder + "\\" + rest;

  Resolved resolved{drive->hostRoot, std::string(1, letter) + ":", letter};
  bool onDisk = true;  // while the folders so far exist, match names as the disk spells them
  for (const std::string& part : Components(rest)) {
    if (std::any_of(part.begin(), part.end(), IsInvalidNameCharacter)) {
      error = SystemError::kInvalidName;
      return std::nullopt;
    }
    std::string name = part;
    if (onDisk && IsDirectory(resolved.host)) {
      std::error_code ignored;
      bool found = false;
      for (const auto& entry : fs::directory_iterator(resolved.host, ignored)) {
        const std::string candidate = entry.path().filename().string();
        if (EqualsIgnoringCase(candidate, part) || EqualsIgnoringCase(ShortName(candidate), part)) {
          name = candidate;
          found = true;
          break;
        }
      }
      onDisk = found;
    }
    resolved.host /= name;
    resolved.key += "\\" + Lower(part);
  }
  if (resolved.key.size() == 2) resolved.key += "\\";
  if (resolved.key.size() > kMaxPath) {
    error = kFilenameTooLong;
    return std::nullopt;
  }
  return resolved;
}

bool PortableFileSystem::EntryExists(const std::string& path) const {
  const auto host = HostPath(path);
  std::error_code ignored;
  return host && fs::exists(*host, ignored);
}

std::optional<std::filesystem::path> PortableFileSystem::HostPath(const std::string& path) const {
  int error = 0;
  const auto resolved = Resolve(path, error);
  if (!resolved) return std::nullopt;
  return resolved->host;
}

std::uint32_t PortableFileSystem::GetAttributes(const std::string& path) {
  int error = faults_.Check(FaultPoint::kGetAttributes);
  if (error != 0) return Attribute::kNoEntry;
  const auto resolved = Resolve(path, error);
  if (!resolved) return Attribute::kNoEntry;
  std::error_code failed;
  const auto status = fs::status(resolved->host, failed);
  if (failed || !fs::exists(status)) return Attribute::kNoEntry;
  const std::uint32_t kind = fs::is_directory(status) ? Attribute::kDirectory : Attribute::kArchive;
  return kind | ExtraAttributes(resolved->key);
}

int PortableFileSystem::MkDir(const std::string& path) {
  int error = faults_.Check(FaultPoint::kMkDir);
  if (error != 0) return error;
  const auto resolved = Resolve(path, error);
  if (!resolved) return error;
  std::error_code failed;
  if (fs::exists(resolved->host, failed)) return SystemError::kAlreadyExists;
  if (!IsDirectory(resolved->host.parent_path())) return SystemError::kPathNotFound;
  if ((ExtraAttributes(resolved->key) & Attribute::kReadOnly) != 0)
    return SystemError::kAccessDenied;
  if (!fs::create_directory(resolved->host, failed)) return SystemErrorOf(failed.value());
  if (elevated_) folderAccess_[resolved->key] = FolderAccess::kProgramFiles;
  return SystemError::kSuccess;
}

// The names come from a generator seeded by the host's random device: no test can know one.
std::string PortableFileSystem::MakeOwnFolder(const std::string& parent, const std::string& prefix,
                                              int& error) {
  static std::mt19937_64 generator{std::random_device{}()};
  error = faults_.Check(FaultPoint::kMkDir);
  if (error != 0) return {};
  for (;;) {
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(generator()));
    const std::string path = parent + "\\" + prefix + "-" + name;
    const auto resolved = Resolve(path, error);
    if (!resolved) return {};
    std::error_code failed;
    if (!IsDirectory(resolved->host.parent_path())) {
      error = SystemError::kPathNotFound;
      return {};
    }
    if (fs::create_directory(resolved->host, failed)) {
      folderAccess_[resolved->key] =
          elevated_ ? FolderAccess::kAdministratorsOnly : FolderAccess::kInherited;
      error = SystemError::kSuccess;
      return path;
    }
    if (failed) {
      error = SystemErrorOf(failed.value());
      return {};
    }
  }
}

FolderAccess PortableFileSystem::AccessOf(const std::string& path) const {
  int error = 0;
  const auto resolved = Resolve(path, error);
  const auto found = resolved ? folderAccess_.find(resolved->key) : folderAccess_.end();
  return found == folderAccess_.end() ? FolderAccess::kInherited : found->second;
}

int PortableFileSystem::RmDir(const std::string& path) {
  int error = faults_.Check(FaultPoint::kRmDir);
  if (error != 0) return error;
  const auto resolved = Resolve(path, error);
  if (!resolved) return error;
  std::error_code failed;
  if (!fs::exists(resolved->host, failed)) return SystemError::kFileNotFound;
  if (!IsDirectory(resolved->host)) return kNotADirectory;
  if (!fs::is_empty(resolved->host, failed)) return SystemError::kDirNotEmpty;
  if (!fs::remove(resolved->host, failed)) return SystemErrorOf(failed.value());
  folderAccess_.erase(resolved->key);
  return SystemError::kSuccess;
}

bool PortableFileSystem::IsOpen(const std::string& key) const {
  return readers_.count(key) != 0 || writers_.count(key) != 0 || heldElsewhere_.count(key) != 0;
}

bool PortableFileSystem::IsLink(const std::string& path) {
  int error = faults_.Check(FaultPoint::kIsLink);
  if (error != 0) return false;
  const auto resolved = Resolve(path, error);
  if (!resolved) return false;
  std::error_code failed;
  const auto entry = fs::symlink_status(resolved->host, failed);
  if (fs::is_symlink(entry)) return true;
  return fs::is_regular_file(entry) && fs::hard_link_count(resolved->host, failed) > 1;
}

std::int64_t PortableFileSystem::FileLength(const std::string& path) {
  int error = faults_.Check(FaultPoint::kFileLength);
  const auto resolved = error == 0 ? Resolve(path, error) : std::nullopt;
  if (!resolved) return -1;
  std::error_code failed;
  const std::uintmax_t length = fs::file_size(resolved->host, failed);
  return failed ? -1 : static_cast<std::int64_t>(length);
}

int PortableFileSystem::Move(const std::string& fromKey, const fs::path& fromHost,
                             const std::string& to, std::string& toKey, fs::path& toHost) {
  int error = 0;
  const auto target = Resolve(to, error);
  if (!target) return error;
  if (!IsDirectory(target->host.parent_path())) return SystemError::kPathNotFound;
  if (target->key != fromKey && IsOpen(target->key)) return SystemError::kSharingViolation;
  std::error_code failed;
  const auto entry = fs::symlink_status(target->host, failed);
  if (fs::is_directory(entry) || (fs::exists(entry) &&
                                  (ExtraAttributes(target->key) & Attribute::kReadOnly) != 0)) {
    return SystemError::kAccessDenied;
  }
  fs::rename(fromHost, target->host, failed);
  if (failed) return SystemErrorOf(failed.value());
  extraAttributes_.erase(target->key);
  writers_.erase(fromKey);
  writers_.insert(target->key);
  toKey = target->key;
  toHost = target->host;
  return SystemError::kSuccess;
}

std::unique_ptr<FileChannel> PortableFileSystem::Open(const std::string& path, ChannelMode mode,
                                                      int& error) {
  error = faults_.Check(FaultPoint::kOpen);
  if (error != 0) return nullptr;
  const auto resolved = Resolve(path, error);
  if (!resolved) return nullptr;
  std::error_code failed;
  const bool exists = fs::exists(resolved->host, failed);
  const bool parentExists = IsDirectory(resolved->host.parent_path());
  if (!exists && mode == ChannelMode::kRead) {
    error = parentExists ? SystemError::kFileNotFound : SystemError::kPathNotFound;
    return nullptr;
  }
  if (!parentExists) {
    error = SystemError::kPathNotFound;
    return nullptr;
  }
  if (exists && IsDirectory(resolved->host) && mode == ChannelMode::kRead) {
    error = SystemError::kAccessDenied;
    return nullptr;
  }
  if (writers_.count(resolved->key) != 0) {
    error = SystemError::kSharingViolation;
    return nullptr;
  }
  // A new file is made, never opened: whatever has the name already, a link too, is in the way.
  const int flags =
      mode == ChannelMode::kRead ? O_RDONLY : (O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW);
  const int fd = ::open(resolved->host.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = mode == ChannelMode::kCreateNew && errno == EEXIST ? SystemError::kFileExists
                                                               : SystemErrorOf(errno);
    return nullptr;
  }
  if (mode == ChannelMode::kRead) {
    ++readers_[resolved->key];
  } else {
    writers_.insert(resolved->key);
  }
  error = SystemError::kSuccess;
  return std::make_unique<PortableChannel>(*this, fd, resolved->key, resolved->host, mode);
}

// Only a holder that a test named is known: the program's own channels are not asked about.
std::string PortableFileSystem::FileHolder(const std::string& path) {
  int error = faults_.Check(FaultPoint::kFileHolder);
  const auto resolved = error == 0 ? Resolve(path, error) : std::nullopt;
  const auto found = resolved ? heldElsewhere_.find(resolved->key) : heldElsewhere_.end();
  return found == heldElsewhere_.end() ? std::string() : found->second;
}

void PortableFileSystem::Released(const std::string& key, ChannelMode mode) {
  if (mode == ChannelMode::kCreateNew) {
    writers_.erase(key);
  } else if (--readers_[key] <= 0) {
    readers_.erase(key);
  }
}

std::string PortableFileSystem::TempPath() {
  if (faults_.Check(FaultPoint::kTempPath) != 0) return {};
  return tempPath_;
}

std::uint32_t PortableFileSystem::DriveType(const std::string& root) {
  if (faults_.Check(FaultPoint::kDriveType) != 0) return DriveKind::kUnknown;
  const DriveSetup* drive = FindDrive(DriveLetterOf(root));
  return drive == nullptr ? DriveKind::kNoRootDir : drive->type;
}

bool PortableFileSystem::DiskFreeSpace(const std::string& root, DiskSpace& space) {
  if (faults_.Check(FaultPoint::kDiskFreeSpace) != 0) return false;
  const DriveSetup* drive = FindDrive(DriveLetterOf(root));
  if (drive == nullptr || !drive->ready) return false;
  space = drive->space;
  return true;
}

std::uint32_t PortableFileSystem::LogicalDrives() {
  std::uint32_t mask = 0;
  for (const auto& [letter, drive] : drives_) mask |= 1u << (letter - 'a');
  return mask;
}

std::string PortableFileSystem::VolumeLabel(const std::string& root) {
  const DriveSetup* drive = FindDrive(DriveLetterOf(root));
  return drive == nullptr || !drive->ready ? std::string() : drive->label;
}

std::string PortableFileSystem::FullPath(const std::string& path) {
  const char letter = DriveLetterOf(path);
  if (letter == 0) return {};
  const DriveSetup* drive = FindDrive(letter);
  std::string full = path.substr(0, 2);
  std::string rest = path.substr(2);
  if (rest.empty() || !IsSeparator(rest.front())) {
    // Relative to the drive's current folder, which the system keeps with a capital letter.
    full[0] = static_cast<char>(letter - 'a' + 'A');
    rest = (drive != nullptr ? drive->currentFolder : std::string("\\")) + "\\" + rest;
  }
  for (const std::string& part : Components(rest)) full += "\\" + part;
  if (full.size() == 2) full += "\\";
  return full;
}

std::string PortableFileSystem::AnsiPath(const std::string& path) {
  if (InAnsiCodePage(path)) return path;
  int error = 0;
  const auto resolved = Resolve(path, error);
  std::error_code failed;
  if (!resolved || !fs::exists(resolved->host, failed)) return path;
  // The names as the disk spells them, from the drive down.
  std::string shortPath = path.substr(0, 2);
  fs::path host = Drive(resolved->drive).hostRoot;
  for (const auto& part : fs::relative(resolved->host, host))
    shortPath += "\\" + ShortName(part.string());
  return shortPath;
}

bool PortableFileSystem::ListFolders(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  int error = faults_.Check(FaultPoint::kListFolders);
  if (error != 0) return false;
  const auto resolved = Resolve(path, error);
  if (!resolved || !IsDirectory(resolved->host)) return false;
  std::error_code failed;
  for (const auto& entry : fs::directory_iterator(resolved->host, failed)) {
    if (!entry.is_directory()) continue;
    const std::string name = entry.path().filename().string();
    const std::string key =
        resolved->key + (resolved->key.back() == '\\' ? "" : "\\") + Lower(name);
    if ((ExtraAttributes(key) & (Attribute::kHidden | Attribute::kSystem)) == 0)
      names.push_back(name);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
  return !failed;
}

std::string PortableFileSystem::CommonProgramsFolder() { return commonPrograms_; }

// As the shell saves a link: over an earlier file of the name, and through a link there.
int PortableFileSystem::MakeShellLink(const std::string& path, const std::string& target) {
  int error = faults_.Check(FaultPoint::kMakeShellLink);
  if (error != 0) return error;
  const auto resolved = Resolve(path, error);
  if (!resolved) return error;
  if (!IsDirectory(resolved->host.parent_path())) return SystemError::kPathNotFound;
  if (IsDirectory(resolved->host) || (ExtraAttributes(resolved->key) & Attribute::kReadOnly) != 0)
    return SystemError::kAccessDenied;
  if (IsOpen(resolved->key)) return SystemError::kSharingViolation;
  const int fd = ::open(resolved->host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return SystemErrorOf(errno);
  const bool written = ::write(fd, target.data(), target.size()) ==
                       static_cast<ssize_t>(target.size());
  return ::close(fd) == 0 && written ? SystemError::kSuccess : SystemError::kDiskFull;
}

}  // namespace platform::portable
