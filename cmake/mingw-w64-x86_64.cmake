# Cross-building for 64-bit Windows with MinGW-w64 (Debian package
# g++-mingw-w64-x86-64-posix; its posix thread model gives std::thread).
# The test programs run under Wine where it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(HALOVANE_MINGW_PREFIX x86_64-w64-mingw32)

find_program(CMAKE_CXX_COMPILER NAMES ${HALOVANE_MINGW_PREFIX}-g++-posix ${HALOVANE_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${HALOVANE_MINGW_PREFIX}-gcc-posix ${HALOVANE_MINGW_PREFIX}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${HALOVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HALOVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ and thread libraries linked in, so that every .exe runs without
# DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Wine runs the tests (and lists them for ctest at build time) in a Wine
# folder of the build's own, quietly, without a display and without asking
# to install Wine's .NET and browser parts, which Halovane does not use.
find_program(HALOVANE_WINE NAMES wine wine64)
if(HALOVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR env -u DISPLAY -u WAYLAND_DISPLAY WINEDEBUG=-all
      WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDLLOVERRIDES=mscoree,mshtml= ${HALOVANE_WINE})
endif()
