# settings, media and process are the bottom layer: they link Qt Core only
# and may not include anything from QtGui or QtWidgets. Linking Core alone
# makes a widget symbol fail to link; the header scan below makes a widget
# include fail at configure time, before anything compiles.
function(movarin_bottom_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core)
  file(GLOB_RECURSE own_files CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(path IN LISTS own_files)
    file(STRINGS "${path}" hits REGEX
         "^[ \t]*#[ \t]*include[ \t]*[<\"](QtWidgets|QtGui|QWidget|QApplication|QGuiApplication|QMessageBox|QDialog|QFileDialog|QComboBox|QTreeWidget|QLineEdit|QLabel|QToolButton|QSystemTrayIcon|QIcon|QPixmap|QImage|QDesktopServices)")
    if(hits)
      message(FATAL_ERROR "${path} belongs to the bottom layer and may not include a GUI header: ${hits}")
    endif()
  endforeach()
endfunction()
