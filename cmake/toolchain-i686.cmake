# The shipped 32-bit build. This kernel runs no 32-bit code: its Wine tests run
# under make test32 (tools/test32.sh), plain make test runs its static checks.
set(TAVIK_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
