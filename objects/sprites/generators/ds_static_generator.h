#pragma once

#include <cstdint>

#include "core/param/media_param_t.h"
#include "objects/sprites/generators/ds_tex_particle_generator.h"
#include "platform/math/d3dx_types.h"

// The base of the generators that stand at one point of the scene (fireworks, smoke, radial
// rays, the animated font). An unplaced description (keep-GUID clear) is moved to the centre of
// the scene picture the first time its run-time object is made.
//
// Record "DS_StaticGenerator" version 1: x, y, z of the position (Float), then the
// "DS_TexParticleGenerator" record.
class DS_StaticGenerator : public DS_TexParticleGenerator {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_StaticGenerator() = default;
  DS_StaticGenerator(const DS_StaticGenerator& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The textured base's attach; then an unplaced description takes the centre of the scene
  // picture of the current render context and becomes placed.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;

  MediaParamT<D3DXVECTOR3> position{D3DXVECTOR3(0, 0, 0)};
};
