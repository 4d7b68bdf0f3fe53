// What mksetup builds: the item table the program is compiled with, the items of a product
// folder, and the check of a finished setup file.
#include "tools/mksetup/setup_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <map>

#include "codec/szdd_encoder.h"
#include "setup_file/layout.h"
#include "tests/support/codec_samples.h"
#include "tests/support/pe_image.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_product.h"
#include "tools/common/host_files.h"
#include "tools/mksetup/item_table.h"
#include "tools/mksetup/product_items.h"

namespace payload_test {
namespace {

namespace fs = std::filesystem;
using namespace tools::mksetup;

using setup_file::HexDigest;

constexpr setup_file::ItemTable kTable = {{
    {313471, 678912, HexDigest("0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef")},
    {2576, 4304, HexDigest("ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff")},
    {10594, 19452, {}},
    {2990, 5524, HexDigest("0000000000000000000000000000000000000000000000000000000000000001")},
    {3866, 5505, HexDigest("8000000000000000000000000000000000000000000000000000000000000000")},
    {3375, 4938, HexDigest("00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff")},
    {29348, 60416, HexDigest("fedcba9876543210fedcba9876543210fedcba9876543210fedcba9876543210")},
    {113311, 107504, HexDigest("5555555555555555555555555555555555555555555555555555555555555555")},
}};

TEST(ItemTable, ReadsBackWhatItWrites) {
  const std::string source = ItemTableSource(kTable);
  EXPECT_NE(source.find("    {2576, 4304, HexDigest(\"ffffffffffffffffffffffffffffffffffffffffffff"
                        "ffffffffffffffffffff\")},  // Stop.wa_\n"),
            std::string::npos);
  EXPECT_EQ(kTable[0].sha256[1], 0x23);
  setup_file::ItemTable read{};
  ASSERT_TRUE(ParseItemTable(source, read));
  EXPECT_EQ(read, kTable);
}

TEST(ItemTable, RejectsAnEditedOrIncompleteTable) {
  const std::string source = ItemTableSource(kTable);
  const std::string lastDigit = "0000000000000000000000000000000000000000000000000000000000000001";
  setup_file::ItemTable read{};
  for (const auto& [from, to] :
       {std::pair<std::string, std::string>{"{10594,", "{10594 + 1,"},
        {"\"ffffffffffffffffffffffffffffffff", "\"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"},
        {lastDigit, lastDigit.substr(1)},
        {lastDigit, lastDigit + "0"},
        {"abcdef", "abcdeg"},
        {"// Shot.wa_", "// Shot.wav"}}) {
    std::string edited = source;
    edited.replace(edited.find(from), from.size(), to);
    EXPECT_FALSE(ParseItemTable(edited, read)) << to;
  }
  EXPECT_FALSE(ParseItemTable(source.substr(0, source.size() - 5), read));
  EXPECT_FALSE(ParseItemTable(source + "int x;\n", read));
  EXPECT_FALSE(ParseItemTable("", read));
}

// The host program is linked with the table generated from the test product's items.
TEST(TestProduct, TheLinkedItemTableMatchesTheItemsAndTheItemsExpandToTheProduct) {
  const ItemBytes items = TestItems();
  setup_file::ItemTable table;
  std::string error;
  ASSERT_TRUE(TableOf(items, table, error)) << error;
  EXPECT_EQ(table, setup_file::kItemTable);
  const Bytes setup = TestSetupFile(PeImage(false, 4096));
  EXPECT_EQ(VerifySetupFile(setup, setup_file::kItemTable, items, TestProductFiles()), "");
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i][9], product::kProductFiles[i].installedName.back()) << i;
  }
}

class SetupFileCheck : public ::testing::Test {
 protected:
  const ItemBytes items = TestItems();
  const ExpectedFiles product = TestProductFiles();
  const setup_file::ItemTable table = setup_file::kItemTable;
  Bytes setup = TestSetupFile(PeImage(true, 7777));
};

TEST_F(SetupFileCheck, FindsAnItemThatDiffersFromTheOneAppended) {
  setup[setup.size() - 100] ^= 1;  // inside item 1, the application
  EXPECT_EQ(VerifySetupFile(setup, table, items, product),
            "'Pelmora.ex_' differs from the item appended");
}

TEST_F(SetupFileCheck, FindsATableThatDoesNotMatchTheItems) {
  setup_file::ItemTable swapped = table;
  std::swap(swapped[1], swapped[2]);
  EXPECT_EQ(VerifySetupFile(setup, swapped, items, product),
            "'Stop.wa_' differs from the item appended");
  setup_file::ItemTable wrongDigest = table;
  wrongDigest[4].sha256[17] ^= 1;
  EXPECT_EQ(VerifySetupFile(setup, wrongDigest, items, product),
            "'Click.wa_' does not expand to the length and SHA-256 of the item table");
  setup_file::ItemTable longer = table;
  longer[7].size += 8;
  EXPECT_NE(VerifySetupFile(setup, longer, items, product).find("does not lie right behind"),
            std::string::npos);
}

// Bytes cut off, or added behind the payload, shift every item: the file is no setup file
// that the program can read.
TEST_F(SetupFileCheck, FindsAFileCutShortOrWithBytesBehindThePayload) {
  const std::string misplaced =
      "the payload does not lie right behind the program image (is the image a PE file that "
      "ends with its last section?)";
  for (const std::size_t cut : {1u, 8u, 5000u}) {
    const Bytes shorter(setup.begin(), setup.end() - static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(VerifySetupFile(shorter, table, items, product), misplaced) << cut;
  }
  Bytes longer = setup;
  longer.insert(longer.end(), 8, 0);
  EXPECT_EQ(VerifySetupFile(longer, table, items, product), misplaced);
  Bytes noPe = setup;
  noPe[0] = 'X';
  EXPECT_EQ(VerifySetupFile(noPe, table, items, product), misplaced);
}

TEST_F(SetupFileCheck, FindsAnItemThatDoesNotExpandToItsProductFile) {
  ExpectedFiles other = product;
  other[3]->back() ^= 1;
  EXPECT_EQ(VerifySetupFile(setup, table, items, other),
            "'Shot.wa_' does not expand to 'Shot.wav'");
}

TEST(AlignmentPadding, MakesTheFileLengthAMultipleOfEight) {
  for (std::size_t image : {0u, 1u, 81920u, 81923u}) {
    for (std::size_t payload : {0u, 7u, 479531u}) {
      const std::size_t padding = setup_file::AlignmentPadding(image, payload);
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
  const Bytes ready = codec::szdd::Compress(Bytes(1000, 'b'), 'v');
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
  Bytes damaged = codec::szdd::Compress(Bytes(1000, 'c'), 'm');
  damaged.resize(damaged.size() - 1);
  ASSERT_TRUE(tools::WriteWholeFile(folder / "PLM.ch_", damaged));
  EXPECT_FALSE(MakeItems(folder.path(), items, error));
  EXPECT_NE(error.find("not an SZDD mode A file that expands"), std::string::npos) << error;
}

// The tool itself, from a product folder to a checked setup file.
class Mksetup : public ProductFolder {
 protected:
  // The tool's exit code; `limits` are shell commands that set its limits first.
  int Run(const std::string& arguments, const std::string& limits = "") {
    const std::string command = limits + "exec " + MKSETUP + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }
  Mksetup() { tools::WriteWholeFile(folder / "image.exe", PeImage(false, 5000)); }
  std::string Items(const fs::path& out, const fs::path& table) {
    return "items --product " + Quoted(folder.path()) + " --out " + Quoted(out) + " --table " +
           Quoted(table);
  }
  std::string Items() { return Items(folder / "items", folder / "table.cpp"); }
  std::string Assemble(const fs::path& out) {
    return "assemble --image " + Quoted(folder / "image.exe") + " --items " +
           Quoted(folder / "items") + " --table " + Quoted(folder / "table.cpp") + " --product " +
           Quoted(folder.path()) + " --out " + Quoted(out);
  }
  std::string Assemble() { return Assemble(folder / "setup.exe"); }
  Bytes Read(const fs::path& path) {
    Bytes bytes;
    EXPECT_TRUE(tools::ReadWholeFile(path, bytes)) << path;
    return bytes;
  }
  // Every file below the folder, with its bytes.
  std::map<fs::path, Bytes> Files(const fs::path& below) {
    std::map<fs::path, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(below)) {
      if (entry.is_regular_file()) files[entry.path()] = Read(entry.path());
    }
    return files;
  }

  static constexpr int kUsage = 1;
  static constexpr int kBadInput = 2;
  static constexpr int kOutputUnwritable = 3;
  static constexpr int kCheckFailed = 4;
};

TEST_F(Mksetup, BuildsAndChecksASetupFile) {
  ASSERT_EQ(Run(Items()), 0);
  ASSERT_EQ(Run(Assemble()), 0);
  const Bytes setup = Read(folder / "setup.exe");
  EXPECT_EQ(setup.size() % 8, 0u);
  EXPECT_EQ(VerifySetupFile(setup, setup_file::kItemTable, TestItems(), TestProductFiles()), "");
  EXPECT_EQ(Run("verify --setup " + Quoted(folder / "setup.exe") + " --items " +
                Quoted(folder / "items") + " --table " + Quoted(folder / "table.cpp")),
            0);
}

TEST_F(Mksetup, GivesEachFailureItsOwnExitCode) {
  EXPECT_EQ(Run(""), kUsage);
  EXPECT_EQ(Run("assemble --image"), kUsage);
  EXPECT_EQ(Run("items --product " + Quoted(folder / "nothing") + " --out " +
                Quoted(folder / "items") + " --table " + Quoted(folder / "table.cpp")),
            kBadInput);
  EXPECT_EQ(Run(Items(folder / "items", folder / "gone" / "table.cpp")), kOutputUnwritable);
  EXPECT_TRUE(fs::is_empty(folder / "items"));
  ASSERT_EQ(Run(Items()), 0);
  EXPECT_EQ(Run(Assemble(folder / "gone" / "setup.exe")), kOutputUnwritable);
  ASSERT_EQ(Run(Assemble()), 0);
  Bytes damaged = Read(folder / "setup.exe");
  damaged[damaged.size() - 100] ^= 1;
  ASSERT_TRUE(tools::WriteWholeFile(folder / "damaged.exe", damaged));
  EXPECT_EQ(Run("verify --setup " + Quoted(folder / "damaged.exe") + " --items " +
                Quoted(folder / "items") + " --table " + Quoted(folder / "table.cpp")),
            kCheckFailed);
}

TEST_F(Mksetup, LeavesNoSetupFileWhenTheItemsDoNotMatchTheTable) {
  ASSERT_EQ(Run(Items()), 0);
  const Bytes other = codec::szdd::Compress(Bytes(10, 's'), 'v');
  ASSERT_TRUE(tools::WriteWholeFile(folder / "items" / "Stop.wa_", other));
  EXPECT_EQ(Run(Assemble()), kBadInput);
  EXPECT_FALSE(fs::exists(folder / "setup.exe"));
}

// However an output is spelled, it may not be one of the inputs: the command would destroy
// what it reads.
TEST_F(Mksetup, RefusesAnOutputThatIsOneOfItsInputs) {
  fs::remove(folder / "Beep.wav");
  ASSERT_TRUE(
      tools::WriteWholeFile(folder / "Beep.wa_", codec::szdd::Compress(Bytes(99, 'b'), 'v')));
  ASSERT_EQ(Run(Items()), 0);
  fs::create_hard_link(folder / "table.cpp", folder / "table link.cpp");
  const auto before = Files(folder.path());

  EXPECT_EQ(Run(Assemble(folder / "image.exe")), kUsage);
  EXPECT_EQ(Run(Assemble(folder / "Pelmora.exe")), kUsage);  // a product file
  EXPECT_EQ(Run(Assemble(folder / "items" / ".." / "items" / "Stop.wa_")), kUsage);
  EXPECT_EQ(Run(Assemble(folder / "table link.cpp")), kUsage);
  EXPECT_EQ(Run(Assemble(folder / "Shot.wav")), kUsage);  // a product file to check against
  EXPECT_EQ(Run(Items(folder / "items", folder / "Start.wav")), kUsage);
  // The product folder as the item folder: the ready item would be written over itself.
  EXPECT_EQ(Run(Items(folder.path(), folder / "table.cpp")), kUsage);
  EXPECT_EQ(Files(folder.path()), before);
}

// The new setup file is checked before it is written: one that fails replaces nothing, not
// even an earlier setup file of the same name.
TEST_F(Mksetup, ASetupFileThatFailsItsCheckReplacesNothing) {
  ASSERT_EQ(Run(Items()), 0);
  ASSERT_EQ(Run(Assemble()), 0);
  const auto before = Files(folder.path());
  Bytes changed = Read(folder / "Shot.wav");
  changed.back() ^= 1;  // the item no longer expands to it
  ASSERT_TRUE(tools::WriteWholeFile(folder / "Shot.wav", changed));
  auto expected = before;
  expected[folder / "Shot.wav"] = changed;

  EXPECT_EQ(Run(Assemble()), kCheckFailed);
  EXPECT_EQ(Files(folder.path()), expected);
}

// Writing the items stops at a file-size limit, as on a full disk: none of the new items is
// put in place, and the items and table of an earlier run stay as they were.
TEST_F(Mksetup, ItemsThatCannotAllBeWrittenReplaceNothing) {
  // The last item grows beyond the limit; the first ones stay below it.
  const Bytes noise = MakeSample(Sample::kRandom, 300000);
  // Files of at most 200 blocks (of 512 or 1024 bytes, as the shell counts them), and a
  // write beyond that an error rather than the end of the program.
  const std::string limits = "trap '' XFSZ; ulimit -f 200; ";
  const Bytes chm = Read(folder / "PLM.chm");
  ASSERT_TRUE(tools::WriteWholeFile(folder / "PLM.chm", noise));
  fs::create_directory(folder / "items");
  EXPECT_EQ(Run(Items(), limits), kOutputUnwritable);
  EXPECT_TRUE(fs::is_empty(folder / "items"));
  EXPECT_FALSE(fs::exists(folder / "table.cpp"));

  ASSERT_TRUE(tools::WriteWholeFile(folder / "PLM.chm", chm));
  ASSERT_EQ(Run(Items(), limits), 0);
  const auto before = Files(folder / "items");
  const Bytes table = Read(folder / "table.cpp");
  ASSERT_TRUE(tools::WriteWholeFile(folder / "Beep.wav", Bytes(4000, 'b')));  // a new item 6
  ASSERT_TRUE(tools::WriteWholeFile(folder / "PLM.chm", noise));
  EXPECT_EQ(Run(Items(), limits), kOutputUnwritable);
  EXPECT_EQ(Files(folder / "items"), before);
  EXPECT_EQ(Read(folder / "table.cpp"), table);
}

}  // namespace
}  // namespace payload_test
