# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX thread
# model, so std::thread and std::mutex work) and links everything statically:
# the program and its tests run as single .exe files, on Windows or under Wine,
# with no MinGW runtime DLLs beside them.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)

# Libraries the set-up script builds for MinGW (GoogleTest, libpng) live in a
# cache outside the source tree; it is a search root beside the compiler's own.
if(DEFINED ENV{INKMOSS_CACHE})
  set(_inkmoss_cache "$ENV{INKMOSS_CACHE}")
else()
  set(_inkmoss_cache /var/cache/inkmoss)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw} "${_inkmoss_cache}/mingw")
list(APPEND CMAKE_PREFIX_PATH "${_inkmoss_cache}/mingw")

# Build tools run on the host; headers, libraries and packages come only from
# the Windows roots.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's MinGW zlib ships an import library next to the static one.
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
