# The layers, bottom to top:
#   settings, media, process, batch   Qt Core only: no picture, no widget
#   desktop                           may use pictures (Qt Gui), no widget
#   components                        the window's widget building blocks
#   engine                            the controller: glue between the above
#   app, player                       the windows
#
# Linking only what a layer may use makes a wrong symbol fail to link; the
# header scan below makes a wrong include fail at configure time, before
# anything compiles, and names the file and the line.

# Qt's headers of one module, by the names a source includes them with.
function(movarin_module_headers module out)
  get_target_property(dirs Qt6::${module} INTERFACE_INCLUDE_DIRECTORIES)
  set(names Qt${module})
  foreach(dir IN LISTS dirs)
    if(dir MATCHES "/Qt${module}$")
      file(GLOB headers RELATIVE ${dir} ${dir}/Q*)
      list(APPEND names ${headers})
    endif()
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

movarin_module_headers(Widgets movarin_widget_headers)
movarin_module_headers(Gui movarin_gui_headers)

# Refuses any file of the calling folder that includes one of the given Qt
# headers or a header from one of the given folders of this tree.
function(movarin_refuse_includes library what)
  cmake_parse_arguments(R "" "" "QT_HEADERS;FOLDERS" ${ARGN})
  file(GLOB_RECURSE own_files CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(path IN LISTS own_files)
    file(STRINGS "${path}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" header "${line}")
      string(REGEX REPLACE "/.*$" "" top "${header}")
      if(header IN_LIST R_QT_HEADERS OR (header MATCHES "/" AND top IN_LIST R_FOLDERS))
        message(FATAL_ERROR "${path} belongs to ${library}, which may not include ${what}: ${line}")
      endif()
    endforeach()
  endforeach()
endfunction()

function(movarin_layer_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# settings, media, process and the pure batch logic: Qt Core at most.
function(movarin_bottom_library name)
  movarin_layer_library(${name} ${ARGN})
  target_link_libraries(${name} PUBLIC Qt6::Core)
  movarin_refuse_includes(${name} "a picture or widget header or one of a higher layer"
    QT_HEADERS ${movarin_gui_headers} ${movarin_widget_headers}
    FOLDERS QtGui QtWidgets desktop components engine app player)
endfunction()

# The desktop's services: pictures may travel to them, widgets never.
function(movarin_service_library name)
  movarin_layer_library(${name} ${ARGN})
  target_link_libraries(${name} PUBLIC Qt6::Gui)
  movarin_refuse_includes(${name} "a widget header or one of a higher layer"
    QT_HEADERS ${movarin_widget_headers}
    FOLDERS QtWidgets components engine app player)
endfunction()
