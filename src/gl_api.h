#pragma once
// OpenGL 1.1 and GLU as every file of this project includes them.
//
// Windows' GL headers need <windows.h> first (calling convention and WINGDIAPI). There the build
// defines _GDI32_, which makes the GL functions plain extern declarations instead of DLL imports:
// the same framework objects then link against opengl32 in the program and against the
// recording fake in unit tests.

#ifdef _WIN32
#ifndef _GDI32_
#error "Windows builds define _GDI32_ (see src/CMakeLists.txt)"
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include <GL/gl.h>
#include <GL/glu.h>
