# Shared part of the two MinGW-w64 toolchain files. TAVIK_TRIPLE is set by the includer.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TAVIK_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVIK_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVIK_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVIK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static C and C++ runtimes: the executables import only Windows system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
