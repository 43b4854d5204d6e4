#pragma once

#include <cstdint>
#include <optional>

#include "core/object/ds_iof_item.h"
#include "core/param/media_param_t.h"
#include "objects/sprites/sprite_record.h"
#include "player/render/scene_mapping.h"

class DS_BaseSpriteProp;
class DS_ViewObjCtrl;

// One scene-bound test of a sprite against its preset's view rectangle: the test and the preset
// whose fractions give the limits. The sprite's centre and half sizes are the item.
struct ScenePredicate {
  SceneBoundTest test = nullptr;
  const DS_ViewObjCtrl* owner = nullptr;

  bool operator()(const SpriteRecord& sprite) const;
};

// What a moving sprite does at one side of its preset's view rectangle: wraps to the opposite
// side with a fade (mode 0), bounces back (mode 1), or waits at the edge for a while and turns
// back (mode 2); any other mode does nothing. A preset owns one per side and asks each for every
// sprite; the control changes only the sprite (its signs, place, alpha factor and bound fields).
//
// Record "DS_BoundControl" version 1: mode (Int32), fade-out, fade-in, shortest wait, longest
// wait (UInt32 each, milliseconds). Owners write it inside their own record.
class DS_BoundControl : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 1;
  enum Side : int32_t { kTop = 0, kBottom = 1, kLeft = 2, kRight = 3 };

  DS_BoundControl() = default;
  // Side, mode and the four times; the owner installs the tests of the copy.
  DS_BoundControl(const DS_BoundControl& other);
  DS_BoundControl& operator=(const DS_BoundControl&) = delete;

  bool Save(DS_IOF_Archive& archive) const override;
  // The record's header (neither consulted) and the five values straight into the parameters.
  void Read(DS_IOF_Archive& archive);

  // Takes `side` and the outside and crossing tests of that side against `owner`'s rectangle.
  void Install(int32_t side, const DS_ViewObjCtrl& owner);

  // The frame's decision for one sprite: true when this control acted on it or handles it.
  bool Test(SpriteRecord& sprite, DS_BaseSpriteProp& preset);

  // 0 top, 1 bottom, 2 left, 3 right; -1 until installed.
  int32_t side = -1;
  // True when the sprite lies wholly beyond this side; true when its edge has crossed it.
  std::optional<ScenePredicate> outside;
  std::optional<ScenePredicate> crossing;
  MediaParamT<int> mode{0};
  MediaParamT<unsigned> fadeOut{0};
  MediaParamT<unsigned> fadeIn{0};
  MediaParamT<unsigned> shortestWait{0};
  MediaParamT<unsigned> longestWait{0};

 private:
  bool IsOutside(const SpriteRecord& sprite) const { return outside && (*outside)(sprite); }
  bool IsCrossing(const SpriteRecord& sprite) const { return crossing && (*crossing)(sprite); }
  // Whether this side lies across x (left, right) rather than y (top, bottom).
  bool Horizontal() const { return side == kLeft || side == kRight; }
  // A motion time from now within the wait range.
  float WaitEnd(const DS_BaseSpriteProp& preset) const;
  void FlipSign(SpriteRecord& sprite) const;
  // Just beyond the opposite side, at a random place along it.
  void MoveToOppositeSide(SpriteRecord& sprite, const DS_BaseSpriteProp& preset) const;
  bool Handle(SpriteRecord& sprite, DS_BaseSpriteProp& preset);
};
