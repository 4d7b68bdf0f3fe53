// The portable LZ layer's own conventions, beyond what ExpandFile shows of them.
#include <gtest/gtest.h>

#include "platform/services/lz_api.h"
#include "tests/support/payload_machine.h"

namespace payload_test {
namespace {

class PortableLzTest : public PayloadMachine {
 protected:
  std::unique_ptr<platform::FileChannel> NewFile(const std::string& path) {
    int error = 0;
    auto channel = backend.files.Open(path, platform::ChannelMode::kCreateNew, error);
    EXPECT_TRUE(channel) << path;
    return channel;
  }
};

// A handle reads its file from the first byte, wherever the file's own channel stands, and
// closing it leaves that channel open; a closed handle is no handle.
TEST_F(PortableLzTest, AHandleReadsItsFileWholeAndLeavesItOpen) {
  auto source = NewFile("C:\\Temp\\a");
  auto destination = NewFile("C:\\Temp\\b");
  ASSERT_TRUE(source && destination);
  const std::uint8_t plain[] = {'a', 'b', 'c'};
  ASSERT_TRUE(source->Write(plain, 3));
  const std::int32_t handle = backend.lz.Init(*source);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(backend.lz.Copy(handle + 100, *destination), platform::LzError::kBadInHandle);
  EXPECT_EQ(backend.lz.Copy(handle, *destination), 3);
  backend.lz.Close(handle);
  EXPECT_EQ(backend.lz.Copy(handle, *destination), platform::LzError::kBadInHandle);
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
  std::uint8_t back[3] = {};
  EXPECT_TRUE(source->ReadAt(0, back, 3));
  EXPECT_TRUE(destination->ReadAt(0, back, 3));
  EXPECT_EQ(back[2], 'c');
}

}  // namespace
}  // namespace payload_test
