# cmake -DSKINGEN=exe -DSKINPACK=exe -DQBANK=exe -DBANK=dir -DWORKDIR=dir [-DEMULATOR=runner] -P ChinesePaths.cmake
# Draws, packs, lists and unpacks the default skin in folders with Chinese names and builds the
# demo bank into one: the tools take UTF-8 names from the command line and open them through the
# wide file API on Windows.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
set(root 皮肤测试)

function(run)
  execute_process(COMMAND ${EMULATOR} ${ARGN} WORKING_DIRECTORY ${WORKDIR}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}: exit code ${rc}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run(${SKINGEN} ${root}/源文件)
run(${SKINPACK} pack ${root}/源文件 ${root}/默认皮肤.skn)
run(${SKINPACK} list ${root}/默认皮肤.skn)
if(NOT out MATCHES "skin\\.ini")
  message(FATAL_ERROR "skinpack list of the Chinese-named package: ${out}")
endif()
run(${SKINPACK} unpack ${root}/默认皮肤.skn ${root}/解开)

file(GLOB drawn RELATIVE ${WORKDIR}/${root}/源文件 ${WORKDIR}/${root}/源文件/*)
file(GLOB unpacked RELATIVE ${WORKDIR}/${root}/解开 ${WORKDIR}/${root}/解开/*)
list(LENGTH drawn count)
if(count LESS 2 OR NOT drawn STREQUAL unpacked)
  message(FATAL_ERROR "drawn files (${drawn}) and unpacked files (${unpacked}) differ")
endif()
foreach(f IN LISTS drawn)
  file(SHA256 ${WORKDIR}/${root}/源文件/${f} a)
  file(SHA256 ${WORKDIR}/${root}/解开/${f} b)
  if(NOT a STREQUAL b)
    message(FATAL_ERROR "${f} changed on its way through the package")
  endif()
endforeach()

run(${QBANK} build ${BANK} ${root}/题库 --minutes 60)
if(NOT EXISTS ${WORKDIR}/${root}/题库/exam.db OR NOT EXISTS ${WORKDIR}/${root}/题库/server.udl)
  message(FATAL_ERROR "qbank did not write exam.db and server.udl into ${root}/题库")
endif()
file(REMOVE_RECURSE ${WORKDIR})
message(STATUS "${count} skin files and the bank went through Chinese folder names")
