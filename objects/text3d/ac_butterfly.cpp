#include "objects/text3d/ac_butterfly.h"

#include <cmath>

#include "core/crt_rand.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "player/render/matrix_values.h"

namespace {

// `size` with the sign of `direction`; negative when the direction is 0.
float SignedLike(float size, float direction) {
  return direction > 0.0f ? std::fabs(size) : -std::fabs(size);
}

}  // namespace

AC_ButterflyWing::AC_ButterflyWing() : matrix(IdentityMatrix()) {}

void AC_ButterflyWing::Compute(TransformNode* node) {
  node->world = node->local * matrix;
  node->flag = flag;
}

void EasedValue::Ease(float dt) {
  if (current == target) return;
  current += dt * rate;
  if ((rate > 0.0f && current > target) || (rate < 0.0f && current < target)) current = target;
}

void EasedValue::PointRateAtTarget() {
  rate = SignedLike(rate, target - current);
}

AC_Butterfly::AC_Butterfly(DS_ButterflyConstructor* owner)
    : owner(owner), tilt(RotationXDegrees(10.0f)), mirror(ScalingMatrix(-1.0f, 1.0f, 1.0f)) {
  D3DXVECTOR3 place;
  owner->RandomPointInView(place);
  x = place.x;
  y = place.y;
  const float h = crt_rand_unit() * 360.0f;
  heading = {h, h, 350.0f};
  FollowSize();
}

void AC_Butterfly::FollowSize() {
  const float s = static_cast<float>(owner->size.Value()) / 100.0f;
  scale = ScalingMatrix(s, s, s);
}

// Products are in the row-vector order of the 3D library (in A x B, A applies first); dt is the
// owner's motion step, T its motion elapsed, W x H the scene. The numbered steps:
void AC_Butterfly::Compute(TransformNode* node) {
  const float dt = owner->motionStep;
  const float w = static_cast<float>(SceneWidth()), h = static_cast<float>(SceneHeight());
  // 1. The heading turns the model first.
  const D3DXMATRIX turn = RotationYDegrees(heading.current);
  D3DXMATRIX world = turn * node->local;
  // 2. Bank into a turn of more than 5 degrees.
  const float d = heading.current - heading.target;
  if (d < -5.0f) bank.target = 25.0f;
  if (d > 5.0f) bank.target = -25.0f;
  bank.PointRateAtTarget();
  // 3. Nose up when slow.
  if (forward.current < 100.0f)
    world = RotationXDegrees((1.0f - forward.current / 100.0f) * 15.0f) * world;
  // 4. Tilt, then bank.
  world = tilt * world;
  world = RotationZDegrees(bank.current) * world;
  // 5. A bank reached levels out.
  if (bank.current == bank.target) {
    bank.target = 0.0f;
    bank.PointRateAtTarget();
  }
  // 6. Flap.
  flapAngle += dt * 7.0f * flapSpeed;
  if (flapAngle > flapMaximum) flapSpeed = -160.0f;
  if (flapAngle < flapMinimum) flapSpeed = 100.0f;
  // 7. The body bobs with the wings.
  world = TranslationMatrix(0.0f, -3.0f * flapAngle / 45.0f, 0.0f) * world;
  // 8. The wings, the second mirrored; each is drawn from the side it shows first.
  if (wing1 != nullptr && wing2 != nullptr) {
    wing1->matrix = RotationZDegrees(flapAngle);
    wing2->matrix = wing1->matrix * mirror;
    wing1->flag = flapAngle > 0.0f ? 1u : 0u;
    wing2->flag = flapAngle < 0.0f ? 1u : 0u;
  }
  // 9. Move: forward along the heading, down by the climb (y grows downwards).
  D3DXVECTOR3 v;
  const D3DXVECTOR3 ahead(forward.current, 0.0f, 0.0f);
  D3DXVec3TransformCoord(&v, &ahead, &turn);
  x += v.x * dt;
  y += climb.current * dt;
  z = 0.0f;
  world = world * TranslationMatrix(x, y, 0.0f);
  // 10. Ease.
  for (EasedValue* value : {&climb, &bank, &heading, &forward})
    value->Ease(dt);
  // 11. Stay in the view: glide down from above the top, climb up from below the bottom, turn
  // back at the sides.
  const DS_ButterflyConstructor& view = *owner;
  if (y < view.top * h) {
    modeTarget = 1;
    climb.target = 100.0f;
    climb.PointRateAtTarget();
  } else if (y > view.bottom * h) {
    modeTarget = 0;
    climb.target = -190.0f;
    climb.PointRateAtTarget();
  }
  if (x < view.left * w || x > view.right * w) {
    heading.target = x < view.left * w ? 0.0f : -180.0f;
    heading.rate = SignedLike(350.0f, heading.target - heading.current);
    forward.target = 300.0f;
    forward.PointRateAtTarget();
  }
  // 12. Switch between flapping (mode 0) and gliding (mode 1): a glide starts once the wings
  // are low.
  if (mode != modeTarget) {
    if (modeTarget == 1) {
      flapMaximum = 0.0f;
      if (flapAngle < flapMinimum * 0.5f) {
        mode = 1;
        flapSpeed = -std::fabs(flapSpeed) / 100.0f;
      }
    } else if (modeTarget == 0) {
      flapMaximum = -flapMinimum;
      mode = 0;
      flapSpeed = forward.current > 20.0f
                      ? crt_rand_unit() * (forward.current / 3.0f + 110.0f) - 160.0f
                      : 160.0f;
    }
  } else if (owner->motionElapsed - lastDecision > 0.25f) {
    // 13. A decision four times a motion second.
    Decide();
  }
  // 14. The owner's size.
  FollowSize();
  node->world = scale * world;
}

// k = rand() mod 5: 0 flaps towards a climb in [-190, 0]; 1 glides towards one in [100, 150];
// 2 flaps towards a speed in [-25, 300]; 3 and 4, only while flapping on a steady heading, turn
// by a new rate towards a heading near 0 or near 180 (one draw's parity chooses). Each changed
// target's rate points at it.
void AC_Butterfly::Decide() {
  switch (crt_rand() % 5) {
    case 0:
      modeTarget = 0;
      climb.target = crt_rand_unit() * 190.0f - 190.0f;
      climb.PointRateAtTarget();
      break;
    case 1:
      modeTarget = 1;
      climb.target = crt_rand_unit() * 50.0f + 100.0f;
      climb.PointRateAtTarget();
      break;
    case 2:
      modeTarget = 0;
      forward.target = crt_rand_unit() * 325.0f - 25.0f;
      forward.PointRateAtTarget();
      break;
    default:
      if (mode == 0 && heading.current == heading.target) {
        const bool odd = crt_rand() % 2 != 0;
        const float rate = crt_rand_unit() * 300.0f + 50.0f;
        heading.target = odd ? crt_rand_unit() * 50.0f - 25.0f : crt_rand_unit() * 50.0f + 155.0f;
        heading.rate = SignedLike(rate, heading.target - heading.current);
      }
      break;
  }
  lastDecision = owner->motionElapsed;
}
