#pragma once

#include <cstdint>
#include <memory>

#include "core/param/jitter_param.h"
#include "core/param/media_param_t.h"
#include "core/param/media_quad.h"
#include "core/param/scaled_param.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_counters.h"

// A stream across a quadrilateral: particles start on the edge from corner 2 to corner 0 and
// fly towards the matching point of the edge from corner 3 to corner 1, give or take a scatter,
// at a jittered speed.
class DS_StreamPtclSys : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_StreamPtclSys();
  DS_StreamPtclSys(const DS_StreamPtclSys& other) = default;

  // "DS_StreamPtclSys" version 1: UInt32 rate, the area's 12 Float, UInt32 lifetime, the speed
  // pair (UInt32 speed, UInt32 jitter percent) twice, UInt32 scatter, then the
  // "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version, the same layout; the second speed pair is the one that holds.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // The even counter over the visible time of the step; each newcomer is appended and runs its
  // share of the step at once (i x step / n), so nothing is returned for the base to pre-advance.
  RoutineParticleList Emit(float step) override;

  ZKW_EvenImitter counter;
  MediaQuad area;
  TimeParam lifetime;
  // Stored x 2 units a second, less a random share of up to the jitter percent.
  ZKW_JitterParam speed;
  UINTSclaleTo<float> scatter{0, 0.002f, 0.0f};  // of the far edge
};

// Smoke as a stream; its own stored values are kept, copied and written only.
class DS_PtclSmoke2 : public DS_StreamPtclSys {
 public:
  DS_PtclSmoke2() = default;
  DS_PtclSmoke2(const DS_PtclSmoke2& other) = default;

  // "DS_PtclSmoke2" version 1: UInt32, UInt32, Int32, then the "DS_StreamPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;

  MediaParamT<unsigned> kept1{0}, kept2{0};
  MediaParamT<int> kept3{0};
};
