# A program that starts without the C runtime's start-up code has nobody to run what a
# compiler leaves for that code: constructors of objects outside functions (.ctors), C and
# C++ initializers (.CRT$XC, .CRT$XI) and thread-local storage (.tls). The check fails the
# build when the program's link map shows an input section of those kinds that is not empty.
#   cmake -DMAP=<link map> -P check_no_start_up_work.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${MAP}")
  message(FATAL_ERROR "no link map at ${MAP}")
endif()
file(STRINGS "${MAP}" lines REGEX "^ \\.(ctors|ctor|CRT\\$X[CI]|tls)")
set(found "")
foreach(line IN LISTS lines)
  # " .ctors         0x004177e4        0x4 object": an input section, its address and size.
  if(line MATCHES "^ (\\.[^ ]+) +0x[0-9a-f]+ +0x([0-9a-f]+) +(.+)$")
    set(section "${CMAKE_MATCH_1}")
    set(size "${CMAKE_MATCH_2}")
    set(object "${CMAKE_MATCH_3}")
    if(NOT size MATCHES "^0+$")
      string(APPEND found "\n  ${section} from ${object}")
    endif()
  endif()
endforeach()
if(found)
  message(FATAL_ERROR "${MAP}: the program starts without the C runtime's start-up code, "
    "but these sections need it:${found}")
endif()
