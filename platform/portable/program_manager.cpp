#include "platform/portable/program_manager.h"

#include "platform/text/text.h"

namespace platform::portable {

namespace {

// Splits "[Name(arg1,"arg 2")]" into its name and arguments; false when it is not one
// bracketed command.
bool ParseCommand(const std::string& command, std::string& name, std::vector<std::string>& args) {
  if (command.size() < 4 || command.front() != '[' || command.back() != ']') return false;
  const std::size_t open = command.find('(');
  const std::size_t close = command.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open ||
      close != command.size() - 2) {
    return false;
  }
  name = command.substr(1, open - 1);
  args.clear();
  std::string current;
  bool quoted = false;
  for (std::size_t i = open + 1; i < close; ++i) {
    const char c = command[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      args.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  args.push_back(current);
  return !quoted;
}

}  // namespace

DdeConversation ProgramManager::Connect(const std::string& service, const std::string& topic) {
  if (faults_.Check(FaultPoint::kConnect) != 0 || !present_) return 0;
  if (!EqualsIgnoringCase(service, "Progman") || !EqualsIgnoringCase(topic, "progman")) return 0;
  const DdeConversation conversation = next_++;
  open_[conversation] = true;
  return conversation;
}

bool ProgramManager::Execute(DdeConversation conversation, const std::string& command) {
  if (open_.count(conversation) == 0) return false;
  commands_.push_back(command);
  if (faults_.Check(FaultPoint::kExecute) != 0) return false;
  // Program Manager reads its commands in the system's ANSI code page.
  if (!InAnsiCodePage(command)) return false;
  return Perform(command);
}

bool ProgramManager::Perform(const std::string& command) {
  std::string name;
  std::vector<std::string> args;
  if (!ParseCommand(command, name, args)) return false;
  if (EqualsIgnoringCase(name, "CreateGroup")) {
    currentGroup_ = args.front();
    groups_[currentGroup_];
    return true;
  }
  if (EqualsIgnoringCase(name, "DeleteGroup")) {
    return groups_.erase(args.front()) == 1;
  }
  if (EqualsIgnoringCase(name, "AddItem")) {
    const bool targetExists = files_.EntryExists(args.front());
    if (currentGroup_.empty() || !targetExists) return false;
    groups_[currentGroup_].push_back({args.front(), args.size() > 1 ? args[1] : std::string()});
    return true;
  }
  return false;
}

void ProgramManager::Disconnect(DdeConversation conversation) { open_.erase(conversation); }

}  // namespace platform::portable
