#pragma once

#include <gtest/gtest.h>

#include "platform/math/d3dx_types.h"

// Component-wise closeness of two vectors.
inline void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tolerance = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}
