# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads variant, which
# std::thread and std::mutex need). Used for Qt, GoogleTest and the project alike.
#
# TAVLO_WINDOWS_PREFIXES (a list) names the folders where the cross-built Qt and GoogleTest
# were installed; CMake looks for their packages there and nowhere on the build machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet} ${TAVLO_WINDOWS_PREFIXES})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVLO_WINDOWS_PREFIXES)
# Programs (moc, the compilers' helpers) come from the build machine; libraries, headers and
# packages only from the Windows folders.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run through wine, both when CTest runs them and when their cases are listed.
find_program(TAVLO_WINE NAMES wine)
if(TAVLO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVLO_WINE})
endif()
