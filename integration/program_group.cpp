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

// `folder` + "\" + `name`, built in place: the image holds one copy of the steps.
std::string PathIn(const std::string& folder, const char* name) {
  std::string path = folder;
  path += '\\';
  path += name;
  return path;
}

// The command line stands in quotation marks: a blank in the path must not split it.
// Program Manager reads the system's ANSI code page, so a path that it cannot spell goes by
// its short form.
std::string AddItem(platform::FileSystem& files, const std::string& directory,
                    const GroupItem& item) {
  return "[additem(\"" + files.AnsiPath(PathIn(directory, item.fileName)) + "\"," + item.caption +
         ")]";
}

// Without Program Manager, the group is made as the shell keeps it: a shell link for each item,
// named after its caption, in a folder named after the group. Returns the captions of the items
// it does not hold.
std::vector<std::string> MakeOwnGroup(platform::FileSystem& files, const std::string& directory,
                                      const std::vector<const GroupItem*>& items) {
  const std::string programs = files.CommonProgramsFolder();
  const std::string folder = PathIn(programs, product::kProgramGroup);
  // A link in the place of the folder or of a link file is not followed. The folder is made
  // now or is there from an earlier installation; where it is not, no link can be saved.
  const bool usable = !programs.empty() && !files.IsLink(folder);
  if (usable) files.MkDir(folder);
  std::vector<std::string> missing;
  for (const GroupItem* item : items) {
    std::string link = PathIn(folder, item->caption);
    link += ".lnk";
    if (!usable || files.IsLink(link) ||
        files.MakeShellLink(link, PathIn(directory, item->fileName)) !=
            platform::SystemError::kSuccess) {
      missing.push_back(item->caption);
    }
  }
  return missing;
}

bool IsInPlace(platform::FileSystem& files, const std::string& directory, const GroupItem& item,
               bool installed) {
  return installed ||
         platform::Exists(files, PathIn(directory, item.fileName), platform::Attribute::kNormal);
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
  if (!link.SetLinkMode(platform::LinkMode::kManual)) return MakeOwnGroup(files, directory, items);
  const bool created = link.LinkExecute(kCreateGroup);
  std::vector<std::string> missing;
  for (const GroupItem* item : items) {
    if (!created || !link.LinkExecute(AddItem(files, directory, *item)))
      missing.push_back(item->caption);
  }
  link.SetLinkMode(platform::LinkMode::kNone);
  return missing;
}

}  // namespace integration
