# The shipped 32-bit build. This machine cannot run it; its tests are static checks.
set(TAVIK_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_SYSTEM_PROCESSOR i686)
