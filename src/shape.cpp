#include "src/shape.h"

#include "src/exception.h"

#include "src/gl_api.h"

namespace VARKO {
namespace {

const char* const kFile = ".\\src\\shape";

struct Face {
    float normal[3];
    float corners[4][3]; // signs of hx, hy, hz, in drawing order
};

// Every face takes its texture coordinates in this order.
const float kTexCoords[4][2] = {{1, 0}, {0, 0}, {0, 1}, {1, 1}};

const Face kFaces[6] = {
    {{0, 1, 0}, {{1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}}},      // top
    {{0, -1, 0}, {{1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}}}, // bottom
    {{0, 0, 1}, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}},      // front
    {{0, 0, -1}, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}}, // back
    {{-1, 0, 0}, {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}}}, // left
    {{1, 0, 0}, {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}}},      // right
};

} // namespace

Shapes::~Shapes() {
    if (quadric != nullptr) {
        gluDeleteQuadric(quadric);
    }
}

// Tried again on every call while it fails, so one failure does not disable the shapes for good.
bool Shapes::MakeQuadric() {
    if (quadric == nullptr) {
        quadric = gluNewQuadric();
        if (quadric == nullptr) {
            return false;
        }
        gluQuadricNormals(quadric, GLU_SMOOTH);
        gluQuadricTexture(quadric, GL_TRUE);
    }
    return true;
}

void Shapes::Sphere(float radius, int divisions) {
    if (!MakeQuadric()) {
        throw LumoException(__LINE__, kFile, "Shapes :: Sphere - Cannot create a new quadric.");
    }
    gluSphere(quadric, radius, divisions, divisions);
}

// GLU takes the base radius first.
void Shapes::Cylinder(float topradius, float baseradius, float height, int divisions) {
    if (!MakeQuadric()) {
        throw LumoException(__LINE__, kFile, "Shapes :: Cylinder - Cannot create a new quadric.");
    }
    gluCylinder(quadric, baseradius, topradius, height, divisions, divisions);
}

void Shapes::Cube(float xsize, float ysize, float zsize) {
    const float half[3] = {xsize * 0.5f, ysize * 0.5f, zsize * 0.5f};
    glBegin(GL_QUADS);
    for (const Face& face : kFaces) {
        glNormal3f(face.normal[0], face.normal[1], face.normal[2]);
        for (int i = 0; i < 4; ++i) {
            const float* sign = face.corners[i];
            glTexCoord2f(kTexCoords[i][0], kTexCoords[i][1]);
            glVertex3f(sign[0] * half[0], sign[1] * half[1], sign[2] * half[2]);
        }
    }
    glEnd();
}

} // namespace VARKO
