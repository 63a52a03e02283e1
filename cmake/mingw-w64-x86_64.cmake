# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers (the POSIX thread model,
# which std::thread and std::mutex need). Programs are linked statically, so that an .exe runs
# without DLLs of the compiler beside it.
#
# Libraries built for Windows are looked for only under the compiler's own folder and under
# the folders in KT63_WINDOWS_PREFIX (scripts/windows.sh puts GoogleTest, libcsv and the
# header-only libraries there), never among the host's libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${KT63_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The prefix reaches the test projects that CMake builds to probe the compiler as well.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KT63_WINDOWS_PREFIX)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
