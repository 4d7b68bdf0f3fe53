# Flags shared by every Windows program we build: static, GUI subsystem, small,
# importing system DLLs only (no MinGW runtime DLLs), and the same bytes from every build of
# the same sources: no path of the build folder, no time stamp in the PE headers.
# Each function in a section of its own, so that the linker drops those never called. Data
# stays in the common sections: for a PE target GCC would put each zero-filled object, such as
# the program's forms, into a .data section of its own, stored in the file byte by byte, where
# .bss costs nothing.
add_compile_options(-Os -ffunction-sections -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)
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
