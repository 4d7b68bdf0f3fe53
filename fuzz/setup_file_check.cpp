// The setup-file check over setup files made from the input: eight items (compressed from
// the input's bytes, or those bytes as they are), the item table the program would be built
// with (now and then with a wrong entry), product files the items must expand to (now and
// then a wrong one), an image (a PE image or any bytes), and a byte changed, cut off or
// added. VerifySetupFile must pass a file exactly when the plain check does: the payload lies
// right behind the image and its padding, every item lies where the table puts it, equals
// the item appended, expands to the length and SHA-256 of the table (the codec's, which its
// own tests hold to the standard), and to its product file where one is given.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "codec/sha256.h"
#include "codec/szdd_encoder.h"
#include "fuzz/plain_layout.h"
#include "fuzz/plain_szdd.h"
#include "fuzz/require.h"
#include "tests/support/pe_image.h"
#include "tools/mksetup/setup_file.h"

namespace {

using tools::mksetup::Bytes;
using tools::mksetup::ExpectedFiles;
using tools::mksetup::ItemBytes;

bool PlainCheck(const Bytes& file, const setup_file::ItemTable& table, const ItemBytes& items,
                const ExpectedFiles& expected) {
  std::int64_t payloadLength = 0;
  for (const setup_file::ItemRecord& item : table) {
    if (item.size < 1) return false;
    payloadLength += item.size;
  }
  if (payloadLength > INT32_MAX) return false;  // the program sums the sizes in 32 bits
  const std::int64_t imageEnd = fuzz::PlainImageEnd(file);
  const std::int64_t payloadEnd = fuzz::PlainPayloadEnd(file);
  const std::int64_t padding = (8 - (imageEnd + payloadLength) % 8) % 8;
  if (imageEnd < 0 || imageEnd + padding + payloadLength != payloadEnd) return false;

  std::int64_t bytesAfter = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::int32_t size = table[i].size;
    const auto position =
        fuzz::PlainPosition(payloadEnd, size, static_cast<std::int32_t>(bytesAfter));
    if (!position) return false;
    const auto first = file.begin() + (*position - 1);
    if (!std::equal(first, first + size, items[i].begin(), items[i].end())) return false;
    const fuzz::PlainExpansion expansion = fuzz::PlainExpand(items[i]);
    if (expansion.result != fuzz::PlainResult::kOk) return false;
    if (expansion.bytes.size() != table[i].expandedLength ||
        codec::Sha256Of(expansion.bytes) != table[i].sha256) {
      return false;
    }
    if (expected[i] && expansion.bytes != *expected[i]) return false;
    bytesAfter += size;
  }
  return true;
}

// The table of the items, where they expand; sizes alone where they do not.
setup_file::ItemTable TableFor(const ItemBytes& items) {
  setup_file::ItemTable table;
  std::string error;
  if (tools::mksetup::TableOf(items, table, error)) return table;
  for (std::size_t i = 0; i < items.size(); ++i)
    table[i] = {static_cast<std::int32_t>(items[i].size()), 0, {}};
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  ItemBytes items;
  ExpectedFiles expected;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Bytes bytes =
        input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 200));
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:  // ready bytes, whatever they are
        items[i] = bytes;
        break;
      case 1:  // a product file that is not known
        items[i] = codec::szdd::Compress(bytes, 'x');
        break;
      default:
        items[i] = codec::szdd::Compress(bytes, 'x');
        expected[i] = bytes;
        if (!bytes.empty() && input.ConsumeIntegralInRange<int>(0, 7) == 0)
          expected[i]->back() ^= 1;
    }
  }
  setup_file::ItemTable table = TableFor(items);
  if (input.ConsumeIntegralInRange<int>(0, 3) == 0) {
    setup_file::ItemRecord& wrong = table[input.ConsumeIntegralInRange<std::size_t>(0, 7)];
    switch (input.ConsumeIntegralInRange<int>(0, 2)) {
      case 0:
        wrong.size = input.ConsumeIntegral<std::int32_t>();
        break;
      case 1:
        wrong.expandedLength = input.ConsumeIntegral<std::uint32_t>();
        break;
      default:
        wrong.sha256[input.ConsumeIntegralInRange<std::size_t>(0, 31)] ^=
            input.ConsumeIntegralInRange<std::uint8_t>(1, 255);
        break;
    }
  }
  const std::size_t imageSize = input.ConsumeIntegralInRange<std::size_t>(0, 300);
  const Bytes image = input.ConsumeBool()
                          ? payload_test::PeImage(input.ConsumeBool(), 0x400 + imageSize)
                          : input.ConsumeBytes<std::uint8_t>(imageSize);
  Bytes file = tools::mksetup::AssembleSetupFile(image, items);
  switch (input.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:
      if (!file.empty())
        file[input.ConsumeIntegralInRange<std::size_t>(0, file.size() - 1)] ^= 0x40;
      break;
    case 1:
      file.resize(file.size() -
                  std::min(file.size(), input.ConsumeIntegralInRange<std::size_t>(1, 20)));
      break;
    case 2:
      file.resize(file.size() + input.ConsumeIntegralInRange<std::size_t>(1, 20), 0);
      break;
    default:
      break;
  }

  const std::string problem = tools::mksetup::VerifySetupFile(file, table, items, expected);
  fuzz::Require(
      problem.empty() == PlainCheck(file, table, items, expected),
      problem.empty() ? "a bad setup file passes its check" : "a good setup file fails its check");
  return 0;
}
