#include "demo/uninstall/removal_steps.h"

#include <windows.h>

#include "demo/uninstall/plain_names.h"
#include "demo/uninstall/program_group.h"
#include "demo/uninstall/registry_keys.h"
#include "product/pelmora.h"

namespace demo {

using namespace product;

namespace {

// The files in the order in which they are removed and reported.
constexpr ProductFile kRemovalOrder[] = {kApplication, kUninstaller, kHelp,      kSounds[0],
                                         kSounds[1],   kSounds[2],   kSounds[3], kSounds[4]};

// Whether `utf8Path` names a file (wantFolder false) or a folder (wantFolder true).
Presence PathPresence(std::string_view utf8Path, bool wantFolder) {
  const WidePath path = ToWidePath(utf8Path);
  if (!path.complete()) return Presence::Unknown;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return missing ? Presence::Absent : Presence::Unknown;
  }
  const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return isFolder == wantFolder ? Presence::Present : Presence::Absent;
}

Presence FilePresence(std::string_view path) { return PathPresence(path, false); }

Presence FolderPresence(std::string_view path) { return PathPresence(path, true); }

// Deletes the file through the handle that shows it is the product's name itself. A link goes
// as a name only: its attributes are those of a file elsewhere, and stay.
bool DeleteProductFile(std::string_view utf8Path) {
  BY_HANDLE_FILE_INFORMATION info;
  HANDLE file = OpenFileItself(ToWidePath(utf8Path),
                               DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, info);
  if (file == INVALID_HANDLE_VALUE) return false;
  if (!IsLink(info)) {
    FILE_BASIC_INFO basic{};                       // times of zero stay as they are
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;  // a read-only copy is still ours
    SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic));
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  const bool deleted = SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                                  sizeof(disposition)) != FALSE;
  CloseHandle(file);
  return deleted;
}

// The folder goes only when the product's files were all it held, and never through a link.
bool RemoveFolder(std::string_view utf8Path) {
  const WidePath path = ToWidePath(utf8Path);
  return IsPlainFolder(path) && RemoveDirectoryW(path.c_str()) != FALSE;
}

// A thing whose name did not fit cannot be checked or removed: the report names it as left.
Presence Uncheckable(std::string_view) { return Presence::Unknown; }

bool Unremovable(std::string_view) { return false; }

Utf8Path FileLabel(const Utf8Path& folder, std::string_view name) {
  Utf8Path label = folder;
  label.Append('\\').Append(name);
  return label;
}

Utf8Path KeyLabel(std::string_view key) {
  Utf8Path label;
  label.Append("HKEY_LOCAL_MACHINE\\").Append(key);
  return label;
}

Utf8Path GroupLabel(std::string_view group) {
  Utf8Path label;
  label.Append("Program group \"").Append(group).Append('"');
  return label;
}

}  // namespace

ProductRemoval::ProductRemoval(const WidePath& folder) {
  Add(GroupLabel(kProgramGroup), kProgramGroup, ProgramGroupPresence, DeleteProgramGroup);
  // The links go as the product's files do, and their folder only when they were all it held.
  // Where the system cannot tell where every user's Start menu is, the setup made no links.
  const Utf8Path ownGroup = ToUtf8(OwnGroupFolder(kProgramGroup));
  if (ownGroup.complete()) {
    for (const char* caption : {kTitle, kHelpCaption, kUninstallerCaption}) {
      Utf8Path link = FileLabel(ownGroup, caption);
      Add(link.Append(".lnk"), {}, FilePresence, DeleteProductFile);
    }
    Add(ownGroup, {}, FolderPresence, RemoveFolder, false);
  }
  const Utf8Path folderLabel = ToUtf8(folder);
  for (const ProductFile& file : kRemovalOrder) {
    Add(FileLabel(folderLabel, file.installedName), {}, FilePresence, DeleteProductFile,
        file.installedName != kUninstaller.installedName);
  }
  Add(folderLabel, {}, FolderPresence, RemoveFolder, false);
  Add(KeyLabel(kProductKey), kProductKey, KeyPresence, DeleteKeyTree);
  // The vendor key goes only when Pelmora's key was all it held.
  Add(KeyLabel(kVendorKey), kVendorKey, EmptyKeyPresence, DeleteEmptyKey, false);
  Add(KeyLabel(kUninstallKey), kUninstallKey, KeyPresence, DeleteKeyTree);
}

void ProductRemoval::Add(const Utf8Path& label, std::string_view target,
                         Presence (*check)(std::string_view), bool (*remove)(std::string_view),
                         bool isLeftover) {
  labels_[count_] = label;
  RemovalStep& step = steps_[count_];
  step.label = labels_[count_].view();
  step.target = target.empty() ? step.label : target;
  step.check = label.complete() ? check : Uncheckable;
  step.remove = label.complete() ? remove : Unremovable;
  step.isLeftover = isLeftover;
  ++count_;
}

}  // namespace demo
