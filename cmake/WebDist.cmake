# Puts the page together in DIST and zips it into ZIP: the game's files (from the folder GAME),
# the tune (TUNE) and the page scripts (SCRIPTS, separated by "|") each under a name that carries
# a hash of its content, so that a browser may keep them for good; the page (PAGE) names them so.
# The files of PLAIN (separated by "|") keep their names.
# Beside each file that shrinks on the wire lie its brotli (BROTLI) and gzip (GZIP) copies.
#
#   cmake -DGAME=... -DTUNE=... -DSCRIPTS=... -DPLAIN=... -DPAGE=... -DDIST=... -DZIP=... \
#         -DBROTLI=... -DGZIP=... -P cmake/WebDist.cmake
cmake_minimum_required(VERSION 3.21)
set(HASH_LENGTH 10)

file(REMOVE_RECURSE ${DIST})
file(MAKE_DIRECTORY ${DIST})
file(READ ${PAGE} page)
string(REPLACE "|" ";" scripts "${SCRIPTS}")
set(sizes "")
foreach(file ${GAME}/snowroll.js ${GAME}/snowroll.wasm ${GAME}/snowroll.data ${TUNE} ${scripts})
    get_filename_component(name ${file} NAME)
    get_filename_component(stem ${file} NAME_WE)
    get_filename_component(extension ${file} LAST_EXT)
    file(SHA256 ${file} hash)
    string(SUBSTRING ${hash} 0 ${HASH_LENGTH} hash)
    set(hashed ${stem}.${hash}${extension})
    file(COPY_FILE ${file} ${DIST}/${hashed})
    string(REPLACE "\"${name}\"" "\"${hashed}\"" page "${page}")
    file(SIZE ${file} size)
    string(APPEND sizes "\"${hashed}\": ${size}, ")
endforeach()
# The loader's bar counts the bytes of each file as they arrive, once unpacked.
string(REPLACE "/* sizes */" "${sizes}" page "${page}")
file(WRITE ${DIST}/index.html "${page}")
string(REPLACE "|" ";" plain "${PLAIN}")
file(COPY ${plain} DESTINATION ${DIST})

# The tune is packed already; the data is the packed atlas and the levels as text.
file(GLOB packable ${DIST}/*.html ${DIST}/*.js ${DIST}/*.wasm ${DIST}/*.data)
foreach(file ${packable})
    execute_process(COMMAND ${BROTLI} --best --force --keep ${file} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${GZIP} --best --force --keep --no-name ${file}
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()

file(GLOB shipped RELATIVE ${DIST} ${DIST}/*)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${shipped}
                WORKING_DIRECTORY ${DIST} COMMAND_ERROR_IS_FATAL ANY)
