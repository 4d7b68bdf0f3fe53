// Writes a copy of a setup file made by mksetup in which one item is forged (forged_item.h):
// it keeps its size in the file and expands to the same length with the same CRC-32, but to
// other bytes. The Wine tests give the setup program such a file.
//
//   forge_item SETUP TABLE ITEM OUT
//
// TABLE is the item table the program was built with (the source mksetup generated), ITEM
// an item's temporary name ("Pelmora.ex_"). Exit status 0 when OUT is written, 1 on a usage
// error, 2 when the setup file or the table cannot be used or the item cannot be forged, 3
// when OUT cannot be written.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "setup_file/layout.h"
#include "tests/support/forged_item.h"
#include "tools/common/host_files.h"
#include "tools/mksetup/item_table.h"

namespace {

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "forge_item: %s\n", message.c_str());
  return status;
}

// Where the item named `name` lies in `setup` (an offset), as the program finds it.
bool FindItem(std::span<const std::uint8_t> setup, const setup_file::ItemTable& table,
              std::string_view name, std::size_t& offset, std::size_t& size) {
  const auto& files = product::kProductFiles;
  const auto file = std::find_if(files.begin(), files.end(),
                                 [&](const auto& each) { return each.temporaryName == name; });
  setup_file::ItemPlaces places;
  if (file == files.end() || !setup_file::PlaceItems(table, places)) return false;
  const auto item = static_cast<std::size_t>(file - files.begin());
  const auto headers = setup.first(std::min(setup.size(), setup_file::kPeHeaderSpan));
  const std::int64_t payloadEnd =
      setup_file::PayloadEnd(headers, static_cast<std::int64_t>(setup.size()));
  std::int32_t position = 0;
  if (!setup_file::ItemPosition(payloadEnd, table[item].size, places.bytesAfter[item], position))
    return false;
  offset = static_cast<std::size_t>(position - 1);
  size = static_cast<std::size_t>(table[item].size);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return Fail(1, "usage: forge_item SETUP TABLE ITEM OUT");
  const std::filesystem::path setupPath = argv[1], tablePath = argv[2], out = argv[4];
  const std::filesystem::path inputs[] = {setupPath, tablePath};
  if (tools::NamesAnInput(out, inputs)) return Fail(1, tools::Quoted(out) + " is an input");
  std::vector<std::uint8_t> setup, tableBytes;
  if (!tools::ReadWholeFile(setupPath, setup)) return Fail(2, "cannot read the setup file");
  setup_file::ItemTable table;
  if (!tools::ReadWholeFile(tablePath, tableBytes) ||
      !tools::mksetup::ParseItemTable(std::string(tableBytes.begin(), tableBytes.end()), table)) {
    return Fail(2, tools::Quoted(tablePath) + " is no item table of mksetup");
  }
  std::size_t offset = 0, size = 0;
  if (!FindItem(setup, table, argv[3], offset, size))
    return Fail(2, "the setup file holds no item '" + std::string(argv[3]) + "'");
  const auto forged = payload_test::ForgeItem(std::span(setup).subspan(offset, size));
  if (!forged) return Fail(2, "the item cannot be forged");
  std::copy(forged->begin(), forged->end(), setup.begin() + static_cast<std::ptrdiff_t>(offset));
  if (!tools::WriteWholeFile(out, setup)) return Fail(3, "cannot write " + tools::Quoted(out));
  return 0;
}
