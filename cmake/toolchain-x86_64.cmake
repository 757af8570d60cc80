# The 64-bit build of the same sources, run here under wine64 by CTest.
set(TAVIK_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# One Wine prefix per build folder; tools/wine-env.sh sets it up from the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
