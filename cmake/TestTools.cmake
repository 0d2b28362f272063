# What the tests need, looked for once at configure time. A missing piece switches off the tests
# that need it, with a message naming it, rather than failing them one by one.
#
#   VELMAR_HAVE_GTEST  GoogleTest: the system's (Debian: libgtest-dev) for a native build; for a
#                      Windows cross build it is compiled here from Debian's source package
#                      googletest (/usr/src/googletest, or -DVELMAR_GTEST_SOURCE_DIR=...).
#   VELMAR_XMLLINT     the book check's xmllint (Debian: libxml2-utils)
#   VELMAR_FAKETIME    faketime, which fixes the date line's clock (without it the end-to-end
#                      driver checks the date line against the real clock)
#   VELMAR_PANDOC      pandoc, the FictionBook reader the example book is opened with
#   VELMAR_WINE        wine64, which runs the Windows tests on this machine (cross build only)

set(VELMAR_HAVE_GTEST OFF)
if(CMAKE_CROSSCOMPILING)
  set(VELMAR_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's source, for cross builds")
  if(EXISTS ${VELMAR_GTEST_SOURCE_DIR}/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(${VELMAR_GTEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_library(GTest::gtest_main ALIAS gtest_main)
    set(VELMAR_HAVE_GTEST ON)
  else()
    message(WARNING "GoogleTest's source is not at ${VELMAR_GTEST_SOURCE_DIR} (Debian package "
                    "googletest): the unit tests are off")
  endif()
else()
  find_package(GTest QUIET)
  if(GTest_FOUND)
    set(VELMAR_HAVE_GTEST ON)
  else()
    message(WARNING "GoogleTest is not installed (Debian package libgtest-dev): the unit and "
                    "hostile-input tests are off. -DVELMAR_BUILD_TESTS=OFF silences this.")
  endif()
endif()

find_program(VELMAR_XMLLINT xmllint)
find_program(VELMAR_FAKETIME faketime)
find_program(VELMAR_PANDOC pandoc)
if(NOT VELMAR_XMLLINT)
  message(WARNING "xmllint is missing (Debian package libxml2-utils): the end-to-end cases "
                  "and the book checks are off")
endif()
if(NOT VELMAR_FAKETIME AND NOT WIN32)
  message(STATUS "faketime is missing (Debian package faketime): the end-to-end cases check "
                 "the date line against the real clock")
endif()
if(NOT VELMAR_PANDOC)
  message(WARNING "pandoc is missing (Debian package pandoc): the example book is not opened "
                  "with a FictionBook reader")
endif()

set(VELMAR_TEST_EMULATOR "")
if(CMAKE_CROSSCOMPILING)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    set(VELMAR_TEST_EMULATOR ${CMAKE_CROSSCOMPILING_EMULATOR})
  else()
    message(WARNING "No CMAKE_CROSSCOMPILING_EMULATOR (e.g. scripts/wine-run.sh): the tests "
                    "are built but not registered, nothing here can run them")
  endif()
endif()
