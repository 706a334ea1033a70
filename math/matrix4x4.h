#pragma once

#include "math/vector3d.h"
#include "math/vector4d.h"

// Sixteen floats in GL's column-major order: row r, column c is entries[4 * c + r], so the
// translation sits in entries 12-14 and the bottom row in entries 3, 7, 11 and 15. "Affine"
// below means the bottom row is exactly (0, 0, 0, 1). Angles are degrees.
class MATRIX4X4 {
public:
    float entries[16];

    MATRIX4X4() { LoadIdentity(); }
    MATRIX4X4(float e0, float e1, float e2, float e3, float e4, float e5, float e6, float e7,
              float e8, float e9, float e10, float e11, float e12, float e13, float e14, float e15);
    explicit MATRIX4X4(const float* rhs);

    // Positions outside 0-15 are ignored on set and read as 0.
    void SetEntry(int position, float value);
    float GetEntry(int position) const;
    // Rows and columns outside 0-3 read as (0, 0, 0, 0).
    VECTOR4D GetRow(int position) const;
    VECTOR4D GetColumn(int position) const;

    void LoadIdentity();
    void LoadZero();

    MATRIX4X4 operator+(const MATRIX4X4& rhs) const;
    MATRIX4X4 operator-(const MATRIX4X4& rhs) const;
    MATRIX4X4 operator-() const;
    // this x rhs: applied to a column vector, rhs acts first.
    MATRIX4X4 operator*(const MATRIX4X4& rhs) const;
    MATRIX4X4 operator*(float scaleFactor) const;
    // Dividing by exactly 0 or 1 returns the matrix unchanged.
    MATRIX4X4 operator/(float scaleFactor) const;
    bool operator==(const MATRIX4X4& rhs) const;

    void operator+=(const MATRIX4X4& rhs);
    void operator-=(const MATRIX4X4& rhs);
    void operator*=(const MATRIX4X4& rhs);
    void operator*=(float scaleFactor);
    void operator/=(float scaleFactor);

    VECTOR4D operator*(const VECTOR4D& rhs) const;

    VECTOR3D GetRotatedVector3D(const VECTOR3D& rhs) const;
    // Transposed 3x3 part: undoes the rotation when that part is orthonormal.
    VECTOR3D GetInverseRotatedVector3D(const VECTOR3D& rhs) const;
    VECTOR3D GetTranslatedVector3D(const VECTOR3D& rhs) const;
    VECTOR3D GetInverseTranslatedVector3D(const VECTOR3D& rhs) const;

    void Invert();
    // A singular matrix (determinant exactly 0) inverts to the identity.
    MATRIX4X4 GetInverse() const;
    void Transpose();
    MATRIX4X4 GetTranspose() const;
    void InvertTranspose();
    MATRIX4X4 GetInverseTranspose() const;

    // Only for rotation plus translation; scale or shear in the 3x3 part gives a wrong result.
    void AffineInvert();
    MATRIX4X4 GetAffineInverse() const;
    void AffineInvertTranspose();
    MATRIX4X4 GetAffineInverseTranspose() const;

    // These write the whole matrix.
    void SetTranslation(const VECTOR3D& translation);
    void SetScale(const VECTOR3D& scaleFactor);
    void SetUniformScale(float scaleFactor);
    void SetRotationAxis(double angle, const VECTOR3D& axis);
    void SetRotationX(double angle);
    void SetRotationY(double angle);
    void SetRotationZ(double angle);
    // Turns about x first, then y, then z.
    void SetRotationEuler(double angleX, double angleY, double angleZ);
    // As glFrustum; f == -1 puts the far plane at infinity. Degenerate bounds give all zeros.
    void SetPerspective(float left, float right, float bottom, float top, float n, float f);
    // As gluPerspective, fovy in degrees, with the same f == -1 convention.
    void SetPerspective(float fovy, float aspect, float n, float f);
    // As glOrtho; equal bounds are not checked.
    void SetOrtho(float left, float right, float bottom, float top, float n, float f);

    // These write only their part.
    void SetTranslationPart(const VECTOR3D& translation);
    void SetRotationPartEuler(double angleX, double angleY, double angleZ);

    bool IsAffine() const;
};

MATRIX4X4 operator*(float scaleFactor, const MATRIX4X4& rhs);
