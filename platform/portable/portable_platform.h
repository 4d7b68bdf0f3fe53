#pragma once
// The portable backend as one object: every service of the platform, with the fault plan
// they share. It is what the tests run the program on.
#include "platform/portable/fault_plan.h"
#include "platform/portable/portable_file_system.h"
#include "platform/portable/portable_lz.h"
#include "platform/portable/portable_registry.h"
#include "platform/portable/portable_toolkit.h"
#include "platform/portable/program_manager.h"
#include "platform/services/platform.h"

namespace platform::portable {

class PortablePlatform {
 public:
  PortablePlatform()
      : toolkit(faults),
        files(faults),
        registry(faults),
        lz(faults),
        programManager(faults, files),
        platform{toolkit, files, registry, lz, programManager} {}

  // The program runs elevated, as the setup does under user account control: what it makes
  // is protected, and what it starts for the user goes through the shell.
  void SetElevated(bool elevated) {
    toolkit.SetElevated(elevated);
    files.SetElevated(elevated);
  }

  FaultPlan faults;
  PortableToolkit toolkit;
  PortableFileSystem files;
  PortableRegistry registry;
  PortableLz lz;
  ProgramManager programManager;
  Platform platform;
};

}  // namespace platform::portable
