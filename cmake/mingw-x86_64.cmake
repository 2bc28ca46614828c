# Cross toolchain: MinGW-w64 for 64-bit Windows, for the Win32 tests on machines that cannot run
# 32-bit programs.
set(VEXAR_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
