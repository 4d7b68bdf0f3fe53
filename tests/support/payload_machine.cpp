#include "tests/support/payload_machine.h"

#include "tools/common/host_files.h"

namespace payload_test {

PayloadMachine::PayloadMachine() {
  std::filesystem::create_directories(root / "c");
  platform::portable::DriveSetup drive;
  drive.hostRoot = root / "c";
  backend.files.MapDrive('C', drive);
  MakeFolder("C:\\Setup");
  MakeFolder("C:\\Temp");
  MakeFolder("C:\\Temp\\PLMTMP");
}

void PayloadMachine::MakeFolder(const std::string& windowsPath) {
  ASSERT_EQ(backend.files.MkDir(windowsPath), 0) << windowsPath;
}

void PayloadMachine::WriteFile(const std::string& windowsPath, const Bytes& bytes) {
  const auto host = backend.files.HostPath(windowsPath);
  ASSERT_TRUE(host && tools::WriteWholeFile(*host, bytes)) << windowsPath;
}

Bytes PayloadMachine::ReadFile(const std::string& windowsPath) {
  Bytes bytes;
  const auto host = backend.files.HostPath(windowsPath);
  EXPECT_TRUE(host && tools::ReadWholeFile(*host, bytes)) << windowsPath;
  return bytes;
}

bool PayloadMachine::FileExists(const std::string& windowsPath) {
  return backend.files.GetAttributes(windowsPath) != platform::Attribute::kNoEntry;
}

void PayloadMachine::ExpectOneMessage(const std::string& text, int style,
                                      const std::string& title) {
  const auto& messages = backend.toolkit.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, text);
  EXPECT_EQ(messages[0].style, style);
  EXPECT_EQ(messages[0].title, title);
}

void PayloadMachine::ExpectNoMessage() { EXPECT_TRUE(backend.toolkit.Messages().empty()); }

}  // namespace payload_test
