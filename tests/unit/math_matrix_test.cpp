#include "math/maths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

void PrintTo(const VECTOR3D& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
void PrintTo(const VECTOR4D& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ", " << v.w << ")";
}
void PrintTo(const MATRIX4X4& m, std::ostream* os) {
    *os << "[";
    for (int i = 0; i < 16; ++i) {
        *os << (i ? ", " : "") << m.entries[i];
    }
    *os << "]";
}

namespace {

const MATRIX4X4 kIdentity;

// No entry is 0 or 1 and the bottom row is not (0, 0, 0, 1); well conditioned.
const MATRIX4X4 kGeneral(4, 1, -2, 0.5f, 2, 5, 1, -1, -1, 3, 6, 2, 0.25f, -2, 1, 7);

void ExpectNear(const MATRIX4X4& actual, const MATRIX4X4& expected, float tolerance = 1e-5f) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.entries[i], expected.entries[i], tolerance) << "entry " << i;
    }
}

void ExpectNear(const VECTOR4D& actual, const VECTOR4D& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f) << "x";
    EXPECT_NEAR(actual.y, expected.y, 1e-5f) << "y";
    EXPECT_NEAR(actual.z, expected.z, 1e-5f) << "z";
    EXPECT_NEAR(actual.w, expected.w, 1e-5f) << "w";
}

void ExpectNear(const VECTOR3D& actual, const VECTOR3D& expected) {
    ExpectNear(VECTOR4D(actual.x, actual.y, actual.z, 0),
               VECTOR4D(expected.x, expected.y, expected.z, 0));
}

// Textbook product in double, row r column c at 4c + r.
MATRIX4X4 ReferenceProduct(const MATRIX4X4& a, const MATRIX4X4& b) {
    MATRIX4X4 result;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += double(a.entries[4 * k + r]) * double(b.entries[4 * c + k]);
            }
            result.entries[4 * c + r] = float(sum);
        }
    }
    return result;
}

MATRIX4X4 Translation(float x, float y, float z) {
    MATRIX4X4 m;
    m.SetTranslation(VECTOR3D(x, y, z));
    return m;
}

MATRIX4X4 Rotation(char axis, double angle) {
    MATRIX4X4 m;
    if (axis == 'x') {
        m.SetRotationX(angle);
    } else if (axis == 'y') {
        m.SetRotationY(angle);
    } else {
        m.SetRotationZ(angle);
    }
    return m;
}

TEST(MathMatrixTest, ConstructionAndStorageOrder) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(kIdentity.entries[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    }
    const MATRIX4X4 m(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    EXPECT_EQ(m.GetRow(1), VECTOR4D(1, 5, 9, 13));
    EXPECT_EQ(m.GetColumn(1), VECTOR4D(4, 5, 6, 7));
    EXPECT_EQ(MATRIX4X4(m.entries), m);

    MATRIX4X4 reset(m);
    reset.LoadIdentity();
    EXPECT_EQ(reset, kIdentity);
    reset.LoadZero();
    EXPECT_EQ(reset, MATRIX4X4(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
}

TEST(MathMatrixTest, AccessOutsideTheMatrixIsHarmless) {
    MATRIX4X4 m(kGeneral);
    EXPECT_EQ(m.GetEntry(16), 0.0f);
    EXPECT_EQ(m.GetEntry(-1), 0.0f);
    EXPECT_EQ(m.GetEntry(15), 7.0f);
    m.SetEntry(16, 5);
    m.SetEntry(-1, 5);
    EXPECT_EQ(m, kGeneral);
    m.SetEntry(15, 5);
    EXPECT_EQ(m.entries[15], 5.0f);
    EXPECT_EQ(m.GetRow(4), VECTOR4D(0, 0, 0, 0));
    EXPECT_EQ(m.GetRow(-1), VECTOR4D(0, 0, 0, 0));
    EXPECT_EQ(m.GetColumn(4), VECTOR4D(0, 0, 0, 0));
    EXPECT_EQ(m.GetColumn(-1), VECTOR4D(0, 0, 0, 0));
}

TEST(MathMatrixTest, EntryWiseArithmetic) {
    const MATRIX4X4 twice = kGeneral + kGeneral;
    EXPECT_EQ(twice, kGeneral * 2.0f);
    EXPECT_EQ(2.0f * kGeneral, twice);
    EXPECT_EQ(twice - kGeneral, kGeneral);
    EXPECT_EQ(-kGeneral, kGeneral * -1.0f);
    EXPECT_EQ(twice / 2.0f, kGeneral);
    EXPECT_TRUE(kGeneral != twice);
    EXPECT_FALSE(kGeneral != kGeneral);

    // Dividing by 0 or by 1 does nothing at all.
    EXPECT_EQ(kGeneral / 0.0f, kGeneral);
    EXPECT_EQ(kGeneral / 1.0f, kGeneral);

    MATRIX4X4 m(kGeneral);
    m += kGeneral;
    EXPECT_EQ(m, twice);
    m -= kGeneral;
    EXPECT_EQ(m, kGeneral);
    m *= 4.0f;
    m /= 2.0f;
    EXPECT_EQ(m, twice);
    m /= 0.0f;
    EXPECT_EQ(m, twice);
    m *= kIdentity;
    EXPECT_EQ(m, twice);
}

TEST(MathMatrixTest, ProductMatchesTheTextbookInEveryAffineCase) {
    MATRIX4X4 affine;
    affine.SetRotationEuler(20, -35, 50);
    affine.SetTranslationPart(VECTOR3D(1, -2, 3));
    MATRIX4X4 otherAffine;
    otherAffine.SetScale(VECTOR3D(2, 3, -1));
    otherAffine.SetTranslationPart(VECTOR3D(-4, 0.5f, 2));
    const MATRIX4X4 general = kGeneral;

    ExpectNear(affine * otherAffine, ReferenceProduct(affine, otherAffine));
    ExpectNear(affine * general, ReferenceProduct(affine, general));
    ExpectNear(general * affine, ReferenceProduct(general, affine));
    ExpectNear(general * general, ReferenceProduct(general, general), 1e-4f);
    EXPECT_EQ(general * kIdentity, general);
    EXPECT_EQ(kIdentity * general, general);

    const MATRIX4X4 product = affine * otherAffine;
    EXPECT_EQ(product.GetRow(3), VECTOR4D(0, 0, 0, 1));
}

TEST(MathMatrixTest, ProductAppliesTheRightHandMatrixFirst) {
    const MATRIX4X4 m = Translation(1, 2, 3) * Rotation('z', 90);
    ExpectNear(m * VECTOR4D(1, 0, 0, 1), VECTOR4D(1, 3, 3, 1));
    MATRIX4X4 n = Rotation('z', 90);
    n *= Translation(1, 2, 3);
    ExpectNear(n * VECTOR4D(1, 0, 0, 1), VECTOR4D(-2, 2, 3, 1));
}

TEST(MathMatrixTest, TransformingVectors) {
    const MATRIX4X4 t = Translation(1, 2, 3);
    EXPECT_EQ(t * VECTOR4D(0, 0, 0, 1), VECTOR4D(1, 2, 3, 1));
    EXPECT_EQ(t * VECTOR4D(5, 5, 5, 0), VECTOR4D(5, 5, 5, 0)); // directions ignore translation
    EXPECT_EQ(t.GetTranslatedVector3D(VECTOR3D()), VECTOR3D(1, 2, 3));
    EXPECT_EQ(t.GetInverseTranslatedVector3D(VECTOR3D(1, 2, 3)), VECTOR3D());

    // A non-affine matrix computes w from its bottom row.
    EXPECT_EQ(kGeneral * VECTOR4D(1, 0, 0, 0), kGeneral.GetColumn(0));
    EXPECT_EQ(kGeneral * VECTOR4D(0, 0, 0, 1), kGeneral.GetColumn(3));

    MATRIX4X4 r = Rotation('z', 90);
    r.SetTranslationPart(VECTOR3D(7, 7, 7));
    ExpectNear(r.GetRotatedVector3D(VECTOR3D(1, 0, 0)), VECTOR3D(0, 1, 0));
    ExpectNear(r.GetInverseRotatedVector3D(VECTOR3D(0, 1, 0)), VECTOR3D(1, 0, 0));
}

TEST(MathMatrixTest, TransposeAndGeneralInverse) {
    const MATRIX4X4 t = kGeneral.GetTranspose();
    EXPECT_EQ(t.GetRow(2), kGeneral.GetColumn(2));
    EXPECT_EQ(t.GetTranspose(), kGeneral);
    MATRIX4X4 inPlace(kGeneral);
    inPlace.Transpose();
    EXPECT_EQ(inPlace, t);

    const MATRIX4X4 inverse = kGeneral.GetInverse();
    ExpectNear(kGeneral * inverse, kIdentity);
    ExpectNear(inverse * kGeneral, kIdentity);
    EXPECT_EQ(kGeneral.GetInverseTranspose(), inverse.GetTranspose());

    MATRIX4X4 m(kGeneral);
    m.Invert();
    EXPECT_EQ(m, inverse);
    m = kGeneral;
    m.InvertTranspose();
    EXPECT_EQ(m, inverse.GetTranspose());

    // A known inverse: a scale and translation.
    MATRIX4X4 st;
    st.SetScale(VECTOR3D(2, 4, 8));
    st.SetTranslationPart(VECTOR3D(2, 4, 8));
    ExpectNear(st.GetInverse(),
               MATRIX4X4(0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 0.125f, 0, -1, -1, -1, 1));
}

TEST(MathMatrixTest, SingularMatrixInvertsToIdentity) {
    MATRIX4X4 twoEqualColumns(kGeneral);
    for (int r = 0; r < 4; ++r) {
        twoEqualColumns.entries[4 + r] = twoEqualColumns.entries[r];
    }
    EXPECT_EQ(twoEqualColumns.GetInverse(), kIdentity);
    EXPECT_EQ(MATRIX4X4(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0).GetInverse(), kIdentity);
}

TEST(MathMatrixTest, AffineInverseOfARigidTransform) {
    const MATRIX4X4 m = Translation(1, 2, 3) * Rotation('z', 90);
    const MATRIX4X4 inverse = m.GetAffineInverse();
    ExpectNear(inverse * m, kIdentity);
    ExpectNear(m * inverse, kIdentity);
    ExpectNear(inverse, m.GetInverse());
    EXPECT_EQ(inverse.GetRow(3), VECTOR4D(0, 0, 0, 1));
    EXPECT_EQ(m.GetAffineInverseTranspose(), inverse.GetTranspose());

    MATRIX4X4 inPlace(m);
    inPlace.AffineInvert();
    EXPECT_EQ(inPlace, inverse);
    inPlace = m;
    inPlace.AffineInvertTranspose();
    EXPECT_EQ(inPlace, inverse.GetTranspose());
}

TEST(MathMatrixTest, WholeMatrixSetters) {
    MATRIX4X4 m(kGeneral);
    m.SetTranslation(VECTOR3D(1, 2, 3));
    EXPECT_EQ(m, MATRIX4X4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1));
    m = kGeneral;
    m.SetScale(VECTOR3D(2, 3, 4));
    EXPECT_EQ(m, MATRIX4X4(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1));
    m = kGeneral;
    m.SetUniformScale(5);
    EXPECT_EQ(m, MATRIX4X4(5, 0, 0, 0, 0, 5, 0, 0, 0, 0, 5, 0, 0, 0, 0, 1));
    m = kGeneral;
    m.SetRotationX(0);
    EXPECT_EQ(m, kIdentity);
    m = kGeneral;
    m.SetRotationAxis(0, VECTOR3D(1, 2, 3));
    EXPECT_EQ(m, kIdentity);
    m = kGeneral;
    m.SetRotationEuler(0, 0, 0);
    EXPECT_EQ(m, kIdentity);
}

TEST(MathMatrixTest, RotationsMatchTheVectorRotations) {
    const MATRIX4X4 z = Rotation('z', 90);
    EXPECT_NEAR(z.entries[1], 1.0f, 1e-6f);
    EXPECT_NEAR(z.entries[4], -1.0f, 1e-6f);
    ExpectNear(z.GetRotatedVector3D(VECTOR3D(1, 0, 0)), VECTOR3D(0, 1, 0));

    MATRIX4X4 axis;
    axis.SetRotationAxis(90, VECTOR3D(0, 0, 2));
    ExpectNear(axis, z, 1e-6f);

    const VECTOR3D p(0.3f, -1.2f, 2.5f);
    ExpectNear(Rotation('x', 37).GetRotatedVector3D(p), p.GetRotatedX(37));
    ExpectNear(Rotation('y', 37).GetRotatedVector3D(p), p.GetRotatedY(37));
    ExpectNear(Rotation('z', 37).GetRotatedVector3D(p), p.GetRotatedZ(37));
    axis.SetRotationAxis(-70, VECTOR3D(1, -2, 0.5f));
    ExpectNear(axis.GetRotatedVector3D(p), p.GetRotatedAxis(-70, VECTOR3D(1, -2, 0.5f)));
}

TEST(MathMatrixTest, EulerRotationTurnsAboutXThenYThenZ) {
    MATRIX4X4 euler;
    euler.SetRotationEuler(30, 0, 0);
    ExpectNear(euler, Rotation('x', 30), 1e-6f);
    euler.SetRotationEuler(25, -40, 70);
    ExpectNear(euler, Rotation('z', 70) * Rotation('y', -40) * Rotation('x', 25));

    // The part setter keeps translation and bottom row.
    MATRIX4X4 part(kGeneral);
    part.SetRotationPartEuler(25, -40, 70);
    EXPECT_EQ(part.GetColumn(3), kGeneral.GetColumn(3));
    EXPECT_EQ(part.GetRow(3), kGeneral.GetRow(3));
    EXPECT_EQ(part.GetRotatedVector3D(VECTOR3D(1, 2, 3)),
              euler.GetRotatedVector3D(VECTOR3D(1, 2, 3)));
}

TEST(MathMatrixTest, FrustumPerspective) {
    MATRIX4X4 m;
    m.SetPerspective(-1.0f, 1.0f, -0.75f, 0.75f, 1.0f, 100.0f);
    EXPECT_EQ(m.entries[0], 1.0f);
    EXPECT_FLOAT_EQ(m.entries[5], 4.0f / 3.0f);
    EXPECT_EQ(m.entries[8], 0.0f);
    EXPECT_EQ(m.entries[9], 0.0f);
    EXPECT_FLOAT_EQ(m.entries[10], -101.0f / 99.0f);
    EXPECT_EQ(m.entries[11], -1.0f);
    EXPECT_FLOAT_EQ(m.entries[14], -200.0f / 99.0f);
    EXPECT_EQ(m.entries[15], 0.0f);
    // Near and far planes land on -1 and 1 after the divide.
    const VECTOR3D near = m * VECTOR4D(0, 0, -1, 1);
    const VECTOR3D far = m * VECTOR4D(0, 0, -100, 1);
    EXPECT_NEAR(near.z, -1.0f, 1e-6f);
    EXPECT_NEAR(far.z, 1.0f, 1e-6f);

    m.SetPerspective(-1.0f, 3.0f, -2.0f, 0.0f, 2.0f, -1.0f);
    EXPECT_EQ(m.entries[8], 0.5f); // off-centre
    EXPECT_EQ(m.entries[9], -1.0f);
    EXPECT_EQ(m.entries[10], -0.999f); // far plane at infinity
    EXPECT_EQ(m.entries[14], 2.0f * -1.998f);

    const MATRIX4X4 zero(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    m.SetPerspective(1.0f, 1.0f, -1.0f, 1.0f, 1.0f, 10.0f);
    EXPECT_EQ(m, zero);
    m.SetPerspective(-1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 10.0f);
    EXPECT_EQ(m, zero);
    m.SetPerspective(-1.0f, 1.0f, -1.0f, 1.0f, 5.0f, 5.0f);
    EXPECT_EQ(m, zero);
}

TEST(MathMatrixTest, FieldOfViewPerspective) {
    MATRIX4X4 m;
    m.SetPerspective(45.0f, 4.0f / 3.0f, 0.1f, 100.0f);
    const float cotangent = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
    EXPECT_NEAR(m.entries[5], cotangent, 1e-5f);
    EXPECT_NEAR(m.entries[0], cotangent * 0.75f, 1e-5f);
    EXPECT_NEAR(m.entries[10], -100.1f / 99.9f, 1e-6f);
    EXPECT_EQ(m.entries[11], -1.0f);

    m.SetPerspective(45.0f, 4.0f / 3.0f, 0.1f, -1.0f);
    EXPECT_EQ(m.entries[10], -0.999f);
    EXPECT_FLOAT_EQ(m.entries[14], -1.998f * 0.1f);
}

TEST(MathMatrixTest, OrthoMapsTheBoxOntoClipSpace) {
    MATRIX4X4 m;
    m.SetOrtho(0, 640, 480, 0, -1, 1);
    ExpectNear(m * VECTOR4D(0, 0, 0, 1), VECTOR4D(-1, 1, 0, 1));
    ExpectNear(m * VECTOR4D(640, 480, 0, 1), VECTOR4D(1, -1, 0, 1));
    ExpectNear(m * VECTOR4D(320, 240, 1, 1), VECTOR4D(0, 0, -1, 1));
    EXPECT_EQ(m.GetRow(3), VECTOR4D(0, 0, 0, 1));

    m.SetOrtho(1, 1, 0, 1, 0, 1); // unchecked: equal bounds give non-finite entries
    EXPECT_FALSE(std::isfinite(m.entries[0]));
}

} // namespace
