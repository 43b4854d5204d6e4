#include "objects/text3d/ds_sream_anim.h"

#include "core/clock_step.h"
#include "core/crt_rand.h"
#include "core/math/ratio.h"
#include "objects/sprites/ds_view_obj_ctrl.h"
#include "player/render/matrix_values.h"

namespace {

// A turn whose rate and starting angle are both `value`.
DS_LeafFallAnim::Turn Turning(float value) {
  return {value, value};
}

}  // namespace

float& SharedDriftClock() {
  static float clock = 0.0f;
  return clock;
}

DS_SreamAnim::DS_SreamAnim(const DriftParams* params) : params_(params) {
  x = crt_rand_unit() * static_cast<float>(SceneWidth());
  y = crt_rand_unit() * static_cast<float>(SceneHeight());
  swayValue = crt_rand_unit() * 2.0f - 1.0f;
  speedFactor = crt_rand_unit() * 0.06f + 0.07f;
}

// With t the drift clock, W x H the scene and r half the size:
// 1. dt = |t - last time|, at most 0.2 s.
// 2. v = (d + sway x 0.02 x w x s) x speed x f x dt x 50 (d, s the drift and sway directions).
// 3. The first rule that applies: moving down and below H + r, the copy re-enters at (random x,
//    -r); moving up and above -r, at (random x, H + r); moving right and beyond W + r, at
//    (-r, random y); moving left and before -r, at (W + r, random y); otherwise it moves by v.
// 4. Once speed x (t - last sway draw) x 0.1 passes 100 / sway frequency (never at frequency
//    0), the draw time is t, and on an odd draw the sway value is drawn anew.
void DS_SreamAnim::Step() {
  const float t = SharedDriftClock();
  timeStep = AbsoluteClockStep(lastTime, t);
  const DriftParams& p = *params_;
  const float w = static_cast<float>(SceneWidth()), h = static_cast<float>(SceneHeight());
  const float r = static_cast<float>(p.size.Value()) * 0.5f;
  const float speed = static_cast<float>(p.speed.Value());

  const float a = static_cast<float>(p.sway.Value()) * 0.02f * swayValue;
  const float m = speed * speedFactor * timeStep * 50.0f;
  const D3DXVECTOR4 &d = p.DriftVector(), &s = p.SwayVector();
  const float vx = (d.x + a * s.x) * m, vy = (d.y + a * s.y) * m;
  if (vy > 0.0f && y > h + r) {
    x = crt_rand_unit() * w;
    y = -r;
  } else if (vy < 0.0f && y < -r) {
    x = crt_rand_unit() * w;
    y = h + r;
  } else if (vx > 0.0f && x > w + r) {
    x = -r;
    y = crt_rand_unit() * h;
  } else if (vx < 0.0f && x < -r) {
    x = w + r;
    y = crt_rand_unit() * h;
  } else {
    x += vx;
    y += vy;
  }

  const unsigned frequency = p.swayFrequency.Value();
  if (frequency != 0 &&
      speed * (t - lastSwayDraw) * 0.1f > 100.0f / static_cast<float>(frequency)) {
    lastSwayDraw = t;
    if (crt_rand() % 2 != 0) swayValue = crt_rand_unit() * 2.0f - 1.0f;
  }
}

DS_LeafFallAnim::DS_LeafFallAnim(const DriftParams* params, float radius)
    : DS_SreamAnim(params), boundingRadius(radius) {
  for (Turn& tumble : tumbles) {
    const float sign = crt_rand() % 2 != 0 ? -1.0f : 1.0f;
    tumble = Turning(sign * (crt_rand_unit() * 3.0f + 7.0f));
  }
  for (Turn& swing : swings) {
    const float k = static_cast<float>(crt_rand() % 2);
    const float sign = crt_rand() % 2 != 0 ? -1.0f : 1.0f;
    swing = Turning(sign * (crt_rand_unit() * 4.0f + 3.0f) * k);
  }
}

void DS_LeafFallAnim::Compute(TransformNode* node) {
  Step();
  const DriftParams& p = *params_;
  const float spin = static_cast<float>(p.spin.Value()) * 0.4f;
  const float sway = static_cast<float>(p.sway.Value()) * 0.4f;
  for (Turn& tumble : tumbles)
    tumble.angle += tumble.rate * timeStep * spin;
  for (Turn& swing : swings)
    swing.angle += swing.rate * timeStep * sway;
  const float scale = RatioOr0(static_cast<float>(p.size.Value()) * 0.5f, boundingRadius);
  node->world = node->local * ScalingMatrix(scale, scale, scale) *
                RotationXDegrees(tumbles[0].angle) * RotationZDegrees(tumbles[2].angle) *
                RotationYDegrees(tumbles[1].angle) * TranslationMatrix(0.0f, 0.0f, 50.0f) *
                RotationYDegrees(swings[0].angle) * RotationXDegrees(swings[1].angle) *
                TranslationMatrix(x, y, 0.0f);
}
