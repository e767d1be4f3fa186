# add_test_suite(NAME SOURCES ... LIBS ...): one GoogleTest program, one CTest entry.
# Windows suites run through the cross-compiling emulator (scripts/wine-run) automatically.
function(add_test_suite name)
  cmake_parse_arguments(S "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${S_SOURCES})
  target_link_libraries(${name} PRIVATE ${S_LIBS} GTest::gmock GTest::gtest_main)
  project_warnings(${name})
  if(WIN32)
    # Tests are console programs; a GUI subsystem would lose GoogleTest's output under Wine.
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=0)
  set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(S_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${S_TIMEOUT})
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
endfunction()
