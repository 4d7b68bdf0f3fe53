#include "platform/win32/win32_dde.h"

#include <ddeml.h>

#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

// How long an execute waits for the application's acknowledgement.
constexpr DWORD kExecuteTimeoutMs = 30000;

// A client asks; it has nothing to answer.
HDDEDATA CALLBACK IgnoreTransactions(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

class StringHandle {
 public:
  StringHandle(DWORD instance, const std::string& text)
      : instance_(instance),
        handle_(DdeCreateStringHandleW(instance, Wide(text).c_str(), CP_WINUNICODE)) {}
  ~StringHandle() {
    if (handle_ != nullptr) DdeFreeStringHandle(instance_, handle_);
  }
  StringHandle(const StringHandle&) = delete;
  StringHandle& operator=(const StringHandle&) = delete;
  HSZ Get() const { return handle_; }

 private:
  DWORD instance_;
  HSZ handle_;
};

}  // namespace

Win32Dde::~Win32Dde() {
  if (instance_ != 0) DdeUninitialize(instance_);
}

bool Win32Dde::Initialise() {
  if (instance_ != 0) return true;
  DWORD instance = 0;
  if (DdeInitializeW(&instance, IgnoreTransactions, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
    return false;
  instance_ = instance;
  return true;
}

void Win32Dde::UninitialiseWhenIdle() {
  if (conversations_ > 0 || instance_ == 0) return;
  DdeUninitialize(instance_);
  instance_ = 0;
}

DdeConversation Win32Dde::Connect(const std::string& service, const std::string& topic) {
  if (!Initialise()) return 0;
  HCONV conversation = nullptr;
  {
    const StringHandle serviceName(instance_, service);
    const StringHandle topicName(instance_, topic);
    conversation = DdeConnect(instance_, serviceName.Get(), topicName.Get(), nullptr);
  }
  if (conversation == nullptr) {
    UninitialiseWhenIdle();
    return 0;
  }
  ++conversations_;
  return reinterpret_cast<DdeConversation>(conversation);
}

bool Win32Dde::Execute(DdeConversation conversation, const std::string& command) {
  std::wstring text = Wide(command);
  DWORD outcome = 0;
  const HDDEDATA answer =
      DdeClientTransaction(reinterpret_cast<LPBYTE>(text.data()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)),
                           reinterpret_cast<HCONV>(conversation), nullptr, CF_UNICODETEXT,
                           XTYP_EXECUTE, kExecuteTimeoutMs, &outcome);
  return answer != nullptr;
}

void Win32Dde::Disconnect(DdeConversation conversation) {
  if (conversation == 0) return;
  DdeDisconnect(reinterpret_cast<HCONV>(conversation));
  --conversations_;
  UninitialiseWhenIdle();
}

}  // namespace platform::win32
