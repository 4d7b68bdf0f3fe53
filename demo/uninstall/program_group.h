#pragma once
// Program groups, through Program Manager's DDE command interface (service "Progman",
// topic "progman") with a DDEML client.
#include <string_view>

#include "demo/common/wide_text.h"
#include "demo/uninstall/removal.h"

namespace demo {

// Asks Program Manager for its list of groups; Unknown when it does not answer.
Presence ProgramGroupPresence(std::string_view group);

// The folder of links that the setup makes for the group itself where no Program Manager
// answers: the group's name in the Programs folder of every user's Start menu. Incomplete when
// the system cannot tell where that is.
WidePath OwnGroupFolder(std::string_view group);

// Sends "[DeleteGroup(<group>)]" when the group's folder holds nothing but plain files; true
// when Program Manager carried it out.
bool DeleteProgramGroup(std::string_view group);

}  // namespace demo
