# The browser build: the game's sources compiled by Emscripten into snowroll.js and snowroll.wasm,
# what the first frame needs (the atlas and the levels) packed into snowroll.data, a lighter copy of
# the tune that the game fetches once it runs, and the page beside them in dist/ under names that
# carry a hash of their content, with compressed copies, zipped into snowroll-web.zip. Where the browser's SDL and GL differ, the *Web.cpp side of each platform seam
# takes the place of the *Desktop.cpp side.
#
#   emcmake cmake -S . -B build/web && cmake --build build/web
if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
    set(CMAKE_BUILD_TYPE Release)
endif()

file(GLOB_RECURSE WEB_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.cpp)
list(FILTER WEB_SOURCES EXCLUDE REGEX "Desktop\\.cpp$")

# The mesh tables are computed by tools/meshgen, built for and run on the build machine with its own
# C++ compiler, so that the browser draws the very tables the desktop build computes.
find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(MESHGEN_DIR ${PROJECT_SOURCE_DIR}/tools/meshgen)
set(HOST_MESHGEN ${PROJECT_BINARY_DIR}/host/meshgen)
set(MESH_DATA ${PROJECT_BINARY_DIR}/generated/MeshData.cpp)
add_custom_command(OUTPUT ${HOST_MESHGEN}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/host
    COMMAND ${HOST_CXX} -std=c++17 -O2 -I${MESHGEN_DIR} ${MESHGEN_DIR}/MeshGen.cpp
        ${MESHGEN_DIR}/Shapes.cpp -o ${HOST_MESHGEN}
    DEPENDS ${MESHGEN_DIR}/MeshGen.cpp ${MESHGEN_DIR}/Shapes.cpp ${MESHGEN_DIR}/Shapes.h
    COMMENT "Building the mesh generator for this machine")
add_custom_command(OUTPUT ${MESH_DATA}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/generated
    COMMAND ${HOST_MESHGEN} ${MESH_DATA}
    DEPENDS ${HOST_MESHGEN}
    COMMENT "Computing the mesh tables")

add_executable(snowroll ${WEB_SOURCES} ${MESH_DATA})
target_include_directories(snowroll PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_compile_options(snowroll PRIVATE -O3)

# The decoder the browser's SDL_image calls by name must survive the optimiser, and so must the
# allocator it uses. The game's GL is OpenGL 1.x, emulated over WebGL; with the emulation's
# shortcuts (GL_UNSAFE_OPTS) the second buffer of a frame, the piles, was not drawn at all.
set(WEB_EXPORTS _main,_malloc,_free,_stbi_load_from_memory,_stbi_load,_stbi_image_free)
target_link_options(snowroll PRIVATE
    -O3
    -sENVIRONMENT=web
    -sLEGACY_GL_EMULATION=1
    -sGL_UNSAFE_OPTS=0
    -sSTB_IMAGE=1
    -sALLOW_MEMORY_GROWTH=1
    -sEXPORTED_FUNCTIONS=${WEB_EXPORTS}
    "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/Media@Media"
    "SHELL:--exclude-file *.mp3")
set_target_properties(snowroll PROPERTIES SUFFIX .js)
set_property(TARGET snowroll APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/Media)

# A phone's line carries the tune in a few seconds at 64 kbit/s; MP3, which every browser decodes.
find_program(LAME lame REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(WEB_TUNE ${PROJECT_BINARY_DIR}/driftsong.mp3)
add_custom_command(OUTPUT ${WEB_TUNE}
    COMMAND ${LAME} --quiet --mp3input -b 64 ${PROJECT_SOURCE_DIR}/Media/driftsong.mp3 ${WEB_TUNE}
    DEPENDS ${PROJECT_SOURCE_DIR}/Media/driftsong.mp3
    COMMENT "Making the page's lighter copy of the tune")

# Page scripts of ours, named by their content like the game's files; the service worker keeps
# its plain name, by which the browser looks it up again.
file(GLOB WEB_SCRIPTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/web/*.js)
list(FILTER WEB_SCRIPTS EXCLUDE REGEX "/service-worker\\.js$")
set(WEB_DIST ${PROJECT_BINARY_DIR}/dist)
set(WEB_ZIP ${PROJECT_BINARY_DIR}/snowroll-web.zip)
set(WEB_PAGE ${PROJECT_SOURCE_DIR}/packaging/web/index.html)
string(REPLACE ";" "|" WEB_SCRIPT_LIST "${WEB_SCRIPTS}")
# Files under their plain names: the worker that keeps the page's files for visits without a
# network (at the root, so that its scope is the whole page, and looked up again by its name), the
# manifest that makes the page installable, and the manifest's icons.
set(WEB_PLAIN ${PROJECT_SOURCE_DIR}/src/web/service-worker.js
    ${PROJECT_SOURCE_DIR}/packaging/web/manifest.webmanifest
    ${PROJECT_SOURCE_DIR}/packaging/icons/snowroll-192.png
    ${PROJECT_SOURCE_DIR}/packaging/icons/snowroll-512.png)
string(REPLACE ";" "|" WEB_PLAIN_LIST "${WEB_PLAIN}")
find_program(BROTLI brotli REQUIRED NO_CMAKE_FIND_ROOT_PATH)
find_program(GZIP gzip REQUIRED NO_CMAKE_FIND_ROOT_PATH)
add_custom_command(OUTPUT ${WEB_ZIP}
    COMMAND ${CMAKE_COMMAND} -DGAME=$<TARGET_FILE_DIR:snowroll> -DTUNE=${WEB_TUNE}
        "-DSCRIPTS=${WEB_SCRIPT_LIST}" "-DPLAIN=${WEB_PLAIN_LIST}" -DPAGE=${WEB_PAGE}
        -DDIST=${WEB_DIST} -DZIP=${WEB_ZIP} -DBROTLI=${BROTLI} -DGZIP=${GZIP}
        -P ${PROJECT_SOURCE_DIR}/cmake/WebDist.cmake
    DEPENDS snowroll ${WEB_PAGE} ${WEB_TUNE} ${WEB_SCRIPTS} ${WEB_PLAIN}
        ${PROJECT_SOURCE_DIR}/cmake/WebDist.cmake
    COMMENT "Putting the page together in dist/ and snowroll-web.zip"
    VERBATIM)
add_custom_target(web_dist ALL DEPENDS ${WEB_ZIP})
