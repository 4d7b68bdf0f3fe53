#include "integration/program_group.h"

#include <string_view>

#include "product/pelmora.h"

namespace integration {

namespace {

struct GroupItem {
  const char* fileName;
  const char* caption;
};

constexpr GroupItem kApplication = {product::kApplicationFile, product::kTitle};
constexpr GroupItem kHelp = {product::kHelpFile, product::kHelpCaption};
constexpr GroupItem kUninstaller = {product::kUninstallerFile, product::kUninstallerCaption};

// Program Manager's command that creates the group, written out whole rather than built.
constexpr char kCreateGroup[] = "[CreateGroup(Pelmora)]";
static_assert(std::string_view(product::kProgramGroup) == "Pelmora",
              "kCreateGroup names the group");

// The command line stands in quotation marks: a blank in the path must not split it.
// Program Manager reads the system's ANSI code page, so a path that it cannot spell goes by
// its short form.
std::string AddItem(platform::FileSystem& files, const std::string& directory,
                    const GroupItem& item) {
  return "[additem(\"" + files.AnsiPath(directory + "\\" + item.fileName) + "\"," + item.caption +
         ")]";
}

bool IsInPlace(platform::FileSystem& files, const std::string& directory, const GroupItem& item,
               bool installed) {
  return installed ||
         platform::Exists(files, directory + "\\" + item.fileName, platform::Attribute::kNormal);
}

}  // namespace

std::vector<std::string> CreateProgramGroup(platform::DdeLink& link, platform::FileSystem& files,
                                            const std::string& directory,
                                            InstalledExtras installed) {
  std::vector<const GroupItem*> items = {&kApplication};
  if (IsInPlace(files, directory, kHelp, installed.help)) items.push_back(&kHelp);
  if (IsInPlace(files, directory, kUninstaller, installed.uninstaller))
    items.push_back(&kUninstaller);

  link.SetLinkTopic("Progman|progman");
  link.SetLinkItem("");
  link.SetLinkMode(platform::LinkMode::kNone);
  const bool created =
      link.SetLinkMode(platform::LinkMode::kManual) && link.LinkExecute(kCreateGroup);
  std::vector<std::string> missing;
  for (const GroupItem* item : items) {
    if (!created || !link.LinkExecute(AddItem(files, directory, *item)))
      missing.push_back(item->caption);
  }
  link.SetLinkMode(platform::LinkMode::kNone);
  return missing;
}

}  // namespace integration
