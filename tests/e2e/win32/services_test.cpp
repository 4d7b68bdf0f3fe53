// The backend's services against the system: text at the boundary, the registry, files,
// the LZ library, DDE and the DLL search.
#include <windows.h>

#include <aclapi.h>
#include <dde.h>
#include <ddeml.h>
#include <sddl.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "check.h"
#include "platform/win32/process/dll_search.h"
#include "platform/win32/elevation.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_dde.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_lz.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/window_class.h"

namespace backend_test {

namespace {

using platform::win32::Utf8;
using platform::win32::Wide;

const std::string kTurkish = "Şükrü ığdır ÇÖĞÜİŞ";  // UTF-8 in this source
constexpr wchar_t kTestKey[] = L"Software\\PelmoraBackendTest";

void TextTests() {
  Section("text at the boundary");
  CHECK(Wide(kTurkish) ==
        L"\u015E\u00FCkr\u00FC \u0131\u011Fd\u0131r \u00C7\u00D6\u011E\u00DC\u0130\u015E");
  CHECK(Utf8(Wide(kTurkish)) == kTurkish);
  CHECK(Utf8(L"\U0001F600") == "\xF0\x9F\x98\x80");  // outside the 16-bit range: a pair
  CHECK(Wide("").empty() && Utf8(L"").empty());
}

std::vector<BYTE> StoredBytes(const wchar_t* name, DWORD& type) {
  HKEY key = nullptr;
  std::vector<BYTE> bytes(512);
  DWORD size = static_cast<DWORD>(bytes.size());
  type = REG_NONE;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  if (RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) size = 0;
  RegCloseKey(key);
  bytes.resize(size);
  return bytes;
}

void RegistryTests() {
  Section("registry");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestKey);
  platform::win32::Win32Registry registry;
  const std::string path = "Software\\PelmoraBackendTest\\Sub\\Ğüzel";

  // The root as the program names it: on 64-bit builds the system widens it with its sign.
  platform::RegKey key = 0;
  CHECK(registry.CreateKey(platform::kHKeyLocalMachine, path, key) == ERROR_SUCCESS);
  CHECK(registry.CloseKey(key) == ERROR_SUCCESS);
  CHECK(registry.OpenKey(platform::kHKeyLocalMachine, path, key) == ERROR_SUCCESS);
  registry.CloseKey(key);
  CHECK(registry.OpenKey(platform::kHKeyLocalMachine, "Software\\PelmoraBackendTest\\None", key) ==
        ERROR_FILE_NOT_FOUND);

  CHECK(registry.OpenKey(platform::kHKeyLocalMachine, "Software\\PelmoraBackendTest", key) ==
        ERROR_SUCCESS);
  // A REG_SZ datum arrives as UTF-8 with its NUL and is stored as UTF-16 with its NUL.
  const std::string text = "C:\\Programlar\\" + kTurkish;
  const std::string datum = text + '\0';
  CHECK(registry.SetValueEx(key, "Dizin", platform::RegType::kSz,
                            reinterpret_cast<const std::uint8_t*>(datum.data()),
                            static_cast<std::uint32_t>(datum.size())) == ERROR_SUCCESS);
  DWORD storedType = 0;
  const std::vector<BYTE> stored = StoredBytes(L"Dizin", storedType);
  const std::wstring wide = Wide(text) + L'\0';
  CHECK(storedType == REG_SZ);
  CHECK(stored.size() == wide.size() * 2 &&
        std::memcmp(stored.data(), wide.data(), stored.size()) == 0);

  // Reading reports UTF-8 sizes, NUL included, and refuses a buffer too small.
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  CHECK(registry.QueryValueEx(key, "Dizin", type, nullptr, size) == ERROR_SUCCESS);
  CHECK(type == platform::RegType::kSz && size == datum.size());
  std::string back(size, ' ');
  size = static_cast<std::uint32_t>(back.size()) - 1;
  CHECK(registry.QueryValueEx(key, "Dizin", type, reinterpret_cast<std::uint8_t*>(back.data()),
                              size) == ERROR_MORE_DATA);
  CHECK(size == datum.size());
  CHECK(registry.QueryValueEx(key, "Dizin", type, reinterpret_cast<std::uint8_t*>(back.data()),
                              size) == ERROR_SUCCESS);
  CHECK(back == datum);

  // REG_DWORD passes its four bytes as they are.
  const std::uint8_t seven[4] = {7, 0, 0, 0};
  CHECK(registry.SetValueEx(key, "Version", platform::RegType::kDword, seven, 4) == ERROR_SUCCESS);
  const std::vector<BYTE> number = StoredBytes(L"Version", storedType);
  CHECK(storedType == REG_DWORD && number == std::vector<BYTE>({7, 0, 0, 0}));
  CHECK(registry.QueryValueEx(key, "Missing", type, nullptr, size) == ERROR_FILE_NOT_FOUND);
  registry.CloseKey(key);

  // Subkey names come back in UTF-8; one that does not fit with its NUL is more data.
  CHECK(registry.OpenKey(platform::kHKeyLocalMachine, "Software\\PelmoraBackendTest\\Sub", key) ==
        ERROR_SUCCESS);
  char name[16] = {};
  CHECK(registry.EnumKey(key, 0, name, sizeof name) == ERROR_SUCCESS);
  CHECK(std::string(name) == "Ğüzel");
  CHECK(registry.EnumKey(key, 0, name, 7) == ERROR_MORE_DATA);  // 7 bytes + NUL needed
  CHECK(registry.EnumKey(key, 0, name, 8) == ERROR_SUCCESS);
  CHECK(registry.EnumKey(key, 1, name, sizeof name) == ERROR_NO_MORE_ITEMS);
  registry.CloseKey(key);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestKey);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  platform::win32::Win32FileSystem files;
  int error = 0;
  auto channel = files.Open(path, platform::ChannelMode::kCreateNew, error);
  CHECK(channel != nullptr);
  if (channel == nullptr) return;
  CHECK(channel->Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  CHECK(channel->Close());
}

std::string ReadBack(platform::FileChannel& channel) {
  std::string bytes(static_cast<std::size_t>(channel.Length()), '\0');
  CHECK(channel.ReadAt(0, reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
  return bytes;
}

// The access list of a folder or file as the system reads it back, in SDDL.
std::wstring AccessOf(const std::string& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(Wide(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                            nullptr, nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
    return {};
  LPWSTR text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                       DACL_SECURITY_INFORMATION, &text, nullptr);
  std::wstring sddl = text != nullptr ? text : L"";
  LocalFree(text);
  LocalFree(descriptor);
  return sddl;
}

bool GrantsEveryone(const std::wstring& sddl) {
  for (const wchar_t* everyone : {L";;;WD)", L";;;BU)", L";;;AU)"}) {
    if (sddl.find(everyone) != std::wstring::npos) return true;
  }
  return false;
}

void FileTests() {
  Section("files");
  platform::win32::Win32FileSystem files;
  const std::string folder = Scratch() + "Klasör ş";
  CHECK(files.MkDir(folder) == 0);
  CHECK(files.MkDir(folder) == ERROR_ALREADY_EXISTS);
  CHECK(files.MkDir(folder + "\\a\\b") == ERROR_PATH_NOT_FOUND);
  CHECK((files.GetAttributes(folder) & platform::Attribute::kDirectory) != 0);
  CHECK(files.GetAttributes(folder + "\\none") == platform::Attribute::kNoEntry);

  // A new file is made, never opened: a name that exists stays as it was. A reader shares the
  // file with readers only; a new file is the program's alone.
  const std::string file = folder + "\\şarkı.wav";
  WriteFile(file, "short");
  int error = 0;
  CHECK(files.Open(file, platform::ChannelMode::kCreateNew, error) == nullptr &&
        error == ERROR_FILE_EXISTS);
  auto reader = files.Open(file, platform::ChannelMode::kRead, error);
  CHECK(reader != nullptr && error == 0);
  if (reader != nullptr) {
    CHECK(reader->Length() == 5);
    std::uint8_t bytes[3] = {};
    CHECK(reader->ReadAt(2, bytes, 3) && std::memcmp(bytes, "ort", 3) == 0);
    CHECK(!reader->ReadAt(3, bytes, 3));  // past the end
    CHECK(files.Open(file, platform::ChannelMode::kRead, error) != nullptr);
    CHECK(!DeleteFileW(Wide(file).c_str()) && GetLastError() == ERROR_SHARING_VIOLATION);
    reader.reset();
  }
  CHECK(files.Open(folder + "\\none.bin", platform::ChannelMode::kRead, error) == nullptr &&
        error == ERROR_FILE_NOT_FOUND);

  // A length is read from the entry: a folder has none, nor has a name that names nothing.
  CHECK(files.FileLength(file) == 5);
  CHECK(files.FileLength(folder) == -1);
  CHECK(files.FileLength(folder + "\\none.bin") == -1);

  // A second name of a file makes both names links; removing one leaves the other whole.
  const std::string second = folder + "\\second.wav";
  CHECK(!files.IsLink(file));
  CHECK(CreateHardLinkW(Wide(second).c_str(), Wide(file).c_str(), nullptr));
  CHECK(files.IsLink(file) && files.IsLink(second));
  CHECK(DeleteFileW(Wide(second).c_str()));
  CHECK(!files.IsLink(file));

  // A new file takes the place of another through its own handle, once nobody holds that one.
  auto fresh = files.Open(file + ".new_", platform::ChannelMode::kCreateNew, error);
  CHECK(fresh != nullptr);
  if (fresh != nullptr) {
    const std::uint8_t bytes[] = {'n', 'e', 'w'};
    CHECK(fresh->Write(bytes, 3));
    reader = files.Open(file, platform::ChannelMode::kRead, error);
    const int refused = fresh->MoveTo(file);
    CHECK(refused == ERROR_SHARING_VIOLATION || refused == ERROR_ACCESS_DENIED);
    // The Restart Manager names this program as the holder where it can (Wine's names nobody).
    const std::string holder = files.FileHolder(file);
    CHECK(holder.empty() || holder.find("backend_test") != std::string::npos);
    reader.reset();
    CHECK(files.FileHolder(file).empty());
    CHECK(fresh->MoveTo(file) == 0);
    CHECK(files.GetAttributes(file + ".new_") == platform::Attribute::kNoEntry);
    CHECK(ReadBack(*fresh) == "new");
    // Deleted through the handle, under the name it has taken since.
    CHECK(fresh->Discard() == 0);
    CHECK(files.GetAttributes(file) == platform::Attribute::kNoEntry);
  }

  // Folders are listed sorted, without hidden ones.
  CHECK(files.MkDir(folder + "\\inner") == 0);
  CHECK(files.MkDir(folder + "\\Beta") == 0 && files.MkDir(folder + "\\alpha") == 0);
  CHECK(files.MkDir(folder + "\\Hidden") == 0);
  SetFileAttributesW(Wide(folder + "\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  std::vector<std::string> names;
  CHECK(files.ListFolders(folder, names));
  CHECK(names == std::vector<std::string>({"alpha", "Beta", "inner"}));
  CHECK(!files.ListFolders(folder + "\\gone", names));
  for (const char* inner : {"\\Beta", "\\alpha", "\\Hidden", "\\inner", ""}) {
    CHECK(files.RmDir(folder + inner) == 0);
  }
  CHECK(files.FullPath(Scratch() + "x\\..\\y") == Scratch() + "y");
  CHECK(files.DriveType("c:\\") == platform::DriveKind::kFixed);
  platform::DiskSpace space;
  CHECK(files.DiskFreeSpace("c:\\", space) && space.bytesPerSector > 0);
  CHECK((files.LogicalDrives() & 4u) != 0);  // C:
}

// The program's own folders are fresh each time; elevated, as every program is under Wine,
// they are closed to everyone but administrators and the system, and the temporary folder is
// the system's.
void OwnFolderTests() {
  Section("own folders");
  platform::win32::Win32FileSystem files;
  CHECK(platform::win32::RunsElevated());
  const std::string temp = files.TempPath();
  wchar_t windows[MAX_PATH] = {};
  GetSystemWindowsDirectoryW(windows, MAX_PATH);
  CHECK(temp == Utf8(windows) + "\\Temp\\");
  int error = 0;
  const std::string parent = Scratch().substr(0, Scratch().size() - 1);  // without its "\\"
  const std::string first = files.MakeOwnFolder(parent, "PLMTMP", error);
  const std::string second = files.MakeOwnFolder(parent, "PLMTMP", error);
  CHECK(!first.empty() && error == 0 && first != second);
  CHECK(first.rfind(Scratch() + "PLMTMP-", 0) == 0 &&
        first.size() == Scratch().size() + std::string("PLMTMP-").size() + 16);
  const std::string inherited = Scratch() + "inherited";
  CreateDirectoryW(Wide(inherited).c_str(), nullptr);
  CHECK(GrantsEveryone(AccessOf(inherited)));  // the check below can tell
  CHECK(!GrantsEveryone(AccessOf(first)));
  // A folder that the setup makes for the product gets an access list of its own too (Wine
  // keeps no more of it than the owner's and the system's part).
  const std::string product = Scratch() + "product";
  CHECK(files.MkDir(product) == 0 && !GrantsEveryone(AccessOf(product)));
  for (const std::string& folder : {first, second, inherited, product})
    CHECK(files.RmDir(folder) == 0);
  CHECK(files.MakeOwnFolder(parent + "\\gone", "PLMTMP", error).empty() &&
        error == ERROR_PATH_NOT_FOUND);
}

// A drive whose root holds nothing, as a freshly formatted disk: run_backend_test.sh maps
// O: to an empty folder. Its folder list is empty, not a failure.
void EmptyDriveTests() {
  Section("empty drive");
  platform::win32::Win32FileSystem files;
  std::vector<std::string> names = {"left from before"};
  CHECK(files.ListFolders("O:\\", names) && names.empty());
  CHECK(!files.ListFolders("O:\\gone", names));
  CHECK(!files.ListFolders("Q:\\", names));  // no such drive
}

void LzTests() {
  Section("LZ expansion library");
  // An SZDD file of mode A: the header, then one flag byte of eight literals.
  const std::string compressed = std::string(
                                     "SZDD\x88\xF0\x27\x33"
                                     "A_\x08\0\0\0",
                                     14) +
                                 "\xFF"
                                 "Pelmora!";
  // lz32 gets handles, never names: a folder that the ANSI code page cannot spell is no matter.
  platform::win32::Win32FileSystem files;
  const std::string folder = Scratch() + "Geçici ş";
  files.MkDir(folder);
  int error = 0;
  auto source = files.Open(folder + "\\Pelmora.ex_", platform::ChannelMode::kCreateNew, error);
  auto destination =
      files.Open(folder + "\\Pelmora ğ.exe", platform::ChannelMode::kCreateNew, error);
  CHECK(source != nullptr && destination != nullptr);
  if (source == nullptr || destination == nullptr) return;
  CHECK(source->Write(reinterpret_cast<const std::uint8_t*>(compressed.data()), compressed.size()));
  platform::win32::Win32Lz lz;
  const std::int32_t in = lz.Init(*source);  // read from the first byte, wherever the file stands
  CHECK(in >= 0);
  CHECK(lz.Copy(in, *destination) == 8);
  lz.Close(in);
  CHECK(ReadBack(*destination) == "Pelmora!");
  CHECK(ReadBack(*source) == compressed);  // still open after LZClose
  CHECK(source->Discard() == 0 && destination->Discard() == 0);
  CHECK(files.RmDir(folder) == 0);  // no other name was made
}

// A DDE server of our own in a thread of its own, over the system's DDE library, with
// Unicode or ANSI windows: it takes every conversation and keeps the commands it gets. It
// refuses those that start with "[refuse", and holds those that start with "[hold" without
// an answer until it is told to let go.
class ProbeServer {
 public:
  explicit ProbeServer(bool unicode) {
    unicode_ = unicode;
    instance_ = 0;  // a new instance, not the last server's
    holding_ = true;
    commands_.clear();
    thread_ = CreateThread(nullptr, 0, Run, ready_, 0, &threadId_);
    WaitForSingleObject(ready_, 10000);
  }
  ~ProbeServer() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
  }
  ProbeServer(const ProbeServer&) = delete;
  ProbeServer& operator=(const ProbeServer&) = delete;

  // The held command gets its answer now, late.
  void LetGo() { PostThreadMessageW(threadId_, kLetGo, 0, 0); }
  static const std::vector<std::wstring>& Commands() { return commands_; }

 private:
  static constexpr UINT kLetGo = WM_APP;
  static inline std::vector<std::wstring> commands_;
  static inline DWORD instance_ = 0;
  static inline bool unicode_ = true;
  static inline bool holding_ = true;
  static inline HCONV held_ = nullptr;  // the conversation of the held command

  // The command up to its NUL, read as the server's kind of text.
  static std::wstring Text(HDDEDATA data) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    if (unicode_) {
      std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
      DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
      return text.c_str();
    }
    std::string text(size + 1, '\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
    std::wstring wide(text.size(), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    return wide.c_str();
  }

  static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV conversation, HSZ, HSZ, HDDEDATA data,
                                    ULONG_PTR, ULONG_PTR) {
    if (type == XTYP_CONNECT) return reinterpret_cast<HDDEDATA>(TRUE);
    if (type != XTYP_EXECUTE) return nullptr;
    const std::wstring command = Text(data);
    if (holding_ && command.rfind(L"[hold", 0) == 0) {
      held_ = conversation;
      return CBR_BLOCK;
    }
    commands_.push_back(command);
    return reinterpret_cast<HDDEDATA>(command.rfind(L"[refuse", 0) == 0 ? DDE_FNOTPROCESSED
                                                                        : DDE_FACK);
  }

  static DWORD WINAPI Run(void* ready) {
    constexpr DWORD kFlags = APPCLASS_STANDARD | CBF_SKIP_ALLNOTIFICATIONS;
    if (unicode_) {
      DdeInitializeW(&instance_, Callback, kFlags, 0);
    } else {
      DdeInitializeA(&instance_, Callback, kFlags, 0);
    }
    HSZ service = DdeCreateStringHandleW(instance_, L"PelmoraProbe", CP_WINUNICODE);
    DdeNameService(instance_, service, nullptr, DNS_REGISTER);
    SetEvent(ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (message.message == kLetGo) {
        holding_ = false;
        DdeEnableCallback(instance_, held_, EC_ENABLEALL);
      }
      DispatchMessageW(&message);
    }
    DdeNameService(instance_, service, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance_, service);
    DdeUninitialize(instance_);
    return 0;
  }

  HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId_ = 0;
  HANDLE thread_ = nullptr;
};

// A top-level window whose thread has stopped handling messages, as a hung program's.
class StuckWindow {
 public:
  StuckWindow() {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    WaitForSingleObject(ready_, 10000);
  }
  ~StuckWindow() {
    SetEvent(release_);
    WaitForSingleObject(thread_, 10000);
    for (HANDLE handle : {thread_, ready_, release_}) CloseHandle(handle);
  }
  StuckWindow(const StuckWindow&) = delete;
  StuckWindow& operator=(const StuckWindow&) = delete;

 private:
  static DWORD WINAPI Run(void* parameter) {
    auto* self = static_cast<StuckWindow*>(parameter);
    HWND window = CreateWindowExW(0, L"STATIC", L"stuck", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    SetEvent(self->ready_);
    WaitForSingleObject(self->release_, INFINITE);
    DestroyWindow(window);
    return 0;
  }

  HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread_ = nullptr;
};

// A window of our own, above all others so that it is asked first, that answers every
// initiate at once in the name of `speaker` (its own window when null), and then posts an
// acknowledgement in that name which names a block of memory of its own. The system hands a
// posted block over as a copy, and maps the copy named in an acknowledgement back to the
// block: so the block goes to the window itself first, and the acknowledgement names its copy.
class FalseServer {
 public:
  // With `sends`, the acknowledgement is sent rather than posted: its lParam, packed by the
  // server itself, is then no memory that the system passed on.
  explicit FalseServer(HWND speaker, bool sends = false) {
    speaker_ = speaker;
    sends_ = sends;
    packed_ = nullptr;
    block_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, kBlockSize);
    thread_ = CreateThread(nullptr, 0, Run, ready_, 0, nullptr);
    WaitForSingleObject(ready_, 10000);
  }
  ~FalseServer() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
    if (BlockKept()) GlobalFree(block_);
  }
  FalseServer(const FalseServer&) = delete;
  FalseServer& operator=(const FalseServer&) = delete;

  // Whether its block (and the lParam of a sent acknowledgement) is still allocated, as it
  // must be: it was never the client's to free.
  static bool BlockKept() {
    return GlobalSize(block_) == kBlockSize &&
           (packed_ == nullptr || GlobalSize(reinterpret_cast<HGLOBAL>(packed_)) != 0);
  }

 private:
  static constexpr SIZE_T kBlockSize = 1234;  // no command's
  static inline HWND speaker_ = nullptr;
  static inline HGLOBAL block_ = nullptr;
  static inline HWND window_ = nullptr;
  static inline HWND client_ = nullptr;
  static inline bool sends_ = false;
  static inline void* packed_ = nullptr;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto self = reinterpret_cast<WPARAM>(window);
    const WPARAM speaker = speaker_ != nullptr ? reinterpret_cast<WPARAM>(speaker_) : self;
    if (message == WM_DDE_INITIATE) {
      client_ = reinterpret_cast<HWND>(wParam);
      SendMessageW(client_, WM_DDE_ACK, speaker, 0);
      PostMessageW(window, WM_DDE_EXECUTE, self, reinterpret_cast<LPARAM>(block_));
    } else if (message == WM_DDE_EXECUTE && wParam == self) {
      const auto copy = static_cast<UINT_PTR>(lParam);
      const LPARAM ack = PackDDElParam(WM_DDE_ACK, 0x8000, sends_ ? UINT_PTR(block_) : copy);
      if (sends_) {
        packed_ = reinterpret_cast<void*>(ack);
        SendMessageW(client_, WM_DDE_ACK, speaker, ack);
      } else {
        PostMessageW(client_, WM_DDE_ACK, speaker, ack);
      }
    } else if (message == WM_DDE_TERMINATE) {
      PostMessageW(reinterpret_cast<HWND>(wParam), WM_DDE_TERMINATE, speaker, 0);
    } else {
      if (message == WM_DESTROY) PostQuitMessage(0);
      return DefWindowProcW(window, message, wParam, lParam);
    }
    return 0;
  }

  static DWORD WINAPI Run(void* ready) {
    static const ATOM windowClass =
        platform::win32::RegisterWindowClass(L"PelmoraFalseServer", Procedure);
    window_ = CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(windowClass), L"", WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, nullptr, nullptr);
    SetEvent(ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
  }

  HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread_ = nullptr;
};

// Runs steps inside the handling of a message that another thread sends this one, as when
// another program clicks the setup's buttons.
struct SentMessage {
  static inline void (*steps)() = nullptr;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
    steps();
    return 0;
  }

  static DWORD WINAPI Send(void* window) {
    SendMessageW(static_cast<HWND>(window), WM_APP, 0, 0);
    return 0;
  }

  static void Run(void (*what)()) {
    static const ATOM windowClass =
        platform::win32::RegisterWindowClass(L"PelmoraSentMessageProbe", Procedure);
    HWND window = CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);
    steps = what;
    HANDLE sender = CreateThread(nullptr, 0, Send, window, 0, nullptr);
    // Handles what other threads send until the sender is through.
    while (MsgWaitForMultipleObjects(1, &sender, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
      MSG message;
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(sender);
    DestroyWindow(window);
  }
};

// How long a command waits for its answer in these tests.
constexpr DWORD kShortTimeoutMs = 500;

// Program Manager's commands as the setup sends them, in a row: each is judged by its own
// answer, and its text arrives whole in the server's kind of text. A command without an
// answer in time fails, and its late answer does not count for the next one.
void ConversationTests(bool unicodeServer) {
  ProbeServer server(unicodeServer);
  platform::win32::Win32Dde dde(kShortTimeoutMs);
  const platform::DdeConversation conversation = dde.Connect("PelmoraProbe", "progman");
  CHECK(conversation != 0);
  // Letters beyond U+00FF would not do here: Wine's DDE server takes such a command for
  // ANSI text (Windows does not).
  const std::pair<std::string, bool> commands[] = {
      {"[CreateGroup(Pelmora)]", true},
      {"[additem(\"C:\\Müzik çal\\Pelmora.exe\",Tarvo's Pelmora)]", true},
      {"[refuse(this)]", false},
      {"[ShowGroup(Pelmora,1)]", true},
      {"[hold(no answer in time)]", false},
      {"[refuse(after a late answer)]", false},
      {"[additem(C:\\Pelmora\\Stop.wav,Stop)]", true},
  };
  std::vector<std::wstring> sent;
  for (const auto& [command, accepted] : commands) {
    CHECK(dde.Execute(conversation, command) == accepted);
    if (command.rfind("[hold", 0) == 0) server.LetGo();
    sent.push_back(Wide(command));
  }
  dde.Disconnect(conversation);
  CHECK(ProbeServer::Commands() == sent);
}

void DdeTests() {
  Section("DDE: connection");
  {
    // Nobody answers: no conversation, and the initiate's atoms are gone. A window whose
    // thread has stopped handling messages does not hold the initiate up for good.
    platform::win32::Win32Dde dde;
    const StuckWindow stuck;
    CHECK(dde.Connect("NobodyAnswersThis", "topic") == 0);
    CHECK(GlobalFindAtomW(L"NobodyAnswersThis") == 0);
    const ProbeServer server(true);
    const platform::DdeConversation conversation = dde.Connect("PelmoraProbe", "progman");
    CHECK(conversation != 0);
    dde.Disconnect(conversation);
  }
  Section("DDE: commands to a Unicode server");
  ConversationTests(true);
  Section("DDE: commands to an ANSI server");
  ConversationTests(false);
  Section("DDE: commands inside a message sent from another thread");
  SentMessage::Run([] { ConversationTests(true); });
  Section("DDE: answers that are not the server's");
  {
    // A window that answers the initiate in the name of another program's window is not
    // taken for the server, and what it posts in that name frees nothing.
    const HWND otherProgram = GetDesktopWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(otherProgram, &process);
    CHECK(process != GetCurrentProcessId());
    const ProbeServer server(true);
    const FalseServer impostor(otherProgram);
    platform::win32::Win32Dde dde(kShortTimeoutMs);
    const platform::DdeConversation conversation = dde.Connect("PelmoraProbe", "progman");
    CHECK(dde.Execute(conversation, "[CreateGroup(Pelmora)]"));
    dde.Disconnect(conversation);
    CHECK(ProbeServer::Commands() == std::vector<std::wstring>{L"[CreateGroup(Pelmora)]"});
    CHECK(FalseServer::BlockKept());
  }
  // The server acknowledges with a block that is not one of the client's commands, posted or
  // sent (after the initiate a sent one is no answer at all): that answers no command and
  // frees nothing.
  for (const bool sends : {false, true}) {
    const FalseServer server(nullptr, sends);
    platform::win32::Win32Dde dde(kShortTimeoutMs);
    const platform::DdeConversation conversation = dde.Connect("PelmoraProbe", "progman");
    CHECK(conversation != 0);
    CHECK(!dde.Execute(conversation, "[CreateGroup(Pelmora)]"));
    dde.Disconnect(conversation);
    CHECK(FalseServer::BlockKept());
  }
}

// A DLL planted beside the program is found before the search is limited, never after.
void DllSearchTests() {
  Section("DLL search");
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring planted = Wide(Scratch()) + L"plantedprobe.dll";
  CopyFileW((std::wstring(system) + L"\\lz32.dll").c_str(), planted.c_str(), FALSE);
  SetCurrentDirectoryW(Wide(Scratch()).c_str());
  HMODULE before = LoadLibraryW(L"plantedprobe.dll");
  CHECK(before != nullptr);  // the current folder is searched: the test can tell
  if (before != nullptr) FreeLibrary(before);
  platform::win32::RestrictDllSearch();
  CHECK(LoadLibraryW(L"plantedprobe.dll") == nullptr);
  CHECK(platform::win32::LoadSystemLibrary(L"lz32.dll") != nullptr);
  DeleteFileW(planted.c_str());
}

}  // namespace

void ServiceTests() {
  TextTests();
  RegistryTests();
  FileTests();
  OwnFolderTests();
  EmptyDriveTests();
  LzTests();
  DdeTests();
  DllSearchTests();
}

}  // namespace backend_test
