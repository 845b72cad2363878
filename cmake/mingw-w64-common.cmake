# Shared part of the MinGW-w64 toolchain files; they set NETVANE_MINGW_PREFIX first.
# NETVANE_THREADS picks Debian's compiler flavour: "win32" for the shipped programs (their
# runtime imports nothing newer than Windows XP), "posix" (the default) for the test binaries,
# since GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT NETVANE_THREADS)
  set(NETVANE_THREADS posix)
endif()
# try_compile runs this file again in a project of its own: hand the choice on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES NETVANE_THREADS)
set(CMAKE_C_COMPILER ${NETVANE_MINGW_PREFIX}-gcc-${NETVANE_THREADS})
set(CMAKE_CXX_COMPILER ${NETVANE_MINGW_PREFIX}-g++-${NETVANE_THREADS})
set(CMAKE_RC_COMPILER ${NETVANE_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${NETVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Windows test binaries run under Wine (through a wrapper that keeps its helpers off the pipes).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
