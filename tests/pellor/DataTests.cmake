# Tests of the plug-in's data procedures (property data, identity, firmware, board
# data, camera log, dumps, tune data). Included from this folder's CMakeLists.txt.
#
# Most cases run the data procedures' driver (PellorDataDriver.cpp) as a child process
# in a fresh deploy-like folder with the real factory API library, Corvane, the
# simulated camera and Pellor.q517 (PellorDataFolder.h); the unit test links the
# plug-in's data helpers into a small host.

set(pellor_src ${PROJECT_SOURCE_DIR}/plugins/pellor)
kvt_test_program(pellor_data_driver SOURCES ${CMAKE_CURRENT_LIST_DIR}/PellorDataDriver.cpp
  ${pellor_src}/PropertyCatalogue.cpp ${pellor_src}/PropertyDataFile.cpp)

# A transport library whose camera reports a camera log no process can hold.
kvt_shared_library(PellorHugeLogTransport FILE PellorHugeLogTransport.dll BASE 0x17400000
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HugeLogTransport.cpp)
# The transport's names are undecorated, as Corvane binds them (32-bit: not name@n).
target_link_options(PellorHugeLogTransport PRIVATE "-Wl,--kill-at")

add_library(pellor_data_folder STATIC ${CMAKE_CURRENT_LIST_DIR}/PellorDataFolder.cpp)
kvt_target_defaults(pellor_data_folder)
target_link_libraries(pellor_data_folder PUBLIC kvtq517_test_deploy)

set(pellor_data_depends Pellor KvtQ517 Corvane KVTItoPTP pellor_data_driver kvtq517_driver)

# Each suite in its own program: <name>_test from <File>.cpp.
foreach(suite data_store:PropertyDataStoreTest identity:IdentityTest board_data:BoardDataTest
              camera_log:CameraLogTest)
  string(REPLACE ":" ";" parts ${suite})
  list(GET parts 0 name)
  list(GET parts 1 file)
  kvt_wine_test(pellor_${name}_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp
    LIBS pellor_data_folder
    DEPENDS ${pellor_data_depends} PellorHugeLogTransport
    TIMEOUT 900)
endforeach()

kvt_wine_test(pellor_data_unit_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DataUnitTest.cpp
          ${pellor_src}/MemoryDump.cpp ${pellor_src}/PluginLog.cpp
          ${pellor_src}/PropertyCatalogue.cpp ${pellor_src}/PropertyDataFile.cpp
          ${pellor_src}/PropertyIndex.cpp ${pellor_src}/PropertyList.cpp
  LIBS kvt_test_support Corvane
  DEPENDS Corvane)
kvt_add_common(pellor_data_unit_test LOG)

# Not a test: LoadPropertyData over the whole catalogue against writing the same files
# directly (run it by hand: bin/pellor_load_bench.exe).
kvt_test_program(pellor_load_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/PropertyLoadBench.cpp
  LIBS pellor_data_folder)
add_dependencies(pellor_load_bench ${pellor_data_depends})
