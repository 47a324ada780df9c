# Cross build for 32-bit Windows with mingw-w64 (i686-w64-mingw32).
#
# The -win32 thread-model compilers are used so that nothing links against the
# winpthreads DLL, and the C and C++ runtimes are linked statically: the
# programs must start on a bare Windows (and in a bare Wine prefix) with only
# the DLLs the system ships. The build is ANSI: nothing here defines UNICODE.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CVFIR_MINGW_TRIPLET i686-w64-mingw32)

set(CMAKE_C_COMPILER ${CVFIR_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${CVFIR_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${CVFIR_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CVFIR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
