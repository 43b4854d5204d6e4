#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_quad.h"
#include "core/param/media_speed_param.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "player/render/dx_vertex.h"

// One textured quad at four stored corners, drawn through the classic control's run-time object
// (one batch of one quad, no particles). Corner 0 is (-, -), 1 (-, +), 2 (+, -), 3 (+, +), as
// MediaQuad::SetRect orders them. Abstract: the kinds below give it its behaviour.
class ZKW_SingleParticle : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_SingleParticle() = default;
  ZKW_SingleParticle(const ZKW_SingleParticle& other) = default;

  // "ZKW_SingleParticle" version 1: the corners' 12 Float, then the "ZKW_ParticleSystemCtrl"
  // record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The corners straight into their values, then the base's header and body.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's attach, one batch of one quad with its texture coordinates, and the quad written.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // Nothing: the quad is the object.
  RoutineParticleList Emit(float) override { return {}; }

  // Writes the corners into the quad (vertex 0 at corner 1, 1 at 0, 2 at 3, 3 at 2) and its
  // texture coordinates; nothing without a batch. Kinds call it after their corners change.
  virtual void WriteQuad();

  MediaQuad corners;

 protected:
  // The quad's four vertex positions from the corners, in that order.
  void WriteCornerPositions(DX_V::PCT* quad) const;
};

// A single quad that spins steadily about the middle of its corners 0 and 3 and shows at the
// opacity of its timeline's visibility. The static text objects stand on it.
class ZKW_StaticObject : public ZKW_SingleParticle {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_StaticObject();
  ZKW_StaticObject(const ZKW_StaticObject& other) = default;

  // "ZKW_StaticObject" version 1: UInt32 spin speed, Int32 spin direction, then the
  // "ZKW_SingleParticle" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: spin speed, spin direction, then the "ZKW_SingleParticle" header and body.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The appearance's clocks, the quad's colour at the visibility, the spin step, and the spin
  // about the middle as the batch's world matrix (the vertices keep the corners).
  void Update(float t) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;

  // Stored x 0.4 degrees a second, with its own clock.
  MediaSpeedParam spinSpeed;
  MediaParamT<int> spinDirection{0};  // 0: the angle grows; non-zero: it shrinks
  float angle = 0.0f;                 // degrees; not stored
};
