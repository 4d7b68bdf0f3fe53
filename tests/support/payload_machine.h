#pragma once
// A machine of the portable platform for the payload's tests: drive C over a folder of the
// test's own, with C:\Setup and C:\Temp\PLMTMP, and files read and written by Windows path.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/portable/portable_platform.h"
#include "tests/support/temp_folder.h"

namespace payload_test {

using Bytes = std::vector<std::uint8_t>;

class PayloadMachine : public ::testing::Test {
 protected:
  PayloadMachine();

  void MakeFolder(const std::string& windowsPath);
  void WriteFile(const std::string& windowsPath, const Bytes& bytes);
  Bytes ReadFile(const std::string& windowsPath);
  bool FileExists(const std::string& windowsPath);

  // The one message box shown so far, checked for the text, the style and the title.
  void ExpectOneMessage(const std::string& text, int style, const std::string& title);
  void ExpectNoMessage();

  TempFolder root;
  platform::portable::PortablePlatform backend;
  platform::Platform& platform = backend.platform;
};

}  // namespace payload_test
