# What an install needs beyond the programs, the data and the manual pages'
# sources: the icons, drawn by the build from the shipped texture art, the
# AppStream metadata, the licence and the changelog; and the Debian package
# built from the install (cpack -G DEB, called by scripts/package).

# The icon, drawn at every size of the hicolor set.
add_library(mazeicon STATIC tools/icon/icon_view.cpp tools/icon/png_writer.cpp)
target_include_directories(mazeicon PUBLIC tools)
target_link_libraries(mazeicon PUBLIC mazetools)
add_executable(maze_icons tools/icon/make_icons.cpp)
target_link_libraries(maze_icons PRIVATE mazeicon)
set(MAZE_ICON_SIZES 48 64 128 256)
set(MAZE_ICONS ${MAZE_ICON_SIZES})
list(TRANSFORM MAZE_ICONS REPLACE "(.+)" "${CMAKE_BINARY_DIR}/icons/hicolor/\\1x\\1/apps/maze.png")
add_custom_command(OUTPUT ${MAZE_ICONS}
  COMMAND maze_icons ${CMAKE_BINARY_DIR}/icons
  DEPENDS maze_icons
  COMMENT "Drawing the icons")
add_custom_target(icons ALL DEPENDS ${MAZE_ICONS})
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
