# Runs the atlas generator into WORK_DIR and compares the decoded pixels of what it writes with the
# committed files (ImageMagick's compare): a pixel differs when a channel is off by more than 10 %,
# and at most 0.05 % of the atlas's pixels (the edges of a few glyphs) and none of a seed's may.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/seeds)
execute_process(COMMAND ${GENERATOR} ${WORK_DIR}/textureatlas.png ${WORK_DIR}/seeds
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "atlasgen failed with ${status}")
endif()

set(pairs "${WORK_DIR}/textureatlas.png|${SOURCE_DIR}/Media/textureatlas.png|524")
file(GLOB made_seeds RELATIVE ${WORK_DIR}/seeds ${WORK_DIR}/seeds/*)
file(GLOB kept_seeds RELATIVE ${SOURCE_DIR}/tests/fuzz/corpus/atlas
    ${SOURCE_DIR}/tests/fuzz/corpus/atlas/*)
if(NOT made_seeds STREQUAL kept_seeds)
    message(FATAL_ERROR "the seed images differ: made ${made_seeds}, kept ${kept_seeds}")
endif()
foreach(seed ${made_seeds})
    list(APPEND pairs "${WORK_DIR}/seeds/${seed}|${SOURCE_DIR}/tests/fuzz/corpus/atlas/${seed}|0")
endforeach()
set(differ "")
foreach(pair ${pairs})
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 made)
    list(GET pair 1 kept)
    list(GET pair 2 allowed)
    execute_process(COMMAND /usr/bin/compare -metric AE -fuzz 10% ${made} ${kept} null:
        ERROR_VARIABLE count RESULT_VARIABLE status)
    if(status GREATER 1 OR NOT count MATCHES "^[0-9]+$" OR count GREATER allowed)
        list(APPEND differ "${kept} (${count} pixels)")
    endif()
endforeach()
if(differ)
    message(FATAL_ERROR "regenerated media differ from the committed files: ${differ}; "
        "rebuild them with atlasgen (README)")
endif()
