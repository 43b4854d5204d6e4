#pragma once

#include <cstdint>

#include "core/param/media_param_t.h"
#include "particles/classic/control/particle_system_ctrl.h"

// A control with a straight course from `start` to `end`; the base of the waving line, never
// read or created by itself.
class DS_StraightLine : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_StraightLine() = default;
  DS_StraightLine(const DS_StraightLine& other) = default;

  // "DS_StraightLine" version 1: Float x, y, z of start and of end, then the
  // "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version; answers the nested record's answer.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  MediaParamT<D3DXVECTOR3> start{D3DXVECTOR3(0, 0, 0)};
  MediaParamT<D3DXVECTOR3> end{D3DXVECTOR3(0, 0, 0)};
};
