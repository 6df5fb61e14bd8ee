# Cross-builds the 64-bit ZrWnd.dll and the test suites with MinGW-w64.
set(ZRWND_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
