# Cross toolchain: MinGW-w64 for 32-bit Windows, the program as it ships.
set(VEXAR_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
