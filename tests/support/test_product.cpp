#include "tests/support/test_product.h"

#include <stdexcept>
#include <string>

#include "tools/mksetup/product_items.h"

namespace payload_test {

std::filesystem::path TestProductFolder() { return PELMORA_TEST_PRODUCT_DIR; }

std::filesystem::path TestItemFolder() { return PELMORA_TEST_ITEM_DIR; }

tools::mksetup::ItemBytes TestItems() {
  tools::mksetup::ItemBytes items;
  std::string error;
  if (!tools::mksetup::ReadItems(TestItemFolder(), items, error)) throw std::runtime_error(error);
  return items;
}

tools::mksetup::ExpectedFiles TestProductFiles() {
  return tools::mksetup::ReadExpectedFiles(TestProductFolder());
}

std::vector<std::uint8_t> TestSetupFile(std::span<const std::uint8_t> image) {
  return tools::mksetup::AssembleSetupFile(image, TestItems());
}

}  // namespace payload_test
