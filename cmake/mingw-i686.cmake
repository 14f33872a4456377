# The target platform, a 32-bit Windows DLL, cross-compiled on Debian with MinGW-w64 (i686, POSIX
# threads; `scripts/install-deps --windows`). GoogleTest comes from the prefix
# scripts/install-deps builds it into from Debian's sources; the tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(KORVATH_MINGW i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVATH_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVATH_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVATH_MINGW}-windres)

if(DEFINED ENV{KORVATH_MINGW_PREFIX})
  set(KORVATH_MINGW_PREFIX "$ENV{KORVATH_MINGW_PREFIX}")
else()
  set(KORVATH_MINGW_PREFIX "/usr/local/${KORVATH_MINGW}")
endif()
set(CMAKE_FIND_ROOT_PATH "/usr/${KORVATH_MINGW}" "${KORVATH_MINGW_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs run under Wine (cmake/wine-run), in a Wine prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run" "${CMAKE_BINARY_DIR}/wine")
