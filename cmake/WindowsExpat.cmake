# Expat for the Windows build, from Debian's own source package with Debian's patches applied
# (scripts/fetch-expat-source.sh unpacks it), built here as a static library.
#
#   -DVELMAR_EXPAT_SOURCE_DIR=DIR   the unpacked package (default: build-expat-src/expat, where
#                                   the script puts it); its expat/ holds the library's CMake
#                                   project. FETCHCONTENT_SOURCE_DIR_EXPAT, when set, wins.
include(FetchContent)

set(VELMAR_EXPAT_SOURCE_DIR "${PROJECT_SOURCE_DIR}/build-expat-src/expat" CACHE PATH
  "Debian's Expat source package, unpacked by scripts/fetch-expat-source.sh")
if(NOT FETCHCONTENT_SOURCE_DIR_EXPAT)
  set(FETCHCONTENT_SOURCE_DIR_EXPAT "${VELMAR_EXPAT_SOURCE_DIR}/expat")
endif()
if(NOT EXISTS "${FETCHCONTENT_SOURCE_DIR_EXPAT}/CMakeLists.txt")
  message(FATAL_ERROR "Expat's source is not at ${FETCHCONTENT_SOURCE_DIR_EXPAT}: run "
                      "scripts/fetch-expat-source.sh first (or set VELMAR_EXPAT_SOURCE_DIR)")
endif()

# A static library and nothing else: no xmlwf, tests, examples, docs, pkg-config file or install.
set(EXPAT_SHARED_LIBS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_TOOLS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_DOCS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_FUZZERS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_PKGCONFIG OFF CACHE BOOL "" FORCE)
set(EXPAT_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
# DTD support, defined as 1. Expat's CMake writes a bare "#define XML_DTD" into its config
# header, and Debian's security patches test "#if XML_DTD == 1", which then does not compile.
# So the config header leaves XML_DTD undefined and the target defines it with its value, the
# way Expat's other build (configure) does.
set(EXPAT_DTD OFF CACHE BOOL "" FORCE)

FetchContent_Declare(expat SOURCE_DIR "${FETCHCONTENT_SOURCE_DIR_EXPAT}")
FetchContent_MakeAvailable(expat)
target_compile_definitions(expat PUBLIC XML_DTD=1)
add_library(EXPAT::EXPAT ALIAS expat)
