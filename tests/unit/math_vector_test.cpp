#include "math/vector2d.h"
#include "math/vector3d.h"
#include "math/vector4d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>

// Without these, gtest would print the vectors through their pointer conversion.
void PrintTo(const VECTOR2D& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ")";
}
void PrintTo(const VECTOR3D& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
void PrintTo(const VECTOR4D& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ", " << v.w << ")";
}

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

void ExpectNear(const VECTOR3D& actual, const VECTOR3D& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-6f) << "x";
    EXPECT_NEAR(actual.y, expected.y, 1e-6f) << "y";
    EXPECT_NEAR(actual.z, expected.z, 1e-6f) << "z";
}

template <typename T> bool BitIdentical(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

TEST(MathVectorTest, ConstructionDefaultsAndSetters) {
    EXPECT_EQ(VECTOR3D(), VECTOR3D(0, 0, 0));
    VECTOR3D v(1, 2, 3);
    v.Set(4, 5, 6);
    EXPECT_EQ(v, VECTOR3D(4, 5, 6));
    v.LoadZero();
    EXPECT_EQ(v, VECTOR3D());
}

TEST(MathVectorTest, EqualityIsExactIeee) {
    EXPECT_EQ(VECTOR3D(0.0f, 1, 2), VECTOR3D(-0.0f, 1, 2));
    EXPECT_FALSE(VECTOR3D(kNaN, 1, 2) == VECTOR3D(kNaN, 1, 2));
    EXPECT_FALSE(VECTOR3D(1, 2, 3) == VECTOR3D(1, 2, 3.0001f));
    EXPECT_FALSE(VECTOR4D(1, 2, 3, 4) == VECTOR4D(1, 2, 3, 5));
    EXPECT_FALSE(VECTOR2D(1, 2) == VECTOR2D(1, 3));
}

TEST(MathVectorTest, ArithmeticAndProducts) {
    const VECTOR3D a(1, 2, 3);
    const VECTOR3D b(4, -5, 6);
    EXPECT_EQ(a + b, VECTOR3D(5, -3, 9));
    EXPECT_EQ(a - b, VECTOR3D(-3, 7, -3));
    EXPECT_EQ(a * 2.0f, VECTOR3D(2, 4, 6));
    EXPECT_EQ(2.0f * a, a * 2.0f);
    EXPECT_EQ(a.DotProduct(b), 4.0f - 10.0f + 18.0f);
    EXPECT_EQ(VECTOR3D(1, 0, 0).CrossProduct(VECTOR3D(0, 1, 0)), VECTOR3D(0, 0, 1));
    EXPECT_EQ(VECTOR3D(0, 1, 0).CrossProduct(VECTOR3D(1, 0, 0)), VECTOR3D(0, 0, -1));
    EXPECT_EQ(a.CrossProduct(b), VECTOR3D(2 * 6 - 3 * -5, 3 * 4 - 1 * 6, 1 * -5 - 2 * 4));

    EXPECT_EQ(VECTOR2D(1, -2) * 3.0f, VECTOR2D(3, -6));
    EXPECT_EQ(3.0f * VECTOR2D(1, -2), VECTOR2D(3, -6));
    EXPECT_EQ(VECTOR4D(1, 2, 3, 4) * 0.5f, VECTOR4D(0.5f, 1, 1.5f, 2)); // w scales too
    EXPECT_EQ(0.5f * VECTOR4D(1, 2, 3, 4), VECTOR4D(0.5f, 1, 1.5f, 2));
}

TEST(MathVectorTest, DivisionByZeroIsGuarded) {
    EXPECT_EQ(VECTOR3D(1, 2, 3) / 0.0f, VECTOR3D(0, 0, 0));
    EXPECT_EQ(VECTOR3D(1, 2, 3) / -0.0f, VECTOR3D(0, 0, 0));
    EXPECT_EQ(VECTOR3D(1, 2, 4) / 4.0f, VECTOR3D(0.25f, 0.5f, 1));

    VECTOR3D v(1, 2, 3);
    v /= 0.0f;
    EXPECT_EQ(v, VECTOR3D(1, 2, 3));
    v /= 2.0f;
    EXPECT_EQ(v, VECTOR3D(0.5f, 1, 1.5f));
}

TEST(MathVectorTest, LengthAndNormalisation) {
    EXPECT_EQ(VECTOR3D(3, 4, 0).GetLength(), 5.0f);
    const VECTOR3D n = VECTOR3D(3, 4, 0).GetNormalized();
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.y, 0.8f);
    EXPECT_EQ(n.z, 0.0f);
    EXPECT_EQ(VECTOR2D(3, 4).GetLength(), 5.0f);
    const VECTOR2D n2 = VECTOR2D(-3, 4).GetNormalized();
    EXPECT_FLOAT_EQ(n2.x, -0.6f);
    EXPECT_FLOAT_EQ(n2.y, 0.8f);

    // Zero stays zero: no division by zero, no NaN.
    VECTOR3D zero;
    zero.Normalize();
    EXPECT_TRUE(BitIdentical(zero, VECTOR3D()));
    VECTOR2D zero2(0, 0);
    zero2.Normalize();
    EXPECT_TRUE(BitIdentical(zero2, VECTOR2D(0, 0)));

    const VECTOR3D unit(0.6f, 0.8f, 0.0f);
    ASSERT_EQ(unit.GetLength(), 1.0f);
    EXPECT_TRUE(BitIdentical(unit.GetNormalized(), unit));
}

TEST(MathVectorTest, LengthTakesTheRootInDoublePrecision) {
    const VECTOR3D v(1.0f, 1.0f, 1.0f);
    EXPECT_EQ(v.GetLength(), static_cast<float>(std::sqrt(3.0)));
}

TEST(MathVectorTest, RotationsAboutCoordinateAxesAreRightHanded) {
    ExpectNear(VECTOR3D(1, 0, 0).GetRotatedZ(90), VECTOR3D(0, 1, 0));
    ExpectNear(VECTOR3D(0, 1, 0).GetRotatedX(90), VECTOR3D(0, 0, 1));
    ExpectNear(VECTOR3D(0, 0, 1).GetRotatedY(90), VECTOR3D(1, 0, 0));
    ExpectNear(VECTOR3D(1, 0, 0).GetRotatedZ(-90), VECTOR3D(0, -1, 0));

    VECTOR3D v(1, 0, 0);
    v.RotateZ(180);
    ExpectNear(v, VECTOR3D(-1, 0, 0));
    v.RotateY(90);
    ExpectNear(v, VECTOR3D(0, 0, 1));
    v.RotateX(90);
    ExpectNear(v, VECTOR3D(0, -1, 0));
}

TEST(MathVectorTest, RotationsAboutAnArbitraryAxis) {
    // The axis is normalised first.
    ExpectNear(VECTOR3D(1, 0, 0).GetRotatedAxis(90, VECTOR3D(0, 0, 2)), VECTOR3D(0, 1, 0));
    // A third of a turn about the diagonal cycles the coordinate axes.
    ExpectNear(VECTOR3D(1, 0, 0).GetRotatedAxis(120, VECTOR3D(1, 1, 1)), VECTOR3D(0, 1, 0));

    const VECTOR3D p(0.3f, -1.2f, 2.5f);
    ExpectNear(p.GetRotatedAxis(37, VECTOR3D(1, 0, 0)), p.GetRotatedX(37));
    ExpectNear(p.GetRotatedAxis(37, VECTOR3D(0, 3, 0)), p.GetRotatedY(37));

    // A zero axis leaves only the cosine on the diagonal: 60 degrees halves the vector.
    EXPECT_EQ(VECTOR3D(2, 4, 6).GetRotatedAxis(60, VECTOR3D()), VECTOR3D(1, 2, 3));

    VECTOR3D v(1, 0, 0);
    v.RotateAxis(90, VECTOR3D(0, 0, 1));
    ExpectNear(v, VECTOR3D(0, 1, 0));
}

TEST(MathVectorTest, RotationByExactlyZeroLeavesTheVectorUntouched) {
    // With the sums actually formed, 0 * inf would turn the other components into NaN.
    const VECTOR3D v(kInf, kInf, 1.5f);
    EXPECT_TRUE(BitIdentical(v.GetRotatedX(0), v));
    EXPECT_TRUE(BitIdentical(v.GetRotatedY(0), v));
    EXPECT_TRUE(BitIdentical(v.GetRotatedZ(0), v));
    EXPECT_TRUE(BitIdentical(v.GetRotatedAxis(0, VECTOR3D(1, 1, 0)), v));

    const VECTOR4D w(kInf, kInf, 1.5f, 3);
    EXPECT_TRUE(BitIdentical(w.GetRotatedX(0), w));
    EXPECT_TRUE(BitIdentical(w.GetRotatedAxis(0, VECTOR3D(0, 1, 0)), w));
}

TEST(MathVectorTest, PackingIntoUnitRange) {
    EXPECT_EQ(VECTOR3D(0, 0, -2).GetPackedTo01(), VECTOR3D(0.5f, 0.5f, 0));
    EXPECT_EQ(VECTOR3D().GetPackedTo01(), VECTOR3D(0.5f, 0.5f, 0.5f));
    VECTOR3D v(4, 0, 0);
    v.PackTo01();
    EXPECT_EQ(v, VECTOR3D(1, 0.5f, 0.5f));
}

TEST(MathVectorTest, FourVectorRotatesXyzAndKeepsW) {
    const VECTOR4D v(1, 0, 0, 7);
    const VECTOR4D z = v.GetRotatedZ(90);
    ExpectNear(VECTOR3D(z.x, z.y, z.z), VECTOR3D(0, 1, 0));
    EXPECT_EQ(z.w, 7.0f);

    VECTOR4D r(0, 1, 0, -2);
    r.RotateX(90);
    ExpectNear(VECTOR3D(r.x, r.y, r.z), VECTOR3D(0, 0, 1));
    EXPECT_EQ(r.w, -2.0f);
    r.RotateY(90);
    ExpectNear(VECTOR3D(r.x, r.y, r.z), VECTOR3D(1, 0, 0));
    r.RotateZ(90);
    r.RotateAxis(90, VECTOR3D(0, 0, 5));
    ExpectNear(VECTOR3D(r.x, r.y, r.z), VECTOR3D(-1, 0, 0));
    EXPECT_EQ(r.w, -2.0f);
}

TEST(MathVectorTest, FourVectorToThreeVectorDividesByW) {
    EXPECT_EQ(static_cast<VECTOR3D>(VECTOR4D(2, 4, 6, 2)), VECTOR3D(1, 2, 3));
    EXPECT_EQ(static_cast<VECTOR3D>(VECTOR4D(2, 4, 6, 0)), VECTOR3D(2, 4, 6));
    EXPECT_EQ(static_cast<VECTOR3D>(VECTOR4D(2, 4, 6, 1)), VECTOR3D(2, 4, 6));
    const VECTOR3D implicit = VECTOR4D(1, 2, 3, -4);
    EXPECT_EQ(implicit, VECTOR3D(-0.25f, -0.5f, -0.75f));
}

TEST(MathVectorTest, ConvertsToAPointerAtX) {
    VECTOR3D v(1, 2, 3);
    const float* read = v;
    EXPECT_EQ(read, &v.x);
    EXPECT_EQ(read[2], 3.0f);
    float* write = v;
    write[1] = 9.0f;
    EXPECT_EQ(v.y, 9.0f);
    const VECTOR3D& constant = v;
    EXPECT_EQ(static_cast<const float*>(constant)[0], 1.0f);
}

} // namespace
