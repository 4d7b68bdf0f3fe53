# pelmora_library(<name> STATIC <sources>... | INTERFACE)
# A library of ours. Headers are named from the top of the source tree ("codec/crc32.h");
# that include path comes with the library, so a target sees our headers only through the
# libraries it links. Which folder may include which is checked by the layering test
# (cmake/check_layering.cmake).
function(pelmora_library name)
  add_library(${name} ${ARGN})
  if(ARGV1 STREQUAL "INTERFACE")
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
  else()
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  endif()
endfunction()
