// Immediate mode: the current normal, colour and texture coordinate, carried to every later
// vertex, and glBegin/glEnd, which buffers the vertices and draws them at glEnd as triangles,
// lines or points.
#include "src/platform/web/gl/context.h"

#include <algorithm>

namespace VARKO::GLLayer {
namespace {

bool PrimitiveValid(GLenum mode) {
    return mode <= GL_POLYGON; // GL_POINTS (0) to GL_POLYGON (9)
}

using Triangle = std::array<std::size_t, 3>;

// Triangles in the vertices' own winding, so that face culling sees what GL sees.
std::vector<Triangle> Triangles(GLenum mode, std::size_t count) {
    std::vector<Triangle> out;
    for (std::size_t i = 0; i + 2 < count; ++i) {
        switch (mode) {
        case GL_TRIANGLES:
            if (i % 3 == 0) {
                out.push_back({i, i + 1, i + 2});
            }
            break;
        case GL_TRIANGLE_STRIP:
            out.push_back(i % 2 == 0 ? Triangle{i, i + 1, i + 2} : Triangle{i + 1, i, i + 2});
            break;
        case GL_QUADS:
            if (i % 4 == 0 && i + 3 < count) {
                out.push_back({i, i + 1, i + 2});
                out.push_back({i, i + 2, i + 3});
            }
            break;
        case GL_QUAD_STRIP:
            if (i % 2 == 0 && i + 3 < count) {
                out.push_back({i, i + 1, i + 3});
                out.push_back({i, i + 3, i + 2});
            }
            break;
        default: // fans and polygons
            out.push_back({0, i + 1, i + 2});
        }
    }
    return out;
}

// GL takes a flat-shaded triangle's colour and normal from one vertex: the last for strips,
// fans and separate triangles and quads, the first for polygons.
std::size_t ProvokingVertex(GLenum mode, const Triangle& t) {
    if (mode == GL_POLYGON) {
        return 0;
    }
    if (mode == GL_QUADS) {
        return t[0] + 3;
    }
    if (mode == GL_QUAD_STRIP) {
        return std::max({t[0], t[1], t[2]});
    }
    return t[2];
}

void DrawTriangles(GLenum mode, const std::vector<Vertex>& in) {
    const bool flat = Current().state.lighting.shadeModel == GL_FLAT;
    std::vector<Vertex> out;
    for (const Triangle& t : Triangles(mode, in.size())) {
        for (std::size_t index : t) {
            Vertex v = in[index];
            if (flat) {
                const Vertex& provoking = in[ProvokingVertex(mode, t)];
                v.colour = provoking.colour;
                v.normal = provoking.normal;
            }
            out.push_back(v);
        }
    }
    DrawVertices(GL_TRIANGLES, out);
}

void DrawLines(GLenum mode, const std::vector<Vertex>& in) {
    std::vector<Vertex> out;
    const std::size_t step = mode == GL_LINES ? 2 : 1;
    for (std::size_t i = 0; i + 1 < in.size(); i += step) {
        out.push_back(in[i]);
        out.push_back(in[i + 1]);
    }
    if (mode == GL_LINE_LOOP && in.size() > 2) {
        out.push_back(in.back());
        out.push_back(in.front());
    }
    DrawVertices(GL_LINES, out);
}

void Emit(const Vec4& position) {
    Context& context = Current();
    if (!context.immediate.inside) {
        return; // GL leaves a vertex outside glBegin/glEnd undefined; this layer drops it
    }
    const CurrentValues& current = context.state.current;
    context.immediate.vertices.push_back(
        {position, current.normal, current.colour, current.texCoord});
}

} // namespace
} // namespace VARKO::GLLayer

using namespace VARKO::GLLayer;

void GLAPIENTRY glBegin(GLenum mode) {
    if (Compiled([=] { glBegin(mode); })) {
        return;
    }
    Immediate& immediate = Current().immediate;
    if (immediate.inside) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    if (!PrimitiveValid(mode)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    immediate.inside = true;
    immediate.primitive = mode;
    immediate.vertices.clear();
}

void GLAPIENTRY glEnd() {
    if (Compiled([] { glEnd(); })) {
        return;
    }
    Context& context = Current();
    Immediate& immediate = context.immediate;
    if (!immediate.inside) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    immediate.inside = false;
    // Feedback mode draws nothing; primitives are not reported (see gl_layer.h).
    if (context.feedback.mode != GL_RENDER) {
        return;
    }
    const GLenum mode = immediate.primitive;
    if (mode == GL_POINTS) {
        DrawVertices(GL_POINTS, immediate.vertices);
    } else if (mode <= GL_LINE_STRIP) {
        DrawLines(mode, immediate.vertices);
    } else {
        DrawTriangles(mode, immediate.vertices);
    }
}

void GLAPIENTRY glVertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    if (!Compiled([=] { glVertex4f(x, y, z, w); })) {
        Emit({x, y, z, w});
    }
}

void GLAPIENTRY glVertex2f(GLfloat x, GLfloat y) {
    glVertex4f(x, y, 0, 1);
}
void GLAPIENTRY glVertex2i(GLint x, GLint y) {
    glVertex4f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0, 1);
}
void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    glVertex4f(x, y, z, 1);
}
void GLAPIENTRY glVertex3fv(const GLfloat* v) {
    glVertex4f(v[0], v[1], v[2], 1);
}
void GLAPIENTRY glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
    glVertex4f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z), 1);
}
void GLAPIENTRY glVertex3dv(const GLdouble* v) {
    glVertex3d(v[0], v[1], v[2]);
}

void GLAPIENTRY glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!Compiled([=] { glNormal3f(x, y, z); })) {
        Current().state.current.normal = {x, y, z};
    }
}
void GLAPIENTRY glNormal3fv(const GLfloat* v) {
    glNormal3f(v[0], v[1], v[2]);
}
void GLAPIENTRY glNormal3d(GLdouble x, GLdouble y, GLdouble z) {
    glNormal3f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
}
void GLAPIENTRY glNormal3dv(const GLdouble* v) {
    glNormal3d(v[0], v[1], v[2]);
}

void GLAPIENTRY glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (!Compiled([=] { glColor4f(r, g, b, a); })) {
        Current().state.current.colour = {r, g, b, a};
    }
}
void GLAPIENTRY glColor4fv(const GLfloat* v) {
    glColor4f(v[0], v[1], v[2], v[3]);
}
void GLAPIENTRY glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    glColor4f(r, g, b, 1);
}
void GLAPIENTRY glColor3fv(const GLfloat* v) {
    glColor4f(v[0], v[1], v[2], 1);
}
void GLAPIENTRY glColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
    glColor4f(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
}
void GLAPIENTRY glColor3ub(GLubyte r, GLubyte g, GLubyte b) {
    glColor4ub(r, g, b, 255);
}

void GLAPIENTRY glTexCoord4f(GLfloat s, GLfloat t, GLfloat r, GLfloat q) {
    if (!Compiled([=] { glTexCoord4f(s, t, r, q); })) {
        Current().state.current.texCoord = {s, t, r, q};
    }
}
void GLAPIENTRY glTexCoord2f(GLfloat s, GLfloat t) {
    glTexCoord4f(s, t, 0, 1);
}
void GLAPIENTRY glTexCoord2fv(const GLfloat* v) {
    glTexCoord4f(v[0], v[1], 0, 1);
}
