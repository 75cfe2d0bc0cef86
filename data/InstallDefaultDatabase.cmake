# Puts the default LibFFmpeg.Dat beside the program, but never over an
# existing one of the same generation: that file holds the user's saved
# choices and output folder. An older generation is moved aside as
# LibFFmpeg.Dat.old. Called at build time with -DSOURCE=<fresh database>
# -DDESTINATION=<file> and, to compare generations, -DSQLITE3=<program>.

foreach(required SOURCE DESTINATION)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "InstallDefaultDatabase.cmake needs -D${required}=...")
  endif()
endforeach()

function(catalogue_generation file out)
  execute_process(COMMAND ${SQLITE3} ${file} "pragma user_version"
                  OUTPUT_VARIABLE generation OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    set(generation "")
  endif()
  set(${out} "${generation}" PARENT_SCOPE)
endfunction()

if(EXISTS ${DESTINATION})
  if(NOT DEFINED SQLITE3)
    return()
  endif()
  catalogue_generation(${SOURCE} shipped)
  catalogue_generation(${DESTINATION} placed)
  # A damaged file (no generation) is left for the program to report.
  if(placed STREQUAL "" OR NOT placed LESS shipped)
    return()
  endif()
  file(RENAME ${DESTINATION} ${DESTINATION}.old)
  message(STATUS "Moved the older ${DESTINATION} aside as ${DESTINATION}.old")
endif()
get_filename_component(destination_dir ${DESTINATION} DIRECTORY)
file(MAKE_DIRECTORY ${destination_dir})
file(COPY_FILE ${SOURCE} ${DESTINATION})
message(STATUS "Wrote the default ${DESTINATION}")
