#include "system/program_group.h"

namespace integration {

namespace {

std::string AddItem(const std::string& commandLine, const std::string& caption) {
  return "[additem(\"" + commandLine + "\"," + caption + ")]";
}

bool IsInstalledFile(platform::FileSystem& files, const std::string& path) {
  return platform::Exists(files, path, platform::Attribute::kNormal);
}

}  // namespace

void CreateProgramGroup(platform::DdeLink& link, platform::FileSystem& files, const std::string& directory) {
  link.SetLinkTopic("Progman|progman");
  link.SetLinkItem("");
  link.SetLinkMode(platform::LinkMode::kNone);
  link.SetLinkMode(platform::LinkMode::kManual);
  link.LinkExecute("[CreateGroup(Pelmora)]");
  link.LinkExecute(AddItem(directory + "\\Pelmora.exe", "Tarvo's Pelmora"));
  if (IsInstalledFile(files, directory + "\\PLM.chm")) {
    link.LinkExecute(AddItem(directory + "\\PLM.chm", "Pelmora Help"));
  }
  if (IsInstalledFile(files, directory + "\\Uninstall PLM.exe")) {
    link.LinkExecute(AddItem(directory + "\\Uninstall PLM.exe", "Uninstall Pelmora"));
  }
  link.SetLinkMode(platform::LinkMode::kNone);
}

}  // namespace integration
