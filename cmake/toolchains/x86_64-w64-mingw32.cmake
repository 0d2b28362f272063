# 64-bit Windows console build (Debian package g++-mingw-w64-x86-64-posix).
#   cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake
set(VELMAR_MINGW_TRIPLET x86_64-w64-mingw32)
set(VELMAR_MINGW_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
