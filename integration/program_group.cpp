#include "integration/program_group.h"

#include "product/pelmora.h"

namespace integration {

namespace {

using product::GroupItem;

// The command line stands in quotation marks: a blank in the path must not split it.
// Program Manager reads the system's ANSI code page, so a path that it cannot spell goes by
// its short form.
std::string AddItem(platform::FileSystem& files, const std::string& directory, const GroupItem& item) {
  return "[additem(\"" + files.AnsiPath(directory + "\\" + std::string(item.fileName)) + "\"," +
         std::string(item.caption) + ")]";
}

bool IsInPlace(platform::FileSystem& files, const std::string& directory, const GroupItem& item,
               bool installed) {
  const std::string path = directory + "\\" + std::string(item.fileName);
  return installed || platform::Exists(files, path, platform::Attribute::kNormal);
}

}  // namespace

std::vector<std::string> CreateProgramGroup(platform::DdeLink& link, platform::FileSystem& files,
                                            const std::string& directory, InstalledExtras installed) {
  using product::kApplicationItem, product::kHelpItem, product::kUninstallerItem;
  std::vector<const GroupItem*> items = {&kApplicationItem};
  if (IsInPlace(files, directory, kHelpItem, installed.help)) items.push_back(&kHelpItem);
  if (IsInPlace(files, directory, kUninstallerItem, installed.uninstaller)) items.push_back(&kUninstallerItem);

  link.SetLinkTopic("Progman|progman");
  link.SetLinkItem("");
  link.SetLinkMode(platform::LinkMode::kNone);
  const std::string createGroup = "[CreateGroup(" + std::string(product::kProgramGroup) + ")]";
  const bool created = link.SetLinkMode(platform::LinkMode::kManual) && link.LinkExecute(createGroup);
  std::vector<std::string> missing;
  for (const GroupItem* item : items) {
    if (!created || !link.LinkExecute(AddItem(files, directory, *item))) missing.emplace_back(item->caption);
  }
  link.SetLinkMode(platform::LinkMode::kNone);
  return missing;
}

}  // namespace integration
