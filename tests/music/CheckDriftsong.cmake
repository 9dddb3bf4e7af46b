# Runs the music generator and compares the SHA-256 of its WAV with the one kept beside it.
set(wav ${WORK}/driftsong-check.wav)
execute_process(COMMAND ${GENERATOR} ${wav} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the generator failed: ${status}")
endif()
file(SHA256 ${wav} actual)
file(REMOVE ${wav})
file(READ ${EXPECTED} expected)
string(STRIP "${expected}" expected)
if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "the generated WAV differs: ${actual}, kept ${expected}; "
        "run tools/musicgen/rebuild-driftsong and commit the new MP3 and hash")
endif()
