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
  # A new commit configures the build again, so that the date follows the commit built and not
  # the one that was checked out when the build folder was first configured. The files that
  # move with a commit: HEAD, the branch it names, and the packed references.
  execute_process(COMMAND git rev-parse --git-path HEAD --symbolic-full-name HEAD
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE commit_files OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  string(REPLACE "\n" ";" commit_files "${commit_files}")
  list(LENGTH commit_files commit_file_count)
  if(commit_file_count EQUAL 2)
    list(GET commit_files 0 head_file)
    list(GET commit_files 1 branch)
    execute_process(COMMAND git rev-parse --git-path ${branch} --git-path packed-refs
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE ref_files OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(REPLACE "\n" ";" ref_files "${ref_files}")
    foreach(file IN ITEMS ${head_file} ${ref_files})
      get_filename_component(file ${file} ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
      if(EXISTS ${file})
        set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND
          PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
      endif()
    endforeach()
  endif()
endif()
