# Installing ZrWnd: the library, its headers, the reference engine and the
# hosts when they were built, the demo and its art, a CMake package and
# pkg-config files.
include(CMakePackageConfigHelpers)

set(ZRWND_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZrWnd)
set(ZRWND_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS ZrWnd EXPORT ZrWndTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The engine's and the hosts' headers (zrwnd/engine/, zrwnd/host/) come with
# their libraries below.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zrwnd DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  PATTERN engine EXCLUDE PATTERN host EXCLUDE)

# The optional libraries, each with the headers it is used through.
set(ZRWND_HAVE_SOFTENGINE OFF)
set(ZRWND_HAVE_HEADLESS OFF)
set(ZRWND_HAVE_SDLHOST OFF)
set(ZRWND_HAVE_RESOURCES OFF)
set(ZRWND_PC_FILES zrwnd)
set(ZRWND_HOST_HEADERS ${PROJECT_SOURCE_DIR}/include/zrwnd/host)
if(TARGET zrwnd_softengine)
  set(ZRWND_HAVE_SOFTENGINE ON)
  install(TARGETS zrwnd_softengine EXPORT ZrWndTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zrwnd/engine DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zrwnd)
  list(APPEND ZRWND_PC_FILES zrwnd-softengine)
endif()
if(TARGET zrwnd_headless)
  set(ZRWND_HAVE_HEADLESS ON)
  install(TARGETS zrwnd_hostloop zrwnd_headless EXPORT ZrWndTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(FILES ${ZRWND_HOST_HEADERS}/HostLoop.h ${ZRWND_HOST_HEADERS}/Journal.h ${ZRWND_HOST_HEADERS}/HeadlessHost.h
                ${ZRWND_HOST_HEADERS}/Script.h ${ZRWND_HOST_HEADERS}/FrameCheck.h
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zrwnd/host)
  list(APPEND ZRWND_PC_FILES zrwnd-headless)
endif()
if(TARGET zrwnd_sdlhost)
  set(ZRWND_HAVE_SDLHOST ON)
  install(TARGETS zrwnd_sdlhost EXPORT ZrWndTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(FILES ${ZRWND_HOST_HEADERS}/SdlHost.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zrwnd/host)
  list(APPEND ZRWND_PC_FILES zrwnd-sdl)
endif()
if(TARGET zrwnd-demo)
  set(ZRWND_HAVE_RESOURCES ON)
  install(TARGETS zrwnd-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_BINARY_DIR}/demo/res/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zrwnd/res)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/demo/scripts/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zrwnd/scripts)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/demo/layouts/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zrwnd/layouts)
endif()

install(EXPORT ZrWndTargets NAMESPACE ZrWnd:: DESTINATION ${ZRWND_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZrWndConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZrWndConfig.cmake
  INSTALL_DESTINATION ${ZRWND_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZrWndConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZrWndConfig.cmake ${PROJECT_BINARY_DIR}/ZrWndConfigVersion.cmake
  DESTINATION ${ZRWND_CMAKE_DIR})

foreach(pc IN LISTS ZRWND_PC_FILES)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/pkgconfig/${pc}.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${pc}.pc DESTINATION ${ZRWND_PKGCONFIG_DIR})
endforeach()
