// The installed-product records: the product key, and the entry in the list of installed
// programs with what the list shows of Pelmora.
#include "integration/product_records.h"

#include <gtest/gtest.h>

#include "platform/portable/portable_platform.h"

namespace {

using platform::kHKeyLocalMachine;
using platform::portable::StoredValue;
using Bytes = std::vector<std::uint8_t>;

constexpr char kDestination[] = "D:\\Tools, old\\Pelmora";
constexpr char kProductKey[] = "Software\\Quorvalen\\PLM";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora";
constexpr std::uint64_t kInstalledBytes = 479531;  // 468.3 KB

StoredValue Text(const std::string& text) {
  StoredValue value{platform::RegType::kSz, Bytes(text.begin(), text.end())};
  value.data.push_back(0);
  return value;
}

StoredValue Number(std::uint32_t number) {
  return {platform::RegType::kDword,
          Bytes{static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

// The values of the uninstall entry, in the order they are written.
const std::vector<std::pair<std::string, StoredValue>>& UninstallEntry() {
  static const std::vector<std::pair<std::string, StoredValue>> entry = {
      {"DisplayName", Text("Tarvo's Pelmora")},
      {"UninstallString", Text("\"D:\\Tools, old\\Pelmora\\Uninstall PLM.exe\"")},
      {"DisplayVersion", Text("1.5")},
      {"Publisher", Text("Quorvalen")},
      {"DisplayIcon", Text("D:\\Tools, old\\Pelmora\\Pelmora.exe,0")},
      {"InstallLocation", Text(kDestination)},
      {"EstimatedSize", Number(469)},
      {"NoModify", Number(1)},
      {"NoRepair", Number(1)},
  };
  return entry;
}

class ProductRecordsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(backend.registry.OpenHandles(), 0u) << "a key handle was left open";
  }

  integration::RecordsWritten Write(std::uint64_t installedBytes = kInstalledBytes,
                                    bool uninstallerInstalled = true) {
    return integration::WriteProductRecords(registry, kDestination, installedBytes,
                                            uninstallerInstalled);
  }
  std::optional<StoredValue> Value(const char* key, const std::string& name) {
    return backend.registry.FindValue(kHKeyLocalMachine, key, name);
  }
  static bool Equal(const std::optional<StoredValue>& found, const StoredValue& expected) {
    return found && found->type == expected.type && found->data == expected.data;
  }

  platform::portable::PortablePlatform backend;
  integration::Registry registry{backend.platform};
};

TEST_F(ProductRecordsTest, TheProductKeyAndEveryValueOfTheUninstallEntryAreWritten) {
  const integration::RecordsWritten written = Write();
  EXPECT_TRUE(written.productKey);
  EXPECT_TRUE(written.uninstallEntry);
  EXPECT_TRUE(Equal(Value(kProductKey, "Dizin"), Text(kDestination)));
  EXPECT_TRUE(Equal(Value(kProductKey, "Version"), Number(7)));
  EXPECT_TRUE(Equal(Value(kProductKey, "IncCur"), Number(1)));
  for (const auto& [name, expected] : UninstallEntry())
    EXPECT_TRUE(Equal(Value(kUninstallKey, name), expected)) << name;
  EXPECT_TRUE(backend.toolkit.Messages().empty());
}

TEST_F(ProductRecordsTest, TheEstimatedSizeCountsAPartOfAKilobyteWhole) {
  const std::pair<std::uint64_t, std::uint32_t> sizes[] = {
      {0, 0}, {1, 1}, {1024, 1}, {1025, 2}, {10u * 1024 * 1024, 10240}, {5'000'000'000, 4882813}};
  for (const auto& [bytes, kilobytes] : sizes) {
    Write(bytes);
    EXPECT_TRUE(Equal(Value(kUninstallKey, "EstimatedSize"), Number(kilobytes))) << bytes;
  }
}

TEST_F(ProductRecordsTest, WithoutAnUninstallerThereIsNoEntryToWrite) {
  const integration::RecordsWritten written = Write(kInstalledBytes, false);
  EXPECT_TRUE(written.productKey);
  EXPECT_FALSE(written.uninstallEntry);
  EXPECT_FALSE(backend.registry.KeyExists(kHKeyLocalMachine, kUninstallKey));
}

// Over an earlier installation's records, which differ from the new ones: each value of the
// product key that cannot be written is told, the key counts as not written, it keeps its
// earlier value, and the other values and the entry are written all the same.
TEST_F(ProductRecordsTest, AValueOfTheProductKeyThatFailsIsReportedAndKeepsItsEarlierValue) {
  const std::pair<const char*, StoredValue> productKey[] = {
      {"Dizin", Text(kDestination)}, {"Version", Number(7)}, {"IncCur", Number(1)}};
  const std::pair<const char*, StoredValue> earlier[] = {
      {"Dizin", Text("C:\\Old\\Pelmora")}, {"Version", Number(6)}, {"IncCur", Number(0)}};
  for (std::size_t failing = 0; failing < std::size(productKey); ++failing) {
    SCOPED_TRACE(productKey[failing].first);
    platform::portable::PortablePlatform fresh;
    integration::Registry freshRegistry{fresh.platform};
    for (const auto& [name, value] : earlier)
      fresh.registry.PutValue(kHKeyLocalMachine, kProductKey, name, value);
    fresh.faults.Fail("SetValueEx", platform::RegStatus::kAccessDenied,
                      static_cast<int>(failing) + 1);
    const integration::RecordsWritten written =
        integration::WriteProductRecords(freshRegistry, kDestination, kInstalledBytes, true);
    EXPECT_FALSE(written.productKey);
    EXPECT_TRUE(written.uninstallEntry);
    ASSERT_EQ(fresh.toolkit.Messages().size(), 1u);
    EXPECT_EQ(fresh.toolkit.Messages()[0].title, "Hata - Error");
    for (std::size_t value = 0; value < std::size(productKey); ++value) {
      const auto& [name, expected] = value == failing ? earlier[value] : productKey[value];
      EXPECT_TRUE(Equal(fresh.registry.FindValue(kHKeyLocalMachine, kProductKey, name), expected))
          << name;
    }
    EXPECT_EQ(fresh.registry.OpenHandles(), 0u);
  }
}

// Each value of the entry that cannot be written is told, the entry counts as not written,
// and every other value is written all the same.
TEST_F(ProductRecordsTest, AValueOfTheEntryThatFailsIsReportedAndTheOthersAreWritten) {
  const int productKeyWrites = 3;
  const auto& entry = UninstallEntry();
  for (std::size_t failing = 0; failing < entry.size(); ++failing) {
    const auto& [failingName, failingValue] = entry[failing];
    SCOPED_TRACE(failingName);
    platform::portable::PortablePlatform fresh;
    integration::Registry freshRegistry{fresh.platform};
    fresh.faults.Fail("SetValueEx", platform::RegStatus::kAccessDenied,
                      productKeyWrites + static_cast<int>(failing) + 1);
    const integration::RecordsWritten written =
        integration::WriteProductRecords(freshRegistry, kDestination, kInstalledBytes, true);
    EXPECT_TRUE(written.productKey);
    EXPECT_FALSE(written.uninstallEntry);
    ASSERT_EQ(fresh.toolkit.Messages().size(), 1u);
    EXPECT_EQ(fresh.toolkit.Messages()[0].title, "Hata - Error");
    EXPECT_EQ(fresh.toolkit.Messages()[0].text,
              failingValue.type == platform::RegType::kSz
                  ? "Registry'e string yazılamadı! Registry value(string) could not be written!"
                  : "Registry'e sayı yazılamadı! Registry value(number) could not be written!");
    for (const auto& [name, expected] : entry) {
      const auto found = fresh.registry.FindValue(kHKeyLocalMachine, kUninstallKey, name);
      if (name == failingName) {
        EXPECT_FALSE(found.has_value());
      } else {
        EXPECT_TRUE(Equal(found, expected)) << name;
      }
    }
    EXPECT_EQ(fresh.registry.OpenHandles(), 0u);
  }
}

}  // namespace
