# Run by cpack between staging the files and packing them, so that one commit packs to the same
# bytes in any folder, at any time and under any umask. CPack itself packs the files in sorted
# order, owned by root, with xz and gzip storing no time of their own, and stamps every member with
# SOURCE_DATE_EPOCH: a time the packager gives, else the commit of a git checkout, else the newest
# entry of the changelog.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(source_time "")
    if(EXISTS "${CPACK_SNOWROLL_SOURCE_DIR}/.git")
        execute_process(COMMAND git -C "${CPACK_SNOWROLL_SOURCE_DIR}" log -1 --format=%ct
            OUTPUT_VARIABLE source_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
    if(NOT source_time MATCHES "^[0-9]+$")
        execute_process(COMMAND dpkg-parsechangelog -S Timestamp
            -l "${CPACK_SNOWROLL_SOURCE_DIR}/packaging/changelog"
            OUTPUT_VARIABLE source_time OUTPUT_STRIP_TRAILING_WHITESPACE)
    endif()
    if(NOT source_time MATCHES "^[0-9]+$")
        message(FATAL_ERROR "No time for the package's files: set SOURCE_DATE_EPOCH")
    endif()
    set(ENV{SOURCE_DATE_EPOCH} ${source_time})
endif()
# An install makes its folders through the umask, whatever permissions it was given.
execute_process(COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -type d -exec chmod 0755 {} +
    COMMAND_ERROR_IS_FATAL ANY)
