// mksetup: makes the items of a setup file and the item table the program is built with,
// then assembles the setup file from the program image and the items and verifies it; it
// also checks a setup file again later (after signing, say).
//
//   mksetup items --product DIR --out ITEMDIR --table FILE.cpp
//   mksetup assemble --image IMAGE.exe --items ITEMDIR --table FILE.cpp [--product DIR]
//                    --out setup.exe
//   mksetup verify --setup setup.exe --items ITEMDIR --table FILE.cpp [--product DIR]
//
// No output may be one of the command's inputs, and nothing is put in place before all of
// it has been made and checked: a failure leaves every existing file as it was.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <string>

#include "tools/common/host_files.h"
#include "tools/mksetup/item_table.h"
#include "tools/mksetup/product_items.h"
#include "tools/mksetup/setup_file.h"

namespace {

namespace fs = std::filesystem;
using namespace tools::mksetup;
using tools::Quoted;

using Options = std::map<std::string, std::string>;

enum ExitCode : int {
  kSuccess = 0,
  kUsage = 1,     // also an output that is one of the inputs
  kBadInput = 2,  // an input missing, unreadable, too large or not what it must be
  kOutputUnwritable = 3,
  kCheckFailed = 4,  // the setup file does not give back its items
};

constexpr const char* kUsageText =
    "usage: mksetup items --product DIR --out ITEMDIR --table FILE.cpp\n"
    "       mksetup assemble --image IMAGE --items ITEMDIR --table FILE.cpp [--product DIR]"
    " --out SETUP\n"
    "       mksetup verify --setup SETUP --items ITEMDIR --table FILE.cpp [--product DIR]\n"
    "No output may be one of the inputs; outputs are put in place only whole and checked.\n"
    "exit codes: 0 done, 1 usage (or an output is an input), 2 an input missing, unreadable,\n"
    "            too large or unusable, 3 output unwritable, 4 the setup file failed its check\n";

// The largest setup file the program can address: it locates its items in 32-bit signed
// arithmetic.
constexpr std::uint64_t kMaxSetupFileSize = std::numeric_limits<std::int32_t>::max();

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "mksetup: %s\n", message.c_str());
  return code;
}

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

// The usage failure for the first of `outputs` that is one of `inputs`, or kSuccess.
int RefuseOutputsThatAreInputs(const std::vector<fs::path>& outputs,
                               const std::vector<fs::path>& inputs) {
  for (const fs::path& output : outputs) {
    if (tools::NamesAnInput(output, inputs)) {
      return Fail(kUsage, "the output " + Quoted(output) + " is one of the inputs; give another");
    }
  }
  return kSuccess;
}

std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

int MakeItemsAndTable(const Options& options) {
  const fs::path product = options.at("product");
  const fs::path folder = options.at("out");
  std::vector<fs::path> inputs;
  std::vector<fs::path> outputs;
  for (const product::ProductFile& file : product::kProductFiles) {
    inputs.push_back(ItemSource(product, file));
    outputs.push_back(folder / file.temporaryName);
  }
  outputs.push_back(options.at("table"));
  if (const int refused = RefuseOutputsThatAreInputs(outputs, inputs)) return refused;

  ItemBytes items;
  std::string error;
  setup_file::ItemTable itemTable;
  if (!MakeItems(product, items, error) || !TableOf(items, itemTable, error))
    return Fail(kBadInput, error);
  const std::string table = ItemTableSource(itemTable);

  // All nine files are written whole under temporary names before any is put in place: a
  // full disk leaves neither a part of the items nor items without their table.
  std::error_code failed;
  fs::create_directories(folder, failed);
  std::vector<std::unique_ptr<tools::OutputFile>> files;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const auto bytes = i < items.size() ? std::span<const std::uint8_t>(items[i]) : BytesOf(table);
    files.push_back(std::make_unique<tools::OutputFile>(outputs[i]));
    if (!files[i]->Write(bytes.data(), bytes.size()) || !files[i]->Close()) {
      return Fail(kOutputUnwritable, "cannot write " + Quoted(outputs[i]));
    }
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (!files[i]->Commit()) return Fail(kOutputUnwritable, "cannot write " + Quoted(outputs[i]));
  }
  return kSuccess;
}

bool ReadTable(const fs::path& path, setup_file::ItemTable& table) {
  Bytes bytes;
  return tools::ReadWholeFile(path, bytes) &&
         ParseItemTable(std::string(bytes.begin(), bytes.end()), table);
}

// The files a command reads through its --items, --table and --product options.
std::vector<fs::path> PayloadInputs(const Options& options) {
  std::vector<fs::path> inputs = {options.at("table")};
  for (const product::ProductFile& file : product::kProductFiles) {
    inputs.push_back(fs::path(options.at("items")) / file.temporaryName);
    if (options.count("product")) {
      inputs.push_back(fs::path(options.at("product")) / file.installedName);
    }
  }
  return inputs;
}

// The items of ITEMDIR, the table the program was built with (which must be theirs), and
// the product files they must expand to.
struct Payload {
  ItemBytes items;
  setup_file::ItemTable table{};
  ExpectedFiles expected;
};

bool LoadPayload(const Options& options, Payload& payload, std::string& error) {
  const fs::path tablePath = options.at("table");
  if (!ReadItems(options.at("items"), payload.items, error)) return false;
  if (!ReadTable(tablePath, payload.table)) {
    error = Quoted(tablePath) + " is not an item table";
    return false;
  }
  setup_file::ItemTable itemsTable;
  if (!TableOf(payload.items, itemsTable, error)) return false;
  if (payload.table != itemsTable) {
    error = "the items do not match the table the program was built with, " + Quoted(tablePath);
    return false;
  }
  if (options.count("product")) payload.expected = ReadExpectedFiles(options.at("product"));
  return true;
}

int AssembleAndVerify(const Options& options) {
  const fs::path imagePath = options.at("image");
  const fs::path out = options.at("out");
  std::vector<fs::path> inputs = PayloadInputs(options);
  inputs.push_back(imagePath);
  if (const int refused = RefuseOutputsThatAreInputs({out}, inputs)) return refused;

  Payload payload;
  std::string error;
  if (!LoadPayload(options, payload, error)) return Fail(kBadInput, error);
  Bytes image;
  if (const auto read = tools::ReadInput(imagePath, image, tools::kMaxInputSize);
      read != tools::ReadResult::kRead) {
    return Fail(kBadInput, tools::ReadFailure(read, imagePath, tools::kMaxInputSize));
  }

  std::size_t payloadSize = 0;
  for (const Bytes& item : payload.items) payloadSize += item.size();
  const Bytes setup = AssembleSetupFile(image, payload.items);
  // Checked before it is written: a setup file that fails replaces nothing.
  if (const std::string problem =
          VerifySetupFile(setup, payload.table, payload.items, payload.expected);
      !problem.empty()) {
    return Fail(kCheckFailed, Quoted(out) + " was not written: it failed its check: " + problem);
  }
  if (!tools::WriteWholeFile(out, setup)) {
    return Fail(kOutputUnwritable, "cannot write " + Quoted(out));
  }
  std::printf("mksetup: %s: image %zu + padding %zu + payload %zu bytes, %zu items checked\n",
              out.string().c_str(), image.size(), setup.size() - image.size() - payloadSize,
              payloadSize, payload.items.size());
  return kSuccess;
}

// For a setup file changed after it was built, such as one that has been signed.
int Verify(const Options& options) {
  Payload payload;
  std::string error;
  if (!LoadPayload(options, payload, error)) return Fail(kBadInput, error);
  const fs::path setupPath = options.at("setup");
  Bytes setup;
  if (const auto read = tools::ReadInput(setupPath, setup, kMaxSetupFileSize);
      read != tools::ReadResult::kRead) {
    return Fail(kBadInput, tools::ReadFailure(read, setupPath, kMaxSetupFileSize));
  }
  if (const std::string problem =
          VerifySetupFile(setup, payload.table, payload.items, payload.expected);
      !problem.empty()) {
    return Fail(kCheckFailed, Quoted(setupPath) + " failed its check: " + problem);
  }
  std::printf("mksetup: %s: %zu items checked\n", setupPath.string().c_str(), payload.items.size());
  return kSuccess;
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
    // Only the memory can run out here: the inputs are too large for it.
    return Fail(kBadInput, failure.what());
  }
  std::fputs(kUsageText, stderr);
  return kUsage;
}
