# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64,
# zlib from libz-mingw-w64-dev):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The programs are linked statically, so that they run without the compiler's
# runtime DLLs. The posix-threads variant of the compiler is taken when it is
# there (the C++ runtime of the win32 variant lacks std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORVAN_MINGW_PREFIX x86_64-w64-mingw32)

find_program(KORVAN_MINGW_CXX NAMES ${KORVAN_MINGW_PREFIX}-g++-posix ${KORVAN_MINGW_PREFIX}-g++)
find_program(KORVAN_MINGW_CC NAMES ${KORVAN_MINGW_PREFIX}-gcc-posix ${KORVAN_MINGW_PREFIX}-gcc)
set(CMAKE_C_COMPILER ${KORVAN_MINGW_CC})
set(CMAKE_CXX_COMPILER ${KORVAN_MINGW_CXX})
set(CMAKE_RC_COMPILER ${KORVAN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVAN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The static zlib, not its import library.
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
