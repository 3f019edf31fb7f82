# A failing Windows program must fail its test: runs PROGRAM through RUNNER
# (the Wine runner) with no arguments, which the program answers with exit
# status 2, and checks that the status came through.
execute_process(COMMAND ${RUNNER} ${PROGRAM} RESULT_VARIABLE status)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "${PROGRAM} exits with 2 without arguments; through ${RUNNER}: '${status}'")
endif()
