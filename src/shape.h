#pragma once

// GLU's quadric object, declared as its own header does for C++.
class GLUquadric;

namespace VARKO {

// Primitive shapes with normals and texture coordinates: a sphere and a cylinder through one
// GLU quadric made on first use, and a box drawn directly.
class Shapes {
public:
    Shapes() = default;
    ~Shapes();
    // Copies would delete the same quadric twice.
    Shapes(const Shapes&) = delete;
    Shapes& operator=(const Shapes&) = delete;

    // About the origin, `divisions` slices and stacks.
    void Sphere(float radius, int divisions);
    // Along +z from the base at z = 0 to the top at z = height, open at both ends.
    void Cylinder(float topradius, float baseradius, float height, int divisions);
    // Centred on the origin, faces wound counter-clockwise seen from outside.
    void Cube(float xsize, float ysize, float zsize);

private:
    bool MakeQuadric();

    GLUquadric* quadric = nullptr;
};

} // namespace VARKO
