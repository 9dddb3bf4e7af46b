# Read by cpack before it packs. Every time stamp in the package (its files, its control files and
# the archive's members) is the time of the packed source, so that one commit packs to the same
# bytes in any folder and at any time: a time the packager gives in SOURCE_DATE_EPOCH, else the
# commit of a git checkout, else the newest entry of the changelog.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    return()
endif()
set(source_time "")
if(EXISTS "${CPACK_SNOWROLL_SOURCE_DIR}/.git")
    execute_process(COMMAND git -C "${CPACK_SNOWROLL_SOURCE_DIR}" log -1 --format=%ct
        OUTPUT_VARIABLE source_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT source_time MATCHES "^[0-9]+$")
    execute_process(COMMAND dpkg-parsechangelog -l "${CPACK_SNOWROLL_SOURCE_DIR}/packaging/changelog"
        -S Timestamp OUTPUT_VARIABLE source_time OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
if(NOT source_time MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No time for the package: set SOURCE_DATE_EPOCH")
endif()
set(ENV{SOURCE_DATE_EPOCH} ${source_time})
