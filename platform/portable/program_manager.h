#pragma once
// A recording stand-in for Program Manager's DDE command interface (service "Progman",
// topic "progman"). It keeps the groups and items it was asked for and, like the shell,
// refuses an item whose target file does not exist, commands it does not know, and commands
// that its ANSI code page cannot spell.
#include <map>
#include <string>
#include <vector>

#include "platform/portable/fault_plan.h"
#include "platform/portable/portable_file_system.h"
#include "platform/services/dde_api.h"

namespace platform::portable {

struct GroupItem {
  std::string commandLine;
  std::string caption;
};

class ProgramManager : public DdeApi {
 public:
  ProgramManager(FaultPlan& faults, PortableFileSystem& files) : faults_(faults), files_(files) {}

  // Without Program Manager no application answers a conversation.
  void SetPresent(bool present) { present_ = present; }

  // Every command received on an open conversation, refused ones included.
  const std::vector<std::string>& Commands() const { return commands_; }
  const std::map<std::string, std::vector<GroupItem>>& Groups() const { return groups_; }
  int OpenConversations() const { return static_cast<int>(open_.size()); }

  // DdeApi.
  DdeConversation Connect(const std::string& service, const std::string& topic) override;
  bool Execute(DdeConversation conversation, const std::string& command) override;
  void Disconnect(DdeConversation conversation) override;

 private:
  bool Perform(const std::string& command);

  FaultPlan& faults_;
  PortableFileSystem& files_;
  bool present_ = true;
  std::vector<std::string> commands_;
  std::map<std::string, std::vector<GroupItem>> groups_;
  std::string currentGroup_;
  std::map<DdeConversation, bool> open_;
  DdeConversation next_ = 1;
};

}  // namespace platform::portable
