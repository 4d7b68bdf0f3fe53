#pragma once
// The program group "Pelmora": the application always, the help file and the uninstaller when
// their files are in place. Program Manager is asked for it over a DDE link; where none
// answers, the group is made as the shell keeps one, a folder of shell links in the Programs
// folder of every user's Start menu.
#include <string>
#include <vector>

#include "platform/forms/dde_link.h"
#include "platform/services/file_system.h"

namespace integration {

// Which optional files the run has just installed. A file that the run could not install
// may still be in place from an earlier installation, and then has its item too.
struct InstalledExtras {
  bool help = false;
  bool uninstaller = false;
};

// `directory` is the trimmed destination. Returns the captions of the items that the group
// should hold but does not: every item when the group itself could not be made. The link is
// closed on return.
std::vector<std::string> CreateProgramGroup(platform::DdeLink& link, platform::FileSystem& files,
                                            const std::string& directory,
                                            InstalledExtras installed);

}  // namespace integration
