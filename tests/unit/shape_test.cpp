#include "src/shape.h"

#include "tests/support/gl_fake.h"
#include "tests/support/support_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace GL = VARKO::Testing::GL;
using VARKO::Shapes;
using Texts = std::vector<std::string>;
using Vec = std::array<double, 3>;

namespace {

const char* const kFile = ".\\src\\shape";

Vec Minus(const Vec& a, const Vec& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec Cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Dot(const Vec& a, const Vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

std::vector<Vec> ArgsOf(const std::string& name) {
    std::vector<Vec> out;
    for (const GL::Call& call : GL::Calls()) {
        if (call.name == name) {
            out.push_back({call.args[0], call.args[1], call.args.size() > 2 ? call.args[2] : 0});
        }
    }
    return out;
}

} // namespace

class ShapesTest : public ::testing::Test {
protected:
    void SetUp() override { GL::Reset(); }
};

TEST_F(ShapesTest, CubeDrawsSixOutwardCounterClockwiseFacesOfTheGivenSize) {
    Shapes shapes;
    shapes.Cube(2, 4, 6);

    Texts face = {"glNormal3f"};
    for (int i = 0; i < 4; ++i) {
        face.insert(face.end(), {"glTexCoord2f", "glVertex3f"});
    }
    Texts expected = {"glBegin"};
    for (int i = 0; i < 6; ++i) {
        expected.insert(expected.end(), face.begin(), face.end());
    }
    expected.push_back("glEnd");
    ASSERT_EQ(GL::CallNames(), expected);
    EXPECT_EQ(GL::CallTexts("glBegin"), (Texts{"glBegin(GL_QUADS)"}));
    EXPECT_EQ(GL::CountCalls("gluNewQuadric"), 0u);

    const std::vector<Vec> normals = ArgsOf("glNormal3f");
    EXPECT_EQ(normals, (std::vector<Vec>{
                           {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}}));
    const std::vector<Vec> coords = ArgsOf("glTexCoord2f");
    const std::vector<Vec> vertices = ArgsOf("glVertex3f");
    // The corner each face starts from fixes where its texture lands.
    const std::vector<Vec> firsts = {{1, 2, -3},  {1, -2, 3}, {1, 2, 3},
                                     {1, -2, -3}, {-1, 2, 3}, {1, 2, -3}};
    const Vec half = {1, 2, 3};
    for (int f = 0; f < 6; ++f) {
        SCOPED_TRACE("face " + std::to_string(f));
        const Vec& n = normals[f];
        EXPECT_EQ(vertices[4 * f], firsts[f]);
        for (int i = 0; i < 4; ++i) {
            const Vec& a = vertices[4 * f + i];
            const Vec& b = vertices[4 * f + (i + 1) % 4];
            const Vec& c = vertices[4 * f + (i + 2) % 4];
            for (int axis = 0; axis < 3; ++axis) {
                EXPECT_EQ(std::abs(a[axis]), half[axis]);
            }
            EXPECT_EQ(Dot(a, n), Dot(half, Vec{std::abs(n[0]), std::abs(n[1]), std::abs(n[2])}));
            EXPECT_GT(Dot(Cross(Minus(b, a), Minus(c, b)), n), 0) << "corner " << i;
        }
        EXPECT_EQ(std::vector<Vec>(coords.begin() + 4 * f, coords.begin() + 4 * f + 4),
                  (std::vector<Vec>{{1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {1, 1, 0}}));
    }
}

TEST_F(ShapesTest, CylinderHandsTheBaseRadiusToGluFirst) {
    Shapes shapes;
    shapes.Cylinder(1, 2, 5, 16);
    ASSERT_EQ(GL::CountCalls("gluCylinder"), 1u);
    const std::vector<double>& args = GL::Calls().back().args;
    EXPECT_EQ(std::vector<double>(args.begin() + 1, args.end()),
              (std::vector<double>{2, 1, 5, 16, 16}));
}

TEST_F(ShapesTest, FailedQuadricThrowsDrawsNothingAndTheNextCallMakesTheOneQuadric) {
    {
        Shapes shapes;
        GL::SetNewQuadricFails(true);
        VARKO::Testing::ExpectLumoException(
            [&] { shapes.Sphere(1, 8); }, "Shapes :: Sphere - Cannot create a new quadric.", kFile);
        VARKO::Testing::ExpectLumoException([&] { shapes.Cylinder(1, 1, 1, 8); },
                                            "Shapes :: Cylinder - Cannot create a new quadric.",
                                            kFile);
        EXPECT_EQ(GL::CallNames(), (Texts{"gluNewQuadric", "gluNewQuadric"}));

        GL::SetNewQuadricFails(false);
        GL::ClearLog();
        shapes.Cylinder(1, 2, 5, 16);
        shapes.Sphere(3, 12);
        const Texts names = GL::CallNames();
        EXPECT_EQ(names, (Texts{"gluNewQuadric", "gluQuadricNormals", "gluQuadricTexture",
                                "gluCylinder", "gluSphere"}));
        const std::vector<GL::Call>& calls = GL::Calls();
        const double quadric = calls[1].args[0];
        EXPECT_EQ(GL::CallTexts("gluQuadricNormals"),
                  (Texts{"gluQuadricNormals(" + std::to_string(int(quadric)) + ", GLU_SMOOTH)"}));
        EXPECT_EQ(calls[2].args, (std::vector<double>{quadric, GL_TRUE}));
        EXPECT_EQ(calls[3].args[0], quadric);
        EXPECT_EQ(calls[4].args, (std::vector<double>{quadric, 3, 12, 12}));
        GL::ClearLog();
    }
    EXPECT_EQ(GL::CallNames(), (Texts{"gluDeleteQuadric"}));
}
