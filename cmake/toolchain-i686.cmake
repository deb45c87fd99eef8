# Ship build: 32-bit Windows (PE32), the deliverable.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KVT_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake)
