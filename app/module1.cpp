#include "app/module1.h"

namespace app {

Module1::Module1(platform::Platform& platform) : form2_(platform), form1_(platform, state_) {}

void Module1::Main() {
  form2_.Show();
  form1_.Show();
}

}  // namespace app
