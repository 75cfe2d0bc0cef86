# Puts the default LibFFmpeg.Dat beside the program, but never over an
# existing one: that file holds the user's saved choices and output folder.
# Called at build time with -DSOURCE=<fresh database> -DDESTINATION=<file>.

foreach(required SOURCE DESTINATION)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "InstallDefaultDatabase.cmake needs -D${required}=...")
  endif()
endforeach()

if(EXISTS ${DESTINATION})
  return()
endif()
get_filename_component(destination_dir ${DESTINATION} DIRECTORY)
file(MAKE_DIRECTORY ${destination_dir})
file(COPY_FILE ${SOURCE} ${DESTINATION})
message(STATUS "Wrote the default ${DESTINATION}")
