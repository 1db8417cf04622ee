# Cross-compiles qov-setup.exe for 64-bit Windows with Debian's MinGW-w64
# toolchain (packages g++-mingw-w64-x86-64 and libz-mingw-w64-dev):
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# Everything is linked statically, so the .exe needs no MinGW DLL on the
# Windows PC it runs on.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QOV_MINGW_TRIPLET x86_64-w64-mingw32)
# The "posix" thread model: its C++ library has std::mutex and friends
# (winpthreads, linked statically like the rest).
set(CMAKE_C_COMPILER ${QOV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QOV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QOV_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QOV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No MinGW run-time DLLs at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
