#pragma once

#include "math/vector3d.h"

// Results of PLANE::ClassifyPoint.
inline constexpr int CLASSIFY_ON_PLANE = 0;
inline constexpr int CLASSIFY_IN_FRONT = 1;
inline constexpr int CLASSIFY_BEHIND = 2;

// The plane normal . p + intercept = 0.
class PLANE {
public:
    VECTOR3D normal;
    float intercept = 0.0f;

    constexpr PLANE() = default;
    constexpr PLANE(const VECTOR3D& newNormal, float newIntercept)
        : normal(newNormal), intercept(newIntercept) {}

    constexpr bool operator==(const PLANE& rhs) const {
        return normal == rhs.normal && intercept == rhs.intercept;
    }

    // Counter-clockwise points, as the viewer sees them, give a normal facing the viewer.
    void SetFromPoints(const VECTOR3D& p0, const VECTOR3D& p1, const VECTOR3D& p2);
    void CalculateIntercept(const VECTOR3D& pointOnPlane);
    // Makes the normal unit length, so GetDistance measures world units. A zero normal is left
    // alone, and the intercept then becomes infinite or NaN.
    void Normalize();

    float GetDistance(const VECTOR3D& point) const;
    // CLASSIFY_IN_FRONT, CLASSIFY_BEHIND, or CLASSIFY_ON_PLANE within 0.01 either side (or NaN).
    int ClassifyPoint(const VECTOR3D& point) const;
    // The point common to all three planes; false, with result untouched, when two are parallel.
    bool Intersect3(const PLANE& p2, const PLANE& p3, VECTOR3D& result) const;
    PLANE lerp(const PLANE& p2, float factor) const;
};
