#pragma once

#include <cstdint>
#include <memory>

#include "core/param/scaled_param.h"
#include "particles/classic/appearance/percent_param_quad.h"
#include "particles/classic/lines/line_look.h"
#include "particles/classic/lines/straight_line.h"

// A strip from `start` towards `end` that swings sideways like a plucked string, with one head
// particle at its far end. The strip is N quads of the wave w(r) = A sin(pi r / 2) sin(T) +
// 0.5 (cos pi r - cos 2 pi r) A K cos(1.7 T) across the straight course (r 0 at start, 1 at end,
// T the control clock), cut where its arc length reaches the straight length: a swinging string
// ends short of `end`, and the head rides on the cut.
class ZKW_WavingLine : public DS_StraightLine {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_WavingLine() = default;
  // The copy's surface is a fresh one.
  ZKW_WavingLine(const ZKW_WavingLine& other) = default;

  // "ZKW_WavingLine" version 1: UInt32 width, the width envelope (four UInt32), the line look's
  // block, UInt32 amplitude, UInt32 ripple (percent), Int32 particles on, Float offset across
  // and along, then the "DS_StraightLine" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version; answers the nested control record's answer.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // LineReaders of the two looks.
  int NeedsTarget() const override;
  // The base's attach, two batches (the strip, the head), the line look's textures, effect and
  // surface, the course measured and the head born at `end`, never dying of age.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // The base's restart; a head that it cleared away is born again as at attach.
  void Restart() override;
  // The strip at the clock's time into batch 0 (none for a course of no length: the head then
  // sits at `end`), the head's routines, its turn, spin and offsets, and the head into batch 1.
  void Update(float t) override;
  // The strip of batch 0, then, when the particles are on, the head of batch 1.
  void Render(DS_2D_Light& renderer, int* readerCount) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  RoutineParticleList Emit(float) override { return {}; }

  // The wave's point and unit tangent at index i of 0..N, at the clock's local time.
  D3DXVECTOR3 WavePoint(int i) const;
  D3DXVECTOR3 WaveTangent(int i) const;

  PercentParamQuad widthEnvelope;
  UINTSclaleTo<float> width{0, 1.0f, 0.0f};
  ParticleAppearance lineAppearance;
  LineSurface lineSurface;
  MediaParamT<unsigned> amplitude{0};
  UINTSclaleTo<float> ripple{0, 0.01f, 0.0f};
  MediaParamT<int> particlesOn{0};
  ZKW_MediaFloat offsetAcross{0.0f};
  ZKW_MediaFloat offsetAlong{0.0f};
  int segments = 100;
  float length = 0.0f;
  D3DXVECTOR3 direction{0, 0, 0};
  D3DXVECTOR3 normal{0, 0, 0};

 private:
  // The head: the first particle of the list, null without one.
  RoutineParticle* Head() const;
  // A head at `end` appended to the particles, dressed with a life that never ends.
  void AddHead();
  // The strip into the batch's `quads` quads from `vertices` on; the head on its cut.
  void WriteStrip(DX_V::PCT* vertices, uint32_t quads);
};
