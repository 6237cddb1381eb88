# Run by CPack before it builds the packages: the programs lose the
# compiler's .comment section, as Debian's own packaging tools strip it.
file(GLOB_RECURSE files "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(p ${files})
  if(p MATCHES "/usr/(games|bin)/[^/]+$")
    execute_process(COMMAND objcopy --remove-section=.comment "${p}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "objcopy --remove-section=.comment ${p} failed (objcopy is in the Debian package binutils)")
    endif()
  endif()
endforeach()
