// What mksetup builds: the item table the program is compiled with, the items of a product
// folder, and the check of a finished setup file.
#include "tools/mksetup/setup_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "payload/payload_items.h"
#include "payload/szdd_encoder.h"
#include "tests/payload/temp_folder.h"
#include "tests/payload/test_product.h"
#include "tools/common/host_files.h"
#include "tools/mksetup/item_table.h"
#include "tools/mksetup/product_items.h"

namespace payload_test {
namespace {

namespace fs = std::filesystem;
using namespace tools::mksetup;

TEST(ItemTable, ReadsBackWhatItWrites) {
  const ItemSizes sizes = {313471, 2576, 10594, 2990, 3866, 3375, 29348, 113311};
  const std::string source = ItemTableSource(sizes);
  EXPECT_NE(source.find("    2576,  // Stop.wa_\n"), std::string::npos);
  ItemSizes read{};
  ASSERT_TRUE(ParseItemTable(source, read));
  EXPECT_EQ(read, sizes);
}

TEST(ItemTable, RejectsAnEditedOrIncompleteTable) {
  const std::string source = ItemTableSource({1, 2, 3, 4, 5, 6, 7, 8});
  ItemSizes read{};
  std::string edited = source;
  edited.replace(edited.find("    3,"), 6, "    3 + 1,");
  EXPECT_FALSE(ParseItemTable(edited, read));
  EXPECT_FALSE(ParseItemTable(source.substr(0, source.size() - 5), read));
  EXPECT_FALSE(ParseItemTable(source + "int x;\n", read));
  EXPECT_FALSE(ParseItemTable("", read));
}

// The host program is linked with the table generated from the test product's items.
TEST(TestProduct, TheLinkedItemTableMatchesTheItemsAndTheItemsExpandToTheProduct) {
  const ItemBytes items = TestItems();
  EXPECT_EQ(SizesOf(items), payload::kItemSizes);
  const Bytes setup = TestSetupFile(Bytes(4096, 0));
  EXPECT_EQ(VerifySetupFile(setup, payload::kItemSizes, items, TestProductFiles()), "");
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i][9], payload::kProductFiles[i].installedName.back()) << i;
  }
}

class SetupFileCheck : public ::testing::Test {
 protected:
  const ItemBytes items = TestItems();
  const ExpectedFiles product = TestProductFiles();
  Bytes setup = TestSetupFile(Bytes(777, 'M'));
};

TEST_F(SetupFileCheck, FindsAnItemThatDiffersFromTheOneAppended) {
  setup[setup.size() - 100] ^= 1;  // inside item 1, the application
  EXPECT_EQ(VerifySetupFile(setup, SizesOf(items), items, product),
            "'Pelmora.ex_' differs from the item appended");
}

TEST_F(SetupFileCheck, FindsSizesThatDoNotMatchTheItems) {
  ItemSizes sizes = SizesOf(items);
  std::swap(sizes[1], sizes[2]);
  EXPECT_EQ(VerifySetupFile(setup, sizes, items, product),
            "'Stop.wa_' differs from the item appended");
  sizes = SizesOf(items);
  sizes[7] += static_cast<std::int32_t>(setup.size());
  EXPECT_EQ(VerifySetupFile(setup, sizes, items, product), "'PLM.ch_' lies outside the setup file");
}

TEST_F(SetupFileCheck, FindsAnItemThatDoesNotExpandToItsProductFile) {
  ExpectedFiles other = product;
  other[3]->back() ^= 1;
  EXPECT_EQ(VerifySetupFile(setup, SizesOf(items), items, other),
            "'Shot.wa_' does not expand to 'Shot.wav'");
}

TEST(AlignmentPadding, MakesTheFileLengthAMultipleOfEight) {
  for (std::size_t image : {0u, 1u, 81920u, 81923u}) {
    for (std::size_t payload : {0u, 7u, 479531u}) {
      const std::size_t padding = AlignmentPadding(image, payload);
      EXPECT_LT(padding, 8u);
      EXPECT_EQ((image + padding + payload) % 8, 0u);
    }
  }
}

class ProductFolder : public ::testing::Test {
 protected:
  ProductFolder() {
    for (const auto& entry : fs::directory_iterator(TestProductFolder())) {
      fs::copy(entry.path(), folder.path());
    }
  }
  TempFolder folder;
};

TEST_F(ProductFolder, TakesAReadyItemInPlaceOfAMissingProductFile) {
  fs::remove(folder / "Beep.wav");
  const Bytes ready = payload::szdd::Compress(Bytes(1000, 'b'), 'v');
  ASSERT_TRUE(tools::WriteWholeFile(folder / "Beep.wa_", ready));
  ItemBytes items;
  std::string error;
  ASSERT_TRUE(MakeItems(folder.path(), items, error)) << error;
  EXPECT_EQ(items[5], ready);
  EXPECT_EQ(items[0], TestItems()[0]);
}

TEST_F(ProductFolder, RefusesAMissingFileOrAReadyItemThatDoesNotExpand) {
  fs::remove(folder / "PLM.chm");
  ItemBytes items;
  std::string error;
  EXPECT_FALSE(MakeItems(folder.path(), items, error));
  EXPECT_NE(error.find("PLM.ch_"), std::string::npos) << error;
  Bytes damaged = payload::szdd::Compress(Bytes(1000, 'c'), 'm');
  damaged.resize(damaged.size() - 1);
  ASSERT_TRUE(tools::WriteWholeFile(folder / "PLM.ch_", damaged));
  EXPECT_FALSE(MakeItems(folder.path(), items, error));
  EXPECT_NE(error.find("not an SZDD mode A file that expands"), std::string::npos) << error;
}

// The tool itself, from a product folder to a checked setup file.
class Mksetup : public ProductFolder {
 protected:
  int Run(const std::string& arguments) {
    return std::system((std::string(MKSETUP) + " " + arguments + " 2>/dev/null").c_str());
  }
  std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }
  std::string Assemble() {
    return "assemble --image " + Quoted(folder / "Pelmora.exe") + " --items " +
           Quoted(folder / "items") + " --table " + Quoted(folder / "table.cpp") + " --product " +
           Quoted(folder.path()) + " --out " + Quoted(folder / "setup.exe");
  }
};

TEST_F(Mksetup, BuildsAndChecksASetupFile) {
  ASSERT_EQ(Run("items --product " + Quoted(folder.path()) + " --out " + Quoted(folder / "items") +
                " --table " + Quoted(folder / "table.cpp")),
            0);
  ASSERT_EQ(Run(Assemble() + " >/dev/null"), 0);
  Bytes setup;
  ASSERT_TRUE(tools::ReadWholeFile(folder / "setup.exe", setup));
  EXPECT_EQ(setup.size() % 8, 0u);
  EXPECT_EQ(VerifySetupFile(setup, SizesOf(TestItems()), TestItems(), TestProductFiles()), "");
}

TEST_F(Mksetup, LeavesNoSetupFileWhenTheItemsDoNotMatchTheTable) {
  ASSERT_EQ(Run("items --product " + Quoted(folder.path()) + " --out " + Quoted(folder / "items") +
                " --table " + Quoted(folder / "table.cpp")),
            0);
  const Bytes other = payload::szdd::Compress(Bytes(10, 's'), 'v');
  ASSERT_TRUE(tools::WriteWholeFile(folder / "items" / "Stop.wa_", other));
  EXPECT_NE(Run(Assemble()), 0);
  EXPECT_FALSE(fs::exists(folder / "setup.exe"));
  EXPECT_NE(Run("items --product " + Quoted(folder / "nothing") + " --out " +
                Quoted(folder / "items") + " --table " + Quoted(folder / "table.cpp")),
            0);
}

}  // namespace
}  // namespace payload_test
