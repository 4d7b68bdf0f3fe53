#include "tools/common/host_files.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace tools {

namespace fs = std::filesystem;

bool ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  FileSource source(file);
  bytes.clear();
  std::uint8_t chunk[64 * 1024];
  std::ptrdiff_t count = 0;
  while ((count = source.Read(chunk, sizeof chunk)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + count);
  std::fclose(file);
  return count == 0;
}

bool WriteWholeFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  OutputFile output(path);
  return output.IsOpen() && output.Write(bytes.data(), bytes.size()) && output.Commit();
}

OutputFile::OutputFile(fs::path path) : path_(std::move(path)) {
  temporary_ = path_;
  temporary_ += ".partial-" + std::to_string(getpid());
  file_ = std::fopen(temporary_.c_str(), "wb");
}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Write(const std::uint8_t* data, std::size_t count) {
  return file_ != nullptr && (count == 0 || std::fwrite(data, 1, count, file_) == count);
}

bool OutputFile::Commit() {
  if (file_ == nullptr) return false;
  const bool written = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  std::error_code failed;
  if (written && closed) fs::rename(temporary_, path_, failed);
  if (!written || !closed || failed) {
    fs::remove(temporary_, failed);
    return false;
  }
  return true;
}

void OutputFile::Discard() {
  if (file_ == nullptr) return;
  std::fclose(file_);
  file_ = nullptr;
  std::error_code ignored;
  fs::remove(temporary_, ignored);
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
