#pragma once

#include <cstdint>
#include <optional>

#include "core/math/transform_node.h"
#include "platform/math/d3dx_types.h"

class DS_ClockConstructor;

// Places the clock's dial: scaled by the owner's size and moved to the centre of its clock
// rectangle. The owner keeps the rectangle's bounds (DS_ClockConstructor::PlaceDialBounds);
// the size and the centre are looked at when the node is computed, rather than watched by a
// control of every copy (with many copies the parameters' control lists would grow as long,
// and letting go of them would take the square of their number).
class AC_Static : public TransformModifier {
 public:
  // Has the owner watch its size and rectangle (once for all its dials), places its bounds and
  // takes the centre and size.
  explicit AC_Static(DS_ClockConstructor* owner);

  // scale = the size on every axis, translation = (centre x, centre y, 0);
  // world = scale x local x translation.
  void Compute(TransformNode* node) override;

  DS_ClockConstructor* owner;
  D3DXMATRIX scale;
  D3DXMATRIX translation;

 private:
  void Follow();
};

// Turns one hand of the clock about the dial's axis to the local time: the hour hand 30 degrees
// an hour, the minute hand 6 degrees a minute, both moving on smoothly within the hour and the
// minute.
class AC_ClockArrow : public TransformModifier {
 public:
  explicit AC_ClockArrow(bool hourHand) : hourHand(hourHand ? 1 : 0) {}

  // world = local x rotation about y by the hand's angle at the current local time. When the
  // time cannot be read the hand keeps the matrix it had (at first the local one).
  void Compute(TransformNode* node) override;

  // The hand's angle in degrees at a time of day.
  float AngleAt(int hour, int minute, int second) const;

  uint8_t hourHand;

 private:
  std::optional<D3DXMATRIX> turned_;
};
