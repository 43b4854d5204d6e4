#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_direction.h"
#include "core/param/scaled_param.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_shapes.h"

// A field of particles on fixed places: each stored position holds at most one particle, a
// share of the places (the fill) stays occupied, and a particle that dies frees its place for a
// newcomer at a random free place. Particles drift off their place in a direction of the sector
// at the start speed. A continuous object starts with the field filled by particles of random
// ages.
class ZKW_FieldPtclSys : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_FieldPtclSys() = default;
  ZKW_FieldPtclSys(const ZKW_FieldPtclSys& other) = default;
  // The particles go first: their death routines give their places back to `slots`.
  ~ZKW_FieldPtclSys() override;

  // "ZKW_FieldPtclSys" version 1: UInt32 lifetime, UInt32 fill, Dword n, n x (Float x, y, z),
  // UInt32 direction, UInt32 spread, UInt32 start speed, then the "ZKW_ParticleSystemCtrl"
  // record.
  bool Save(DS_IOF_Archive& archive) const override;
  // A place count that the remaining bytes cannot hold fails the stream and keeps no places.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Empty; a continuous object then fills its places at once with particles of random ages
  // (no pre-warm steps).
  void Restart() override;
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // As many newcomers as the fill lacks, at random free places.
  RoutineParticleList Emit(float step) override;

  // trunc(places x fill) - live particles, as many as the list has room for (0 when none).
  int TargetCount() const;
  // Newcomers at free places, each dressed with the age `startAge` answers, appended.
  template <class StartAge>
  RoutineParticleList Populate(int n, StartAge startAge);
  // The dressing of a newcomer of age `startAge`: life, look, age, motion and start velocity.
  void Dress(const DS_SafePtr<RoutineParticle>& particle, float startAge);

  TimeParam lifetime;                        // hundredths of a second
  UINTSclaleTo<float> fill{0, 0.01f, 0.0f};  // share of the places kept occupied
  ZKW_PosArrImitter slots;
  MediaSector direction;
  UINTSclaleTo<float> startSpeed{0, 1.0f, 0.0f};  // units a second
};
