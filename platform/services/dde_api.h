#pragma once
// The client side of a DDE conversation, as Program Manager's command interface needs it.
#include <cstdint>
#include <string>

namespace platform {

using DdeConversation = std::uintptr_t;  // 0: none

class DdeApi {
 public:
  virtual ~DdeApi() = default;
  // Opens a conversation; 0 when no application answers for this service and topic.
  virtual DdeConversation Connect(const std::string& service, const std::string& topic) = 0;
  // Sends one execute command and waits for the acknowledgement; false when the
  // application refused the command or did not answer in time.
  virtual bool Execute(DdeConversation conversation, const std::string& command) = 0;
  virtual void Disconnect(DdeConversation conversation) = 0;
};

}  // namespace platform
