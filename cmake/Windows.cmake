# Cross build for Windows with Debian's mingw-w64 compilers (posix thread
# model). TESSARA_WINDOWS_ARCH picks the target: i686 (32-bit, the default)
# or x86_64.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT TESSARA_WINDOWS_ARCH)
  set(TESSARA_WINDOWS_ARCH i686)
endif()
set(CMAKE_SYSTEM_PROCESSOR ${TESSARA_WINDOWS_ARCH})
set(triple ${TESSARA_WINDOWS_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The compiler's runtime (libgcc, libstdc++, winpthread) linked in, so that
# the program and the library need only the DLLs every Windows has.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
# Wine runs the test programs that CMake's test discovery would run.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
