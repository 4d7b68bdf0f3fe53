// The setup-file check over setup files made from the input: eight items (compressed from
// the input's bytes, or those bytes as they are), the sizes the program would be built with
// (now and then a wrong one), product files the items must expand to (now and then a wrong
// one), an image, and a byte changed, cut off or added. VerifySetupFile must pass a file
// exactly when the plain check does: every item lies where the sizes put it, equals the
// item appended, expands, and expands to its product file where one is given.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "fuzz/plain_layout.h"
#include "fuzz/plain_szdd.h"
#include "fuzz/require.h"
#include "payload/szdd_encoder.h"
#include "tools/mksetup/setup_file.h"

namespace {

using tools::mksetup::Bytes;
using tools::mksetup::ExpectedFiles;
using tools::mksetup::ItemBytes;
using tools::mksetup::ItemSizes;

bool PlainCheck(const Bytes& file, const ItemSizes& sizes, const ItemBytes& items,
                const ExpectedFiles& expected) {
  const std::int64_t payloadEnd = fuzz::PlainPayloadEnd(file);
  std::int64_t bytesAfter = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const auto position =
        fuzz::PlainPosition(payloadEnd, sizes[i], static_cast<std::int32_t>(bytesAfter));
    if (!position) return false;
    const auto first = file.begin() + (*position - 1);
    if (!std::equal(first, first + sizes[i], items[i].begin(), items[i].end())) return false;
    const fuzz::PlainExpansion expansion = fuzz::PlainExpand(items[i]);
    if (expansion.result != fuzz::PlainResult::kOk) return false;
    if (expected[i] && expansion.bytes != *expected[i]) return false;
    bytesAfter += sizes[i];
    if (bytesAfter > INT32_MAX) return false;  // the program sums the sizes in 32 bits
  }
  return true;
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
        items[i] = payload::szdd::Compress(bytes, 'x');
        break;
      default:
        items[i] = payload::szdd::Compress(bytes, 'x');
        expected[i] = bytes;
        if (!bytes.empty() && input.ConsumeIntegralInRange<int>(0, 7) == 0)
          expected[i]->back() ^= 1;
    }
  }
  ItemSizes sizes = tools::mksetup::SizesOf(items);
  if (input.ConsumeIntegralInRange<int>(0, 3) == 0) {
    sizes[input.ConsumeIntegralInRange<std::size_t>(0, 7)] = input.ConsumeIntegral<std::int32_t>();
  }
  const Bytes image =
      input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 300));
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

  const std::string problem = tools::mksetup::VerifySetupFile(file, sizes, items, expected);
  fuzz::Require(
      problem.empty() == PlainCheck(file, sizes, items, expected),
      problem.empty() ? "a bad setup file passes its check" : "a good setup file fails its check");
  return 0;
}
