#pragma once
// Program groups, through Program Manager's DDE command interface (service "Progman",
// topic "progman") with a DDEML client.
#include <string_view>

#include "demo/uninstall/removal.h"

namespace demo {

// Asks Program Manager for its list of groups; Unknown when it does not answer.
Presence ProgramGroupPresence(std::string_view group);

// Sends "[DeleteGroup(<group>)]" when the group's folder holds nothing but plain files; true
// when Program Manager carried it out.
bool DeleteProgramGroup(std::string_view group);

}  // namespace demo
