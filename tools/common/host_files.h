#pragma once
// Files on the host, for the tools: whole-file reads, byte streams over files and memory,
// and output that appears under its name only once it is complete.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

#include "payload/byte_stream.h"

namespace tools {

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

// Writes `bytes` as the whole file at `path` (through an OutputFile); false on failure.
bool WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// A file being written. Its bytes go to a temporary name beside it; Commit renames it into
// place. A file that is never committed (a failure, an exception) is removed, so no partial
// output is ever left behind.
class OutputFile : public payload::ByteSink {
 public:
  explicit OutputFile(std::filesystem::path path);
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  bool Write(const std::uint8_t* data, std::size_t count) override;
  // Flushes, closes and renames; false (and nothing left behind) on failure.
  bool Commit();

 private:
  void Discard();

  std::filesystem::path path_;
  std::filesystem::path temporary_;
  std::FILE* file_ = nullptr;
};

// Reads an open host file.
class FileSource : public payload::ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t count) override;

 private:
  std::FILE* file_;
};

// Reads bytes in memory.
class MemorySource : public payload::ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t count) override;

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// Collects bytes in memory.
class MemorySink : public payload::ByteSink {
 public:
  bool Write(const std::uint8_t* data, std::size_t count) override;
  std::vector<std::uint8_t> bytes;
};

}  // namespace tools
