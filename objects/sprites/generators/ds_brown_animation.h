#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_particle_rct_rgn_generator.h"
#include "objects/sprites/generators/particle_processes.h"

// Copies of the picture wandering at random inside the region, each a source driven by a
// PBrownian process that reads the region, motion scale, mean wait and impulse time through the
// generator's owner block. The picture's frames play on a clock of their own.
//
// Record "DS_BrownAnimation" version 2: wanderer count, picture scale, motion scale, mean wait,
// impulse time, frame speed (UInt32, stored), then the "DS_ParticleRctRgnGenerator" record.
// Version 1 holds no frame speed (stored 100 is taken).
class DS_BrownAnimation : public DS_ParticleRctRgnGenerator {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_BrownAnimation();
  // Every parameter and the frame clock; the owner block points at the copy's own members, and
  // the copy starts without wanderers (those of `other` follow `other`'s block).
  DS_BrownAnimation(const DS_BrownAnimation& other);

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The single-layer draw: layer 0 with the current frame of picture 0.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The frame clock and frames, the base clock and processes, then AdjustWandererCount and
  // FillQuads.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The region's attach, no wanderers, one layer.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;

  // Adds wanderers at random points of the region, or drops the last ones, until there are as
  // many as the count (at most kMaxParticlesPerList).
  void AdjustWandererCount();
  // One upright quad of the picture's size x picture scale per wanderer, in colour 1. Without a
  // picture the layer holds no quad.
  void FillQuads(DS_ParticlesObj& obj);

  MediaParamT<unsigned> wandererCount{0};
  UINTSclaleTo<float> pictureScale{0, 0.01f, 0.0f};
  UINTSclaleTo<float> motionScale{0, 0.04f, 0.0f};
  MediaSpeedParam frameSpeed;                        // x 0.01
  UINTSclaleTo<float> meanWait{0, 0.08f, 0.25f};     // seconds
  UINTSclaleTo<float> impulseTime{0, 0.02f, 0.02f};  // seconds
  BrownianOwner owner{&region, &motionScale, &meanWait, &impulseTime};
};
