# Cross-builds the 32-bit ZrWnd.dll with MinGW-w64.
set(ZRWND_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
