# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model) and a
# static runtime. libxml2 comes from scripts/build-libxml2-mingw.sh (cache folder
# $QUENDA_MINGW_CACHE or ~/.cache/quenda); GoogleTest is built from Debian's sources in
# /usr/src/googletest. Test programs run under Wine (cmake/wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(DEFINED ENV{QUENDA_MINGW_CACHE})
  set(QUENDA_MINGW_CACHE "$ENV{QUENDA_MINGW_CACHE}")
else()
  set(QUENDA_MINGW_CACHE "$ENV{HOME}/.cache/quenda")
endif()
set(QUENDA_LIBXML2_PREFIX "${QUENDA_MINGW_CACHE}/libxml2-mingw" CACHE PATH
    "libxml2 built for mingw-w64")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${QUENDA_LIBXML2_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained quenda.exe: libgcc, libstdc++ and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(QUENDA_LIBXML2_STATIC ON CACHE BOOL "libxml2 is a static library")
set(QUENDA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to build")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")
