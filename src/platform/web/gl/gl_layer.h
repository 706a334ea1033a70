#pragma once
// OpenGL 1.1 for the browser: the project's own fixed-function layer over WebGL 1, and the real
// GLU compiled from source on top of it.
//
// How to use: link the CMake target `varko_web_gl` (this folder's CMakeLists.txt) where other
// builds link the system's GL and GLU; code keeps including src/gl_api.h (<GL/gl.h>,
// <GL/glu.h>), whose declarations these files define. Do not link Emscripten's legacy GL
// emulation. After making a WebGL 1 context current, call ContextCreated() below; draw as with
// any GL. GLU's source comes from `bash scripts/fetch-web-sources.sh libglu` (into
// build/web-sources/, which the CMake reads).
//
// What it draws like Mesa: immediate mode (glBegin/glEnd, buffered into one stream vertex buffer
// and drawn at glEnd; points, lines, triangles, strips, fans, quads, quad strips, polygons);
// modelview, projection and texture matrix stacks; lighting per vertex in eye space with 8 lights
// (directional, positional, attenuation, spots; viewer at infinity) and materials, with
// GL_COLOR_MATERIAL tracking; GL_SPHERE_MAP texture coordinates; 2D textures (unsigned bytes,
// RGB/RGBA/luminance/alpha, mipmaps) modulating the colour; blending, depth test, face culling;
// display lists recorded on the processor; glBitmap at the raster position as a textured screen
// quad; attribute stacks; glGetError with Mesa's errors (e.g. shininess above 128 refused with
// GL_INVALID_VALUE).
//
// GL entry points: glBegin glEnd glVertex2f/2i/3f/3fv/3d/3dv/4f glNormal3f/3fv/3d/3dv
// glColor3f/3fv/4f/4fv/3ub/4ub glTexCoord2f/2fv/4f glMatrixMode glLoadIdentity glLoadMatrixf/d
// glMultMatrixf/d glPushMatrix glPopMatrix glTranslatef/d glRotatef/d glScalef/d glOrtho
// glFrustum glViewport glEnable glDisable glIsEnabled glLightf glLightfv glMaterialf
// glMaterialfv glLightModelfv glColorMaterial glShadeModel glGenTextures glDeleteTextures
// glBindTexture glIsTexture glTexImage2D glTexParameteri/f glTexEnvi/f glTexGeni/f
// glGetTexLevelParameteriv glPixelStorei/f glGenLists glNewList glEndList glCallList
// glCallLists glListBase glDeleteLists glIsList glRasterPos2f/2i/3f/4f glBitmap glFeedbackBuffer
// glRenderMode glPassThrough glPushAttrib glPopAttrib glPushClientAttrib glPopClientAttrib
// glClear glClearColor glClearDepth glBlendFunc glDepthFunc glDepthMask glCullFace glFrontFace
// glHint glFlush glFinish glGetError glGetString glGetFloatv glGetDoublev glGetIntegerv
// glGetBooleanv.
// GLU (the real library): all of libutil and libtess (gluPerspective, gluLookAt, gluOrtho2D,
// gluBuild2DMipmaps, gluScaleImage, quadrics, the tessellator, gluErrorString, ...). NURBS are
// not built.
//
// Left out: flat shading takes the provoking vertex's colour and normal, but its position only
// for the lighting of its own corner; two-sided lighting and local viewer; texture generation
// other than sphere maps (the modes are kept, the coordinates pass through); texture
// environments other than modulate (refused); 1D and 3D textures (refused); pixel types other
// than unsigned byte; the raster colour is the current colour, unlit, and bitmaps are not
// textured; feedback mode reports bitmaps and pass-through tokens only, other primitives are
// dropped; selection mode (refused); vertex arrays, stencil, fog, alpha test, scissor, polygon
// modes, glReadPixels, glDrawPixels. glGetIntegerv rounds colours rather than scaling them.

namespace VARKO::GLLayer {

// Starts GL state afresh for a context just made current, as GL does for a new context (lists
// and textures go with the old one), with the viewport the size of the drawing surface.
void ContextCreated(int width, int height);

} // namespace VARKO::GLLayer
