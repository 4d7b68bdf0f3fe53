// The setup program's entry point on Windows.
#include "app/module1.h"
#include "platform/services/program.h"

namespace {

void StartSetup(platform::Platform& platform) {
  static app::Module1 module1(platform);
  module1.Main();
}

}  // namespace

int main() { return platform::RunProgram(&StartSetup); }
