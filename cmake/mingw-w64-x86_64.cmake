# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix). Programs
# link the C and C++ runtimes statically, so an .exe needs no DLL beside it; tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARKO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARKO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARKO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARKO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VARKO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest starts the cross-built programs through Wine.
find_program(VARKO_WINE wine)
if(VARKO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VARKO_WINE})
endif()
