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

// The process starts here, not in the C runtime's start-up code (see pelmora_program_start).
extern "C" [[noreturn, gnu::force_align_arg_pointer]] void ProgramStart() {
  platform::RunProgram(&StartSetup);
}
