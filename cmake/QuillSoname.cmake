# quill_soname_of(<variable> <library name> <library files>...)
# sets <variable> to the SONAME of the first of <library files> named
# <library name>.so*, as objdump reads it: the name a library loaded on first use
# (rather than linked) is asked for by. Configuring fails when none is found.
function(quill_soname_of variable library_name)
  set(soname "")
  foreach(library IN LISTS ARGN)
    get_filename_component(file_name "${library}" NAME)
    if(soname OR NOT file_name MATCHES "^${library_name}\\.so" OR NOT CMAKE_OBJDUMP)
      continue()
    endif()
    execute_process(COMMAND "${CMAKE_OBJDUMP}" -p "${library}"
                    OUTPUT_VARIABLE headers ERROR_QUIET RESULT_VARIABLE objdump_failed)
    if(NOT objdump_failed AND headers MATCHES "SONAME[ \t]+([^ \t\r\n]+)")
      set(soname "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(NOT soname)
    message(FATAL_ERROR "Cannot read ${library_name}'s SONAME: the build found \"${ARGN}\" "
                        "and objdump (\"${CMAKE_OBJDUMP}\") found no SONAME in a ${library_name}.so there.")
  endif()
  message(STATUS "${library_name} is loaded on first use as ${soname}")
  set(${variable} "${soname}" PARENT_SCOPE)
endfunction()
