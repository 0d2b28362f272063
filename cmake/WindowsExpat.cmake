# Expat for the Windows build: the library's own source, kept unchanged in third_party/expat
# (where it came from, and the sum its tree must have: third_party/expat-origin.txt), built
# here as a static library with the same toolchain and flags as the program.
#
#   -DVELMAR_EXPAT_TESTS=ON   also builds Expat's own test suite (runtests.exe) from the same
#                             sources, registered as the test expat.runtests (under the test
#                             emulator, wine)
include(FetchContent)

set(VELMAR_EXPAT_SOURCE_DIR "${PROJECT_SOURCE_DIR}/third_party/expat" CACHE PATH
  "Expat's source, as it came (third_party/expat-origin.txt)")
option(VELMAR_EXPAT_TESTS "Build Expat's own test suite too" OFF)
if(NOT EXISTS "${VELMAR_EXPAT_SOURCE_DIR}/CMakeLists.txt")
  message(FATAL_ERROR "Expat's source is not at ${VELMAR_EXPAT_SOURCE_DIR}")
endif()

# A static library and nothing else: no xmlwf, examples, docs, pkg-config file or install.
set(EXPAT_SHARED_LIBS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_TOOLS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_TESTS ${VELMAR_EXPAT_TESTS} CACHE BOOL "" FORCE)
set(EXPAT_BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_DOCS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_FUZZERS OFF CACHE BOOL "" FORCE)
set(EXPAT_BUILD_PKGCONFIG OFF CACHE BOOL "" FORCE)
set(EXPAT_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)

FetchContent_Declare(expat SOURCE_DIR "${VELMAR_EXPAT_SOURCE_DIR}")
FetchContent_MakeAvailable(expat)
add_library(EXPAT::EXPAT ALIAS expat)

if(VELMAR_EXPAT_TESTS)
  # Expat registers runtests through its run.sh, which calls a "wine" this machine need not
  # have; ours runs it through the test emulator instead, and ctest skips Expat's own entry.
  enable_testing()
  add_test(NAME expat.runtests COMMAND runtests)
  set_tests_properties(expat.runtests PROPERTIES LABELS expat TIMEOUT 600)
  file(WRITE "${PROJECT_BINARY_DIR}/CTestCustom.cmake" "set(CTEST_CUSTOM_TESTS_IGNORE runtests)\n")
endif()
