#pragma once

#include <cstdint>

#include "core/param/scaled_param.h"
#include "particles/classic/appearance/percent_param_quad.h"
#include "particles/classic/lines/line_ctrl.h"

class CurveCursor;

// A line whose strip shows an arc-length window of the path, with a width W, envelopes of width
// and opacity along the strip, and one head particle at the window's leading end. Its kinds
// choose the window each frame (growing, sliding) and answer the strip's width and opacity at a
// distance behind the leading end. Never read or created by itself.
class ZKW_StaticLineCtrl : public ZKW_LineCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_StaticLineCtrl() = default;
  // Shares the head particle.
  ZKW_StaticLineCtrl(const ZKW_StaticLineCtrl& other) = default;

  // "ZKW_StaticLineCtrl" version 1: UInt32 width, the width envelope and the opacity envelope
  // (four UInt32 each), then the "ZKW_LineCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The line look's pictures stretched to their textures, the base's attach, the samples, the
  // line look's textures, effect and surface, two batches (the strip, the head) and one head
  // particle, not yet dressed.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // The control clock and the control look's clocks; the kinds go on from here.
  void Update(float t) override;
  // The heads are no particles of the list: nothing is emitted.
  RoutineParticleList Emit(float) override { return {}; }

  // The strip's width and opacity (0 to 255) at distance d behind its leading end.
  virtual float WidthAt(float d) const;
  virtual float OpacityAt(float d) const;

  // The strip of the arc-length window [from, to] into batch 0, one quad per path segment the
  // window touches (v 0 at the leading end, growing backwards); then the head steps, rides the
  // leading end and fills batch 1. A window of no length or a path of fewer than two samples
  // draws nothing and leaves the head alone.
  void FillStrip(float from, float to);
  // The head's routines replaced by the control look's dressing with an IPR_HeadAge of `limit`;
  // its age back to 0.
  void RedressHead(float limit);

  PercentParamQuad widthEnvelope;
  UINTSclaleTo<float> width{0, 1.0f, 0.0f};
  PercentParamQuad opacityEnvelope;
  RoutineParticleList heads;

 private:
  // The segments the window of `length` from the cursor touches, both ends counted, at most
  // the list limit; 0 below two samples or for a window of no length.
  uint32_t StripSegments(const CurveCursor& cursor, float length) const;
};
