# Test build: 64-bit Windows (PE32+), run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KVT_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake)
