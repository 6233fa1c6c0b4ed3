# Cross build for 64-bit Windows with Debian's mingw-w64 compilers (the -posix ones: std::thread).
# Libraries, headers and CMake packages are looked up only in the mingw sysroot and in the
# prefix the Windows dependencies were built into (VORLITH_WINDOWS_PREFIX, from the cache or the
# environment; scripts/build-windows.sh sets it); programs only on the build machine.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#         -DVORLITH_WINDOWS_PREFIX=DIR
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORLITH_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VORLITH_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORLITH_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VORLITH_MINGW_TRIPLE}-windres)

if(NOT VORLITH_WINDOWS_PREFIX AND DEFINED ENV{VORLITH_WINDOWS_PREFIX})
  set(VORLITH_WINDOWS_PREFIX "$ENV{VORLITH_WINDOWS_PREFIX}")
endif()
set(VORLITH_WINDOWS_PREFIX "${VORLITH_WINDOWS_PREFIX}"
    CACHE PATH "Where the Windows dependencies are installed")
# try_compile projects read this file again: hand the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VORLITH_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${VORLITH_MINGW_TRIPLE})
if(VORLITH_WINDOWS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${VORLITH_WINDOWS_PREFIX}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config (FindPkgConfig) sees only the dependencies' .pc files, with their paths as written.
if(VORLITH_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${VORLITH_WINDOWS_PREFIX}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
