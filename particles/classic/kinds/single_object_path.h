#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/smart_points.h"
#include "geometry/path/smart_path.h"
#include "particles/classic/control/particle_system_ctrl.h"

// A classic control that follows a path of control points. Abstract: the kind below moves along
// it.
class ZKW_ParticlePathCtrl : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_ParticlePathCtrl() = default;
  ZKW_ParticlePathCtrl(const ZKW_ParticlePathCtrl& other) = default;

  // "ZKW_ParticlePathCtrl" version 1: Dword count and x, y, z Float per control point, then the
  // "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's attach; the path's points rebuilt from its control points; the cursor rewound.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // The cursor back at the first point, moving forwards.
  void RewindCursor();

  SmartPath<DX_SmartPnt> path;
};

// One quad the size of its picture (times the size percent) that moves along the path by a
// fixed distance every frame, back and forth between the path's ends; its axes follow the motion
// by the orientation mode. A path without points shows nothing.
class ZKW_SigleObjectPath : public ZKW_ParticlePathCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_SigleObjectPath();
  ZKW_SigleObjectPath(const ZKW_SigleObjectPath& other) = default;

  // "ZKW_SigleObjectPath" version 1: UInt32 speed, Int32 orientation mode, then the
  // "ZKW_ParticlePathCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Starts again at the first point of the path.
  void Restart() override;
  // The path base's attach, then one batch of one quad.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // The clocks, then one step along the path and the quad written there.
  void Update(float t) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  RoutineParticleList Emit(float) override { return {}; }

  // Stored x 0.1 units a frame (not scaled by the frame's time).
  MediaSpeedParam pathSpeed;
  // 0 upright; 1 the width along the motion; 2 mirrored while moving left; 3 flipped while
  // moving down the picture; other values upright.
  MediaParamT<int> orientation{0};
};
