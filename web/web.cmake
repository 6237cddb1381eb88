# The game for a browser page: the same sources, built by Emscripten against
# WebAssembly builds of SDL2, SDL2_mixer, SDL2_ttf, SDL2_image and FreeType
# (scripts/web-deps.sh makes them into QS_WEB_PREFIX), with the game's data
# packaged beside it (QS_WEB_DATA, made by scripts/web-data.sh). `make web`
# drives all of it; the output is build-web/index.{html,js,wasm,data}.
set(QS_WEB_PREFIX "" CACHE PATH "Folder of the WebAssembly SDL2 libraries (lib/, include/)")
set(QS_WEB_DATA "" CACHE PATH "Folder of the game data to package for the page")
foreach(lib SDL2_mixer SDL2_ttf SDL2_image freetype SDL2)
  if(NOT EXISTS ${QS_WEB_PREFIX}/lib/lib${lib}.a)
    message(FATAL_ERROR "lib${lib}.a not found in QS_WEB_PREFIX='${QS_WEB_PREFIX}/lib': run scripts/web-deps.sh")
  endif()
  list(APPEND QS_WEB_LIBS ${QS_WEB_PREFIX}/lib/lib${lib}.a)
endforeach()
if(NOT EXISTS ${QS_WEB_DATA}/font/quellstorm.ttf)
  message(FATAL_ERROR "no packaged data in QS_WEB_DATA='${QS_WEB_DATA}': run scripts/web-data.sh")
endif()

# The board client reads the board's answers with nlohmann-json (header
# only, Debian's nlohmann-json3-dev). Only its own folder is put on the
# include path: the rest of /usr/include is the desktop's, not the page's.
find_path(QS_NLOHMANN_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT QS_NLOHMANN_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install the Debian package nlohmann-json3-dev (scripts/deps.sh web)")
endif()
set(QS_WEB_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${QS_WEB_JSON_INCLUDE})
file(CREATE_LINK ${QS_NLOHMANN_INCLUDE}/nlohmann ${QS_WEB_JSON_INCLUDE}/nlohmann SYMBOLIC)

# Every game source, as the desktop build takes them.
file(GLOB QS_WEB_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/*.cpp)
# Where the page differs, the platform has a file per variant: X_web.cpp
# here, X_desktop.cpp on a desktop.
list(FILTER QS_WEB_SRC EXCLUDE REGEX "_desktop\\.cpp$")
# The settings file's reader: Debian's libinih source cannot be fetched, so
# the page has a reader of its own with the same behaviour (web/inih/).
add_executable(quellstorm ${QS_WEB_SRC} ${CMAKE_SOURCE_DIR}/web/inih/ini.c)
# Emscripten puts its own old SDL 1 headers on the path: ours come first.
target_include_directories(quellstorm BEFORE PRIVATE
  ${QS_WEB_PREFIX}/include/SDL2 ${QS_WEB_PREFIX}/include ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/web/inih
  ${QS_WEB_JSON_INCLUDE})
target_compile_options(quellstorm PRIVATE -O2)
target_link_libraries(quellstorm PRIVATE ${QS_WEB_LIBS})

set(QS_WEB_SHELL ${CMAKE_SOURCE_DIR}/web/shell.html)
set(QS_WEB_STAMP ${QS_WEB_DATA}/.stamp)
target_link_options(quellstorm PRIVATE
  -O2
  # The game's own loop runs as it is; each wait hands the page its turn.
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=134217728
  -sFORCE_FILESYSTEM=1 -lidbfs.js
  # The page starts the game itself, after the player's first click or key
  # and once the saved record has been read from the browser's storage.
  -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
  "-sEXPORTED_RUNTIME_METHODS=[\"FS\",\"callMain\",\"ccall\",\"UTF8ToString\",\"addRunDependency\",\"removeRunDependency\"]"
  # SDL's audio in a page needs two runtime helpers Emscripten leaves out
  # (read from a file: a '$' does not survive the build tool's quoting).
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/web/library_funcs.json
  -sMINIFY_HTML=0
  # The page's side of the score board, joined to the game's script.
  --post-js ${CMAKE_SOURCE_DIR}/web/board.js
  --shell-file ${QS_WEB_SHELL}
  --preload-file ${QS_WEB_DATA}@/)
set_target_properties(quellstorm PROPERTIES
  OUTPUT_NAME index SUFFIX .html
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  LINK_DEPENDS "${QS_WEB_SHELL};${QS_WEB_STAMP};${CMAKE_SOURCE_DIR}/web/board.js")
