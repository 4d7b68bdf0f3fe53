#pragma once
// The COM calls that the shell's objects need. They are needed once, at the very end of a
// run, so ole32 is loaded then, from the system folder, not at every start of the program.
#include <windows.h>
#include <objbase.h>

namespace platform::win32 {

class ComLibrary {
 public:
  // Loads ole32 and initialises COM on this thread; `ready()` tells whether both worked.
  ComLibrary();
  // Ends what the constructor began.
  ~ComLibrary();
  ComLibrary(const ComLibrary&) = delete;
  ComLibrary& operator=(const ComLibrary&) = delete;

  bool ready() const { return createInstance_ != nullptr && SUCCEEDED(initialized_); }
  HMODULE module() const { return ole_; }

  // CoCreateInstance: an object of `type`, asked for its interface `id`.
  template <typename Interface>
  Interface* Create(REFCLSID type, DWORD context, REFIID id) const {
    void* object = nullptr;
    return ready() && SUCCEEDED(createInstance_(type, nullptr, context, id, &object))
               ? static_cast<Interface*>(object)
               : nullptr;
  }

 private:
  HMODULE ole_;
  decltype(&CoCreateInstance) createInstance_;
  HRESULT initialized_ = E_FAIL;
};

}  // namespace platform::win32
