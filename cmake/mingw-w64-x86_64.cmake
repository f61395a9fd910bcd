# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the posix
# thread model, which std::thread and the filesystem library need). Programs are
# run under Wine, so ctest can run the Windows test executables on Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine64 package installs the loader as wine64 (and /usr/bin/wine only
# when the 32-bit part is present too); either runs 64-bit programs.
find_program(SCENARIO_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/bin NO_CMAKE_FIND_ROOT_PATH)
if(SCENARIO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SCENARIO_WINE})
endif()

# GCC 12 at -O3 warns of overlapping copies that cannot happen inside inlined
# std::string code (GCC bug 105329), which fails a warnings-as-errors build.
# -O2, as in the Linux CI build.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags for release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags for release builds")
