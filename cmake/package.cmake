# What an install needs beyond the programs, the data and the manual pages'
# sources: the icons, drawn by the build from the shipped texture art, the
# AppStream metadata, the licence and the changelog; and the Debian package
# built from the install (cpack -G DEB, called by scripts/package).

# Who the project is, the same in the package, its changelog, the AppStream
# metadata and the manual pages (the tests compare them).
set(MAZE_APP_ID io.github.maze3d.maze)
set(MAZE_DEVELOPERS "The maze developers")  # as LICENSE names them
set(MAZE_CONTACT "maze3d@users.noreply.github.com")
set(MAZE_MAINTAINER "${MAZE_DEVELOPERS} <${MAZE_CONTACT}>")

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

# The manual pages, compressed as Debian wants them (-n: no name or time
# stamp, so the bytes depend on the page alone).
find_program(GZIP gzip REQUIRED)
foreach(page maze.6 mazetool.1 mazewalk.6x)
  string(REGEX REPLACE ".*\\.([0-9]).*" "\\1" section ${page})
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP} -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/man/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
    DEPENDS man/${page})
  list(APPEND MAZE_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

# The changelog, compressed the same way, and the copyright file, whose
# licence paragraph is LICENSE's text, so the two cannot differ.
configure_file(data/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND ${GZIP} -9n -c ${CMAKE_BINARY_DIR}/doc/changelog > ${CMAKE_BINARY_DIR}/doc/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog)
add_custom_target(manpages ALL DEPENDS ${MAZE_MAN_PAGES} ${CMAKE_BINARY_DIR}/doc/changelog.gz)
file(READ LICENSE MAZE_LICENSE)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${MAZE_LICENSE}")
set(MAZE_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${MAZE_LICENSE}" "Permission is hereby granted" start)
string(SUBSTRING "${MAZE_LICENSE}" ${start} -1 MAZE_LICENSE)
string(STRIP "${MAZE_LICENSE}" MAZE_LICENSE)
string(REPLACE "\n\n" "\n.\n" MAZE_LICENSE "${MAZE_LICENSE}")
string(REPLACE "\n" "\n " MAZE_LICENSE " ${MAZE_LICENSE}")
configure_file(data/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS LICENSE)
set(MAZE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/maze)
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${MAZE_DOC_DIR})

configure_file(data/metainfo.xml.in ${CMAKE_BINARY_DIR}/${MAZE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${MAZE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# cpack -G DEB: maze_<version>_<arch>.deb, installing to /usr, its Depends
# found by dpkg-shlibdeps from the programs' libraries. Debian keeps games in
# /usr/games, so the package takes the programs from a rule of its own
# instead of the bin one (both see the data at ../share/maze).
install(TARGETS maze mazetool RUNTIME DESTINATION games COMPONENT debian_programs EXCLUDE_FROM_ALL)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified debian_programs)
set(CPACK_PACKAGE_NAME maze)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${MAZE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "walk through a 3D maze in first person")
set(CPACK_PACKAGE_DESCRIPTION [[
Maze shows a maze of textured walls as seen from inside and lets you walk
it cell by cell until you find an exit. It plays the shipped maze or any
maze written as a plain text file, and can walk itself the shortest way
through maze after random maze.

mazetool checks, solves and generates mazes and writes the textures.]])
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
include(CPack)
