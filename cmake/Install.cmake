# Installation: the launcher on the PATH, the game program out of the way in libexec, its Media
# folder, the desktop entry, icons, man page and AppStream metainfo.
#
#   <prefix>/bin/snowroll                      launcher: cd into the data folder, run the game
#                                              (/usr/games/snowroll in an install under /usr)
#   <prefix>/libexec/snowroll/snowroll         the game, reading Media/ from its working directory
#   <prefix>/share/snowroll/Media/             levels, atlas, music
#   <prefix>/share/applications, metainfo, icons/hicolor, man/man6
#   <prefix>/share/doc/snowroll/               copyright and changelog
include(GNUInstallDirs)

set(SNOWROLL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/snowroll)
set(SNOWROLL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/snowroll)
set(SNOWROLL_ICON_SIZES 16 24 32 48 64 128 256)

# The launcher finds the game relative to itself, so an install with `--prefix` works too.
file(RELATIVE_PATH SNOWROLL_LAUNCHER_TO_DATA ${CMAKE_INSTALL_FULL_BINDIR}
    ${CMAKE_INSTALL_FULL_DATADIR}/snowroll)
file(RELATIVE_PATH SNOWROLL_LAUNCHER_TO_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
    ${CMAKE_INSTALL_FULL_LIBEXECDIR}/snowroll/snowroll)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
configure_file(${packaging}/snowroll.in ${PROJECT_BINARY_DIR}/packaging/snowroll @ONLY)

install(TARGETS snowroll RUNTIME DESTINATION ${SNOWROLL_PROGRAM_DIR})
# Debian keeps games in /usr/games, so an install under /usr (the package) puts the launcher there;
# any other prefix gets it in its bin folder, which is on the user's PATH. Both lie one level
# below the prefix, so the launcher's relative paths hold for either.
install(CODE "
    if(CMAKE_INSTALL_PREFIX STREQUAL /usr)
        set(launcher_dir games)
    else()
        set(launcher_dir ${CMAKE_INSTALL_BINDIR})
    endif()
    file(INSTALL ${PROJECT_BINARY_DIR}/packaging/snowroll
        DESTINATION \${CMAKE_INSTALL_PREFIX}/\${launcher_dir}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
            WORLD_READ WORLD_EXECUTE)
")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/Media DESTINATION ${SNOWROLL_DATA_DIR})
install(FILES ${packaging}/snowroll.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/org.snowroll.snowroll.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The man page names the installed paths, so it is written when the prefix is known: at install
# time, where `--prefix` or the package's /usr may differ from the configured prefix. It is
# compressed the way Debian wants, without a time stamp.
# Installs into different prefixes may run at once (a package build beside a plain install), so
# each writes its own copy.
install(CODE "
    set(PROJECT_VERSION ${PROJECT_VERSION})
    set(SNOWROLL_FULL_DATA_DIR \${CMAKE_INSTALL_PREFIX}/${SNOWROLL_DATA_DIR})
    set(SNOWROLL_FULL_PROGRAM \${CMAKE_INSTALL_PREFIX}/${SNOWROLL_PROGRAM_DIR}/snowroll)
    string(MD5 target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    set(page ${PROJECT_BINARY_DIR}/packaging/man-\${target}/snowroll.6)
    configure_file(${packaging}/snowroll.6.in \${page} @ONLY)
    execute_process(COMMAND gzip -9nf \${page} COMMAND_ERROR_IS_FATAL ANY)
    file(INSTALL \${page}.gz DESTINATION \${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man6
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
")
install(FILES ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging}/changelog)
execute_process(COMMAND gzip -9n -c ${packaging}/changelog
    OUTPUT_FILE ${PROJECT_BINARY_DIR}/packaging/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
foreach(size ${SNOWROLL_ICON_SIZES})
    install(FILES ${packaging}/icons/snowroll-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME snowroll.png)
endforeach()
