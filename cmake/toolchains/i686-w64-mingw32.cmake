# 32-bit Windows console build (Debian package g++-mingw-w64-i686-posix).
#   cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/i686-w64-mingw32.cmake
set(VELMAR_MINGW_TRIPLET i686-w64-mingw32)
set(VELMAR_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
