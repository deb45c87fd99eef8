# The channel library on its own (static), for the programs outside Corvane that speak
# it: the log monitor and the tests. Corvane compiles the same sources through its glob
# of core/channel/*.cpp. Included from each user; defined once.
if(NOT TARGET kvt_comlib)
  set(kvt_comlib_dir ${PROJECT_SOURCE_DIR}/core/channel)
  add_library(kvt_comlib STATIC
    ${kvt_comlib_dir}/ComLibTable.cpp
    ${kvt_comlib_dir}/ComLibOpen.cpp
    ${kvt_comlib_dir}/ComLibWrite.cpp
    ${kvt_comlib_dir}/ComLibClose.cpp
    ${kvt_comlib_dir}/ComLibThreads.cpp
    ${kvt_comlib_dir}/ComLibReader.cpp
    ${kvt_comlib_dir}/ComLibOutput.cpp
    ${kvt_comlib_dir}/ComLibTexts.cpp
    ${kvt_comlib_dir}/TextCut.cpp)
  kvt_target_defaults(kvt_comlib)
  target_include_directories(kvt_comlib PUBLIC ${PROJECT_SOURCE_DIR})
  kvt_exec_charset(CP932 ${kvt_comlib_dir}/ComLibTexts.cpp)
endif()
