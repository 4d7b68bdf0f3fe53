// The item locator and the extraction over setup files with fake PE32 and PE32+ headers and
// security directories: where the payload ends, where an item starts, and what
// ExtractPayloadItem writes on the portable platform, with one of its file operations made
// to fail. Held to a plain reading of the rules in 64-bit arithmetic.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "fuzz/plain_layout.h"
#include "fuzz/require.h"
#include "payload/extract_payload_item.h"
#include "platform/portable/portable_platform.h"
#include "setup_file/layout.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using fuzz::PlainPayloadEnd;
using fuzz::PlainPosition;
using fuzz::Require;

constexpr char kSetup[] = "C:\\Setup\\setup.exe";
constexpr char kItem[] = "item";
constexpr std::array<std::uint8_t, 8> kSzdd = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

// The host folder behind drive C, removed when the fuzzer ends.
class HostDrive {
 public:
  HostDrive() : root_(fs::temp_directory_path() / ("pelmora-fuzz-" + std::to_string(::getpid()))) {
    fs::create_directories(root_ / "Setup");
    fs::create_directories(root_ / "Temp");
  }
  ~HostDrive() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  const fs::path& Root() const { return root_; }

 private:
  fs::path root_;
};

void Put(Bytes& file, std::uint64_t at, std::uint32_t value, int size) {
  if (at + size > file.size()) return;
  for (int i = 0; i < size; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A program image whose DOS, COFF and optional headers hold what the input chooses, mostly
// the values of a real PE32 or PE32+ image. Returns where the security directory's entry
// lies.
std::uint64_t FakeImage(FuzzedDataProvider& input, Bytes& image) {
  const bool pe32Plus = input.ConsumeBool();
  auto either = [&](std::uint32_t usual) {
    return input.ConsumeBool() ? input.ConsumeIntegral<std::uint32_t>() : usual;
  };
  image.assign(input.ConsumeIntegralInRange<std::size_t>(0, 6000), 0xCC);
  const std::uint32_t peAt =
      input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(0, 4200) : 0x80;
  const std::uint64_t optional = std::uint64_t{peAt} + 24;
  const std::uint64_t directories = optional + (pe32Plus ? 108 : 92);
  Put(image, 0, either('M' | 'Z' << 8), 2);
  Put(image, 0x3C, peAt, 4);
  Put(image, peAt, either('P' | 'E' << 8), 4);
  Put(image, peAt + 20, either(pe32Plus ? 240 : 224), 2);
  Put(image, optional, either(pe32Plus ? 0x20B : 0x10B), 2);
  Put(image, directories, either(16), 4);
  return directories + 4 + 4 * 8;
}

void CheckPosition(std::int64_t payloadEnd, std::int32_t size, std::int32_t bytesAfter) {
  std::int32_t position = -12345;
  const bool found = setup_file::ItemPosition(payloadEnd, size, bytesAfter, position);
  const std::optional<std::int32_t> expected = PlainPosition(payloadEnd, size, bytesAfter);
  Require(found == expected.has_value(),
          "ItemPosition finds a position where none is, or none where one is");
  Require(!found || position == *expected, "ItemPosition gives a wrong position");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const HostDrive drive;
  FuzzedDataProvider input(data, size);

  // The setup file: the image, the items in file order, and perhaps a certificate table.
  Bytes file;
  const std::uint64_t securityEntry = FakeImage(input, file);
  std::vector<std::int32_t> sizes(input.ConsumeIntegralInRange<std::size_t>(1, 8));
  for (std::int32_t& itemSize : sizes) {
    Bytes item = input.ConsumeBool() ? Bytes(kSzdd.begin(), kSzdd.end()) : Bytes();
    const Bytes rest =
        input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    item.insert(item.end(), rest.begin(), rest.end());
    if (item.empty()) item.push_back(0);
    itemSize = static_cast<std::int32_t>(item.size());
    file.insert(file.end(), item.begin(), item.end());
  }
  if (input.ConsumeBool()) {  // signed: padded to 8 bytes, the table behind
    file.resize((file.size() + 7) / 8 * 8, 0);
    const auto tableSize = input.ConsumeIntegralInRange<std::uint32_t>(0, 64);
    const auto offset = static_cast<std::uint32_t>(file.size()) +
                        input.ConsumeIntegralInRange<std::uint32_t>(0, 2) - 1;
    Put(file, securityEntry, offset, 4);
    Put(file, securityEntry + 4, tableSize, 4);
    file.resize(file.size() + tableSize, 0x30);
  }

  const auto length = static_cast<std::int64_t>(file.size());
  const std::int64_t payloadEnd = PlainPayloadEnd(file);
  Require(setup_file::PayloadEnd(
              std::span(file).first(std::min<std::size_t>(file.size(), setup_file::kPeHeaderSpan)),
              length) == payloadEnd,
          "PayloadEnd differs from the plain reading");

  // An item of the file, or any numbers.
  const std::size_t item = input.ConsumeIntegralInRange<std::size_t>(0, sizes.size() - 1);
  std::int32_t itemSize = sizes[item];
  std::int32_t bytesAfter = 0;
  for (std::size_t i = item + 1; i < sizes.size(); ++i) bytesAfter += sizes[i];
  if (input.ConsumeBool()) itemSize = input.ConsumeIntegral<std::int32_t>();
  if (input.ConsumeBool()) bytesAfter = input.ConsumeIntegral<std::int32_t>();
  CheckPosition(payloadEnd, itemSize, bytesAfter);
  CheckPosition(input.ConsumeIntegral<std::int64_t>(), itemSize, bytesAfter);

  // The extraction allocates the item's size first: an item no longer than the file.
  if (itemSize > length + 16) return 0;
  platform::portable::PortablePlatform machine;
  platform::portable::DriveSetup c;
  c.hostRoot = drive.Root();
  machine.files.MapDrive('C', c);
  std::ofstream(drive.Root() / "Setup" / "setup.exe", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  int error = 0;
  const std::unique_ptr<platform::FileChannel> setup =
      machine.files.Open(kSetup, platform::ChannelMode::kRead, error);
  Require(setup != nullptr, "the setup file cannot be opened");
  payload::RunFolder folder(machine.files);
  Require(folder.Make("C:\\Temp") == 0, "the run's folder cannot be made");
  static constexpr const char* kOperations[] = {"Open", "Length", "Read", "Write"};
  const char* failing = nullptr;
  int nth = 0, callsBefore = 0;
  if (input.ConsumeBool()) {
    failing = kOperations[input.ConsumeIntegralInRange<std::size_t>(0, 3)];
    nth = input.ConsumeIntegralInRange<int>(1, 3);
    callsBefore = machine.faults.Calls(failing);
    machine.faults.Fail(failing, 5, nth, input.ConsumeBool());
  }

  platform::FileChannel* const extracted =
      payload::ExtractPayloadItem(machine.platform, *setup, folder, kItem, itemSize, bytesAfter,
                                  true);

  const bool faultMet = failing != nullptr && machine.faults.Calls(failing) - callsBefore >= nth;
  const std::optional<std::int32_t> position = PlainPosition(payloadEnd, itemSize, bytesAfter);
  const bool isSzdd = position && itemSize >= 8 &&
                      std::equal(kSzdd.begin(), kSzdd.end(), file.begin() + (*position - 1));
  Require((extracted != nullptr) == (!faultMet && isSzdd), "the extraction's result is wrong");
  const auto& messages = machine.toolkit.Messages();
  Require(messages.size() == (extracted ? 0u : 1u), "not one message for a failure");
  Require(extracted || messages[0].text == "File '" + folder.Path() + "\\item' could not be written!",
          "the failure message does not name the item");
  machine.faults.Clear();
  if (extracted) {
    Bytes bytes(static_cast<std::size_t>(itemSize));
    Require(extracted->Length() == itemSize && extracted->ReadAt(0, bytes.data(), bytes.size()),
            "the item cannot be read back");
    Require(std::equal(bytes.begin(), bytes.end(), file.begin() + (*position - 1)),
            "the item written differs from the bytes at its position");
  }
  // The folder goes whole, whatever happened: nothing in it is left open or unknown to it.
  Require(folder.Remove() == 0, "the run's folder could not be removed");
  return 0;
}
