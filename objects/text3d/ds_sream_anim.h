#pragma once

#include "core/math/transform_node.h"
#include "objects/text3d/drift_params.h"

// The drift clock: the local time of the drifting-instances object updated last, one value for
// the whole program, which every drifting copy reads.
float& SharedDriftClock();

// Moves one drifting copy: it drifts along the drift direction at a speed of its own, sways
// sideways by a value drawn anew now and then, and re-enters at the far edge once it has left
// the scene by more than half its size. The position is in scene pixels.
class DS_SreamAnim : public TransformModifier {
 public:
  // Draws the copy's place in the scene (x, then y), its sway value and its speed factor.
  explicit DS_SreamAnim(const DriftParams* params);

  // One step at the drift clock's time (see the .cpp for the rule).
  void Step();

  float x = 0.0f, y = 0.0f;
  // In [-1, 1]: how far along the sway direction the copy moves.
  float swayValue = 0.0f;
  float lastSwayDraw = 0.0f;
  // In [0.07, 0.13]: the copy's share of the drift speed.
  float speedFactor = 0.0f;
  float lastTime = 0.0f;
  float timeStep = 0.0f;

 protected:
  const DriftParams* params_;
};

// A drifting leaf: the drift of DS_SreamAnim plus three tumble rotations and two swings about a
// pivot 50 units away, each an angle turning at its own rate (degrees).
class DS_LeafFallAnim : public DS_SreamAnim {
 public:
  struct Turn {
    float rate = 0.0f;
    float angle = 0.0f;
  };

  // The drift's draws, then the tumbles' and the swings' (half of the swings are 0).
  // `boundingRadius` is that of the copy's mesh: the copy is scaled to the size over it.
  DS_LeafFallAnim(const DriftParams* params, float boundingRadius);

  // The step, the turns, then the node's world matrix:
  // local x S x Rx(tumble 1) x Rz(tumble 3) x Ry(tumble 2) x T(0, 0, 50) x Ry(swing 1) x
  // Rx(swing 2) x T(x, y, 0), S scaling by size x 0.5 / the bounding radius. A size or a radius
  // of 0 scales the copy to nothing.
  void Compute(TransformNode* node) override;

  Turn tumbles[3];
  Turn swings[2];
  float boundingRadius;
};
