// The setup program's entry point on Windows.
#include "app/module1.h"
#include "platform/services/program.h"

namespace {

// The setup lives as long as the process, which ends without destroying it: a static object
// would have its destructor registered with the C runtime's exit code, which this program
// does not run.
void StartSetup(platform::Platform& platform) {
  auto* module1 = new app::Module1(platform);
  module1->Main();
}

}  // namespace

// The process starts here, not in the C runtime's start-up code: the linker is told so (see
// setup/CMakeLists.txt). The program uses nothing that code prepares: no command-line
// arguments or environment, no console streams, no thread-local storage, and no object
// outside a function that needs a constructor run before it (the image is checked for that).
extern "C" [[noreturn]] void SetupStart() { platform::RunProgram(&StartSetup); }
