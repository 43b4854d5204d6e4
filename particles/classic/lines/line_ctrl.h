#pragma once

#include <cstdint>
#include <vector>

#include "core/param/media_param_t.h"
#include "geometry/curve/curve_sample.h"
#include "geometry/path/spline_path.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/lines/line_look.h"

// A line along a B-spline path: a textured strip drawn with its own look (the line look), and a
// head particle at the strip's leading end drawn with the control's look. The base of the growing
// and the sliding line; never read or created by itself.
class ZKW_LineCtrl : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr int kSamplesPerSegment = 100;

  ZKW_LineCtrl() = default;
  // Shares the path's points; the copy's surface is a fresh one.
  ZKW_LineCtrl(const ZKW_LineCtrl& other) = default;

  // "ZKW_LineCtrl" version 2: Dword point count and the B-spline points, Int32 particles on, the
  // line look's block, Float offset across, Float offset along, then the
  // "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has one more Int32 after the offsets (dropped) and keeps the line's look in the
  // control record and the heads' look in the line record: the two looks are exchanged after
  // reading. Answers true whatever the nested record answered.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  int GetObjectKind() const override { return kLineKind; }
  // LineReaders of the two looks.
  int NeedsTarget() const override;
  // The base's attach, then the samples.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // The strip of batch 0, then the head of batch 1 when the particles are on.
  void Render(DS_2D_Light& renderer, int* readerCount) override;

  // The path sampled into `samples`, 100 samples a Bezier segment, from the last control point
  // to the first when reversed; the path's total length follows.
  void SamplePath();
  float PathLength() const { return path.totalLength; }

  SplinePath path;
  MediaParamT<int> particlesOn{0};
  ParticleAppearance lineAppearance;
  LineSurface lineSurface;
  // The head's place relative to the strip's leading end: across (along (-t.y, t.x)) and along
  // the strip's direction t.
  ZKW_MediaFloat offsetAcross{0.0f};
  ZKW_MediaFloat offsetAlong{0.0f};
  uint8_t reversed = 0;
  std::vector<CurveSample> samples;
};
