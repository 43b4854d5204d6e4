#include "objects/sprites/ds_bound_control.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "objects/sprites/ds_base_sprite_prop.h"

bool ScenePredicate::operator()(const SpriteRecord& sprite) const {
  if (test == nullptr || owner == nullptr) return false;
  const BoundItem item{sprite.centre.x, sprite.centre.y, sprite.halfWidth, sprite.halfHeight};
  const BoundLimits limits{owner->left, owner->right, owner->top, owner->bottom};
  return test(item, limits);
}

DS_BoundControl::DS_BoundControl(const DS_BoundControl& other)
    : DS_IOF_Item(),
      side(other.side),
      mode(other.mode),
      fadeOut(other.fadeOut),
      fadeIn(other.fadeIn),
      shortestWait(other.shortestWait),
      longestWait(other.longestWait) {}

bool DS_BoundControl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BoundControl", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(mode.Value());
  for (const MediaParamT<unsigned>* time : {&fadeOut, &fadeIn, &shortestWait, &longestWait})
    io.WriteUInt32(time->Value());
  return true;
}

void DS_BoundControl::Read(DS_IOF_Archive& archive) {
  ReadBaseHeader(archive);
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(mode.RawValue());
  for (MediaParamT<unsigned>* time : {&fadeOut, &fadeIn, &shortestWait, &longestWait})
    io.ReadUInt32(time->RawValue());
}

void DS_BoundControl::Install(int32_t newSide, const DS_ViewObjCtrl& owner) {
  struct Tests {
    SceneBoundTest outside, crossing;
  };
  static constexpr Tests kBySide[] = {{OutsideTop, CrossingTop},
                                      {OutsideBottom, CrossingBottom},
                                      {OutsideLeft, CrossingLeft},
                                      {OutsideRight, CrossingRight}};
  side = newSide;
  outside.reset();
  crossing.reset();
  if (side < kTop || side > kRight) return;
  outside = ScenePredicate{kBySide[side].outside, &owner};
  crossing = ScenePredicate{kBySide[side].crossing, &owner};
}

float DS_BoundControl::WaitEnd(const DS_BaseSpriteProp& preset) const {
  const float shortest = static_cast<float>(shortestWait.Value()) * 0.001f;
  const float longest = static_cast<float>(longestWait.Value()) * 0.001f;
  return preset.motionElapsed + shortest + crt_rand_unit() * (longest - shortest);
}

void DS_BoundControl::FlipSign(SpriteRecord& sprite) const {
  float& sign = Horizontal() ? sprite.directionSigns.x : sprite.directionSigns.y;
  sign = -sign;
}

void DS_BoundControl::MoveToOppositeSide(SpriteRecord& sprite,
                                         const DS_BaseSpriteProp& preset) const {
  const float w = sprite.halfWidth, h = sprite.halfHeight;
  const float along = crt_rand_unit();
  if (Horizontal()) {
    sprite.centre.x =
        side == kLeft ? preset.RightPixels() + w - 1.0f : preset.LeftPixels() - w + 1.0f;
    const float t = preset.TopPixels();
    sprite.centre.y = t + along * (preset.BottomPixels() - t);
  } else {
    sprite.centre.y =
        side == kTop ? preset.BottomPixels() + h - 1.0f : preset.TopPixels() - h + 1.0f;
    const float l = preset.LeftPixels();
    sprite.centre.x = l + along * (preset.RightPixels() - l);
  }
}

bool DS_BoundControl::Test(SpriteRecord& sprite, DS_BaseSpriteProp& preset) {
  if (sprite.boundSide == side) return Handle(sprite, preset);
  if (sprite.boundSide != -1) return false;
  switch (mode.Value()) {
    case 0:
      if (!IsOutside(sprite)) return false;
      if (!(sprite.alphaFactor > 0.0f)) {
        // Already invisible: over to the other side at once.
        MoveToOppositeSide(sprite, preset);
        sprite.reentered = 1;
      }
      sprite.boundSide = side;
      return true;
    case 1:
      if (!IsCrossing(sprite)) return false;
      FlipSign(sprite);
      sprite.boundSide = side;
      return true;
    case 2:
      if (!IsOutside(sprite)) return false;
      FlipSign(sprite);
      sprite.waitUntil = WaitEnd(preset);
      sprite.waitClock = preset.motionElapsed;
      sprite.waiting = 1;
      sprite.boundSide = side;
      return true;
    default:
      return false;
  }
}

namespace {

// An alpha factor one motion step further along a fade of `milliseconds` over the whole range
// towards `target` (0 or 1), held at the target; a fade of no length reaches it at once.
float FadeTowards(float alpha, float target, unsigned milliseconds, float step) {
  if (milliseconds == 0) return target;
  const float change = 1000.0f / static_cast<float>(milliseconds) * step;
  return target > alpha ? std::min(target, alpha + change) : std::max(target, alpha - change);
}

}  // namespace

bool DS_BoundControl::Handle(SpriteRecord& sprite, DS_BaseSpriteProp& preset) {
  const bool horizontal = Horizontal();
  float& at = horizontal ? sprite.centre.x : sprite.centre.y;
  const float half = horizontal ? sprite.halfWidth : sprite.halfHeight;
  const float low = horizontal ? preset.LeftPixels() : preset.TopPixels();
  const float high = horizontal ? preset.RightPixels() : preset.BottomPixels();
  switch (mode.Value()) {
    case 0:
      if (sprite.reentered != 0) {
        // Coming back in: the wait, then the fade-in, then free again.
        sprite.waitClock += preset.motionStep;
        if (sprite.waitUntil < sprite.waitClock) {
          sprite.waiting = 0;
          if (sprite.alphaFactor < 1.0f) {
            sprite.alphaFactor =
                FadeTowards(sprite.alphaFactor, 1.0f, fadeIn.Value(), preset.motionStep);
          } else {
            sprite.reentered = 0;
            sprite.boundSide = -1;
          }
        }
      } else if (sprite.alphaFactor > 0.0f) {
        // Going out: fading while it moves on.
        sprite.alphaFactor =
            FadeTowards(sprite.alphaFactor, 0.0f, fadeOut.Value(), preset.motionStep);
      } else {
        // Gone: a wait starts, after which the next test moves it to the other side.
        sprite.boundSide = -1;
        sprite.waitUntil = WaitEnd(preset);
        sprite.waitClock = preset.motionElapsed;
        sprite.waiting = 1;
      }
      return true;
    case 1:
      // Held inside across this side until its edge no longer crosses.
      if (at > high - half) at = high - half - 1.0f;
      if (at < low + half) at = low + half + 1.0f;
      if (!IsCrossing(sprite)) sprite.boundSide = -1;
      return true;
    case 2:
      // Held at most just beyond the edge until the wait is over.
      if (at > high + half) at = high + half - 1.0f;
      if (at < low - half) at = low - half + 1.0f;
      sprite.waitClock += preset.motionStep;
      if (!(sprite.waitUntil < sprite.waitClock)) return true;
      sprite.waiting = 0;
      if (!IsOutside(sprite)) sprite.boundSide = -1;
      return true;
    default:
      return true;
  }
}
