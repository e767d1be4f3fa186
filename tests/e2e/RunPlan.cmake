# cmake -DDRIVER= -DEXAM= -DAPP_DIR= -DPLAN= -DWORK= -DEMULATOR= -P RunPlan.cmake
# Runs the driver on one plan in a fresh working folder, so that every plan starts from the same bank.
include(${CMAKE_CURRENT_LIST_DIR}/DriveSteps.cmake)
fresh_work(${WORK})
run_driver(${WORK})
message("${log}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "exam-drive failed on ${PLAN} (${result})")
endif()
