// mksetup: makes the items of a setup file and the item table the program is built with,
// then assembles the setup file from the program image and the items and verifies it.
//
//   mksetup items --product DIR --out ITEMDIR --table FILE.cpp
//   mksetup assemble --image IMAGE.exe --items ITEMDIR --table FILE.cpp [--product DIR]
//                    --out setup.exe
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <string>

#include "tools/common/host_files.h"
#include "tools/mksetup/product_items.h"
#include "tools/mksetup/setup_file.h"

namespace {

namespace fs = std::filesystem;
using namespace tools::mksetup;

using Options = std::map<std::string, std::string>;

constexpr const char* kUsage =
    "usage: mksetup items --product DIR --out ITEMDIR --table FILE.cpp\n"
    "       mksetup assemble --image IMAGE --items ITEMDIR --table FILE.cpp [--product DIR]"
    " --out SETUP\n";

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
  if (!MakeItems(options.at("product"), items, error)) return Fail(error);
  if (!FitsThePayloadLimit(items)) return Fail("the items are too large for the program");
  const fs::path folder = options.at("out");
  std::error_code failed;
  fs::create_directories(folder, failed);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const fs::path path = folder / payload::kProductFiles[i].temporaryName;
    if (!tools::WriteWholeFile(path, items[i])) return Fail("cannot write " + Quoted(path));
  }
  const std::string table = ItemTableSource(SizesOf(items));
  const fs::path tablePath = options.at("table");
  if (!tools::WriteWholeFile(
          tablePath,
          std::span(reinterpret_cast<const std::uint8_t*>(table.data()), table.size()))) {
    return Fail("cannot write " + Quoted(tablePath));
  }
  return 0;
}

bool ReadTable(const fs::path& path, ItemSizes& sizes) {
  Bytes bytes;
  return tools::ReadWholeFile(path, bytes) &&
         ParseItemTable(std::string(bytes.begin(), bytes.end()), sizes);
}

int AssembleAndVerify(const Options& options) {
  Bytes image;
  ItemBytes items;
  ItemSizes sizes{};
  std::string error;
  const fs::path imagePath = options.at("image");
  const fs::path tablePath = options.at("table");
  if (!tools::ReadWholeFile(imagePath, image)) return Fail("cannot read " + Quoted(imagePath));
  if (!ReadItems(options.at("items"), items, error)) return Fail(error);
  if (!ReadTable(tablePath, sizes)) return Fail(Quoted(tablePath) + " is not an item table");
  if (sizes != SizesOf(items)) {
    return Fail("the items do not match the table the program was built with, " +
                Quoted(tablePath));
  }
  const ExpectedFiles expected =
      options.count("product") ? ReadExpectedFiles(options.at("product")) : ExpectedFiles{};

  std::size_t payloadSize = 0;
  for (const Bytes& item : items) payloadSize += item.size();
  const std::size_t padding = AlignmentPadding(image.size(), payloadSize);
  image.resize(image.size() + padding, 0);
  const fs::path out = options.at("out");
  if (!tools::WriteWholeFile(out, AssembleSetupFile(image, items))) {
    return Fail("cannot write " + Quoted(out));
  }

  // What counts is what reached the disk.
  Bytes written;
  std::string problem = tools::ReadWholeFile(out, written) ? "" : "cannot read it back";
  if (problem.empty()) problem = VerifySetupFile(written, sizes, items, expected);
  if (!problem.empty()) {
    std::error_code ignored;
    fs::remove(out, ignored);
    return Fail(Quoted(out) + " failed its check and was deleted: " + problem);
  }
  std::printf("mksetup: %s: image %zu + padding %zu + payload %zu = %zu bytes, %zu items checked\n",
              out.string().c_str(), image.size() - padding, padding, payloadSize, written.size(),
              items.size());
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
  } catch (const std::exception& failure) {
    return Fail(failure.what());
  }
  std::fputs(kUsage, stderr);
  return 2;
}
