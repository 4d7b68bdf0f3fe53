#include "tools/common/host_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace tools {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The file that a path names once the symbolic links in its last part are followed (a link
// to a link too); the path itself when it is no link.
fs::path FollowLinks(fs::path path) {
  constexpr int kMostLinks = 40;  // as the system follows them
  std::error_code failed;
  for (int link = 0; link < kMostLinks && fs::is_symlink(path, failed); ++link) {
    const fs::path target = fs::read_symlink(path, failed);
    if (failed) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

}  // namespace

ReadResult ReadInput(const fs::path& path, std::vector<std::uint8_t>& bytes, std::uint64_t limit) {
  bytes.clear();
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return ReadResult::kUnreadable;
  // A regular file tells its length: one that is too long is refused unread.
  struct stat info {};
  if (fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode)) {
    if (static_cast<std::uint64_t>(info.st_size) > limit) return ReadResult::kTooLarge;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  }
  FileSource source(file.get());
  std::uint8_t chunk[64 * 1024];
  std::ptrdiff_t count = 0;
  while ((count = source.Read(chunk, sizeof chunk)) > 0) {
    if (bytes.size() + static_cast<std::size_t>(count) > limit) {
      bytes.clear();
      return ReadResult::kTooLarge;
    }
    bytes.insert(bytes.end(), chunk, chunk + count);
  }
  return count == 0 ? ReadResult::kRead : ReadResult::kUnreadable;
}

std::string ReadFailure(ReadResult result, const fs::path& path, std::uint64_t limit) {
  switch (result) {
    case ReadResult::kRead:
      break;
    case ReadResult::kUnreadable:
      return "cannot read " + Quoted(path);
    case ReadResult::kTooLarge:
      return Quoted(path) + " is larger than " + std::to_string(limit >> 20) + " MiB";
  }
  return {};
}

bool ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
  return ReadInput(path, bytes, kMaxInputSize) == ReadResult::kRead;
}

bool WriteWholeFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  OutputFile output(path);
  return output.IsOpen() && output.Write(bytes.data(), bytes.size()) && output.Commit();
}

bool NamesAnInput(const fs::path& output, std::span<const fs::path> inputs) {
  return std::any_of(inputs.begin(), inputs.end(), [&](const fs::path& input) {
    std::error_code missing;
    return fs::equivalent(output, input, missing);
  });
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

OutputFile::OutputFile(fs::path path) : target_(FollowLinks(std::move(path))) {
  std::error_code unknown;
  const fs::file_status status = fs::status(target_, unknown);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    // A device, a pipe or a socket takes the bytes itself (a folder cannot be opened).
    file_ = std::fopen(target_.c_str(), "wb");
    return;
  }
  temporary_ = target_;
  temporary_ += ".partial-" + std::to_string(getpid());
  file_ = std::fopen(temporary_.c_str(), "wb");
}

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
  std::error_code ignored;
  if (!committed_ && !temporary_.empty()) fs::remove(temporary_, ignored);
}

bool OutputFile::Write(const std::uint8_t* data, std::size_t count) {
  return file_ != nullptr && (count == 0 || std::fwrite(data, 1, count, file_) == count);
}

bool OutputFile::Close() {
  if (file_ == nullptr) return closed_;
  const bool written = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  closed_ = std::fclose(file_) == 0 && written;
  file_ = nullptr;
  return closed_;
}

bool OutputFile::Commit() {
  if (!Close()) return false;
  std::error_code failed;
  if (!temporary_.empty()) fs::rename(temporary_, target_, failed);
  committed_ = !failed;
  return committed_;
}

std::ptrdiff_t FileSource::Read(std::uint8_t* buffer, std::size_t count) {
  const std::size_t got = std::fread(buffer, 1, count, file_);
  if (got == 0 && std::ferror(file_)) return -1;
  return static_cast<std::ptrdiff_t>(got);
}

std::ptrdiff_t MemorySource::Read(std::uint8_t* buffer, std::size_t count) {
  const std::size_t got = std::min(count, bytes_.size() - position_);
  if (got == 0) return 0;
  std::memcpy(buffer, bytes_.data() + position_, got);
  position_ += got;
  return static_cast<std::ptrdiff_t>(got);
}

bool MemorySink::Write(const std::uint8_t* data, std::size_t count) {
  bytes.insert(bytes.end(), data, data + count);
  return true;
}

}  // namespace tools
