# Shared by RunPlan.cmake and RunKills.cmake: a fresh working folder with the demo database and its
# server.udl, and one run of the driver there (under the emulator when cross-compiled).
function(windows_path out path)
  if(EMULATOR)
    string(REPLACE "/" "\\" path "${path}")
    set(path "Z:${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

function(fresh_work work)
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work})
  file(COPY ${APP_DIR}/exam.db ${APP_DIR}/server.udl DESTINATION ${work})
endfunction()

# Runs the driver in work with the extra arguments; sets result and log in the caller.
function(run_driver work)
  windows_path(work_w ${work})
  windows_path(plan_w ${PLAN})
  windows_path(exam_w ${EXAM})
  # The driver writes to a file: a Wine helper process that outlives it (the desktop window's
  # process of a persistent Wine server) would otherwise keep an inherited pipe open and this step
  # would wait for it.
  execute_process(COMMAND ${EMULATOR} ${DRIVER} ${work_w} ${plan_w} --exe ${exam_w} ${ARGN}
                  OUTPUT_FILE ${work}/drive.log ERROR_FILE ${work}/drive.err RESULT_VARIABLE code TIMEOUT 850)
  file(READ ${work}/drive.log text)
  set(result ${code} PARENT_SCOPE)
  set(log "${text}" PARENT_SCOPE)
endfunction()
