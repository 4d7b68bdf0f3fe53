// What the C++ library does when the program asks it for the impossible: memory that is not
// there, a text longer than a text can be. The Windows programs are built without exceptions,
// so instead of throwing, these end the program with the failure report.
//
// libstdc++ raises each of its own exceptions through one of the std::__throw_* functions,
// so that a build of the library without exceptions can make them end the program instead
// (it calls abort()). The library we link is built with exceptions: these definitions of the
// ones that our code reaches take the place of its own, and with them its exception classes
// and the unwinder stay out of the program.
#include <cstdlib>
#include <new>

#include "platform/win32/failure_report.h"

namespace {

// Short enough for std::string to hold without allocating memory.
constexpr char kOutOfMemory[] = "out of memory";

[[noreturn]] void LibraryFailure(const char* what) { platform::win32::EndWithFailure(what); }

}  // namespace

// The replaceable allocation functions of the standard: ours end the program where the
// library's would throw std::bad_alloc, and the one that must not throw returns null.
void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  LibraryFailure(kOutOfMemory);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size != 0 ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size != 0 ? size : 1);
}

// Their partners: the library's own would bring its unwinding tables along.
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

// The library's ways of reporting a request that no memory or text can meet, each ending the
// program with the library's own words for it.
namespace std {

void __throw_bad_alloc() { LibraryFailure(kOutOfMemory); }
void __throw_bad_array_new_length() { LibraryFailure(kOutOfMemory); }
void __throw_length_error(const char* what) { LibraryFailure(what); }
void __throw_logic_error(const char* what) { LibraryFailure(what); }
void __throw_out_of_range_fmt(const char* format, ...) { LibraryFailure(format); }

}  // namespace std
