#include "integration/registry.h"

#include <gtest/gtest.h>

#include "platform/portable/portable_platform.h"

namespace {

using platform::kHKeyLocalMachine;
using platform::portable::StoredValue;
using Bytes = std::vector<std::uint8_t>;

constexpr int kErrorStyle = 4144;

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(backend.registry.OpenHandles(), 0u) << "a key handle was left open";
  }

  const std::vector<platform::portable::ShownMessage>& Messages() {
    return backend.toolkit.Messages();
  }

  platform::portable::PortablePlatform backend;
  integration::Registry registry{backend.platform};
};

TEST_F(RegistryTest, CreateRegKeyMakesEveryLevelAndIsQuietWhenTheKeyExists) {
  registry.CreateRegKey(kHKeyLocalMachine, "Software\\Quorvalen\\PLM");
  registry.CreateRegKey(kHKeyLocalMachine, "Software\\Quorvalen\\PLM");
  EXPECT_TRUE(backend.registry.KeyExists(kHKeyLocalMachine, "Software\\Quorvalen\\PLM"));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryTest, CreateRegKeyReportsAKeyItMayNotCreate) {
  backend.registry.DenyWrites(kHKeyLocalMachine, "Software");
  registry.CreateRegKey(kHKeyLocalMachine, "Software\\Quorvalen\\PLM");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text,
            "Registry anahtarı oluşturulamadı. Registry key could not be created!");
  EXPECT_EQ(Messages()[0].title, "Hata - Error");
  EXPECT_EQ(Messages()[0].style, kErrorStyle);
}

TEST_F(RegistryTest, SetRegStringStoresTheTextWithOneNulAndCreatesTheKey) {
  registry.SetRegString(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Dizin",
                        "D:\\Tools\\Pelmora");
  registry.SetRegString(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Empty", "");
  registry.SetRegString(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Turkish", "Yazılım");

  const auto dizin =
      backend.registry.FindValue(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Dizin");
  ASSERT_TRUE(dizin.has_value());
  EXPECT_EQ(dizin->type, 1u);
  const std::string expected = "D:\\Tools\\Pelmora";
  Bytes expectedBytes(expected.begin(), expected.end());
  expectedBytes.push_back(0);
  EXPECT_EQ(dizin->data, expectedBytes);

  const auto empty =
      backend.registry.FindValue(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Empty");
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(empty->data, Bytes{0});

  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Turkish", "x"),
            "Yazılım");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryTest, SetRegStringReportsAFailedWriteWithTheStringMessageOnly) {
  backend.registry.DenyWrites(kHKeyLocalMachine, "Software\\Microsoft");
  registry.SetRegString(kHKeyLocalMachine, "Software\\Microsoft\\Windows", "DisplayName",
                        "Tarvo's Pelmora");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text,
            "Registry'e string yazılamadı! Registry value(string) could not be written!");
  EXPECT_EQ(Messages()[0].title, "Hata - Error");
  EXPECT_EQ(Messages()[0].style, kErrorStyle);

  backend.faults.Fail("SetValueEx", platform::RegStatus::kAccessDenied);
  registry.SetRegString(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Dizin", "C:\\x");
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(RegistryTest, SetRegLongStoresFourLittleEndianBytes) {
  EXPECT_TRUE(registry.SetRegLong(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Version", 7));
  EXPECT_TRUE(registry.SetRegLong(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Signed", -2));
  const auto version =
      backend.registry.FindValue(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Version");
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->type, 4u);
  EXPECT_EQ(version->data, (Bytes{7, 0, 0, 0}));
  EXPECT_EQ(
      backend.registry.FindValue(kHKeyLocalMachine, "Software\\Quorvalen\\PLM", "Signed")->data,
      (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_TRUE(Messages().empty());
}

// A number that cannot be written is reported like a string, whether the key or the value
// failed, and the caller learns of it.
TEST_F(RegistryTest, EveryWriteThatFailsIsReportedAndReturnsFalse) {
  const std::string key = "Software\\Quorvalen\\PLM";
  const std::string numberMessage =
      "Registry'e sayı yazılamadı! Registry value(number) could not be written!";
  const std::string stringMessage =
      "Registry'e string yazılamadı! Registry value(string) could not be written!";
  const std::string keyMessage =
      "Registry anahtarı oluşturulamadı. Registry key could not be created!";
  for (const char* failing : {"CreateKey", "SetValueEx"}) {
    SCOPED_TRACE(failing);
    backend.toolkit.ClearRecords();
    backend.faults.Fail(failing, platform::RegStatus::kAccessDenied, 1, /*persistent=*/true);
    EXPECT_FALSE(registry.SetRegLong(kHKeyLocalMachine, key, "IncCur", 1));
    EXPECT_FALSE(registry.SetRegString(kHKeyLocalMachine, key, "Dizin", "C:\\x"));
    std::vector<std::string> expected = {numberMessage, stringMessage};
    if (std::string(failing) == "CreateKey") {
      EXPECT_FALSE(registry.CreateRegKey(kHKeyLocalMachine, key));
      expected.push_back(keyMessage);
    }
    std::vector<std::string> shown;
    for (const auto& message : Messages()) shown.push_back(message.text);
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(backend.registry.FindValue(kHKeyLocalMachine, key, "IncCur"));
    EXPECT_EQ(backend.registry.OpenHandles(), 0u);
    backend.faults.Clear();
  }
}

TEST_F(RegistryTest, GetRegStringReadsOnlyStringValues) {
  const std::string key = "Software\\Quorvalen\\PLM";
  backend.registry.PutString(kHKeyLocalMachine, key, "Dizin", "D:\\Tools\\Pelmora");
  backend.registry.PutString(kHKeyLocalMachine, key, "Empty", "");
  backend.registry.PutValue(kHKeyLocalMachine, key, "NoNul", StoredValue{1, Bytes{'a', 'b', 'c'}});
  backend.registry.PutValue(kHKeyLocalMachine, key, "Expand",
                            StoredValue{2, Bytes{'%', 'x', '%', 0}});
  backend.registry.PutValue(kHKeyLocalMachine, key, "Number", StoredValue{4, Bytes{7, 0, 0, 0}});
  backend.registry.PutValue(kHKeyLocalMachine, key, "Inner", StoredValue{1, Bytes{'a', 0, 'b', 0}});

  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, key, "Dizin", "default"),
            "D:\\Tools\\Pelmora");
  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, key, "Empty", "default"), "");
  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, key, "NoNul", "default"), "abc");
  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, key, "Inner", "default"), "a");
  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, key, "Expand", "default"), "default");
  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, key, "Number", "default"), "default");
  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, key, "Missing", "default"), "default");
  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, "Software\\Gone", "Dizin", "default"),
            "default");

  backend.registry.DenyReads(kHKeyLocalMachine, key);
  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, key, "Dizin", "default"), "default");
  EXPECT_TRUE(Messages().empty());
}

// The value can change or vanish between the query of its size and the read of its data.
TEST_F(RegistryTest, GetRegStringGivesTheDefaultWhenTheSecondQueryFails) {
  const std::string key = "Software\\Quorvalen\\PLM";
  backend.registry.PutString(kHKeyLocalMachine, key, "Dizin", "D:\\Tools\\Pelmora");
  backend.faults.Fail("QueryValueEx", platform::RegStatus::kAccessDenied, 2);
  EXPECT_EQ(registry.GetRegString(kHKeyLocalMachine, key, "Dizin", "default"), "default");
  EXPECT_EQ(backend.registry.OpenHandles(), 0u);
}

TEST_F(RegistryTest, EnumRegKeysTellsAMissingKeyFromAnEmptyOne) {
  EXPECT_EQ(registry.EnumRegKeys(kHKeyLocalMachine, "Software\\Quorvalen"),
            (integration::SubkeyList{integration::kKeyNotOpened, {}}));
  backend.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen");
  EXPECT_EQ(registry.EnumRegKeys(kHKeyLocalMachine, "Software\\Quorvalen"),
            (integration::SubkeyList{integration::kNoSubkeys, {}}));
}

TEST_F(RegistryTest, EnumRegKeysListsEverySubkeyFromIndexZero) {
  backend.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen\\PLM");
  backend.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen\\Arvo");
  EXPECT_EQ(registry.EnumRegKeys(kHKeyLocalMachine, "Software\\Quorvalen"),
            (integration::SubkeyList{integration::kListed, {"Arvo", "PLM"}}));
}

TEST_F(RegistryTest, EnumRegKeysGoesBeyondTwoHundredFiftySixNames) {
  for (int i = 0; i < 300; ++i)
    backend.registry.PutKey(kHKeyLocalMachine, "Software\\V\\K" + std::to_string(1000 + i));
  const auto names = registry.EnumRegKeys(kHKeyLocalMachine, "Software\\V").names;
  ASSERT_EQ(names.size(), 300u);
  EXPECT_EQ(names.back(), "K1299");
}

TEST_F(RegistryTest, EnumRegKeysPassesOverANameTooLongForItsBuffer) {
  backend.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen\\" + std::string(300, 'A'));
  backend.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen\\" + std::string(254, 'B'));
  backend.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen\\PLM");
  const auto names = registry.EnumRegKeys(kHKeyLocalMachine, "Software\\Quorvalen").names;
  EXPECT_EQ(names, (std::vector<std::string>{std::string(254, 'B'), "PLM"}));
}

TEST_F(RegistryTest, EnumRegKeysEndsTheListingAtAFailingIndex) {
  backend.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen\\Arvo");
  backend.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen\\PLM");
  backend.faults.Fail("EnumKey", platform::RegStatus::kAccessDenied, 2);
  const auto names = registry.EnumRegKeys(kHKeyLocalMachine, "Software\\Quorvalen").names;
  EXPECT_EQ(names, std::vector<std::string>{"Arvo"});
}

}  // namespace
