# PELMORA_SOURCE_DATE_EPOCH: the date that the build writes where a file format wants one, in
# seconds since 1970. It is SOURCE_DATE_EPOCH when that is set, else the time of the commit
# that is built, so that two builds of one commit give the same files whenever they run.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(PELMORA_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
  if(NOT PELMORA_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: ${PELMORA_SOURCE_DATE_EPOCH}")
  endif()
else()
  execute_process(COMMAND git log -1 --format=%ct
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE PELMORA_SOURCE_DATE_EPOCH
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT PELMORA_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    set(PELMORA_SOURCE_DATE_EPOCH 0)  # sources outside a git work tree
  endif()
endif()
