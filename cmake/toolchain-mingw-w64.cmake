# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads, for
# std::thread and std::condition_variable):
#     cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake ...
# Libraries and packages are looked for in the MinGW sysroot and in
# VT5150_WINDOWS_LIBS (libraries built for Windows under the build tree, see
# scripts/build-windows), never among the build machine's own.

set (CMAKE_SYSTEM_NAME Windows)
set (CMAKE_SYSTEM_PROCESSOR x86_64)

set (VT5150_MINGW_TRIPLET x86_64-w64-mingw32)
set (CMAKE_C_COMPILER ${VT5150_MINGW_TRIPLET}-gcc-posix)
set (CMAKE_CXX_COMPILER ${VT5150_MINGW_TRIPLET}-g++-posix)
set (CMAKE_RC_COMPILER ${VT5150_MINGW_TRIPLET}-windres)

set (CMAKE_FIND_ROOT_PATH /usr/${VT5150_MINGW_TRIPLET})
set (CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set (CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set (ENV{PKG_CONFIG_LIBDIR} /usr/${VT5150_MINGW_TRIPLET}/lib/pkgconfig)

# This file is read again for each compiler check, which must see the same.
list (APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VT5150_WINDOWS_LIBS)

if (VT5150_WINDOWS_LIBS)
    list (APPEND CMAKE_FIND_ROOT_PATH "${VT5150_WINDOWS_LIBS}")
    set (ENV{PKG_CONFIG_LIBDIR} "${VT5150_WINDOWS_LIBS}/lib/pkgconfig:$ENV{PKG_CONFIG_LIBDIR}")
endif()

# The programs ship as single .exe files: static libraries where both kinds exist.
set (ZLIB_USE_STATIC_LIBS ON)
