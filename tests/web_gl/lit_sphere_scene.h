#pragma once
// The smoke scene of the web GL layer, drawn the same way by the browser page and by Mesa: a
// lit, sphere-mapped gluSphere from a display list over a mipmapped, textured quad, and two
// bitmap glyphs at a raster position.

namespace WebGLSmoke {

constexpr int kWidth = 320, kHeight = 240;

// Draws one frame into the current context and returns glGetError's first report after the
// scene's set-up (which asks for a shininess GL refuses) and its report after drawing.
void DrawScene(unsigned int& setUpError, unsigned int& drawError);

} // namespace WebGLSmoke
