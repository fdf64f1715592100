# What every shipped program carries: the manifest (common controls 6, the density awareness, the
# systems it is made for) and the version information, both from the one project version; and,
# in the release build, symbols stripped into PROGRAM.exe.debug beside the program.
set(PROJECT_VERSION4 ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
set(PROGRAM_RESOURCES_DIR ${CMAKE_BINARY_DIR}/program_resources)

# The version for the C++ side: #include "snimanje_version.h" (target snimanje_version).
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROGRAM_RESOURCES_DIR}/snimanje_version.h @ONLY)
add_library(snimanje_version INTERFACE)
target_include_directories(snimanje_version INTERFACE ${PROGRAM_RESOURCES_DIR})

# The manifest of NAME, made at configure time; the window tests run with Snimanje's.
function(program_manifest name description)
  set(PROGRAM_NAME ${name})
  set(PROGRAM_DESCRIPTION ${description})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/program.manifest.in ${PROGRAM_RESOURCES_DIR}/${name}.manifest @ONLY)
endfunction()
program_manifest(Snimanje "Snimanje podataka")
set(SNIMANJE_MANIFEST ${PROGRAM_RESOURCES_DIR}/Snimanje.manifest)

function(shipped_program target description)
  set(PROGRAM_NAME ${target})
  set(PROGRAM_FILE ${target}.exe)
  set(PROGRAM_DESCRIPTION ${description})
  program_manifest(${target} "${description}")
  set(PROGRAM_MANIFEST ${PROGRAM_RESOURCES_DIR}/${target}.manifest)
  set(rc ${PROGRAM_RESOURCES_DIR}/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${PROGRAM_MANIFEST})
  if(CMAKE_BUILD_TYPE STREQUAL "Release")
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
      COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug $<TARGET_FILE:${target}>
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
      VERBATIM)
  endif()
endfunction()
