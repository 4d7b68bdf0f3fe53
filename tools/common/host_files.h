#pragma once
// Files on the host, for the tools: whole-file reads of a bounded size, byte streams over
// files and memory, and outputs that never replace an input and never replace a file
// with a partial one.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "codec/byte_stream.h"

namespace tools {

// The most the tools read of one input. They hold an input whole in memory, and the
// compressor some 14 bytes more for each of its bytes, so a larger one is refused rather
// than left to exhaust the memory.
constexpr std::uint64_t kMaxInputSize = std::uint64_t{128} << 20;

enum class ReadResult {
  kRead,
  kUnreadable,  // missing, a folder, or a read failed
  kTooLarge,    // longer than the limit; reading stopped there
};

// Reads a whole file of at most `limit` bytes. Memory stays within the limit whatever the
// file is: a device or a pipe that never ends is read only up to it.
ReadResult ReadInput(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                     std::uint64_t limit);
// One line on why a read failed: "cannot read 'X'" or "'X' is larger than N MiB".
std::string ReadFailure(ReadResult result, const std::filesystem::path& path, std::uint64_t limit);

// Reads a whole file of at most kMaxInputSize bytes; false when it cannot.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

// Writes `bytes` as the whole file at `path` (through an OutputFile); false on failure.
bool WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// True when `output` names a file that exists and is one of `inputs`: the same file by
// device and inode, whatever the spelling (a hard link, a symbolic link, "..").
bool NamesAnInput(const std::filesystem::path& output,
                  std::span<const std::filesystem::path> inputs);

// The path in quotes, as the tools' messages show it.
std::string Quoted(const std::filesystem::path& path);

// A file being written. A regular file, or one that does not exist yet, is written under a
// temporary name beside it, and Commit renames that into place: the file appears only
// whole, and until then an earlier file of the name stays as it was. A symbolic link is
// followed, so the file it names is replaced and the link stays. A device, a pipe or a
// socket is written directly; a write error there is a failure like any other.
class OutputFile : public codec::ByteSink {
 public:
  explicit OutputFile(std::filesystem::path path);
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  bool Write(const std::uint8_t* data, std::size_t count) override;
  // Flushes and closes the file; false when its bytes could not all be written. Nothing is
  // in place yet: several files can all be closed before any of them is committed.
  bool Close();
  // Closes the file if it is still open and puts it in place; false on failure. A file
  // that is never committed leaves nothing behind: its temporary file goes with it.
  bool Commit();

 private:
  std::filesystem::path target_;     // the file the bytes are for, symbolic links followed
  std::filesystem::path temporary_;  // empty when the target is written directly
  std::FILE* file_ = nullptr;
  bool closed_ = false;  // closed with every byte written
  bool committed_ = false;
};

// Reads an open host file.
class FileSource : public codec::ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t count) override;

 private:
  std::FILE* file_;
};

// Reads bytes in memory.
class MemorySource : public codec::ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t count) override;

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// Collects bytes in memory.
class MemorySink : public codec::ByteSink {
 public:
  bool Write(const std::uint8_t* data, std::size_t count) override;
  std::vector<std::uint8_t> bytes;
};

}  // namespace tools
