// The portable LZ layer's own conventions, beyond what ExpandFile shows of them.
#include <gtest/gtest.h>

#include "platform/lz_api.h"
#include "tests/payload/payload_machine.h"

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

TEST_F(PortableLzTest, CreatingLocksTheFileUntilItIsClosed) {
  platform::OfStruct record{};
  const std::int32_t destination = backend.lz.OpenFile("C:\\Temp\\b", record, kCreate);
  ASSERT_GE(destination, 0);
  EXPECT_LT(backend.lz.OpenFile("C:\\Temp\\b", record, kRead), 0);
  EXPECT_EQ(record.nErrCode, platform::SystemError::kSharingViolation);
  backend.lz.Close(destination);
  EXPECT_GE(backend.lz.OpenFile("C:\\Temp\\b", record, kRead), 0);
}

}  // namespace
}  // namespace payload_test
