// The harness leaves the system's temporary folder as it found it, also for parameterised
// tests, whose names hold "/".
#include "tests/app/wizard_harness.h"

#include <gtest/gtest.h>

namespace app_test {
namespace {

namespace fs = std::filesystem;

class HarnessFolder : public ::testing::TestWithParam<int> {};

TEST_P(HarnessFolder, LiesDirectlyInTheTemporaryFolderAndGoesWithTheHarness) {
  fs::path root;
  {
    WizardHarness harness;
    root = harness.Root();
    EXPECT_TRUE(fs::is_directory(root));
    EXPECT_EQ(root.parent_path(), fs::temp_directory_path());
  }
  EXPECT_FALSE(fs::exists(root));
}

INSTANTIATE_TEST_SUITE_P(Runs, HarnessFolder, ::testing::Values(1, 2));

}  // namespace
}  // namespace app_test
