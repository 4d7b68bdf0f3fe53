// The backend's services against the system: text at the boundary, the registry, files,
// the LZ library, DDE and the DLL search.
#include <windows.h>

#include <ddeml.h>

#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_dde.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_lz.h"
#include "platform/win32/win32_registry.h"

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
  auto channel = files.Open(path, platform::ChannelMode::kWriteLocked, error);
  CHECK(channel != nullptr);
  if (channel == nullptr) return;
  CHECK(channel->Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  CHECK(channel->Close());
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

  // A write channel empties a longer file first; a reader shares, a writer locks.
  const std::string file = folder + "\\şarkı.wav";
  WriteFile(file, "a longer first content");
  WriteFile(file, "short");
  int error = 0;
  auto reader = files.Open(file, platform::ChannelMode::kRead, error);
  CHECK(reader != nullptr && error == 0);
  if (reader != nullptr) {
    CHECK(reader->Length() == 5);
    std::uint8_t bytes[3] = {};
    CHECK(reader->ReadAt(2, bytes, 3) && std::memcmp(bytes, "ort", 3) == 0);
    CHECK(!reader->ReadAt(3, bytes, 3));  // past the end
    CHECK(files.Open(file, platform::ChannelMode::kRead, error) != nullptr);
    CHECK(files.Open(file, platform::ChannelMode::kWriteLocked, error) == nullptr &&
          error == ERROR_SHARING_VIOLATION);
    reader.reset();
  }
  CHECK(files.Open(folder + "\\none.bin", platform::ChannelMode::kRead, error) == nullptr &&
        error == ERROR_FILE_NOT_FOUND);

  // Kill deletes the files that match, never folders; nothing matching is file-not-found.
  WriteFile(folder + "\\second.ex_", "x");
  CHECK(files.MkDir(folder + "\\inner") == 0);
  CHECK(files.RmDir(folder) == ERROR_DIR_NOT_EMPTY);
  CHECK(files.Kill(folder + "\\*.*") == 0);
  CHECK(files.GetAttributes(file) == platform::Attribute::kNoEntry);
  CHECK(files.GetAttributes(folder + "\\inner") != platform::Attribute::kNoEntry);
  CHECK(files.Kill(folder + "\\*.*") == ERROR_FILE_NOT_FOUND);
  CHECK(files.Kill(folder + "\\gone\\*.*") == ERROR_PATH_NOT_FOUND);

  // Folders are listed sorted, without hidden ones.
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

// The temporary path comes whole however long it is: a fixed buffer would lose it.
void TempPathTests() {
  Section("temporary path");
  platform::win32::Win32FileSystem files;
  std::string longPath = Scratch();
  while (longPath.size() < 200) {
    longPath += "a long folder name\\";
    files.MkDir(longPath);
  }
  wchar_t saved[MAX_PATH + 1] = {};
  GetEnvironmentVariableW(L"TMP", saved, MAX_PATH + 1);
  SetEnvironmentVariableW(L"TMP", Wide(longPath).c_str());
  CHECK(files.TempPath() == longPath);
  SetEnvironmentVariableW(L"TMP", saved);
  CHECK(files.TempPath().back() == '\\');
  while (longPath.size() > Scratch().size()) {
    files.RmDir(longPath);
    longPath.resize(longPath.find_last_of('\\', longPath.size() - 2) + 1);
  }
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
  // Paths that the ANSI code page cannot spell reach lz32 by their short forms.
  platform::win32::Win32FileSystem files;
  const std::string folder = Scratch() + "Geçici ş";
  files.MkDir(folder);
  const std::string source = folder + "\\Pelmora.ex_";
  const std::string destination = folder + "\\Pelmora ğ.exe";
  WriteFile(source, compressed);
  platform::win32::Win32Lz lz;
  platform::OfStruct sourceRecord;
  platform::OfStruct destinationRecord;
  const std::int32_t in = lz.OpenFile(source, sourceRecord, platform::LzStyle::kRead);
  const std::int32_t out = lz.OpenFile(destination, destinationRecord, platform::LzStyle::kCreate);
  CHECK(in >= 0 && out >= 0);
  CHECK(lz.Copy(in, out) == 8);
  lz.Close(in);
  lz.Close(out);
  int error = 0;
  auto expanded = files.Open(destination, platform::ChannelMode::kRead, error);
  char bytes[8] = {};
  CHECK(expanded != nullptr && expanded->Length() == 8 &&
        expanded->ReadAt(0, reinterpret_cast<std::uint8_t*>(bytes), 8));
  CHECK(std::string(bytes, 8) == "Pelmora!");
  expanded.reset();

  platform::OfStruct missing;
  CHECK(lz.OpenFile(Scratch() + "none.ex_", missing, platform::LzStyle::kRead) < 0);
  CHECK(missing.nErrCode == ERROR_FILE_NOT_FOUND);
  CHECK(files.Kill(folder + "\\*.*") == 0 && files.RmDir(folder) == 0);  // no other name was made
}

// A DDE server of our own in a thread of its own: it takes every conversation, keeps the
// commands it gets and refuses those that start with "[refuse".
struct ProbeServer {
  static inline std::vector<std::wstring> commands;
  static inline DWORD instance = 0;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
  HANDLE thread = nullptr;

  static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA data, ULONG_PTR,
                                    ULONG_PTR) {
    if (type == XTYP_CONNECT) return reinterpret_cast<HDDEDATA>(TRUE);
    if (type != XTYP_EXECUTE) return nullptr;
    std::wstring command(DdeGetData(data, nullptr, 0, 0) / sizeof(wchar_t), L'\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(command.data()),
               static_cast<DWORD>(command.size() * sizeof(wchar_t)), 0);
    if (!command.empty() && command.back() == L'\0') command.pop_back();
    commands.push_back(command);
    return reinterpret_cast<HDDEDATA>(command.rfind(L"[refuse", 0) == 0 ? DDE_FNOTPROCESSED
                                                                        : DDE_FACK);
  }

  static DWORD WINAPI Run(void* parameter) {
    auto* self = static_cast<ProbeServer*>(parameter);
    DdeInitializeW(&instance, Callback, APPCLASS_STANDARD | CBF_SKIP_ALLNOTIFICATIONS, 0);
    HSZ service = DdeCreateStringHandleW(instance, L"PelmoraProbe", CP_WINUNICODE);
    DdeNameService(instance, service, nullptr, DNS_REGISTER);
    SetEvent(self->ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    DdeNameService(instance, service, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance, service);
    DdeUninitialize(instance);
    return 0;
  }

  ProbeServer() {
    thread = CreateThread(nullptr, 0, Run, this, 0, &threadId);
    WaitForSingleObject(ready, 10000);
  }
  ~ProbeServer() {
    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(ready);
  }
};

void DdeTests() {
  Section("DDE conversation");
  platform::win32::Win32Dde dde;
  CHECK(dde.Connect("NobodyAnswersThis", "topic") == 0);
  ProbeServer server;
  const platform::DdeConversation conversation = dde.Connect("PelmoraProbe", "progman");
  CHECK(conversation != 0);
  // Letters beyond U+00FF would not do here: Wine's DDE server takes such a command for
  // ANSI text (Windows does not).
  const std::string command =
      "[additem(\"C:\\Müzik çal\\Pelmora.exe\",Tarvo's Pelmora)]";
  CHECK(dde.Execute(conversation, command));
  CHECK(!dde.Execute(conversation, "[refuse(this)]"));
  dde.Disconnect(conversation);
  CHECK(ProbeServer::commands.size() == 2);
  CHECK(!ProbeServer::commands.empty() && ProbeServer::commands.front() == Wide(command));
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
  TempPathTests();
  LzTests();
  DdeTests();
  DllSearchTests();
}

}  // namespace backend_test
