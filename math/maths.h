#pragma once

// The whole maths library in one include.
#include "math/color.h"
#include "math/matrix4x4.h"
#include "math/plane.h"
#include "math/vector2d.h"
#include "math/vector3d.h"
#include "math/vector4d.h"
