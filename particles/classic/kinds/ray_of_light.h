#pragma once

#include <cstdint>
#include <memory>

#include "core/param/jitter_param.h"
#include "core/param/media_param_t.h"
#include "core/param/media_quad.h"
#include "core/param/scaled_param.h"
#include "particles/classic/control/particle_system_ctrl.h"

// Soft rays of light across a quadrilateral: each ray runs from the edge corner 2 - corner 0 to
// the facing edge corner 3 - corner 1, widens towards the far edge, fades in and out over its
// random lifetime and drifts slowly sideways. A ray is a particle used as a record: position x
// its place along the edges (0 to 1), velocity x its drift, own size its width, own opacity its
// fade. Each ray is three quads (middle, head fading in from the start edge, tail fading out
// towards the far edge).
class DS_RayOfLight : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;
  // The rays kept alive at most: their three quads each stay within one batch.
  static constexpr uint32_t kMaxRays = kMaxParticlesPerList / 3;

  DS_RayOfLight();
  DS_RayOfLight(const DS_RayOfLight& other) = default;

  // "DS_RayOfLight" version 1: the area's 12 Float, UInt32 count, lifetime, its jitter, width,
  // its jitter, drift, its jitter, far width, head, tail, edge fade, Int32 kept value, then the
  // "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version, the same layout.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // The clock, the rays stepped twice (the second time with the base's advance, which keeps the
  // count), and three quads per ray. The appearance's clocks are not ticked.
  void Update(float t) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // New rays until the count lives (at most kMaxRays); nothing to pre-advance.
  RoutineParticleList Emit(float step) override;

  // The rays that are kept alive.
  uint32_t RayCount() const;
  // Writes the three quads of every ray into batch 0.
  void FillQuads();
  // The dimming near the ends of the edges of a ray at place a: a / e below e, (1 - a) / e above
  // 1 - e, else 1 (e the edge fade); without an edge fade only rays past the ends are dark.
  float EdgeDimming(float a) const;

  MediaQuad area;
  MediaParamT<unsigned> count{0};
  ZKW_JitterParam lifetime;                      // stored x 0.1 seconds
  ZKW_JitterParam width;                         // units at the start edge
  ZKW_JitterParam drift;                         // stored x 0.0002 of the edge a second
  UINTSclaleTo<float> farWidth{0, 0.05f, 1.0f};  // the far edge's width factor
  UINTSclaleTo<float> head{0, 0.01f, 0.0f};      // share of the length fading in
  UINTSclaleTo<float> tail{0, 0.01f, 0.0f};      // share of the length fading out
  UINTSclaleTo<float> edgeFade{0, 0.005f, 0.0f};
  MediaParamT<int> kept{0};
};
