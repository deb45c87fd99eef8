# Tests of the 64-bit build run under wine64. One WINEPREFIX inside the build
# folder; scripts/test.sh keeps a persistent wineserver on it during the run.
enable_testing()

set(KVT_WINE_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "wine64 loader")
set(KVT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of the tests")
set(KVT_TEST_WORK ${CMAKE_BINARY_DIR}/testwork)

set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main)
  target_compile_options(${t} PRIVATE -w)
endforeach()

set(KVT_WINE_ENV
  "WINEPREFIX=${KVT_WINEPREFIX}"
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
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env ${KVT_WINE_ENV}
            ${KVT_WINE_LOADER} $<TARGET_FILE:${name}>
    WORKING_DIRECTORY ${work})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
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
