#pragma once

#include <cstdint>

#include "core/param/media_param_t.h"
#include "objects/sprites/generators/ds_tex_particle_generator.h"
#include "platform/math/d3dx_types.h"

// The base of generators drawn between two points of the scene (lightning).
//
// Record "DS_StringGenerator" version 1: start x, y, z and end x, y, z (Float), then the
// "DS_TexParticleGenerator" record.
class DS_StringGenerator : public DS_TexParticleGenerator {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_StringGenerator() = default;
  DS_StringGenerator(const DS_StringGenerator& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  MediaParamT<D3DXVECTOR3> start{D3DXVECTOR3(0, 0, 0)};
  MediaParamT<D3DXVECTOR3> end{D3DXVECTOR3(0, 0, 0)};
};
