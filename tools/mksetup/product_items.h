#pragma once
// The items made from a product folder: the eight product files under their installed
// names, or ready SZDD items under their temporary names.
#include <filesystem>
#include <string>

#include "tools/mksetup/setup_file.h"

namespace tools::mksetup {

// The file the item for `file` is made from: the product file under its installed name
// when there is one, otherwise the ready item under its temporary name.
std::filesystem::path ItemSource(const std::filesystem::path& productFolder,
                                 const product::ProductFile& file);

// Makes the items in run order: a product file under its installed name is compressed; a
// ready item under its temporary name is taken as it is once it has been checked to expand.
// False, with `error` saying why, when an item is missing or unusable.
bool MakeItems(const std::filesystem::path& productFolder, ItemBytes& items, std::string& error);

// The files the items must expand to: the product files present under their installed names.
ExpectedFiles ReadExpectedFiles(const std::filesystem::path& productFolder);

// Reads the items written earlier into `itemFolder` under their temporary names.
bool ReadItems(const std::filesystem::path& itemFolder, ItemBytes& items, std::string& error);

}  // namespace tools::mksetup
