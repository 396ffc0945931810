# Cross-building for 64-bit Windows with MinGW-w64 (posix threads, which Qt needs).
# STOCKQUERY_WINDOWS_PREFIXES (a list) names the cross-built Qt and libraries to look in.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-ar)
set(CMAKE_RANLIB x86_64-w64-mingw32-ranlib)

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES STOCKQUERY_WINDOWS_PREFIXES)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${STOCKQUERY_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config looks in the cross-built libraries alone: the host's would hand out Linux ones.
set(pkg_config_dirs /nonexistent)
foreach(prefix IN LISTS STOCKQUERY_WINDOWS_PREFIXES)
    string(APPEND pkg_config_dirs ":${prefix}/lib/pkgconfig")
endforeach()
set(ENV{PKG_CONFIG_LIBDIR} "${pkg_config_dirs}")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
