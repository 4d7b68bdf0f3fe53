#include "demo/uninstall/removal_steps.h"

#include <windows.h>

#include "demo/common/own_folder.h"
#include "demo/common/product_files.h"
#include "demo/common/wide_text.h"
#include "demo/uninstall/program_group.h"
#include "demo/uninstall/registry_keys.h"

namespace demo {
namespace {

constexpr std::string_view kRegistryRoot = "HKEY_LOCAL_MACHINE\\";

// Whether `path` names a file (wantFolder false) or a folder (wantFolder true).
Presence PathPresence(const std::wstring& path, bool wantFolder) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return missing ? Presence::Absent : Presence::Unknown;
  }
  const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return isFolder == wantFolder ? Presence::Present : Presence::Absent;
}

bool DeleteProductFile(const std::wstring& path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only copy is still ours
  return DeleteFileW(path.c_str()) != FALSE;
}

RemovalStep FileStep(const std::wstring& folder, std::string_view name) {
  const std::wstring path = PathIn(folder, name);
  return {ToUtf8(path), [path] { return PathPresence(path, false); },
          [path] { return DeleteProductFile(path); }, name != kUninstallerFile};
}

// The folder goes only when the product's files were all it held.
RemovalStep FolderStep(const std::wstring& folder) {
  return {ToUtf8(folder), [folder] { return PathPresence(folder, true); },
          [folder] { return RemoveDirectoryW(folder.c_str()) != FALSE; }, false};
}

RemovalStep KeyStep(std::string_view path) {
  return {std::string(kRegistryRoot) + std::string(path), [path] { return KeyPresence(path); },
          [path] { return DeleteKeyTree(path); }};
}

// The vendor key goes only when Pelmora's key was all it held.
RemovalStep VendorKeyStep() {
  return {std::string(kRegistryRoot) + std::string(kVendorKey),
          [] { return EmptyKeyPresence(kVendorKey); }, [] { return DeleteEmptyKey(kVendorKey); },
          false};
}

RemovalStep ProgramGroupStep() {
  const std::string command = "[DeleteGroup(" + std::string(kProgramGroup) + ")]";
  return {"Program group \"" + std::string(kProgramGroup) + "\"",
          [] { return ProgramGroupPresence(kProgramGroup); },
          [command] { return ExecuteProgmanCommand(command); }};
}

}  // namespace

std::vector<RemovalStep> ProductRemovalSteps(const std::wstring& folder) {
  std::vector<RemovalStep> steps{ProgramGroupStep()};
  for (std::string_view name : kProductFiles) steps.push_back(FileStep(folder, name));
  steps.push_back(FolderStep(folder));
  steps.push_back(KeyStep(kProductKey));
  steps.push_back(VendorKeyStep());
  steps.push_back(KeyStep(kUninstallKey));
  return steps;
}

}  // namespace demo
