#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "geometry/curve/curve_cursor.h"
#include "geometry/curve/curve_sample.h"
#include "geometry/path/spline_path.h"
#include "particles/classic/appearance/percent_param_quad.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_counters.h"
#include "particles/classic/lines/line_look.h"

// A running shot of a shooting line: the head and the tail of its trail (the leading particle
// lives in the control's particle list) and the phase of its wave.
struct ShotRecord {
  DS_SafePtr<RoutineParticle> head;
  DS_SafePtr<RoutineParticle> tail;
  float phase = 0.0f;
};

// Shots fired at random intervals along a B-spline path: each is a leading particle drawn with
// the control's look and a trail of fixed length behind it, drawn as a strip with the line look.
// Every particle of a shot lies on the path moved sideways by lateral offset x a x cos(s x f +
// phase) at arc length s, with a side factor a in [-1, 1] and a phase drawn per shot. The
// particles' ages are arc lengths, advancing by the shot speed.
class ZKW_ShootingLine : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr int kSamplesPerSegment = 100;

  // Intervals between shots of 0.5 to 1.5 s.
  ZKW_ShootingLine();
  // Shares the cursor and the shots' particles; the copy's surface is a fresh one.
  ZKW_ShootingLine(const ZKW_ShootingLine& other) = default;

  // "ZKW_ShootingLine" version 2: Dword point count and the B-spline points, the line look's
  // block, Float shortest and longest interval, UInt32 shot speed, lateral offset, trail length
  // and width, the width envelope (four UInt32), UInt32 wobble frequency, Int32 particles on,
  // Float offset across and along, then the "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 keeps the two looks exchanged (see ZKW_LineCtrl). Answers true.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // LineReaders of the two looks.
  int NeedsTarget() const override;
  // The base's attach, two batches (the leading particles, the trails), the line look's
  // textures, effect and surface, the samples and a cursor over them.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // Clock, Advance (shots start and leading particles move), the leading particles into batch
  // 0; every shot's head moves on and its tail follows a trail length behind (the shot ends once
  // the tail has passed the path's end); the trails into batch 1.
  void Update(float t) override;
  // The trails of batch 1, then, when the particles are on, the leading particles of batch 0.
  void Render(DS_2D_Light& renderer, int* readerCount) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // The shots due in the step (the counter's time runs with the visibility); none on a path of
  // fewer than two points. Answers an empty list: the leading particles are advanced here.
  RoutineParticleList Emit(float step) override;
  // The time a shot takes to cross the path: L / the shot speed.
  float PrewarmTime() const override;
  // Advance, then every shot's head by the step.
  uint64_t WarmStep(float step) override;

  // A new cursor over the samples, and the path sampled forward.
  void SetupSampling();
  // Dresses the leading particle (side factor, the control look with a path life, the wave and
  // the path point) and appends the shot it leads.
  void StartShot(float phase, const DS_SafePtr<RoutineParticle>& leader);
  ShotRecord MakeShot(float phase, const RoutineParticle& leader) const;
  // A trail point at p: its place, direction, colour and opacity by its distance behind the
  // head, v fixed to the path (its arc length / repeat). Its edges are not set.
  void MakeTrailPoint(const RoutineParticle& p, const RoutineParticle& head, LinePoint& out) const;
  // Where p lies along the trail: 1 at the head, 0 a trail length behind it (1 for a trail of
  // no length).
  float TrailPosition(const RoutineParticle& p, const RoutineParticle& head) const;
  // The trail's width at p: W x E(width envelope, TrailPosition).
  float TrailWidth(const RoutineParticle& p, const RoutineParticle& head) const;
  float PathLength() const { return path.totalLength; }

  SplinePath path;
  ParticleAppearance lineAppearance;
  LineSurface lineSurface;
  ZKW_RndImitter shotCounter;
  UINTSclaleTo<float> shotSpeed{0, 1.0f, 0.0f};
  MediaParamT<unsigned> lateralOffset{0};
  MediaParamT<unsigned> trailLength{0};
  PercentParamQuad widthEnvelope;
  UINTSclaleTo<float> width{0, 1.0f, 0.0f};
  UINTSclaleTo<float> wobbleFrequency{0, 0.0002f, 0.0f};
  MediaParamT<int> particlesOn{0};
  // Stored and copied; the shooting line does not use them.
  ZKW_MediaFloat offsetAcross{0.0f};
  ZKW_MediaFloat offsetAlong{0.0f};
  std::vector<CurveSample> samples;
  DS_SafePtr<CurveCursor> cursor;
  std::list<ShotRecord> shots;

 private:
  // The wave of a shot's particle: multiplier 6 x= cos(age x f + phase), applied once at once.
  void AddWave(RoutineParticle& particle, float phase) const;
  // One shot's trail into the quads from `next` on, at most `end`; answers the quad after it.
  DX_V::PCT* WriteTrail(const ShotRecord& shot, DX_V::PCT* next, DX_V::PCT* end) const;
};

// A shooting line under its own name; it plays exactly as the shooting line it holds.
class ZKW_Tears : public ZKW_ShootingLine {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_Tears() = default;
  ZKW_Tears(const ZKW_Tears& other) = default;

  // "ZKW_Tears" version 1, then the whole "ZKW_ShootingLine" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The nested shooting line's header and body (its version counts, not this one).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
};
