# Cross-builds the Windows console program with MinGW-w64 (Debian package
# g++-mingw-w64-x86-64-posix); tests run under Wine (package wine64 or wine).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine64 package installs its loader and server outside PATH.
find_program(WINE_PROGRAM NAMES wine wine64 PATHS /usr/lib/wine)
find_program(WINESERVER_PROGRAM NAMES wineserver64 wineserver PATHS /usr/lib/wine)
# Wine's own errors stay on, so that a program Wine failed to start says why;
# its notes on functions it leaves unimplemented are off.
if(WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env WINEDEBUG=fixme-all ${WINE_PROGRAM})
endif()
