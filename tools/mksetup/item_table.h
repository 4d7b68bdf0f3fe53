#pragma once
// The item table that the setup program is built with: the source file that defines
// setup_file::kItemTable, generated from the items and read back when the setup file is
// assembled, so that the program's constants and the appended items cannot disagree.
#include <string>

#include "setup_file/layout.h"

namespace tools::mksetup {

// The C++ source of the table.
std::string ItemTableSource(const setup_file::ItemTable& table);

// The table in a source written by ItemTableSource; false when it is not one.
bool ParseItemTable(const std::string& source, setup_file::ItemTable& table);

}  // namespace tools::mksetup
