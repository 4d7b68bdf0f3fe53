# Flags shared by every Windows program we build: static, GUI subsystem, small,
# importing system DLLs only (no MinGW runtime DLLs), and the same bytes from every build of
# the same sources: no path of the build folder, no time stamp in the PE headers.
# Optimized for size before speed (-Oz): what the programs do takes its time in the system's
# calls, not in their own code. Each function has a section of its own, so that the linker
# drops those never called. Data stays in the common sections: for a PE target GCC would put
# each zero-filled object into a .data section of its own, stored in the file byte by byte,
# where .bss costs nothing.
add_compile_options(-Oz -ffunction-sections -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)
# Two of the size optimizer's own steps work against it here. It makes one local body for
# each constructor and destructor (decloning), and local copies of functions with their
# arguments rewritten (IPA-SRA). Local functions cannot be merged across objects, so every
# object that moved a std::string kept its own copy of the move constructor, of _M_create and
# the like. Without the two steps the templates' code is shared through the linker's COMDAT
# folding: 4 KB less image.
add_compile_options(-fno-declone-ctor-dtor -fno-ipa-sra)
# A failure ends the program where it happens (EndWithFailure), so nothing is thrown: no
# exceptions, no run-time type information, no unwind tables. A test program that needs them
# turns them back on in its own folder.
add_compile_options(-fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables)
# The programs run their windows on one thread: a function-local static needs no lock around
# its first use.
add_compile_options(-fno-threadsafe-statics)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The program is stripped; the link map beside it (<target>.map in its build folder) tells
# what each part of the image costs, for `./x size`.
function(pelmora_windows_program target)
  target_link_options(${target} PRIVATE
    -static -static-libgcc -static-libstdc++ -mwindows -s
    -Wl,--gc-sections -Wl,--nxcompat -Wl,--dynamicbase -Wl,--tsaware -Wl,--no-insert-timestamp
    -Wl,-Map=${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    target_link_options(${target} PRIVATE -Wl,--high-entropy-va)
  endif()
endfunction()

# The program starts in its own function `extern "C" void ProgramStart()`, which ends the
# process itself, not in the C runtime's start-up code: that code prepares what our programs
# never use (arguments in argv form, environment, console streams, thread-local storage,
# pseudo-relocations) and costs each of them about 10 KB. So nothing may import data from a
# DLL by run-time fix-ups (the link fails instead), and a check of the link map fails the
# build if the program ever needs start-up work: constructors of objects outside functions,
# C or C++ initializers, thread-local storage. 32-bit Windows enters a program's first function
# with its stack aligned to 4 bytes only, so ProgramStart realigns it, as the start-up code
# would (gnu::force_align_arg_pointer).
function(pelmora_program_start target)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(entry ProgramStart)
  else()
    set(entry _ProgramStart)  # i686 C names carry a leading underscore
  endif()
  target_link_options(${target} PRIVATE -nostartfiles -Wl,--entry=${entry}
    -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DMAP=${CMAKE_CURRENT_BINARY_DIR}/${target}.map
      -P ${PROJECT_SOURCE_DIR}/cmake/check_no_start_up_work.cmake
    VERBATIM)
endfunction()
