# Building setup files with mksetup. The host build makes mksetup; the Windows builds run
# the one in PELMORA_HOST_TOOLS.

# The mksetup to run, and what a command that runs it depends on.
function(_pelmora_mksetup command_var depends_var)
  if(TARGET mksetup)
    set(${command_var} $<TARGET_FILE:mksetup> PARENT_SCOPE)
    set(${depends_var} mksetup PARENT_SCOPE)
  else()
    set(${command_var} ${PELMORA_HOST_TOOLS}/mksetup PARENT_SCOPE)
    set(${depends_var} ${PELMORA_HOST_TOOLS}/mksetup PARENT_SCOPE)
  endif()
endfunction()

# pelmora_payload_items(<out_var> PRODUCT_DIR <dir> ITEM_DIR <dir> TABLE <file.cpp>
#                       [DEPENDS <files or targets>...])
# Compresses the eight product files found in PRODUCT_DIR (installed names, or ready items
# under their temporary names) into ITEM_DIR and generates TABLE, the definition of
# setup_file::kItemTable that the program is built with. Sets <out_var> to TABLE.
function(pelmora_payload_items out_var)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "PRODUCT_DIR;ITEM_DIR;TABLE" "DEPENDS")
  _pelmora_mksetup(mksetup mksetup_depends)
  add_custom_command(OUTPUT ${ARG_TABLE}
    COMMAND ${mksetup} items --product ${ARG_PRODUCT_DIR} --out ${ARG_ITEM_DIR} --table ${ARG_TABLE}
    DEPENDS ${mksetup_depends} ${ARG_DEPENDS}
    COMMENT "Compressing the product files into ${ARG_ITEM_DIR}"
    VERBATIM)
  set(${out_var} ${ARG_TABLE} PARENT_SCOPE)
endfunction()

# pelmora_setup_file(<target> IMAGE <executable target> ITEM_DIR <dir> TABLE <file.cpp>
#                    PRODUCT_DIR <dir> OUTPUT <setup.exe>)
# Appends the items of ITEM_DIR (made with pelmora_payload_items, whose TABLE the image was
# built with) to the image and checks the result against the table and the product files;
# a setup file that fails the check is never written. <target> builds OUTPUT.
function(pelmora_setup_file target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "IMAGE;ITEM_DIR;TABLE;PRODUCT_DIR;OUTPUT" "")
  _pelmora_mksetup(mksetup mksetup_depends)
  add_custom_command(OUTPUT ${ARG_OUTPUT}
    COMMAND ${mksetup} assemble --image $<TARGET_FILE:${ARG_IMAGE}> --items ${ARG_ITEM_DIR}
            --table ${ARG_TABLE} --product ${ARG_PRODUCT_DIR} --out ${ARG_OUTPUT}
    DEPENDS ${mksetup_depends} ${ARG_IMAGE} ${ARG_TABLE}
    COMMENT "Assembling and checking ${ARG_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${ARG_OUTPUT})
endfunction()

# A real Windows program for tests and the benchmark corpus, where Wine brings one; sets
# <out_var> to its path, or to an empty text.
function(pelmora_sample_windows_program out_var)
  find_file(PELMORA_SAMPLE_WINDOWS_PROGRAM notepad.exe
    PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows
    NO_DEFAULT_PATH)
  if(PELMORA_SAMPLE_WINDOWS_PROGRAM)
    set(${out_var} ${PELMORA_SAMPLE_WINDOWS_PROGRAM} PARENT_SCOPE)
  else()
    set(${out_var} "" PARENT_SCOPE)
  endif()
endfunction()
