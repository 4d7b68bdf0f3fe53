#include "demo/uninstall/program_group.h"

#include <windows.h>
#include <ddeml.h>

#include <optional>
#include <string>

#include "demo/common/wide_text.h"

namespace demo {
namespace {

constexpr DWORD kTimeoutMs = 15000;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
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

  // The text that Program Manager gives for `item`, in the system's ANSI code page.
  std::optional<std::string> Request(const wchar_t* item) {
    HSZ name = DdeCreateStringHandleW(instance_, item, CP_WINUNICODE);
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation_, name, CF_TEXT, XTYP_REQUEST,
                                         kTimeoutMs, nullptr);
    DdeFreeStringHandle(instance_, name);
    if (data == nullptr) return std::nullopt;
    std::string text(DdeGetData(data, nullptr, 0, 0), '\0');
    DdeGetData(data, reinterpret_cast<BYTE*>(text.data()), static_cast<DWORD>(text.size()), 0);
    DdeFreeDataHandle(data);
    return text.substr(0, text.find('\0'));
  }

  bool Execute(std::string_view command) {
    std::wstring wide = ToWide(command);
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    HDDEDATA done =
        DdeClientTransaction(reinterpret_cast<BYTE*>(wide.data()), bytes, conversation_, nullptr,
                             0, XTYP_EXECUTE, kTimeoutMs, nullptr);
    return done != nullptr;
  }

 private:
  static HDDEDATA CALLBACK Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
  }

  DWORD instance_ = 0;
  HCONV conversation_ = nullptr;
};

// Whether a list of names, one a line, holds `name`.
bool ListHolds(std::string_view list, std::string_view name) {
  while (!list.empty()) {
    const std::size_t end = list.find_first_of("\r\n");
    if (SameName(list.substr(0, end), name)) return true;
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return false;
}

}  // namespace

Presence ProgramGroupPresence(std::string_view group) {
  ProgmanConversation progman;
  if (!progman.IsOpen()) return Presence::Unknown;
  const std::optional<std::string> groups = progman.Request(L"Groups");
  if (!groups) return Presence::Unknown;
  return ListHolds(*groups, group) ? Presence::Present : Presence::Absent;
}

bool ExecuteProgmanCommand(std::string_view command) {
  ProgmanConversation progman;
  return progman.IsOpen() && progman.Execute(command);
}

}  // namespace demo
