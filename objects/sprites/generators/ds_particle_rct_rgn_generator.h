#pragma once

#include <cstdint>

#include "core/param/media_quad.h"
#include "objects/sprites/generators/ds_tex_particle_generator.h"

// The base of the generators whose particles live inside a rectangle of the scene, the region
// (corner 0 its left-top, corner 3 its right-bottom). An unplaced description (keep-GUID clear)
// takes the whole scene each time a run-time object is made.
//
// Record "DS_ParticleRctRgnGenerator" version 1: the region (twelve Float), then the
// "DS_TexParticleGenerator" record. Kinds may write the region without this header.
class DS_ParticleRctRgnGenerator : public DS_TexParticleGenerator {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_ParticleRctRgnGenerator() = default;
  DS_ParticleRctRgnGenerator(const DS_ParticleRctRgnGenerator& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  // The region, then the textured base's header and record (the part after a kind's fields).
  bool ReadRegionAndBase(DS_IOF_Archive& archive);
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The textured base's attach; an unplaced description's region becomes the whole scene.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  // A random point of the region's box, z 0: y drawn first, then x (r = rand() / 32767).
  D3DXVECTOR3 RandomPoint() const;

  MediaQuad region;
};
