# Fails when any source outside src/platform/ includes an SDL header or an
# operating system's file, process or library header (files, folders and
# the rest go through platform/), or when code tells a page from a desktop
# anywhere but in a variant file of the platform: emscripten's header and
# __EMSCRIPTEN__ only in X_web.cpp, the desktop's own libraries (X11, ALSA,
# FluidSynth, fontconfig, libcurl) only in X_desktop.cpp.
file(GLOB_RECURSE files ${SRC}/src/*.cpp ${SRC}/src/*.h)

# Fails with `why` when a file whose path does not match `spared` has a
# line matching `refused`.
function(refuse spared refused why)
  set(hits)
  foreach(f ${files})
    if(NOT f MATCHES "${spared}")
      file(STRINGS ${f} lines REGEX "${refused}")
      if(lines)
        list(APPEND hits ${f})
      endif()
    endif()
  endforeach()
  if(hits)
    message(FATAL_ERROR "${why}: ${hits}")
  endif()
endfunction()

set(include "^[ \t]*#[ \t]*include[ \t]*")
refuse("/src/platform/" "${include}[<\"]SDL" "SDL included outside src/platform/")
refuse("/src/platform/" "${include}<(dirent|unistd|fcntl|pwd|dlfcn|sys/[a-z_]+)\\.h>"
       "operating-system headers outside src/platform/ (use platform/files.h)")
refuse("/src/platform/[a-z0-9_]+_web\\.(cpp|h)$" "__EMSCRIPTEN__|emscripten[./]"
       "browser-only code outside a src/platform/X_web.cpp (a page's difference goes in its variant file)")
refuse("/src/platform/[a-z0-9_]+_desktop\\.(cpp|h)$" "${include}<(X11/|alsa/|fluidsynth|fontconfig/|curl/)"
       "a desktop library outside a src/platform/X_desktop.cpp (a page has none of them)")
