#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_counters.h"
#include "particles/classic/emission/emission_shapes.h"

// A splash: each visible phase throws `count` particles (spread over the fade-in as a burst
// does), born anywhere in a rectangle or within a sector around a point, each flying off in a
// random direction of the flight sector at a fixed speed for a fixed lifetime.
class ZKW_SplashPtclSys : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 2;

  ZKW_SplashPtclSys() = default;
  ZKW_SplashPtclSys(const ZKW_SplashPtclSys& other) = default;

  // "ZKW_SplashPtclSys" version 2: the rectangle's 12 Float, Float x, y, z of the sector
  // centre, UInt32 radius, direction and spread of the sector, Int32 source flag, UInt32 count,
  // UInt32 lifetime, UInt32 flight direction and spread, UInt32 speed, then the
  // "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores three phases (rise, hold, fall) instead of the flight (ReadSplashPhases).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Empty, and nothing emitted yet.
  void Restart() override;
  // Offset oscillations on, the base's attach, then one batch.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // The burst rule: count x the visibility, less what this visible phase has emitted.
  RoutineParticleList Emit(float step) override;

  // n newcomers from the sector (source flag set) or the rectangle, dressed and appended (as
  // many as fit).
  RoutineParticleList EmitFromSource(int n);
  // Lifetime, the look's dressing, motion, and a velocity in the flight sector.
  void InitParticle(const DS_SafePtr<RoutineParticle>& particle);

  ZKW_RectImitter rectEmitter;
  ZKW_SectorImitter sectorEmitter;  // centre, direction, opening (the spread) and radius
  MediaParamT<int> source{0};       // 0: the rectangle; otherwise the sector
  MediaParamT<unsigned> count{0};
  TimeParam lifetime;
  MediaSector flight;
  UINTSclaleTo<float> flightSpeed{0, 1.0f, 0.0f};  // units a second
  int32_t emitted = 0;                             // in the current visible phase; not stored

 protected:
  // The older layout's three phases: UInt32 size spread, an Int32 that is dropped, UInt32 rise,
  // hold and fall (hundredths of a second), Int32 envelope flag. The lifetime is their sum; the
  // rise and the end of the hold, as percentages of it, shape the size envelope (flag set) or the
  // opacity envelope; the flight spreads all round at no speed.
  void ReadSplashPhases(DS_IOF_Archive& archive);
};

// A spray: the splash's particles thrown out continuously at an even rate (stored x 0.2 a
// second) that follows the visibility. It restarts like the base control (pre-warmed under a
// continuous timeline).
class ZKW_SprayPtclSys : public ZKW_SplashPtclSys {
 public:
  static constexpr uint32_t kVersion = 2;

  ZKW_SprayPtclSys() = default;
  ZKW_SprayPtclSys(const ZKW_SprayPtclSys& other) = default;

  // "ZKW_SprayPtclSys" version 2: UInt32 rate, then the "ZKW_SplashPtclSys" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 is a flat layout: rate, the rectangle, the three phases, then the
  // "ZKW_ParticleSystemCtrl" record.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void Restart() override { ZKW_ParticleSystemCtrl::Restart(); }
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  RoutineParticleList Emit(float step) override;

  ZKW_EvenImitter counter;
};
