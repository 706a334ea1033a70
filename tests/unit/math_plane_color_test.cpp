#include "math/color.h"
#include "math/plane.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

void PrintTo(const VECTOR3D& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
void PrintTo(const COLOR& c, std::ostream* os) {
    *os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

void ExpectNear(const VECTOR3D& actual, const VECTOR3D& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f) << "x";
    EXPECT_NEAR(actual.y, expected.y, 1e-5f) << "y";
    EXPECT_NEAR(actual.z, expected.z, 1e-5f) << "z";
}

PLANE XyPlane() {
    PLANE plane;
    plane.SetFromPoints(VECTOR3D(0, 0, 0), VECTOR3D(1, 0, 0), VECTOR3D(0, 1, 0));
    return plane;
}

TEST(MathPlaneTest, DefaultAndEquality) {
    const PLANE plane;
    EXPECT_EQ(plane.normal, VECTOR3D());
    EXPECT_EQ(plane.intercept, 0.0f);
    EXPECT_TRUE(PLANE(VECTOR3D(0, 0, 1), -2) == PLANE(VECTOR3D(0, 0, 1), -2));
    EXPECT_FALSE(PLANE(VECTOR3D(0, 0, 1), -2) == PLANE(VECTOR3D(0, 0, 1), 2));
    EXPECT_FALSE(PLANE(VECTOR3D(0, 1, 0), -2) == PLANE(VECTOR3D(0, 0, 1), -2));
}

TEST(MathPlaneTest, SetFromPointsFacesTheCounterClockwiseViewer) {
    const PLANE plane = XyPlane();
    EXPECT_EQ(plane.normal, VECTOR3D(0, 0, 1));
    EXPECT_EQ(plane.intercept, 0.0f);
    EXPECT_TRUE(std::signbit(plane.intercept)); // -(normal . p0) of a zero p0

    PLANE flipped;
    flipped.SetFromPoints(VECTOR3D(0, 0, 5), VECTOR3D(0, 3, 5), VECTOR3D(3, 0, 5));
    EXPECT_EQ(flipped.normal, VECTOR3D(0, 0, -1));
    EXPECT_EQ(flipped.intercept, 5.0f);
    EXPECT_EQ(flipped.GetDistance(VECTOR3D(7, -3, 2)), 3.0f);
}

TEST(MathPlaneTest, ClassifyPointUsesASmallToleranceEitherSide) {
    const PLANE plane = XyPlane();
    EXPECT_EQ(plane.ClassifyPoint(VECTOR3D(0, 0, 0.005f)), CLASSIFY_ON_PLANE);
    EXPECT_EQ(plane.ClassifyPoint(VECTOR3D(0, 0, 0.02f)), CLASSIFY_IN_FRONT);
    EXPECT_EQ(plane.ClassifyPoint(VECTOR3D(0, 0, -0.02f)), CLASSIFY_BEHIND);
    EXPECT_EQ(plane.ClassifyPoint(VECTOR3D(0, 0, 0.01f)), CLASSIFY_ON_PLANE);
    EXPECT_EQ(plane.ClassifyPoint(VECTOR3D(0, 0, -0.01f)), CLASSIFY_ON_PLANE);
    EXPECT_EQ(plane.ClassifyPoint(VECTOR3D(0, 0, kNaN)), CLASSIFY_ON_PLANE);
    EXPECT_EQ(CLASSIFY_ON_PLANE, 0);
    EXPECT_EQ(CLASSIFY_IN_FRONT, 1);
    EXPECT_EQ(CLASSIFY_BEHIND, 2);
}

TEST(MathPlaneTest, InterceptAndNormalisation) {
    PLANE plane(VECTOR3D(0, 0, 2), 0);
    plane.CalculateIntercept(VECTOR3D(9, 9, 2));
    EXPECT_EQ(plane.intercept, -4.0f);
    EXPECT_EQ(plane.normal, VECTOR3D(0, 0, 2));

    plane.Normalize();
    EXPECT_EQ(plane.normal, VECTOR3D(0, 0, 1));
    EXPECT_EQ(plane.intercept, -2.0f);
    EXPECT_EQ(plane.GetDistance(VECTOR3D(0, 0, 5)), 3.0f);

    // Degenerate plane: the normal is spared, the intercept cannot be.
    PLANE degenerate(VECTOR3D(), 3);
    degenerate.Normalize();
    EXPECT_EQ(degenerate.normal, VECTOR3D());
    EXPECT_TRUE(std::isinf(degenerate.intercept));
}

TEST(MathPlaneTest, IntersectThreePlanes) {
    const PLANE x1(VECTOR3D(1, 0, 0), -1);
    const PLANE y2(VECTOR3D(0, 1, 0), -2);
    const PLANE z3(VECTOR3D(0, 0, 1), -3);
    VECTOR3D point;
    ASSERT_TRUE(x1.Intersect3(y2, z3, point));
    EXPECT_EQ(point, VECTOR3D(1, 2, 3));

    // Slanted: x + y = 3, y = 1, z = -4 meet at (2, 1, -4), in any order.
    PLANE slanted(VECTOR3D(1, 1, 0), -3);
    ASSERT_TRUE(y2.Intersect3(slanted, PLANE(VECTOR3D(0, 0, 1), 4), point));
    ExpectNear(point, VECTOR3D(1, 2, -4));
    ASSERT_TRUE(
        slanted.Intersect3(PLANE(VECTOR3D(0, 1, 0), -1), PLANE(VECTOR3D(0, 0, 2), 8), point));
    ExpectNear(point, VECTOR3D(2, 1, -4));

    VECTOR3D untouched(7, 8, 9);
    EXPECT_FALSE(x1.Intersect3(PLANE(VECTOR3D(2, 0, 0), 5), z3, untouched));
    EXPECT_FALSE(x1.Intersect3(x1, x1, untouched));
    EXPECT_EQ(untouched, VECTOR3D(7, 8, 9));
}

TEST(MathPlaneTest, LerpRenormalisesTheNormalButNotTheIntercept) {
    const PLANE a(VECTOR3D(1, 0, 0), -1);
    const PLANE b(VECTOR3D(0, 1, 0), -3);
    const PLANE half = a.lerp(b, 0.5f);
    ExpectNear(half.normal, VECTOR3D(std::sqrt(0.5f), std::sqrt(0.5f), 0));
    EXPECT_EQ(half.intercept, -2.0f);
    EXPECT_EQ(a.lerp(b, 0.0f), a);
    EXPECT_EQ(a.lerp(b, 1.0f), b);
}

TEST(MathColorTest, ConstructionSetAndConstants) {
    EXPECT_EQ(COLOR(), COLOR(0, 0, 0, 0));
    COLOR c;
    c.Set(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(c, COLOR(0.1f, 0.2f, 0.3f, 0.4f));

    EXPECT_EQ(white, COLOR(1, 1, 1, 1));
    EXPECT_EQ(red, COLOR(1, 0, 0, 1));
    EXPECT_EQ(green, COLOR(0, 1, 0, 1));
    EXPECT_EQ(blue, COLOR(0, 0, 1, 1));
    EXPECT_EQ(black, COLOR(0, 0, 0, 0)); // black is transparent
}

TEST(MathColorTest, ScalingIncludesAlpha) {
    EXPECT_EQ(white * 0.5f, COLOR(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(0.5f * red, COLOR(0.5f, 0, 0, 0.5f));
    EXPECT_FALSE(COLOR(kNaN, 0, 0, 0) == COLOR(kNaN, 0, 0, 0));
}

TEST(MathColorTest, ClampTo01) {
    COLOR c(1.5f, -0.2f, 0.5f, 2.0f);
    c.ClampTo01();
    EXPECT_EQ(c, COLOR(1, 0, 0.5f, 1));

    COLOR nan(kNaN, 1.0f, 0.0f, -kNaN);
    nan.ClampTo01();
    EXPECT_TRUE(std::isnan(nan.r));
    EXPECT_EQ(nan.g, 1.0f);
    EXPECT_EQ(nan.b, 0.0f);
    EXPECT_TRUE(std::isnan(nan.a));
}

TEST(MathColorTest, ConvertsToAPointerAtRed) {
    const float* read = green;
    EXPECT_EQ(read, &green.r);
    EXPECT_EQ(read[1], 1.0f);
    EXPECT_EQ(read[3], 1.0f);
    COLOR c;
    float* write = c;
    write[3] = 0.25f;
    EXPECT_EQ(c.a, 0.25f);
}

} // namespace
