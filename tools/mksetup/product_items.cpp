#include "tools/mksetup/product_items.h"

#include "codec/szdd_decoder.h"
#include "codec/szdd_encoder.h"
#include "tools/common/host_files.h"

namespace tools::mksetup {
namespace {

namespace fs = std::filesystem;

bool IsUsableItem(const Bytes& item) {
  MemorySource source(item);
  MemorySink expanded;
  return codec::szdd::Expand(source, expanded).status == codec::szdd::Status::kOk;
}

bool Read(const fs::path& path, Bytes& bytes, std::string& error) {
  const ReadResult read = ReadInput(path, bytes, kMaxInputSize);
  error = ReadFailure(read, path, kMaxInputSize);
  return read == ReadResult::kRead;
}

bool MakeItem(const fs::path& folder, const product::ProductFile& file, Bytes& item,
              std::string& error) {
  const fs::path installed = folder / file.installedName;
  const fs::path source = ItemSource(folder, file);
  if (source == installed) {
    Bytes bytes;
    if (!Read(installed, bytes, error)) return false;
    const auto lastChar = static_cast<std::uint8_t>(file.installedName.back());
    item = codec::szdd::Compress(bytes, lastChar);
    return true;
  }
  if (!fs::exists(source)) {
    error = "neither " + Quoted(installed) + " nor " + Quoted(source) + " exists";
    return false;
  }
  if (!Read(source, item, error)) return false;
  if (!IsUsableItem(item)) {
    error = Quoted(source) + " is not an SZDD mode A file that expands";
    return false;
  }
  return true;
}

}  // namespace

fs::path ItemSource(const fs::path& productFolder, const product::ProductFile& file) {
  const fs::path installed = productFolder / file.installedName;
  return fs::exists(installed) ? installed : productFolder / file.temporaryName;
}

bool MakeItems(const fs::path& productFolder, ItemBytes& items, std::string& error) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!MakeItem(productFolder, product::kProductFiles[i], items[i], error)) return false;
  }
  return true;
}

ExpectedFiles ReadExpectedFiles(const fs::path& productFolder) {
  ExpectedFiles expected;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    Bytes bytes;
    if (ReadWholeFile(productFolder / product::kProductFiles[i].installedName, bytes)) {
      expected[i] = std::move(bytes);
    }
  }
  return expected;
}

bool ReadItems(const fs::path& itemFolder, ItemBytes& items, std::string& error) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!Read(itemFolder / product::kProductFiles[i].temporaryName, items[i], error)) {
      return false;
    }
  }
  return true;
}

}  // namespace tools::mksetup
