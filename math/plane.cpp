#include "math/plane.h"

void PLANE::SetFromPoints(const VECTOR3D& p0, const VECTOR3D& p1, const VECTOR3D& p2) {
    normal = (p1 - p0).CrossProduct(p2 - p0);
    normal.Normalize();
    CalculateIntercept(p0);
}

void PLANE::CalculateIntercept(const VECTOR3D& pointOnPlane) {
    intercept = -normal.DotProduct(pointOnPlane);
}

void PLANE::Normalize() {
    const float length = normal.GetLength();
    normal /= length;
    intercept /= length;
}

float PLANE::GetDistance(const VECTOR3D& point) const {
    return normal.DotProduct(point) + intercept;
}

int PLANE::ClassifyPoint(const VECTOR3D& point) const {
    const float distance = GetDistance(point);
    if (distance > 0.01f) {
        return CLASSIFY_IN_FRONT;
    }
    if (distance < -0.01f) {
        return CLASSIFY_BEHIND;
    }
    return CLASSIFY_ON_PLANE;
}

bool PLANE::Intersect3(const PLANE& p2, const PLANE& p3, VECTOR3D& result) const {
    const VECTOR3D qCrossR = p2.normal.CrossProduct(p3.normal);
    const float denominator = normal.DotProduct(qCrossR);
    if (denominator == 0.0f) {
        return false;
    }
    const VECTOR3D rCrossP = p3.normal.CrossProduct(normal);
    const VECTOR3D pCrossQ = normal.CrossProduct(p2.normal);
    result =
        (intercept * qCrossR + p2.intercept * rCrossP + p3.intercept * pCrossQ) / (-denominator);
    return true;
}

PLANE PLANE::lerp(const PLANE& p2, float factor) const {
    PLANE result(normal * (1.0f - factor) + p2.normal * factor,
                 intercept * (1.0f - factor) + p2.intercept * factor);
    result.normal.Normalize();
    return result;
}
