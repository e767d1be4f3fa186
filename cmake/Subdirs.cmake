# add_each_subdirectory(): adds every immediate subfolder that has a CMakeLists.txt, so that
# each area (base, data, skin, forms, grid, ...) owns its own list of targets.
function(add_each_subdirectory)
  file(GLOB lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(SORT lists)
  foreach(l IN LISTS lists)
    get_filename_component(d ${l} DIRECTORY)
    add_subdirectory(${d})
  endforeach()
endfunction()
