# Shared part of the mingw-w64 toolchain files: a static Windows console program built on this
# Debian machine with Debian's mingw-w64 compilers (the -posix thread model, for std::thread and
# std::mutex in GoogleTest). Include it after setting VELMAR_MINGW_TRIPLET.
#
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)  # Windows 7 API level: what mingw-w64's headers default to
set(CMAKE_SYSTEM_PROCESSOR ${VELMAR_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER   /usr/bin/${VELMAR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/${VELMAR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  /usr/bin/${VELMAR_MINGW_TRIPLET}-windres)
set(CMAKE_AR           /usr/bin/${VELMAR_MINGW_TRIPLET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${VELMAR_MINGW_TRIPLET}-ranlib CACHE FILEPATH "")
set(CMAKE_OBJDUMP      /usr/bin/${VELMAR_MINGW_TRIPLET}-objdump CACHE FILEPATH "")

# Headers and libraries from the mingw sysroot only; programs (the build's own tools) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMAR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The host's pkg-config must not hand Linux libraries to this build.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${VELMAR_MINGW_TRIPLET}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Everything static: the .exe needs no mingw DLL beside it (libgcc, libstdc++, winpthread).
# No link timestamp in the PE header, so two builds of one commit are byte-identical.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")

