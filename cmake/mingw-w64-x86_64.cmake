# Cross build for 64-bit Windows with MinGW-w64 from a Linux machine (Debian package
# g++-mingw-w64-x86-64). The test programs run under Wine (Debian package wine64)
# through CMake's cross-compiling emulator, with a Wine prefix of their own inside the
# build folder so a run never touches the user's ~/.wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVANE_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model: GoogleTest needs std::mutex, which the win32 model of GCC 12
# lacks. The library itself uses no threads.
set(CMAKE_C_COMPILER ${KELVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVANE_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KELVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian installs the 64-bit loader as /usr/lib/wine/wine64 and puts only the
# wrapper "wine" on PATH, which complains about a missing 32-bit Wine.
find_program(KELVANE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
find_program(KELVANE_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KELVANE_WINE64 AND KELVANE_WINESERVER)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      /bin/sh ${CMAKE_CURRENT_LIST_DIR}/run_under_wine.sh ${KELVANE_WINE64} ${KELVANE_WINESERVER}
      ${CMAKE_BINARY_DIR}/wineprefix)
endif()
