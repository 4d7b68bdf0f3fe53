#pragma once
// The program group "Pelmora", asked of Program Manager over a DDE link: the application
// always, the help file and the uninstaller when their files were installed.
#include <string>

#include "platform/dde_link.h"
#include "platform/file_system.h"

namespace integration {

// `directory` is the trimmed destination. Program Manager not answering, or refusing a
// command, is a platform failure.
void CreateProgramGroup(platform::DdeLink& link, platform::FileSystem& files, const std::string& directory);

}  // namespace integration
