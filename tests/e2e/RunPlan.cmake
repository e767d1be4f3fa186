# cmake -DDRIVER= -DEXAM= -DAPP_DIR= -DPLAN= -DWORK= -DEMULATOR= -P RunPlan.cmake
# Copies the demo database and its server.udl into a fresh working folder and runs the driver
# there (under the emulator when cross-compiled), so that every plan starts from the same bank.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${APP_DIR}/exam.db ${APP_DIR}/server.udl DESTINATION ${WORK})
function(windows_path out path)
  if(EMULATOR)
    string(REPLACE "/" "\\" path "${path}")
    set(path "Z:${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()
windows_path(work_w ${WORK})
windows_path(plan_w ${PLAN})
windows_path(exam_w ${EXAM})
# The driver writes to a file: a Wine helper process that outlives it (the desktop window's
# process of a persistent Wine server) would otherwise keep an inherited pipe open and this step
# would wait for it.
execute_process(COMMAND ${EMULATOR} ${DRIVER} ${work_w} ${plan_w} --exe ${exam_w}
                OUTPUT_FILE ${WORK}/drive.log ERROR_FILE ${WORK}/drive.err RESULT_VARIABLE result TIMEOUT 850)
file(READ ${WORK}/drive.log log)
message("${log}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "exam-drive failed on ${PLAN} (${result})")
endif()
