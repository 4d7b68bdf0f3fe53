#pragma once
// The synthetic test product, made at build time and run through `mksetup items`: its
// eight files, its items, and the item table the host program is built with. Tests build
// setup files from it with the code mksetup uses.
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "tools/mksetup/setup_file.h"

namespace payload_test {

// The product files under their installed names.
std::filesystem::path TestProductFolder();
// The items under their temporary names.
std::filesystem::path TestItemFolder();

// The items, in run order.
tools::mksetup::ItemBytes TestItems();
// The product files, in run order.
tools::mksetup::ExpectedFiles TestProductFiles();

// A setup file as mksetup assembles it: `image`, then the test items in file order.
std::vector<std::uint8_t> TestSetupFile(std::span<const std::uint8_t> image);

}  // namespace payload_test
