#include "demo/uninstall/program_group.h"

#include <windows.h>
#include <ddeml.h>
#include <shlobj.h>

#include "demo/common/own_folder.h"
#include "demo/common/wide_text.h"
#include "demo/uninstall/plain_names.h"

namespace demo {
namespace {

constexpr DWORD kTimeoutMs = 15000;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

// Whether `lines`, names one a line up to a terminating zero, hold `name`.
bool LinesHold(std::string_view lines, std::string_view name) {
  lines = Prefix(lines, lines.find('\0'));
  while (!lines.empty()) {
    const std::size_t end = lines.find_first_of("\r\n");
    if (SameName(Prefix(lines, end), name)) return true;
    if (end == std::string_view::npos) break;
    lines.remove_prefix(end + 1);
  }
  return false;
}

// One conversation, open for the lifetime of the object.
class ProgmanConversation {
 public:
  ProgmanConversation() {
    if (DdeInitializeW(&instance_, Callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return;
    HSZ service = DdeCreateStringHandleW(instance_, L"Progman", CP_WINUNICODE);
    HSZ topic = DdeCreateStringHandleW(instance_, L"progman", CP_WINUNICODE);
    conversation_ = DdeConnect(instance_, service, topic, nullptr);
    DdeFreeStringHandle(instance_, topic);
    DdeFreeStringHandle(instance_, service);
  }

  ~ProgmanConversation() {
    if (conversation_ != nullptr) DdeDisconnect(conversation_);
    if (instance_ != 0) DdeUninitialize(instance_);
  }

  ProgmanConversation(const ProgmanConversation&) = delete;
  ProgmanConversation& operator=(const ProgmanConversation&) = delete;

  bool IsOpen() const { return conversation_ != nullptr; }

  // Whether the list of names, one a line, that Program Manager gives for `item` holds
  // `name`; Unknown when it gives none. The list is in the system's ANSI code page.
  Presence ListHolds(const wchar_t* item, std::string_view name) {
    HSZ itemName = DdeCreateStringHandleW(instance_, item, CP_WINUNICODE);
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation_, itemName, CF_TEXT, XTYP_REQUEST,
                                         kTimeoutMs, nullptr);
    DdeFreeStringHandle(instance_, itemName);
    if (data == nullptr) return Presence::Unknown;
    DWORD size = 0;
    Presence presence = Presence::Unknown;
    if (const auto* text = reinterpret_cast<const char*>(DdeAccessData(data, &size))) {
      presence =
          LinesHold(std::string_view(text, size), name) ? Presence::Present : Presence::Absent;
      DdeUnaccessData(data);
    }
    DdeFreeDataHandle(data);
    return presence;
  }

  bool Execute(std::string_view command) {
    WideText wide = ToWide(command);
    const auto bytes = static_cast<DWORD>((wide.view().size() + 1) * sizeof(wchar_t));
    HDDEDATA done = DdeClientTransaction(reinterpret_cast<BYTE*>(wide.data()), bytes, conversation_,
                                         nullptr, 0, XTYP_EXECUTE, kTimeoutMs, nullptr);
    return done != nullptr;
  }

 private:
  static HDDEDATA CALLBACK Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
  }

  DWORD instance_ = 0;
  HCONV conversation_ = nullptr;
};

// Whether `folder` holds nothing but files that are themselves, and no folder.
bool HoldsOnlyPlainFiles(const WidePath& folder) {
  WidePath pattern = folder;
  pattern.Append(L"\\*");
  WIN32_FIND_DATAW found;
  HANDLE search = IsPlainFolder(folder) && pattern.complete()
                      ? FindFirstFileW(pattern.c_str(), &found)
                      : INVALID_HANDLE_VALUE;
  if (search == INVALID_HANDLE_VALUE) return false;
  bool plain = true;
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    WidePath entry = folder;
    entry.Append(L'\\').Append(name);
    BY_HANDLE_FILE_INFORMATION info;
    HANDLE file = OpenFileItself(entry, FILE_READ_ATTRIBUTES, info);
    plain = file != INVALID_HANDLE_VALUE && !IsLink(info);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  } while (plain && FindNextFileW(search, &found));
  FindClose(search);
  return plain;
}

// Program Manager deletes a group's folder with all it holds, entering every folder and
// following every link in it, and it may do so with our rights (Wine's does). So a group is
// deleted only when its folder, in the user's or the common Start menu, holds nothing else
// than plain files.
bool GroupFolderIsPlain(std::string_view group) {
  for (const int programs : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
    wchar_t path[MAX_PATH];
    if (SHGetFolderPathW(nullptr, programs, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) continue;
    const WidePath folder = PathIn(WidePath(path), group);
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES &&
        (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND)) {
      continue;
    }
    if (!HoldsOnlyPlainFiles(folder)) return false;
  }
  return true;
}

}  // namespace

Presence ProgramGroupPresence(std::string_view group) {
  ProgmanConversation progman;
  return progman.IsOpen() ? progman.ListHolds(L"Groups", group) : Presence::Unknown;
}

WidePath OwnGroupFolder(std::string_view group) {
  wchar_t path[MAX_PATH];
  if (SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
    WidePath unknown;
    unknown.MarkIncomplete();
    return unknown;
  }
  return PathIn(WidePath(path), group);
}

bool DeleteProgramGroup(std::string_view group) {
  FixedString<char, 256> command;
  command.Append("[DeleteGroup(").Append(group).Append(")]");
  if (!command.complete() || !GroupFolderIsPlain(group)) return false;
  ProgmanConversation progman;
  return progman.IsOpen() && progman.Execute(command.view());
}

}  // namespace demo
