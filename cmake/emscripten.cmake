# Build for browsers with Debian's emscripten: WebAssembly and WebGL, the web backend
# (src/platform/web). Everything is linked statically into one .wasm; programs run under node for
# ctest and in Chromium for the browser tests.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Node 20's own fetch cannot load a .wasm from a file path; emscripten's loader falls back to
# reading the file when fetch is off.
find_program(VARKO_NODE node)
if(VARKO_NODE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VARKO_NODE};--no-experimental-fetch)
endif()

# The framework reports failures by throwing; emscripten leaves catching off unless asked.
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")
