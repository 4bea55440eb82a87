# The silent core's sources (CORE_SOURCES) and the desktop layer's
# (DESKTOP_SOURCES), as absolute paths under MAZE_ROOT. Shared by the desktop
# build and the web build (web/CMakeLists.txt), so both compile the same core.
file(GLOB CORE_SOURCES CONFIGURE_DEPENDS
  ${MAZE_ROOT}/src/geometry/*.cpp ${MAZE_ROOT}/src/maze/*.cpp ${MAZE_ROOT}/src/walker/*.cpp
  ${MAZE_ROOT}/src/render/*.cpp ${MAZE_ROOT}/src/platform/*.cpp)
# The desktop front end's layer: GLUT callbacks and globals, message boxes,
# texture upload through GLU and the GLX swap interval.
set(DESKTOP_SOURCES
  src/render/bitmap_loader.cpp src/render/texture_set.cpp src/render/maze_renderer.cpp
  src/platform/message_box.cpp src/platform/swap_control.cpp)
list(TRANSFORM DESKTOP_SOURCES PREPEND ${MAZE_ROOT}/)
list(REMOVE_ITEM CORE_SOURCES ${DESKTOP_SOURCES})
