# Runs PROGRAM with the one argument ARG and keeps its standard output in
# OUT; a failing run fails the build instead of leaving a half-written file.
execute_process(COMMAND ${PROGRAM} ${ARG} OUTPUT_FILE ${OUT}.tmp RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUT}.tmp)
  message(FATAL_ERROR "${PROGRAM} ${ARG} failed: ${status}")
endif()
file(RENAME ${OUT}.tmp ${OUT})
