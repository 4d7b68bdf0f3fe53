// The portable LZ layer's own conventions, beyond what ExpandFile shows of them.
#include <gtest/gtest.h>

#include "platform/services/lz_api.h"
#include "tests/support/payload_machine.h"

namespace payload_test {
namespace {

using platform::LzStyle::kCreate;
using platform::LzStyle::kRead;

class PortableLzTest : public PayloadMachine {};

TEST_F(PortableLzTest, AFailedOpenPutsTheSystemErrorInTheRecord) {
  platform::OfStruct record{};
  EXPECT_LT(backend.lz.OpenFile("C:\\Temp\\gone._", record, kRead), 0);
  EXPECT_EQ(record.nErrCode, platform::SystemError::kFileNotFound);
  EXPECT_LT(backend.lz.OpenFile("C:\\Gone\\x", record, kCreate), 0);
  EXPECT_EQ(record.nErrCode, platform::SystemError::kPathNotFound);
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
}

TEST_F(PortableLzTest, CopyChecksBothHandles) {
  WriteFile("C:\\Temp\\a", {'a'});
  platform::OfStruct record{};
  const std::int32_t source = backend.lz.OpenFile("C:\\Temp\\a", record, kRead);
  const std::int32_t destination = backend.lz.OpenFile("C:\\Temp\\b", record, kCreate);
  ASSERT_GE(source, 0);
  ASSERT_GE(destination, 0);
  EXPECT_EQ(backend.lz.Copy(destination + 100, destination), platform::LzError::kBadInHandle);
  EXPECT_EQ(backend.lz.Copy(source, destination + 100), platform::LzError::kBadOutHandle);
  EXPECT_EQ(backend.lz.Copy(source, destination), 1);
  backend.lz.Close(source);
  backend.lz.Close(destination);
  EXPECT_EQ(backend.lz.Copy(source, destination), platform::LzError::kBadInHandle);
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
}

// A name that ends in "_" is its own compressed name: no second name stands in for it.
TEST_F(PortableLzTest, CreatingLocksTheFileUntilItIsClosed) {
  platform::OfStruct record{};
  const std::int32_t destination = backend.lz.OpenFile("C:\\Temp\\b.tm_", record, kCreate);
  ASSERT_GE(destination, 0);
  EXPECT_LT(backend.lz.OpenFile("C:\\Temp\\b.tm_", record, kRead), 0);
  EXPECT_EQ(record.nErrCode, platform::SystemError::kSharingViolation);
  backend.lz.Close(destination);
  EXPECT_GE(backend.lz.OpenFile("C:\\Temp\\b.tm_", record, kRead), 0);
}

// As lz32 does: a name that cannot be opened is tried again as its compressed name.
TEST_F(PortableLzTest, ANameThatCannotBeOpenedIsTriedAsItsCompressedName) {
  struct Case {
    const char* asked;
    const char* opened;
  };
  for (const Case& name : {Case{"C:\\Temp\\x.exe", "x.ex_"}, Case{"C:\\Temp\\x.ab", "x.ab_"},
                           Case{"C:\\Temp\\x", "x._"}, Case{"C:\\Temp\\x.y.wav", "x.y.wa_"}}) {
    SCOPED_TRACE(name.asked);
    MakeFolder(name.asked);  // a folder cannot be opened as a file
    platform::OfStruct record{};
    const std::int32_t handle = backend.lz.OpenFile(name.asked, record, kCreate);
    ASSERT_GE(handle, 0);
    backend.lz.Close(handle);
    EXPECT_TRUE(std::filesystem::is_regular_file(root / "c" / "Temp" / name.opened));
  }
}

}  // namespace
}  // namespace payload_test
