# cmake -DBANKEDIT_DRIVER= -DBANKEDIT= -DDRIVER= -DEXAM= -DAPP_DIR= -DPLAN= -DWORK= -DEMULATOR= -P RunBankEdit.cmake
# The question-bank editor on a fresh copy of the demo database, then an exam on what it wrote.
include(${CMAKE_CURRENT_LIST_DIR}/DriveSteps.cmake)
fresh_work(${WORK})
windows_path(work_w ${WORK})
windows_path(plan_w ${PLAN})
windows_path(bankedit_w ${BANKEDIT})
windows_path(exam_w ${EXAM})
windows_path(driver_w ${DRIVER})
set(shots)
if(SHOTS)
  file(MAKE_DIRECTORY ${SHOTS})
  windows_path(shots_w ${SHOTS})
  set(shots --shots ${shots_w})
endif()
execute_process(COMMAND ${EMULATOR} ${BANKEDIT_DRIVER} ${work_w} ${plan_w} --bankedit ${bankedit_w} --exam ${exam_w}
                        --exam-drive ${driver_w} ${shots}
                OUTPUT_FILE ${WORK}/drive.log ERROR_FILE ${WORK}/drive.err RESULT_VARIABLE code TIMEOUT 850)
file(READ ${WORK}/drive.log log)
message("${log}")
if(NOT code EQUAL 0)
  message(FATAL_ERROR "bankedit_drive failed (${code})")
endif()
