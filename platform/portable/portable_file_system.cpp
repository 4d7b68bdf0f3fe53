#include "platform/portable/portable_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

// Windows wildcards: "*" any run, "?" one character; "*.*" matches every name.
bool MatchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") pattern = "*";
  std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || EqualsIgnoringCase(pattern.substr(p, 1), name.substr(n, 1)))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
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
  PortableChannel(PortableFileSystem& files, int fd, std::string key, ChannelMode mode)
      : files_(files), fd_(fd), key_(std::move(key)), mode_(mode) {}
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

  bool Write(const std::uint8_t* data, std::size_t count) override {
    if (fd_ < 0 || files_.faults_.Check(FaultPoint::kWrite) != 0) return false;
    while (count > 0) {
      const ssize_t put = write(fd_, data, count);
      if (put <= 0) return false;
      data += put;
      count -= static_cast<std::size_t>(put);
    }
    return true;
  }

  bool Close() override {
    if (fd_ < 0) return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    files_.Released(key_, mode_);
    return closed && files_.faults_.Check(FaultPoint::kClose) == 0;
  }

 private:
  PortableFileSystem& files_;
  int fd_;
  std::string key_;
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
  return SystemError::kSuccess;
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
  return SystemError::kSuccess;
}

int PortableFileSystem::Kill(const std::string& pattern) {
  int error = faults_.Check(FaultPoint::kKill);
  if (error != 0) return error;
  const auto cut = pattern.find_last_of("\\/");
  if (cut == std::string::npos) return SystemError::kPathNotFound;
  const std::string folder = pattern.substr(0, cut + 1);
  const std::string names = pattern.substr(cut + 1);
  const auto resolved = Resolve(folder, error);
  if (!resolved) return error;
  if (!IsDirectory(resolved->host)) return SystemError::kPathNotFound;

  int firstError = SystemError::kSuccess;
  bool matched = false;
  std::error_code failed;
  std::vector<fs::path> victims;
  for (const auto& entry : fs::directory_iterator(resolved->host, failed)) {
    if (entry.is_regular_file() && MatchesPattern(entry.path().filename().string(), names)) {
      victims.push_back(entry.path());
    }
  }
  for (const fs::path& victim : victims) {
    matched = true;
    const std::string key = Lower(resolved->key + (resolved->key.back() == '\\' ? "" : "\\") +
                                  victim.filename().string());
    int result = faults_.Check(FaultPoint::kDeleteFile);
    if (result == 0 && (readers_.count(key) != 0 || writers_.count(key) != 0)) {
      result = SystemError::kSharingViolation;
    }
    if (result == 0 && (ExtraAttributes(key) & Attribute::kReadOnly) != 0) {
      result = SystemError::kAccessDenied;
    }
    if (result == 0 && !fs::remove(victim, failed)) result = SystemErrorOf(failed.value());
    if (result != 0 && firstError == 0) firstError = result;
  }
  return matched ? firstError : SystemError::kFileNotFound;
}

int PortableFileSystem::Rename(const std::string& from, const std::string& to) {
  int error = faults_.Check(FaultPoint::kRename);
  if (error != 0) return error;
  const auto source = Resolve(from, error);
  if (!source) return error;
  const auto target = Resolve(to, error);
  if (!target) return error;
  std::error_code failed;
  if (!fs::exists(source->host, failed)) return SystemError::kFileNotFound;
  if (!IsDirectory(target->host.parent_path())) return SystemError::kPathNotFound;
  for (const std::string& key : {source->key, target->key}) {
    if (readers_.count(key) != 0 || writers_.count(key) != 0) return SystemError::kSharingViolation;
  }
  if (fs::exists(target->host, failed) &&
      (IsDirectory(target->host) || (ExtraAttributes(target->key) & Attribute::kReadOnly) != 0)) {
    return SystemError::kAccessDenied;
  }
  fs::rename(source->host, target->host, failed);
  if (failed) return SystemErrorOf(failed.value());
  extraAttributes_.erase(target->key);
  if (const auto moved = extraAttributes_.find(source->key); moved != extraAttributes_.end()) {
    extraAttributes_[target->key] = moved->second;
    extraAttributes_.erase(moved);
  }
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
  if (exists && IsDirectory(resolved->host)) {
    error = SystemError::kAccessDenied;
    return nullptr;
  }
  const bool lockedByOthers =
      writers_.count(resolved->key) != 0 ||
      (mode == ChannelMode::kWriteLocked && readers_.count(resolved->key) != 0);
  if (lockedByOthers) {
    error = SystemError::kSharingViolation;
    return nullptr;
  }
  if (mode == ChannelMode::kWriteLocked &&
      (ExtraAttributes(resolved->key) & Attribute::kReadOnly) != 0) {
    error = SystemError::kAccessDenied;
    return nullptr;
  }
  const int flags = mode == ChannelMode::kRead ? O_RDONLY : (O_WRONLY | O_CREAT | O_TRUNC);
  const int fd = ::open(resolved->host.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = SystemErrorOf(errno);
    return nullptr;
  }
  if (mode == ChannelMode::kRead) {
    ++readers_[resolved->key];
  } else {
    writers_.insert(resolved->key);
  }
  error = SystemError::kSuccess;
  return std::make_unique<PortableChannel>(*this, fd, resolved->key, mode);
}

void PortableFileSystem::Released(const std::string& key, ChannelMode mode) {
  if (mode == ChannelMode::kWriteLocked) {
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

}  // namespace platform::portable
