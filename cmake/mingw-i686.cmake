# SPDX-License-Identifier: Apache-2.0
# Cross-compiling for 32-bit Windows with the MinGW-w64 i686 toolchain
# (Debian: g++-mingw-w64-i686).
#
#   cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
#
# The posix thread flavour of the compilers is preferred: its libstdc++ has
# std::thread and std::mutex, and with the static link options of the
# top-level CMakeLists.txt its threading runtime is linked into each binary
# instead of being loaded from libwinpthread-1.dll.  The plain names (the
# flavour chosen by the system's alternatives) are the fallback.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CORVUNA_MINGW_TRIPLET i686-w64-mingw32 CACHE STRING "Target triplet of the MinGW-w64 tools")
set(_triplet ${CORVUNA_MINGW_TRIPLET})

find_program(CMAKE_C_COMPILER NAMES ${_triplet}-gcc-posix ${_triplet}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_triplet}-g++-posix ${_triplet}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_triplet}-windres)
find_program(CMAKE_AR NAMES ${_triplet}-gcc-ar-posix ${_triplet}-gcc-ar ${_triplet}-ar)
find_program(CMAKE_RANLIB NAMES ${_triplet}-gcc-ranlib-posix ${_triplet}-gcc-ranlib ${_triplet}-ranlib)
find_program(CMAKE_OBJDUMP NAMES ${_triplet}-objdump)

# Libraries and headers come from the target's sysroot only; programs from
# the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
