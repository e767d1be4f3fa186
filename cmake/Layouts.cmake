include_guard(GLOBAL)
# add_layouts(TARGET LAYOUTS file.lay ...): compiles layout files into the target as RCDATA
# resources named after each layout's root class (the first "object Name: TClass" line).
# A binary block written as {@relative/path} is replaced at build time by the file's bytes in
# hexadecimal ({@...} paths are relative to the layout file; a path starting with "build:" is
# relative to the top of the build tree; "sized:" before the path puts the file's 32-bit length
# first), so pictures and packed skins stay files in the tree.
function(add_layouts target)
  cmake_parse_arguments(L "" "" "LAYOUTS" ${ARGN})
  set(LAYOUT_EXPAND_SCRIPT ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/ExpandLayout.cmake)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_layouts.rc)
  set(rc_text "")
  set(expanded_all "")
  foreach(lay IN LISTS L_LAYOUTS)
    get_filename_component(abs ${lay} ABSOLUTE)
    get_filename_component(dir ${abs} DIRECTORY)
    get_filename_component(base ${abs} NAME)
    file(STRINGS ${abs} roots REGEX "^[ \t]*object[ \t]+[A-Za-z_0-9]+[ \t]*:[ \t]*[A-Za-z_0-9]+" LIMIT_COUNT 1)
    if(NOT roots)
      message(FATAL_ERROR "layout ${lay}: no 'object Name: TClass' line")
    endif()
    string(REGEX REPLACE "^[ \t]*object[ \t]+[A-Za-z_0-9]+[ \t]*:[ \t]*([A-Za-z_0-9]+).*" "\\1" class "${roots}")
    # Files the layout includes, so that the expansion reruns when they change.
    file(STRINGS ${abs} include_lines REGEX "{@[^}]+}")
    set(deps ${abs} ${LAYOUT_EXPAND_SCRIPT})
    foreach(line IN LISTS include_lines)
      string(REGEX MATCHALL "{@[^}]+}" refs "${line}")
      foreach(ref IN LISTS refs)
        string(REGEX REPLACE "^{@(.*)}$" "\\1" path "${ref}")
        string(REGEX REPLACE "^sized:" "" path "${path}")
        if(path MATCHES "^build:")
          string(REGEX REPLACE "^build:" "${CMAKE_BINARY_DIR}/" path "${path}")
        else()
          set(path ${dir}/${path})
        endif()
        list(APPEND deps ${path})
      endforeach()
    endforeach()
    set(out ${CMAKE_CURRENT_BINARY_DIR}/layouts/${base})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DBUILD_ROOT=${CMAKE_BINARY_DIR} -P ${LAYOUT_EXPAND_SCRIPT}
      DEPENDS ${deps}
      COMMENT "Layout ${base} (${class})")
    string(APPEND rc_text "${class} RCDATA \"${out}\"\n")
    list(APPEND expanded_all ${out})
  endforeach()
  file(GENERATE OUTPUT ${rc} CONTENT "${rc_text}")
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${expanded_all}")
  add_custom_target(${target}_layouts DEPENDS ${expanded_all})
  add_dependencies(${target} ${target}_layouts)
endfunction()
