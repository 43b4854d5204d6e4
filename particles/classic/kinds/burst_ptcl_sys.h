#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_shapes.h"

// A burst: each time its object becomes visible it throws `count` particles out of one point
// (spread over the fade-in in proportion to the visibility), in a fan of directions or from
// points scattered around the emitter towards one focus. A particle flies `distance` scene units
// at `startSpeed` and dies.
class ZKW_BurstPtclSys : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 4;

  ZKW_BurstPtclSys() = default;
  ZKW_BurstPtclSys(const ZKW_BurstPtclSys& other) = default;

  // "ZKW_BurstPtclSys" version 4: Float x, y, z of the emitter, UInt32 count, UInt32 start
  // speed, UInt32 distance, Int32 spatial flag, UInt32 direction, UInt32 spread, Int32 focus
  // flag, UInt32 scatter radius, then the "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Versions 1 to 3 store a gravity pair instead of the focus (2 and 3 then add focus and radius)
  // and take later envelope defaults below 3.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Empty, and nothing emitted yet.
  void Restart() override;
  // Offset oscillations on, the base's attach, then one batch.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // count x the visibility, less what this visible phase has emitted; a hidden timeline starts
  // a new phase and emits nothing.
  RoutineParticleList Emit(float step) override;

  // The burst set-up of a new particle: lifetime distance / speed, the appearance's dressing,
  // motion, and its start direction and place.
  virtual void InitParticle(const DS_SafePtr<RoutineParticle>& particle);

  // n new particles at the emitter, dressed and appended to the particles (as many as fit).
  RoutineParticleList EmitAtPoint(int n);
  // The emission direction (cos d, -sin d, 0) of the sector's direction d.
  D3DXVECTOR3 SectorDirection() const;

  ZKW_PointImitter emitter;
  MediaParamT<unsigned> count{0};
  UINTSclaleTo<float> startSpeed{0, 4.0f, 0.0f};  // stored x 4 scene units per second
  MediaParamT<unsigned> distance{0};
  MediaParamT<int> spatial{0};  // directions in space instead of the picture plane
  MediaSector sector;
  MediaParamT<int> focus{0};
  MediaParamT<unsigned> scatterRadius{0};
  int32_t emitted = 0;  // in the current visible phase; not stored

 protected:
  // Emitter, count... spread of the stored body: the shared fields of the burst and the flat
  // fountain layout (`withCount` false: that layout has no count).
  void ReadMotion(DS_IOF_Archive& archive, bool withCount);
  // The legacy gravity pair: UInt32 gravity and an Int32 up flag (gravity up or down), gravity on.
  void ReadLegacyGravity(DS_IOF_Archive& archive);
  // Records before version 3 take the envelope values of the later defaults.
  void ApplyLegacyEnvelopes();
};
