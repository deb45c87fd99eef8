# The tests run under Wine: those of the 64-bit build under wine64, those of the 32-bit
# ship build under 32-bit Wine (emulated where the kernel cannot run i386 programs, see
# scripts/wine32.sh). One WINEPREFIX inside each build folder; scripts/test.sh keeps a
# persistent wineserver on it during the run. scripts/wine-test.sh starts each test
# program with a time limit and retries a program that did not start.
enable_testing()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KVT_WINE_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "Wine loader of the tests")
  set(KVT_WINEARCH win64)
else()
  set(KVT_WINE_LOADER /usr/lib/wine/wine CACHE FILEPATH "Wine loader of the tests")
  set(KVT_WINEARCH win32)
endif()
set(KVT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of the tests")
set(KVT_TEST_WORK ${CMAKE_BINARY_DIR}/testwork)
set(KVT_TEST_LAUNCHER ${PROJECT_SOURCE_DIR}/scripts/wine-test.sh)

set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main)
  target_compile_options(${t} PRIVATE -w)
endforeach()

set(KVT_WINE_ENV
  "WINEPREFIX=${KVT_WINEPREFIX}"
  "WINEARCH=${KVT_WINEARCH}"
  "WINEDEBUG=-all"
  "WINELOADER=${KVT_WINE_LOADER}"
  "WINEDLLOVERRIDES=mscoree,mshtml=")

# kvt_wine_test(<name> SOURCES ... [LIBS ...] [DEPENDS ...] [GTEST_MAIN] [TIMEOUT s])
# Each test runs in its own empty working folder build/testwork/<name>, so the
# KvtDll.log it writes there is its own. Test programs live in build/bin beside every
# DLL of the build; tests that need a deploy-like folder copy what they need from there.
function(kvt_wine_test name)
  cmake_parse_arguments(ARG "NO_GTEST_MAIN" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  kvt_target_defaults(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(ARG_NO_GTEST_MAIN)
    target_link_libraries(${name} PRIVATE gtest ${ARG_LIBS})
  else()
    target_link_libraries(${name} PRIVATE gtest gtest_main ${ARG_LIBS})
  endif()
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  set(work ${KVT_TEST_WORK}/${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env ${KVT_WINE_ENV}
            bash ${KVT_TEST_LAUNCHER} ${name} ${ARG_TIMEOUT} ${KVT_WINE_LOADER} $<TARGET_FILE:${name}>
    WORKING_DIRECTORY ${work})
  # The launcher's own limit ends a hung program first and names it; ctest's limit is
  # the backstop for the launcher itself.
  math(EXPR backstop "${ARG_TIMEOUT} + 60")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${backstop})
  file(MAKE_DIRECTORY ${work})
endfunction()

# A helper program that tests start as a child process (no GoogleTest).
function(kvt_test_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  kvt_target_defaults(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(ARG_LIBS)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  endif()
endfunction()
