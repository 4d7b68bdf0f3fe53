// The PE headers of a setup file: where its image ends and where its payload ends.
#include "setup_file/layout.h"

#include <algorithm>

namespace setup_file {
namespace {

// The parts of a PE file's headers that lead to its security directory.
constexpr std::size_t kNewHeaderPointer = 0x3C;  // in the DOS header: where "PE\0\0" stands
constexpr std::size_t kFileHeaderSize = 4 + 20;  // the signature and the COFF file header
constexpr std::size_t kSectionCountField = 4 + 2;
constexpr std::size_t kOptionalHeaderSizeField = 4 + 16;
constexpr std::size_t kHeadersSizeField = 60;  // in the optional header, PE32 and PE32+ alike
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSectionRawSizeField = 16;
constexpr std::size_t kSectionRawPointerField = 20;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kPe32DirectoryCount = 92;  // in the optional header
constexpr std::size_t kPe32PlusDirectoryCount = 108;
constexpr std::size_t kSecurityDirectory = 4;
constexpr std::size_t kDirectoryEntrySize = 8;

class HeaderReader {
 public:
  explicit HeaderReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  // Little-endian integers; false when they lie outside the bytes.
  bool U16(std::size_t offset, std::uint32_t& value) const { return Read(offset, 2, value); }
  bool U32(std::size_t offset, std::uint32_t& value) const { return Read(offset, 4, value); }

 private:
  bool Read(std::size_t offset, std::size_t count, std::uint32_t& value) const {
    if (offset > bytes_.size() || bytes_.size() - offset < count) return false;
    value = 0;
    for (std::size_t i = count; i-- > 0;) value = value << 8 | bytes_[offset + i];
    return true;
  }

  std::span<const std::uint8_t> bytes_;
};

// Where the PE signature stands, or false when the bytes do not start a PE file.
bool FindPeHeader(const HeaderReader& pe, std::size_t& peAt) {
  std::uint32_t mz = 0, at = 0, signature = 0;
  if (!pe.U16(0, mz) || mz != ('M' | 'Z' << 8)) return false;
  if (!pe.U32(kNewHeaderPointer, at) || !pe.U32(at, signature)) return false;
  peAt = at;
  return signature == ('P' | 'E' << 8);
}

// The file offset and size of the certificate table, or false when the headers name none.
bool FindCertificateTable(const HeaderReader& pe, std::uint32_t& offset, std::uint32_t& size) {
  std::size_t peAt = 0;
  std::uint32_t optionalSize = 0, magic = 0, count = 0;
  if (!FindPeHeader(pe, peAt) || !pe.U16(peAt + kOptionalHeaderSizeField, optionalSize))
    return false;
  const std::size_t optional = peAt + kFileHeaderSize;
  if (!pe.U16(optional, magic) || (magic != kPe32Magic && magic != kPe32PlusMagic)) return false;
  const std::size_t countAt = magic == kPe32Magic ? kPe32DirectoryCount : kPe32PlusDirectoryCount;
  const std::size_t entry = countAt + 4 + kSecurityDirectory * kDirectoryEntrySize;
  if (!pe.U32(optional + countAt, count) || count <= kSecurityDirectory) return false;
  if (entry + kDirectoryEntrySize > optionalSize) return false;
  return pe.U32(optional + entry, offset) && pe.U32(optional + entry + 4, size) && size != 0;
}

}  // namespace

std::int64_t ImageEnd(std::span<const std::uint8_t> headers) {
  const HeaderReader pe(headers);
  std::size_t peAt = 0;
  std::uint32_t sections = 0, optionalSize = 0, headersSize = 0;
  if (!FindPeHeader(pe, peAt) || !pe.U16(peAt + kSectionCountField, sections) ||
      !pe.U16(peAt + kOptionalHeaderSizeField, optionalSize) ||
      !pe.U32(peAt + kFileHeaderSize + kHeadersSizeField, headersSize)) {
    return -1;
  }
  std::int64_t end = headersSize;
  const std::size_t table = peAt + kFileHeaderSize + optionalSize;
  for (std::size_t section = 0; section < sections; ++section) {
    const std::size_t header = table + section * kSectionHeaderSize;
    std::uint32_t rawSize = 0, rawPointer = 0;
    if (!pe.U32(header + kSectionRawSizeField, rawSize) ||
        !pe.U32(header + kSectionRawPointerField, rawPointer)) {
      return -1;
    }
    if (rawSize != 0) end = std::max(end, std::int64_t{rawPointer} + rawSize);
  }
  return end;
}

std::int64_t PayloadEnd(std::span<const std::uint8_t> headers, std::int64_t fileLength) {
  std::uint32_t offset = 0, size = 0;
  if (FindCertificateTable(HeaderReader(headers), offset, size) &&
      std::int64_t{offset} + size == fileLength) {
    return offset;
  }
  return fileLength;
}

}  // namespace setup_file
