# Runs GENERATOR and fails unless what it prints equals the file EXPECTED.
execute_process(COMMAND ${GENERATOR} OUTPUT_VARIABLE produced RESULT_VARIABLE status)
file(READ ${EXPECTED} committed)
if(NOT status EQUAL 0 OR NOT produced STREQUAL committed)
    message(FATAL_ERROR "${GENERATOR} does not rebuild ${EXPECTED}")
endif()
