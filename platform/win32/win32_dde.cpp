#include "platform/win32/win32_dde.h"

#include <dde.h>

#include <cstring>

#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_class.h"

namespace platform::win32 {

namespace {

// How long one window may take over an initiate: a hung one is passed over at once.
constexpr UINT kInitiateTimeoutMs = 2000;
// How long a closing conversation waits for the server's own terminate.
constexpr DWORD kTerminateTimeoutMs = 2000;
// The fAck flag of an acknowledgement's status word: the server carried the command out.
constexpr UINT_PTR kAcknowledged = 0x8000;
// How many unanswered commands a conversation keeps track of, more than the program sends in
// one. The block of an older one is left allocated: an answer to it frees nothing.
constexpr unsigned kTrackedCommands = 8;

constexpr wchar_t kWindowClass[] = L"PelmoraDdeClient";

// When the program runs elevated, the system holds back the messages that processes of a
// lower integrity level send it, the shell that serves Program Manager's commands among
// them. Our window lets the server's answers through: Windows 7 and later per window,
// Vista for the whole process, older systems hold nothing back.
void AdmitAnswers(HWND window) {
  const auto admit =
      User32Function<decltype(&ChangeWindowMessageFilterEx)>("ChangeWindowMessageFilterEx");
  const auto admitForProcess =
      User32Function<decltype(&ChangeWindowMessageFilter)>("ChangeWindowMessageFilter");
  for (const UINT message : {WM_DDE_ACK, WM_DDE_TERMINATE}) {
    if (admit != nullptr) {
      admit(window, message, MSGFLT_ALLOW, nullptr);
    } else if (admitForProcess != nullptr) {
      admitForProcess(message, MSGFLT_ADD);
    }
  }
}

// The command in a block of shared memory, with its NUL: UTF-16 when both windows are
// Unicode, otherwise in the ANSI code page. Null when there is no memory for it.
HGLOBAL CommandBlock(const std::wstring& command, bool unicode) {
  const int size =
      unicode ? static_cast<int>((command.size() + 1) * sizeof(wchar_t))
              : WideCharToMultiByte(CP_ACP, 0, command.c_str(), -1, nullptr, 0, nullptr, nullptr);
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(size));
  void* bytes = block != nullptr ? GlobalLock(block) : nullptr;
  if (bytes == nullptr) {
    if (block != nullptr) GlobalFree(block);
    return nullptr;
  }
  if (unicode) {
    std::memcpy(bytes, command.c_str(), static_cast<std::size_t>(size));
  } else {
    WideCharToMultiByte(CP_ACP, 0, command.c_str(), -1, static_cast<char*>(bytes), size, nullptr,
                        nullptr);
  }
  GlobalUnlock(block);
  return block;
}

// The process whose window it is; 0 for no window.
DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

// One conversation: our window and the server's window that answered it.
class Conversation {
 public:
  // Asks the top-level windows one by one until a server of `service` and `topic`
  // answers; null when none does.
  static Conversation* Open(const std::wstring& service, const std::wstring& topic);
  // Ends the conversation and waits a little for the server to end it too.
  ~Conversation();
  Conversation(const Conversation&) = delete;
  Conversation& operator=(const Conversation&) = delete;

  // Sends one command; true when the server acknowledged it in time as carried out.
  bool Execute(const std::wstring& command, DWORD timeoutMs);

 private:
  explicit Conversation(HWND window) : window_(window) {}

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static BOOL CALLBACK Initiate(HWND candidate, LPARAM conversation);
  void Receive(UINT message, HWND sender, LPARAM lParam);
  void AwaitAnswer(DWORD timeoutMs);

  HWND window_;
  HWND server_ = nullptr;                      // null until a server answers, and once it has ended
  LPARAM names_ = 0;                           // the atoms of service and topic
  HWND asked_ = nullptr;                       // the window that the initiate is being sent to
  HGLOBAL pending_ = nullptr;                  // the command that waits for its acknowledgement
  HGLOBAL unanswered_[kTrackedCommands] = {};  // posted commands' blocks; null: answered
  unsigned posted_ = 0;                        // how many commands were posted
  bool answered_ = false;
  bool accepted_ = false;
  bool terminating_ = false;
};

Conversation* Conversation::Open(const std::wstring& service, const std::wstring& topic) {
  static const ATOM windowClass = RegisterWindowClass(kWindowClass, Procedure);
  // A message-only window: it only talks to the server.
  HWND window = CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  auto* conversation = new Conversation(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(conversation));
  AdmitAnswers(window);
  const ATOM application = GlobalAddAtomW(service.c_str());
  const ATOM subject = GlobalAddAtomW(topic.c_str());  // none for an empty topic: any topic
  conversation->names_ = MAKELPARAM(application, subject);
  if (application != 0) EnumWindows(Initiate, reinterpret_cast<LPARAM>(conversation));
  // The initiate's atoms are ours to delete once it has been sent.
  GlobalDeleteAtom(application);
  GlobalDeleteAtom(subject);
  if (conversation->server_ != nullptr) return conversation;
  delete conversation;
  return nullptr;
}

BOOL CALLBACK Conversation::Initiate(HWND candidate, LPARAM conversation) {
  auto& self = *reinterpret_cast<Conversation*>(conversation);
  // The server answers with a message sent to our window before this returns.
  self.asked_ = candidate;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(candidate, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(self.window_),
                      self.names_, SMTO_ABORTIFHUNG, kInitiateTimeoutMs, &ignored);
  self.asked_ = nullptr;
  return self.server_ == nullptr;  // on to the next window until one has answered
}

Conversation::~Conversation() {
  if (server_ != nullptr) {
    terminating_ = true;
    // Only the server's terminate ends the wait; a late answer to a command does not.
    pending_ = nullptr;
    answered_ = false;
    if (PostMessageW(server_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_), 0))
      AwaitAnswer(kTerminateTimeoutMs);
  }
  DestroyWindow(window_);
}

bool Conversation::Execute(const std::wstring& command, DWORD timeoutMs) {
  if (server_ == nullptr) return false;
  const HGLOBAL block = CommandBlock(command, IsWindowUnicode(window_) && IsWindowUnicode(server_));
  if (block == nullptr) return false;
  if (!PostMessageW(server_, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(window_),
                    reinterpret_cast<LPARAM>(block))) {
    GlobalFree(block);
    return false;
  }
  pending_ = block;
  unanswered_[posted_++ % kTrackedCommands] = block;
  answered_ = accepted_ = false;
  AwaitAnswer(timeoutMs);
  return accepted_;
}

// Takes the DDE messages for our window, and nothing else, until the pending command is
// answered, the server has ended the conversation, or the time is up.
void Conversation::AwaitAnswer(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, window_, WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE))
      Receive(message.message, reinterpret_cast<HWND>(message.wParam), message.lParam);
    if (answered_ || server_ == nullptr) return;
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeoutMs) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - waited,
                              QS_POSTMESSAGE | QS_SENDMESSAGE);
  }
}

void Conversation::Receive(UINT message, HWND sender, LPARAM lParam) {
  if (message == WM_DDE_ACK && asked_ != nullptr) {
    // An answer to the initiate, taken only from a window of the program being asked: no
    // other program answers in its name. Its atoms are the server's own, for us to delete.
    // A second server is turned away.
    if (ProcessOf(sender) != ProcessOf(asked_)) return;
    GlobalDeleteAtom(LOWORD(lParam));
    GlobalDeleteAtom(HIWORD(lParam));
    if (server_ == nullptr) {
      server_ = sender;
    } else if (sender != server_) {
      PostMessageW(sender, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_), 0);
    }
  } else if (message == WM_DDE_ACK && sender == server_) {
    // An answer to a command: its status and the command's block, which is ours to free.
    // The block tells which command it answers; one that timed out may be answered late.
    // Any other block is not ours to free.
    UINT_PTR status = 0;
    UINT_PTR handle = 0;
    UnpackDDElParam(WM_DDE_ACK, lParam, &status, &handle);
    FreeDDElParam(WM_DDE_ACK, lParam);
    const auto block = reinterpret_cast<HGLOBAL>(handle);
    if (block == nullptr) return;
    for (HGLOBAL& unanswered : unanswered_) {
      if (unanswered != block) continue;
      if (block == pending_) {
        answered_ = true;
        accepted_ = (status & kAcknowledged) != 0;
        pending_ = nullptr;
      }
      GlobalFree(block);
      unanswered = nullptr;
    }
  } else if (message == WM_DDE_TERMINATE && sender == server_ && sender != nullptr) {
    // The server ends the conversation, or confirms that we ended it.
    if (!terminating_) {
      PostMessageW(server_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_), 0);
    }
    server_ = nullptr;
  }
}

LRESULT CALLBACK Conversation::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Here come the initiate's answers, and what the program's own event loop takes from
  // the queue between commands.
  auto* conversation = reinterpret_cast<Conversation*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (conversation == nullptr || message < WM_DDE_FIRST || message > WM_DDE_LAST)
    return DefWindowProcW(window, message, wParam, lParam);
  // Only the initiate is answered by a sent message; the rest of a conversation is posted,
  // and a sent one would carry memory that the system did not pass on for us to free.
  if (InSendMessage() && conversation->asked_ == nullptr) return 0;
  conversation->Receive(message, reinterpret_cast<HWND>(wParam), lParam);
  return 0;
}

}  // namespace

DdeConversation Win32Dde::Connect(const std::string& service, const std::string& topic) {
  return reinterpret_cast<DdeConversation>(Conversation::Open(Wide(service), Wide(topic)));
}

bool Win32Dde::Execute(DdeConversation conversation, const std::string& command) {
  return conversation != 0 &&
         reinterpret_cast<Conversation*>(conversation)->Execute(Wide(command), executeTimeoutMs_);
}

void Win32Dde::Disconnect(DdeConversation conversation) {
  delete reinterpret_cast<Conversation*>(conversation);
}

}  // namespace platform::win32
