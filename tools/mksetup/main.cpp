// mksetup: makes the items of a setup file and the item table the program is built with,
// then assembles the setup file from the program image and the items and verifies it; it
// also checks a setup file again later (after signing, say).
//
//   mksetup items --product DIR --out ITEMDIR --table FILE.cpp
//   mksetup assemble --image IMAGE.exe --items ITEMDIR --table FILE.cpp [--product DIR]
//                    --out setup.exe
//   mksetup verify --setup setup.exe --items ITEMDIR --table FILE.cpp [--product DIR]
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <string>

#include "tools/common/host_files.h"
#include "tools/mksetup/item_table.h"
#include "tools/mksetup/product_items.h"
#include "tools/mksetup/setup_file.h"

namespace {

namespace fs = std::filesystem;
using namespace tools::mksetup;

using Options = std::map<std::string, std::string>;

constexpr const char* kUsage =
    "usage: mksetup items --product DIR --out ITEMDIR --table FILE.cpp\n"
    "       mksetup assemble --image IMAGE --items ITEMDIR --table FILE.cpp [--product DIR]"
    " --out SETUP\n"
    "       mksetup verify --setup SETUP --items ITEMDIR --table FILE.cpp [--product DIR]\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "mksetup: %s\n", message.c_str());
  return 1;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 2; i < argc; i += 2) {
    const std::string name = argv[i];
    if (name.rfind("--", 0) != 0 || i + 1 >= argc) return false;
    options[name.substr(2)] = argv[i + 1];
  }
  return true;
}

bool Has(const Options& options, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (options.count(name) == 0) return false;
  }
  return true;
}

int MakeItemsAndTable(const Options& options) {
  ItemBytes items;
  std::string error;
  payload::ItemTable table;
  if (!MakeItems(options.at("product"), items, error) || !TableOf(items, table, error)) return Fail(error);
  const fs::path folder = options.at("out");
  std::error_code failed;
  fs::create_directories(folder, failed);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const fs::path path = folder / payload::kProductFiles[i].temporaryName;
    if (!tools::WriteWholeFile(path, items[i])) return Fail("cannot write " + Quoted(path));
  }
  const std::string source = ItemTableSource(table);
  const fs::path tablePath = options.at("table");
  if (!tools::WriteWholeFile(
          tablePath,
          std::span(reinterpret_cast<const std::uint8_t*>(source.data()), source.size()))) {
    return Fail("cannot write " + Quoted(tablePath));
  }
  return 0;
}

bool ReadTable(const fs::path& path, payload::ItemTable& table) {
  Bytes bytes;
  return tools::ReadWholeFile(path, bytes) &&
         ParseItemTable(std::string(bytes.begin(), bytes.end()), table);
}

// The items of ITEMDIR, the table the program was built with (which must be theirs), and
// the product files they must expand to.
struct Payload {
  ItemBytes items;
  payload::ItemTable table{};
  ExpectedFiles expected;
};

bool LoadPayload(const Options& options, Payload& payload, std::string& error) {
  const fs::path tablePath = options.at("table");
  if (!ReadItems(options.at("items"), payload.items, error)) return false;
  if (!ReadTable(tablePath, payload.table)) {
    error = Quoted(tablePath) + " is not an item table";
    return false;
  }
  payload::ItemTable itemsTable;
  if (!TableOf(payload.items, itemsTable, error)) return false;
  if (payload.table != itemsTable) {
    error = "the items do not match the table the program was built with, " + Quoted(tablePath);
    return false;
  }
  if (options.count("product")) payload.expected = ReadExpectedFiles(options.at("product"));
  return true;
}

// Checks the setup file as it lies on the disk.
std::string CheckSetupFile(const fs::path& path, const Payload& payload) {
  Bytes file;
  if (!tools::ReadWholeFile(path, file)) return "cannot read it";
  return VerifySetupFile(file, payload.table, payload.items, payload.expected);
}

int AssembleAndVerify(const Options& options) {
  Payload payload;
  std::string error;
  if (!LoadPayload(options, payload, error)) return Fail(error);
  Bytes image;
  const fs::path imagePath = options.at("image");
  if (!tools::ReadWholeFile(imagePath, image)) return Fail("cannot read " + Quoted(imagePath));

  std::size_t payloadSize = 0;
  for (const Bytes& item : payload.items) payloadSize += item.size();
  const fs::path out = options.at("out");
  const Bytes setupFile = AssembleSetupFile(image, payload.items);
  if (!tools::WriteWholeFile(out, setupFile)) return Fail("cannot write " + Quoted(out));
  if (const std::string problem = CheckSetupFile(out, payload); !problem.empty()) {
    std::error_code ignored;
    fs::remove(out, ignored);
    return Fail(Quoted(out) + " failed its check and was deleted: " + problem);
  }
  std::printf("mksetup: %s: image %zu + padding %zu + payload %zu bytes, %zu items checked\n",
              out.string().c_str(), image.size(), setupFile.size() - image.size() - payloadSize, payloadSize,
              payload.items.size());
  return 0;
}

// For a setup file changed after it was built, such as one that has been signed.
int Verify(const Options& options) {
  Payload payload;
  std::string error;
  if (!LoadPayload(options, payload, error)) return Fail(error);
  const fs::path setup = options.at("setup");
  if (const std::string problem = CheckSetupFile(setup, payload); !problem.empty()) {
    return Fail(Quoted(setup) + " failed its check: " + problem);
  }
  std::printf("mksetup: %s: %zu items checked\n", setup.string().c_str(), payload.items.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const std::string command = argc > 1 && ParseOptions(argc, argv, options) ? argv[1] : "";
  try {
    if (command == "items" && Has(options, {"product", "out", "table"})) {
      return MakeItemsAndTable(options);
    }
    if (command == "assemble" && Has(options, {"image", "items", "table", "out"})) {
      return AssembleAndVerify(options);
    }
    if (command == "verify" && Has(options, {"setup", "items", "table"})) return Verify(options);
  } catch (const std::exception& failure) {
    return Fail(failure.what());
  }
  std::fputs(kUsage, stderr);
  return 2;
}
