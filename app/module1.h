#pragma once
// The start of the program: it shows the backdrop, then the wizard in front of it, and
// leaves the rest to window events.
#include "app/form1.h"
#include "app/shared_state.h"
#include "platform/services/platform.h"
#include "ui/form2.h"

namespace app {

class Module1 {
 public:
  explicit Module1(platform::Platform& platform);

  void Main();

  SharedState& State() { return state_; }
  ui::Form2& Backdrop() { return form2_; }
  Form1& Wizard() { return form1_; }

 private:
  platform::Platform& platform_;
  SharedState state_;
  ui::Form2 form2_;
  Form1 form1_;
};

}  // namespace app
