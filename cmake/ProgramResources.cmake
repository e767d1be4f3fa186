include_guard(GLOBAL)
# add_program_resources(TARGET DESCRIPTION text): gives a Windows program the marks of
# a Windows product: the project's icon (named MAINICON, drawn at build time by
# app/res/draw-icon.py), a version resource with the product name, the Chinese DESCRIPTION,
# the version and the copyright line, and the application manifest (run as the invoking user,
# supported Windows versions, system DPI awareness). Does nothing outside Windows builds.
# Global: the helper is included once, by the first directory that uses it.
set_property(GLOBAL PROPERTY PROGRAM_PRODUCT_NAME "焊工考试系统（练习版）")
set_property(GLOBAL PROPERTY PROGRAM_VERSION 1.0.0)
set_property(GLOBAL PROPERTY PROGRAM_COPYRIGHT "Copyright © 2026 Qorvane")

# The icon is drawn once per build tree; every program's resource script includes the same file.
function(program_icon out)
  set(ico ${CMAKE_BINARY_DIR}/res/program.ico)
  if(NOT TARGET program_icon)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    set(script ${CMAKE_SOURCE_DIR}/app/res/draw-icon.py)
    add_custom_command(OUTPUT ${ico}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/res
      COMMAND Python3::Interpreter ${script} ${ico}
      DEPENDS ${script}
      COMMENT "Drawing the program icon"
      VERBATIM)
    add_custom_target(program_icon DEPENDS ${ico})
  endif()
  set(${out} ${ico} PARENT_SCOPE)
endfunction()

function(add_program_resources target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(R "" "DESCRIPTION" "" ${ARGN})
  if(NOT R_DESCRIPTION)
    message(FATAL_ERROR "add_program_resources(${target}): DESCRIPTION is required")
  endif()
  program_icon(ico)
  foreach(p PROGRAM_PRODUCT_NAME PROGRAM_VERSION PROGRAM_COPYRIGHT)
    get_property(${p} GLOBAL PROPERTY ${p})
  endforeach()
  set(name ${target})
  set(description ${R_DESCRIPTION})
  string(REPLACE "." "," version_commas "${PROGRAM_VERSION}.0")
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_program)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/program.manifest.in ${dir}/program.manifest @ONLY)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/program.rc.in ${dir}/program.rc @ONLY)
  target_sources(${target} PRIVATE ${dir}/program.rc)
  set_source_files_properties(${dir}/program.rc PROPERTIES OBJECT_DEPENDS "${ico};${dir}/program.manifest")
  add_dependencies(${target} program_icon)
endfunction()
