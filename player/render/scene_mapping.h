#pragma once

#include "platform/math/d3dx_types.h"

struct SceneView;

// A window point (x, y) in the scene: the point's place in the view quad of `view`, scaled to
// the view's picture size and mapped back through the fit factors of the current render
// context's camera block (divided by its zoom, minus its pan). A view quad without width or
// height maps that axis to 0; a zoom of 0 counts as 1; without a render context no fit applies.
D3DXVECTOR3 PointToScene(const SceneView& view, float x, float y, float z);

// A moving item: its centre and its extents along x and y.
struct BoundItem {
  float x = 0.0f, y = 0.0f;
  float ex = 0.0f, ey = 0.0f;
};
// Limits as fractions of the scene's width (left, right) and height (top, bottom).
struct BoundLimits {
  float left = 0.0f, right = 1.0f, top = 0.0f, bottom = 1.0f;
};

// The scene-bound tests, against the current document's scene size (its picture size); the
// comparisons are strict. "Outside" means wholly beyond the limit, "crossing" that the item's
// edge on the far side has passed it.
using SceneBoundTest = bool (*)(const BoundItem& p, const BoundLimits& q);
bool OutsideLeft(const BoundItem& p, const BoundLimits& q);
bool OutsideRight(const BoundItem& p, const BoundLimits& q);
bool OutsideBottom(const BoundItem& p, const BoundLimits& q);
bool OutsideTop(const BoundItem& p, const BoundLimits& q);
bool CrossingTop(const BoundItem& p, const BoundLimits& q);
bool CrossingBottom(const BoundItem& p, const BoundLimits& q);
bool CrossingLeft(const BoundItem& p, const BoundLimits& q);
bool CrossingRight(const BoundItem& p, const BoundLimits& q);
