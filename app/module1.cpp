#include "app/module1.h"

namespace app {

Module1::Module1(platform::Platform& platform)
    : platform_(platform), form2_(platform), form1_(platform, state_) {}

void Module1::Main() {
  // Two setups at once would share the temporary folder and the destination.
  platform::Toolkit& toolkit = platform_.toolkit;
  if (!toolkit.ClaimInstance("Pelmora Setup")) {
    toolkit.MsgBox("The setup of Pelmora is already running.", platform::MsgBoxStyle::kExclamation,
                   "Pelmora");
    toolkit.EndProgram();
  }
  form2_.Show();
  form1_.Show();
}

}  // namespace app
