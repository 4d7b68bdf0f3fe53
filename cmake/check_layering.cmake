# The layering of the code base, and its check: every #include "..." in the tree must point
# at its own folder or at a folder that its row names. Arrows point down only; a folder that
# is not in the table fails the check too, so that a new folder takes its place here.
#   cmake -DSOURCE_DIR=<top of the tree> -P check_layering.cmake
# A row: folder, ":", the folders it may include, and a comment without semicolons. A
# folder's subfolders count as the folder, unless they have a row of their own.
cmake_minimum_required(VERSION 3.25)

set(layers [[
codec              :                                              # the SZDD codec, CRC-32, SHA-256: a leaf
product            :                                              # what Pelmora installs: names only
setup_file         : product                                      # how the items are found in a setup file
platform/text      :                                              # UTF-8 text helpers
platform/services  :                                              # the interfaces of the system's services
platform/forms     : platform/services                            # forms and controls over the services
platform/portable  : platform/forms platform/services platform/text codec  # the headless backend, its LZ over our codec
platform/win32     : platform/win32/process platform/forms platform/services platform/text  # the Windows backend
platform/win32/process :                                          # what every Windows program does first
payload            : setup_file product codec platform/services platform/text  # extraction, expansion, installation of items
integration        : product platform/forms platform/services platform/text  # registry, records, program group
ui                 : product platform/forms platform/services platform/text  # the chooser and the backdrop
app                : ui payload integration setup_file product platform/forms platform/services platform/text  # the wizard and the run
tools/common       : codec                                        # host files, as byte sources and sinks
tools/szdd         : tools/common codec                           # the szdd tool
tools/mksetup      : tools/common setup_file product codec        # mksetup: never the platform
tools/mkicon       : tools/common                                 # the icon maker
demo/common        :                                              # the demo programs' Win32 helpers
demo/pelmora       : demo/common product platform/win32/process   # Pelmora.exe
demo/uninstall     : demo/common product platform/win32/process   # Uninstall PLM.exe
demo/sounds        : demo/common product                          # the sound generator
demo/chm           : tools/common                                 # the help file's time stamper
tests/support      : tools/mksetup tools/common setup_file product codec platform/portable platform/services  # what the host tests share
tests/codec        : tests/support tools/common codec
tests/setup_file   : setup_file
tests/platform     : tests/support platform/portable platform/forms platform/services platform/text codec
tests/payload      : tests/support tools/mksetup tools/common payload setup_file product codec platform/portable platform/services platform/text
tests/integration  : tests/support integration product platform/portable platform/forms platform/services
tests/ui           : tests/support tests/platform ui platform/portable platform/forms platform/services platform/text
tests/app          : tests/support tests/platform app ui payload integration setup_file product platform/portable platform/forms platform/services platform/text
tests/tools        : tests/support tools/szdd tools/mksetup tools/mkicon tools/common setup_file product codec
tests/demo         : demo/sounds demo/chm demo/uninstall demo/common product tools/common
tests/release      : product tools/common                        # the files that the Windows builds hand out
tests/e2e/robot    : platform/win32                               # the Wine robot: text conversion only
tests/e2e/win32    : app product tests/e2e/robot platform/win32 platform/win32/process platform/forms platform/services platform/text  # the Windows backend under Wine, who started a program, the wizard's finish text as drawn
tests/e2e/lz32     :                                              # the system's lz32 on our files
tests/e2e/unelevated :                                            # programs run beside the setup without elevation
fuzz               : tests/support tools/mksetup tools/common payload integration setup_file product codec platform/portable platform/services
bench              : tools/common codec
]])

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<top of the tree> -P check_layering.cmake")
endif()

# The table, as <folder>_allowed lists, and the folders longest first, so that the first
# match of a path is its own row.
string(REPLACE "\n" ";" rows "${layers}")
set(folders)
foreach(row IN LISTS rows)
  string(REGEX REPLACE "#.*" "" row "${row}")
  if(row MATCHES "^[ ]*$")
    continue()
  endif()
  if(NOT row MATCHES "^([a-z0-9_/]+)[ ]*:(.*)$")
    message(FATAL_ERROR "a row of the table cannot be read: ${row}")
  endif()
  set(folder ${CMAKE_MATCH_1})
  string(STRIP "${CMAKE_MATCH_2}" allowed)
  separate_arguments(allowed UNIX_COMMAND "${allowed}")
  set(allowed_${folder} ${allowed})
  list(APPEND folders ${folder})
endforeach()
list(SORT folders COMPARE STRING ORDER DESCENDING)  # a subfolder before its parent

function(folder_of path out)
  foreach(folder IN LISTS folders)
    string(LENGTH "${folder}/" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    if(head STREQUAL "${folder}/")
      set(${out} ${folder} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

# Every source file of ours: all but the build folders and git's.
file(GLOB entries RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(sources)
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY ${SOURCE_DIR}/${entry} AND NOT entry MATCHES "^(build|\\..*)$")
    file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${entry}/*.h ${SOURCE_DIR}/${entry}/*.cpp)
    list(APPEND sources ${found})
  endif()
endforeach()

set(faults 0)
foreach(source IN LISTS sources)
  folder_of(${source} from)
  if(from STREQUAL "")
    message("${source}: its folder has no row in the layering table")
    math(EXPR faults "${faults} + 1")
    continue()
  endif()
  get_filename_component(source_dir ${source} DIRECTORY)
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" included "${line}")
    # A name beside the including file is its own folder's; others start at the top.
    if(EXISTS ${SOURCE_DIR}/${source_dir}/${included} AND NOT included MATCHES "/")
      continue()
    endif()
    if(NOT EXISTS ${SOURCE_DIR}/${included})
      message("${source}: includes \"${included}\", which is not in the tree")
      math(EXPR faults "${faults} + 1")
      continue()
    endif()
    folder_of(${included} to)
    if(to STREQUAL from OR to IN_LIST allowed_${from})
      continue()
    endif()
    if(to STREQUAL "")
      set(to "a folder without a row")
    endif()
    message("${source}: includes \"${included}\": ${from} may not use ${to}")
    math(EXPR faults "${faults} + 1")
  endforeach()
endforeach()

list(LENGTH sources count)
if(faults GREATER 0)
  message(FATAL_ERROR "${faults} includes run against the layering (${count} files read)")
endif()
message("${count} files read: every include follows the layering")
