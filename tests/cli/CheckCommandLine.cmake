# cmake -DPROGRAM=exe -DNAME=name -DVERSION=x.y.z -DWORKDIR=dir [-DEMULATOR=runner] -P CheckCommandLine.cmake
# Runs a program with --help, -h, --version and with each wrong usage listed below for it. Help and
# version go to standard output with exit code 0; wrong usage prints "NAME: problem" and then the
# usage to standard error, nothing to standard output, and exits with 2. Every run starts in an
# empty folder of its own, and the folder must still be empty afterwards: nothing was written.

# Wrong usage per program, one run per entry, its arguments separated by commas. Relative names
# like "out" would appear in the run's folder if a program took them and went ahead.
set(wrong_skingen "" "-out" "--no-such-option,out" "out,surplus" "--,out,surplus")
set(wrong_skinpack "" "frob" "unpack,in.skn" "pack,-folder,out.skn" "list,--no-such-option" "unpack,in.skn,out,surplus")
set(wrong_qbank "" "frob" "build,bank" "build,bank,out,--minutes" "build,bank,out,--minutes,abc"
    "build,bank,out,--minutes,-5" "build,-bank,out" "export,db,out,--minutes,5" "--no-such-option,build,bank,out")
# bankedit without arguments opens its window, so no wrong usage here is empty.
set(wrong_bankedit "surplus" "--export" "--export,csv" "--export,doc,out.doc" "--import,csv,in.csv"
    "--export,csv,out.csv,--import,txt" "--export,csv,out.csv,surplus" "--no-such-option")
set(wrong_skin_bench "" "-package" "--no-such-option,package" "package,surplus")
set(wrong_paper_bench "surplus" "--no-such-option")
set(wrong_grid_bench "surplus" "--no-such-option")
set(wrong_startup_bench "abc" "0" "1,2" "--no-such-option")
set(wrong_exam_drive "" "work" "work,plan,surplus" "--no-such-option,work,plan" "-work,plan" "work,plan,--kill,abc")
set(wrong_bankedit_drive "" "work" "work,plan,surplus" "--no-such-option,work,plan" "work,plan"
    "work,plan,--bankedit,b.exe,--exam,e.exe")
if(NOT DEFINED wrong_${NAME})
  message(FATAL_ERROR "no wrong usages listed for ${NAME}")
endif()

set(failures "")
set(run_count 0)

# Runs the program with `args` (a list) in a fresh empty folder; sets rc, out and err (carriage
# returns dropped: the Windows runtime writes text with CR LF).
macro(run_program)
  math(EXPR run_count "${run_count} + 1")
  set(dir ${WORKDIR}/run-${run_count})
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGN}
    WORKING_DIRECTORY ${dir} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "\r" "" out "${out}")
  string(REPLACE "\r" "" err "${err}")
  file(GLOB_RECURSE left LIST_DIRECTORIES true ${dir}/*)
  if(left)
    string(REPLACE ";" " " label "${ARGN}")
    string(REPLACE ";" ", " left "${left}")
    list(APPEND failures "${NAME} ${label}: wrote ${left}")
  endif()
endmacro()

# Notes a failure unless the variable's value equals `expected`.
macro(expect_equal variable expected text)
  if(NOT "${${variable}}" STREQUAL "${expected}")
    list(APPEND failures "${text}")
  endif()
endmacro()

run_program(--help)
set(usage "${out}")
expect_equal(rc 0 "${NAME} --help: exit code ${rc}")
if(usage STREQUAL "")
  list(APPEND failures "${NAME} --help printed nothing on standard output")
endif()
expect_equal(err "" "${NAME} --help wrote on standard error: ${err}")

run_program(-h)
expect_equal(rc 0 "${NAME} -h: exit code ${rc}")
expect_equal(out "${usage}" "${NAME} -h printed something else than --help: ${out}")

run_program(--version)
expect_equal(rc 0 "${NAME} --version: exit code ${rc}")
expect_equal(out "${NAME} ${VERSION}\n" "${NAME} --version printed '${out}'")

foreach(entry IN LISTS wrong_${NAME})
  string(REPLACE "," ";" args "${entry}")
  string(REPLACE "," " " entry "${entry}")
  run_program(${args})
  expect_equal(rc 2 "${NAME} ${entry}: exit code ${rc}, expected 2 (stderr: ${err})")
  expect_equal(out "" "${NAME} ${entry}: printed on standard output: ${out}")
  # One line naming the problem, then the usage.
  string(FIND "${err}" "\n" eol)
  set(first "${err}")
  set(rest "")
  if(eol GREATER_EQUAL 0)
    string(SUBSTRING "${err}" 0 ${eol} first)
    math(EXPR rest_at "${eol} + 1")
    string(SUBSTRING "${err}" ${rest_at} -1 rest)
  endif()
  if(NOT first MATCHES "^${NAME}: .+")
    list(APPEND failures "${NAME} ${entry}: first line of standard error is '${first}'")
  endif()
  expect_equal(rest "${usage}" "${NAME} ${entry}: the usage does not follow the problem: ${err}")
endforeach()

file(REMOVE_RECURSE ${WORKDIR})
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${NAME}:\n  ${text}")
endif()
message(STATUS "${NAME}: ${run_count} runs as expected")
