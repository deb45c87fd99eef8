# The MinGW-w64 cross toolchain for the processor the including toolchain file names:
# set CMAKE_SYSTEM_PROCESSOR and KVT_TRIPLET (e.g. i686-w64-mingw32) first. The -posix
# compilers give std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${KVT_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KVT_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${KVT_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KVT_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
