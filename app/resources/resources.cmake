# The resources of setup.exe. The icon is made at build time by mkicon from its text
# picture; the host build makes mkicon, the Windows builds run the one in PELMORA_HOST_TOOLS.
#
#   include(${PROJECT_SOURCE_DIR}/app/resources/resources.cmake)
#   pelmora_add_resources(<target>)     adds the compiled resources to an executable target

include(Manifest)

set(_pelmora_resources_dir ${CMAKE_CURRENT_LIST_DIR})

function(pelmora_add_resources target)
  if(TARGET mkicon)
    set(mkicon $<TARGET_FILE:mkicon>)
    set(mkicon_depends mkicon)
  else()
    set(mkicon ${PELMORA_HOST_TOOLS}/mkicon)
    set(mkicon_depends ${PELMORA_HOST_TOOLS}/mkicon)
  endif()
  set(source ${_pelmora_resources_dir})
  set(icon ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources/pelmora_icon.ico)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources
    COMMAND ${mkicon} ${source}/pelmora_icon.txt ${icon}
    DEPENDS ${mkicon_depends} ${source}/pelmora_icon.txt
    COMMENT "Drawing the program's icon"
    VERBATIM)
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources/setup.manifest)
  pelmora_configure_manifest(${source}/setup.manifest ${manifest})
  target_sources(${target} PRIVATE ${source}/setup.rc ${icon})
  # windres finds the icon and the manifest through the include path, the build's first.
  set_source_files_properties(${source}/setup.rc TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${icon};${manifest}"
    INCLUDE_DIRECTORIES "${CMAKE_CURRENT_BINARY_DIR}/${target}-resources;${source}")
endfunction()
