# Build helpers shared by every component.

# Runtime libraries are linked statically: a deploy folder needs no MinGW DLLs.
set(KVT_STATIC_RUNTIME "-static" "-static-libgcc" "-static-libstdc++")

# Both builds carry the test suite: the 64-bit one runs under wine64, the 32-bit ship
# build under 32-bit Wine (scripts/wine32.sh), so what ships is what is tested.
option(KVT_TESTS "Build the test suite and the benchmarks" ON)
set(KVT_TEST_BUILD ${KVT_TESTS})

# Module handles travel in 4-byte shared blocks. In the 64-bit test build every DLL
# of ours gets a fixed base below 2 GB so its handle fits; the product refuses (and
# logs) a handle that does not fit instead of cutting it.
function(kvt_fixed_image_base target base)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_options(${target} PRIVATE
      "-Wl,--image-base,${base}" "-Wl,--disable-dynamicbase" "-Wl,--disable-high-entropy-va")
  endif()
endfunction()

function(kvt_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  target_link_options(${target} PRIVATE ${KVT_STATIC_RUNTIME})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# A shared library of ours: NAME is the CMake target, FILE the file name on disk.
# Undecorated names for __stdcall exports come from a .def file or -Wl,--kill-at,
# set by the component.
function(kvt_shared_library target)
  cmake_parse_arguments(ARG "" "FILE;BASE" "SOURCES" ${ARGN})
  add_library(${target} SHARED ${ARG_SOURCES})
  kvt_target_defaults(${target})
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
  if(ARG_FILE)
    get_filename_component(stem "${ARG_FILE}" NAME_WLE)
    get_filename_component(ext "${ARG_FILE}" LAST_EXT)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME "${stem}" SUFFIX "${ext}")
  endif()
  if(ARG_BASE)
    kvt_fixed_image_base(${target} ${ARG_BASE})
  endif()
endfunction()

# The eleven functions of the transport library "KVTItoPTP.dll", in the order of the
# interface (core/transport/TransportApi.h).
set(KVT_TRANSPORT_EXPORTS
  k2pInitialize
  k2pTerminate
  k2pGetDeviceInfoArray
  k2pConnectCamera
  k2pClearRemoteEventProcedureParameter
  k2pPushRemoteEventProcedureSendParameter
  k2pExecuteRemoteEventProcedure
  k2pGetReturnDataSize
  k2pGetReturnDataForExecuteRemoteEventProcedure
  k2pGetSizeOfMemoryData
  k2pExecuteGetMemoryData)

# kvt_undecorated_exports(<target> <file name> <names>...): a .def that exports exactly
# these __stdcall functions, undecorated (the i686 objects name them name@n).
function(kvt_undecorated_exports target file)
  set(def_file ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
  list(JOIN ARGN "\n  " def)
  file(CONFIGURE OUTPUT ${def_file} CONTENT "LIBRARY ${file}\nEXPORTS\n  ${def}\n")
  target_sources(${target} PRIVATE ${def_file})
  target_link_options(${target} PRIVATE "-Wl,--enable-stdcall-fixup")
endfunction()

# common/ is compiled into each library for itself. PIECES: LOG, BLOCKS, FILEPATH.
function(kvt_add_common target)
  set(src ${PROJECT_SOURCE_DIR}/common)
  foreach(piece ${ARGN})
    if(piece STREQUAL "LOG")
      target_sources(${target} PRIVATE ${src}/LogStream.cpp ${src}/LogFile.cpp ${src}/LogBatch.cpp
                                    ${src}/LogDump.cpp ${src}/LogBanner.cpp)
    elseif(piece STREQUAL "BLOCKS")
      target_sources(${target} PRIVATE ${src}/SharedMemory.cpp ${src}/SharedMemoryBlocks.cpp)
    elseif(piece STREQUAL "FILEPATH")
      target_sources(${target} PRIVATE ${src}/FilePath.cpp ${src}/FilePathBodyID.cpp)
    else()
      message(FATAL_ERROR "kvt_add_common: unknown piece ${piece}")
    endif()
  endforeach()
endfunction()

# Texts kept in a foreign code page: the narrow literals of these sources are encoded
# by the compiler (sources stay UTF-8).
function(kvt_exec_charset charset)
  set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS "-fexec-charset=${charset}")
endfunction()

# Adds a subdirectory only once it has a CMakeLists.txt.
macro(kvt_optional_subdirectory dir)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${PROJECT_SOURCE_DIR}/${dir})
  endif()
endmacro()

# Deploy registration: kvt_deploy_target(<target> [AS <file name>] [DIR <sub folder>])
function(kvt_deploy_target target)
  cmake_parse_arguments(ARG "" "AS;DIR" "" ${ARGN})
  set(name "$<TARGET_FILE_NAME:${target}>")
  if(ARG_AS)
    set(name "${ARG_AS}")
  endif()
  _kvt_deploy_copy("$<TARGET_FILE:${target}>" "${ARG_DIR}" "${name}")
  set_property(GLOBAL APPEND PROPERTY KVT_DEPLOY_DEPENDS ${target})
endfunction()

# kvt_deploy_file(<source file> [DIR <sub folder>] [AS <file name>])
function(kvt_deploy_file source)
  cmake_parse_arguments(ARG "" "AS;DIR" "" ${ARGN})
  get_filename_component(name "${source}" NAME)
  if(ARG_AS)
    set(name "${ARG_AS}")
  endif()
  _kvt_deploy_copy("${source}" "${ARG_DIR}" "${name}")
endfunction()

# Registers one copy for the deploy target: `source` to <deploy folder>[/<sub>]/<name>,
# the folder made first.
function(_kvt_deploy_copy source sub name)
  set(dir "${KVT_DIST_DIR}")
  if(sub)
    set(dir "${KVT_DIST_DIR}/${sub}")
  endif()
  set_property(GLOBAL APPEND PROPERTY KVT_DEPLOY_COMMANDS
    COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${source}" "${dir}/${name}")
endfunction()
