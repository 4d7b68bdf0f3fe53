#pragma once
// The client side of a DDE conversation through the system's DDE management library
// (DDEML), as a Unicode instance that lives while a conversation is open.
#include <windows.h>

#include "platform/dde_api.h"

namespace platform::win32 {

class Win32Dde : public DdeApi {
 public:
  ~Win32Dde() override;

  DdeConversation Connect(const std::string& service, const std::string& topic) override;
  bool Execute(DdeConversation conversation, const std::string& command) override;
  void Disconnect(DdeConversation conversation) override;

 private:
  bool Initialise();
  void UninitialiseWhenIdle();

  DWORD instance_ = 0;
  int conversations_ = 0;
};

}  // namespace platform::win32
