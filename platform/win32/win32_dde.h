#pragma once
// The client side of a DDE conversation, spoken in window messages by a hidden window of
// our own. The system's DDE library hides its windows; ours can let the answers of a
// server at a lower integrity level through when the program runs elevated.
#include <windows.h>

#include "platform/services/dde_api.h"

namespace platform::win32 {

// How long a command waits for the server's acknowledgement.
constexpr DWORD kDdeExecuteTimeoutMs = 30000;

class Win32Dde : public DdeApi {
 public:
  explicit Win32Dde(DWORD executeTimeoutMs = kDdeExecuteTimeoutMs)
      : executeTimeoutMs_(executeTimeoutMs) {}

  DdeConversation Connect(const std::string& service, const std::string& topic) override;
  bool Execute(DdeConversation conversation, const std::string& command) override;
  void Disconnect(DdeConversation conversation) override;

 private:
  DWORD executeTimeoutMs_;
};

}  // namespace platform::win32
