# Included by the install script. Folders an install creates get the
# installing user's umask, and a root umask of 077 would leave the program
# unreachable for every other user (and a package built that way broken).
# movarin_note_new_folders, run before anything is installed, remembers which
# of the given folders (relative to the prefix), their parents and the
# prefix's own parents do not exist yet; movarin_open_new_folders, run last,
# opens exactly those to everyone. Folders that were there are left as their
# owner set them.

function(movarin_note_new_folders)
  set(root "$ENV{DESTDIR}")
  set(new_folders)
  foreach(folder IN LISTS ARGN)
    set(path "${root}${CMAKE_INSTALL_PREFIX}/${folder}")
    while(NOT EXISTS "${path}" AND NOT path STREQUAL "${root}" AND NOT path STREQUAL "/")
      list(APPEND new_folders "${path}")
      get_filename_component(path "${path}" DIRECTORY)
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES new_folders)
  set(MOVARIN_NEW_FOLDERS "${new_folders}" PARENT_SCOPE)
endfunction()

function(movarin_open_new_folders)
  foreach(path IN LISTS MOVARIN_NEW_FOLDERS)
    if(IS_DIRECTORY "${path}")
      file(CHMOD "${path}" PERMISSIONS
           OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endif()
  endforeach()
endfunction()
