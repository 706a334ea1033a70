#pragma once

namespace VARKO {

class Texture;

// Sphere-map environment mapping: while on, GL derives the s and t texture coordinates from the
// eye-space reflection vector, so the bound picture of the surroundings shows as a reflection.
class EnvMap {
public:
    // The texture manager stays the caller's; it binds `id` on every On.
    void Setup(unsigned int id, Texture* texture);
    // Does nothing until Setup. Leaves GL_TEXTURE_2D alone: texturing must already be on.
    void On();
    // Leaves the texture bound.
    void Off();

private:
    bool on = false;
    unsigned int id = 0;
    Texture* texture = nullptr;
};

} // namespace VARKO
