#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_counters.h"
#include "particles/classic/emission/emission_shapes.h"

// A flight through a field of particles: particles are born at random points of the area at a
// depth of 1 (or 0 when they move away), travel in depth at 0.2 units a second for five
// seconds, and every quad is scaled by 1 / depth about the centre, so that they seem to rush
// towards the viewer (or come from far away). The whole field turns slowly about the centre.
class ZKW_ThroughSpaceCtrl : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 3;
  static constexpr float kLifetime = 5.0f;
  static constexpr float kDepthSpeed = 0.2f;

  ZKW_ThroughSpaceCtrl();
  ZKW_ThroughSpaceCtrl(const ZKW_ThroughSpaceCtrl& other) = default;

  // "ZKW_ThroughSpaceCtrl" version 3: UInt32 rate, the area's 12 Float, UInt32 rotation speed,
  // Int32 rotation direction, Float x 3 centre, Byte away, UInt32 speed, then the
  // "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has no speed of its own (the appearance's frame speed was the system speed);
  // versions below 3 take the envelopes that suit the direction of flight.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's attach, one batch, and (keep-GUID clear) the area fitted to the render target
  // with the centre in its middle.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // Its own clocks, the particles stepped twice (newcomers once), the turn of the field and one
  // quad per particle scaled by 1 / depth about the centre.
  void Update(float t) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // The even counter over the visible time of the step: newcomers at depth 1 moving nearer
  // (in front of the list, drawn first) or at depth 0 moving away (after it).
  RoutineParticleList Emit(float step) override;

  // Writes the particles' quads into batch 0 (the vertex work of Update).
  void FillQuads();

  ZKW_RectImitter area;
  ZKW_EvenImitter counter;
  // Stored x 0.4 degrees a second; its clock gives the turn of each frame.
  MediaSpeedParam rotationSpeed;
  MediaParamT<int> rotationDirection{0};  // 0: the angle grows; other values: it shrinks
  MediaParamT<D3DXVECTOR3> centre{D3DXVECTOR3(0, 0, 0)};
  uint8_t away = 0;  // 1: particles move away from the viewer
  // Stored x 0.01; its clock is this kind's simulation clock.
  MediaSpeedParam flightSpeed;
  float angle = 0.0f;  // degrees; never wrapped
};
