#include "demo/chm/compile_time.h"

#include <optional>
#include <string_view>

namespace demo {
namespace {

// The ITSF header, version 3.
constexpr std::string_view kItsfSignature = "ITSF";
constexpr std::size_t kHeaderTimeOffset = 0x10;
constexpr std::size_t kDirectoryOffsetField = 0x48;  // header section 1: the directory
constexpr std::size_t kSectionZeroOffsetField = 0x58;
constexpr std::size_t kItsfHeaderSize = 0x60;
// The directory: an ITSP header, then chunks listing the files.
constexpr std::string_view kItspSignature = "ITSP";
constexpr std::size_t kItspHeaderLengthField = 0x08;
constexpr std::size_t kChunkSizeField = 0x10;
constexpr std::size_t kChunkCountField = 0x2C;
constexpr std::string_view kListingSignature = "PMGL";
constexpr std::size_t kListingHeaderSize = 0x14;
constexpr std::size_t kFreeSpaceField = 0x04;
// The #SYSTEM file: a version word, then entries of code, length and data.
constexpr std::string_view kSystemFile = "/#SYSTEM";
constexpr std::uint16_t kSystemTimeCode = 10;

// Bounds-checked reads from the file.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  bool Matches(std::size_t offset, std::string_view text) const {
    if (!Has(offset, text.size())) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (bytes_[offset + i] != static_cast<std::uint8_t>(text[i])) return false;
    }
    return true;
  }

  std::optional<std::uint64_t> Little(std::size_t offset, std::size_t count) const {
    if (!Has(offset, count)) return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = value << 8 | bytes_[offset + i];
    return value;
  }

  // The directory's variable-length numbers: seven bits a byte, most significant first, the
  // top bit set on every byte but the last. Advances `offset` past it.
  std::optional<std::uint64_t> EncodedInt(std::size_t& offset, std::size_t end) const {
    std::uint64_t value = 0;
    for (int bytes = 0; bytes < 9 && offset < end && offset < bytes_.size(); ++bytes) {
      const std::uint8_t byte = bytes_[offset++];
      value = value << 7 | (byte & 0x7F);
      if ((byte & 0x80) == 0) return value;
    }
    return std::nullopt;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

struct FileEntry {
  std::uint64_t section;
  std::uint64_t offset;
  std::uint64_t length;
};

// Finds `name` in the directory listing chunks.
std::optional<FileEntry> FindFile(const Reader& file, std::size_t directory,
                                  std::string_view name) {
  if (!file.Matches(directory, kItspSignature)) return std::nullopt;
  const auto headerLength = file.Little(directory + kItspHeaderLengthField, 4);
  const auto chunkSize = file.Little(directory + kChunkSizeField, 4);
  const auto chunkCount = file.Little(directory + kChunkCountField, 4);
  if (!headerLength || !chunkSize || !chunkCount || *chunkSize < kListingHeaderSize) {
    return std::nullopt;
  }
  for (std::uint64_t chunk = 0; chunk < *chunkCount; ++chunk) {
    const std::uint64_t start = directory + *headerLength + chunk * *chunkSize;
    if (!file.Has(start, *chunkSize)) break;  // the chunks run on to the end of the file
    if (!file.Matches(start, kListingSignature)) continue;  // an index chunk
    const auto freeSpace = file.Little(start + kFreeSpaceField, 4);
    if (!freeSpace || *freeSpace > *chunkSize - kListingHeaderSize) return std::nullopt;
    const std::size_t end = start + *chunkSize - *freeSpace;
    std::size_t at = start + kListingHeaderSize;
    while (at < end) {
      const auto nameLength = file.EncodedInt(at, end);
      if (!nameLength || *nameLength > end - at) return std::nullopt;
      const bool found = *nameLength == name.size() && file.Matches(at, name);
      at += *nameLength;
      const auto section = file.EncodedInt(at, end);
      const auto offset = file.EncodedInt(at, end);
      const auto length = file.EncodedInt(at, end);
      if (!section || !offset || !length) return std::nullopt;
      if (found) return FileEntry{*section, *offset, *length};
    }
  }
  return std::nullopt;
}

// Where the #SYSTEM file holds entry 10, or nothing when it has none.
std::optional<std::size_t> SystemTimeOffset(const Reader& file, std::size_t start,
                                            std::size_t length) {
  std::size_t at = start + 4;  // past the version
  const std::size_t end = start + length;
  while (at + 4 <= end) {
    const auto code = file.Little(at, 2);
    const auto size = file.Little(at + 2, 2);
    if (!code || !size || *size > end - at - 4) return std::nullopt;
    if (*code == kSystemTimeCode) return *size == 4 ? std::optional(at + 4) : std::nullopt;
    at += 4 + *size;
  }
  return std::nullopt;
}

}  // namespace

std::uint32_t MillisecondsOfDay(std::int64_t secondsSince1970) {
  constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;
  const std::int64_t second = (secondsSince1970 % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
  return static_cast<std::uint32_t>(second * 1000);
}

std::string SetCompileTime(std::span<std::uint8_t> chm, std::uint32_t time) {
  const Reader file(chm);
  if (!file.Matches(0, kItsfSignature) || !file.Has(0, kItsfHeaderSize)) {
    return "not a CHM file";
  }
  const auto directory = file.Little(kDirectoryOffsetField, 8);
  const auto sectionZero = file.Little(kSectionZeroOffsetField, 8);
  const std::optional<FileEntry> system =
      directory ? FindFile(file, *directory, kSystemFile) : std::nullopt;
  if (!sectionZero || !system || system->section != 0) return "no #SYSTEM file in its directory";
  if (!file.Has(*sectionZero, system->offset) ||
      !file.Has(*sectionZero + system->offset, system->length)) {
    return "#SYSTEM lies beyond the end of the file";
  }
  const std::optional<std::size_t> systemTime =
      SystemTimeOffset(file, *sectionZero + system->offset, system->length);
  if (!systemTime) return "#SYSTEM holds no compile time";

  for (std::size_t i = 0; i < 4; ++i) {
    chm[kHeaderTimeOffset + i] = static_cast<std::uint8_t>(time >> (8 * (3 - i)));
    chm[*systemTime + i] = static_cast<std::uint8_t>(time >> (8 * i));
  }
  return {};
}

}  // namespace demo
