#include "tools/mksetup/product_items.h"

#include "payload/szdd_decoder.h"
#include "payload/szdd_encoder.h"
#include "tools/common/host_files.h"

namespace tools::mksetup {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

bool IsUsableItem(const Bytes& item) {
  MemorySource source(item);
  MemorySink expanded;
  return payload::szdd::Expand(source, expanded).status == payload::szdd::Status::kOk;
}

bool MakeItem(const fs::path& folder, const payload::ProductFile& file, Bytes& item,
              std::string& error) {
  const fs::path installed = folder / file.installedName;
  const fs::path ready = folder / file.temporaryName;
  Bytes bytes;
  if (fs::exists(installed)) {
    if (!ReadWholeFile(installed, bytes)) {
      error = "cannot read " + Quoted(installed);
      return false;
    }
    const auto lastChar = static_cast<std::uint8_t>(file.installedName.back());
    item = payload::szdd::Compress(bytes, lastChar);
    return true;
  }
  if (!fs::exists(ready)) {
    error = "neither " + Quoted(installed) + " nor " + Quoted(ready) + " exists";
    return false;
  }
  if (!ReadWholeFile(ready, item)) {
    error = "cannot read " + Quoted(ready);
    return false;
  }
  if (!IsUsableItem(item)) {
    error = Quoted(ready) + " is not an SZDD mode A file that expands";
    return false;
  }
  return true;
}

}  // namespace

bool MakeItems(const fs::path& productFolder, ItemBytes& items, std::string& error) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!MakeItem(productFolder, payload::kProductFiles[i], items[i], error)) return false;
  }
  return true;
}

ExpectedFiles ReadExpectedFiles(const fs::path& productFolder) {
  ExpectedFiles expected;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    Bytes bytes;
    if (ReadWholeFile(productFolder / payload::kProductFiles[i].installedName, bytes)) {
      expected[i] = std::move(bytes);
    }
  }
  return expected;
}

bool ReadItems(const fs::path& itemFolder, ItemBytes& items, std::string& error) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    const fs::path path = itemFolder / payload::kProductFiles[i].temporaryName;
    if (!ReadWholeFile(path, items[i])) {
      error = "cannot read " + Quoted(path);
      return false;
    }
  }
  return true;
}

}  // namespace tools::mksetup
