#pragma once

#include <cstdint>

#include "core/math/transform_node.h"
#include "platform/math/d3dx_types.h"

class DS_ButterflyConstructor;

// The controller of one butterfly wing: the matrix and the winding flag that the butterfly's
// controller writes for it every frame.
class AC_ButterflyWing : public TransformModifier {
 public:
  AC_ButterflyWing();

  // world = local x the wing's matrix; the node's winding flag = the wing's.
  void Compute(TransformNode* node) override;

  D3DXMATRIX matrix;  // identity at first
  uint32_t flag = 1;
};

// A value that eases towards its target at a rate: a positive rate stops at the target from
// below, a negative one from above.
struct EasedValue {
  float current = 0.0f;
  float target = 0.0f;
  float rate = 0.0f;

  // current += dt x rate while it differs from the target, kept from passing it.
  void Ease(float dt);
  // The rate's size with the sign of (target - current); negative when they are equal.
  void PointRateAtTarget();
};

// Flies one butterfly through its owner's view rectangle: it flaps its wings, heads left or
// right, climbs and glides, banks into turns and turns back at the rectangle's sides, deciding
// now and then on a new climb, speed or heading. Driven by the owner's motion clock.
class AC_Butterfly : public TransformModifier {
 public:
  // Draws a place in the owner's view (x, then y) and a heading; the scale follows the owner's
  // size from now on.
  explicit AC_Butterfly(DS_ButterflyConstructor* owner);

  // Steers, flaps, moves and decides (see the .cpp), writes both wings' matrices and flags and
  // the node's world matrix.
  void Compute(TransformNode* node) override;

  DS_ButterflyConstructor* owner;
  AC_ButterflyWing* wing1 = nullptr;
  AC_ButterflyWing* wing2 = nullptr;
  float flapAngle = 0.0f;
  float flapSpeed = 100.0f;
  float flapMaximum = 55.0f;
  float flapMinimum = -55.0f;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  EasedValue climb{50.0f, 50.0f, 250.0f};
  EasedValue heading;
  EasedValue bank{0.0f, 0.0f, 50.0f};
  EasedValue forward{50.0f, 50.0f, 350.0f};
  D3DXMATRIX tilt;
  D3DXMATRIX mirror;
  // Size / 100 on every axis, for the owner's size when the node was last computed.
  D3DXMATRIX scale;
  int32_t mode = 0;
  int32_t modeTarget = 0;
  float lastDecision = 0.0f;

 private:
  // Step 13 of Compute: a new climb, speed or heading.
  void Decide();
  // The scale for the owner's size. The size is looked at when the node is computed rather
  // than watched by a control of every copy: with many copies the size's control list would
  // grow as long, and letting go of it would take the square of their number.
  void FollowSize();
};
