#pragma once

#include <cstdint>

#include "core/graph/graph_spread_prm.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "particles/behaviour/params/spin_prm.h"
#include "particles/behaviour/physics/point_stripes.h"

// The largest number of points a stripe gets, whatever its stored segments, levels or octaves:
// the points of a stripe become the vertices of one 16-bit indexed ribbon.
inline constexpr uint32_t kMaxStripePoints = 65535;

// Curves: for every parent particle one curve particle (its child) and a stripe of points in the
// curve's unit space, from (0, 0, 0) to (1, 0, 0) along x. A line node maps that space into the
// world through the curve particle. The kinds shape the stripe in BuildStripe.
class ZKW_PtclSysPhys_Curves : public ZKW_PtclSysPhys_PntStripes {
 public:
  // Version 2: the spin block, length, width, alpha, start, end (graph, value, spread each), then
  // the stripes record.
  bool Save(DS_IOF_Archive& archive) const override;
  // A version 1 record has no start and end, which keep their defaults.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // One curve per parent, in parent order: a child that dies with its parent, placed relative to
  // it, with the curve transforms and a stripe of its own. Answers the new curves.
  ParticleList SpawnForParents(ParticleList* parents) override;
  // Updates every curve particle; a stripe whose curve died goes. The points stay as built.
  ParticleList Update(ParticleList* parents, float step) override;

  // Age from the parent, the curve block, alpha over the curve's life and a spin, with the
  // spin's random numbers drawn in that order.
  void AttachCurveTransforms(ParticleRecord& curve);
  // The stripe of a new curve particle.
  virtual DS_SafePtr<ZKW_PtclSysPhys_Points> BuildStripe(const ParticleHandle& curve) = 0;

  SpinPrm spin;
  GraphSpreadPrm length;  // stripe scale; / 100 the visible fraction of a limited stripe
  GraphSpreadPrm width{1, 1.0f};
  GraphSpreadPrm alpha;
  GraphSpreadPrm start{1, 1.0f};  // start of the visible part over the curve's life
  GraphSpreadPrm end{1, 1.0f};    // end of the visible part over the curve's life

 protected:
  // Length and alpha start at `lengthAndAlpha`; start follows a line at 0.
  explicit ZKW_PtclSysPhys_Curves(unsigned lengthAndAlpha);
  ZKW_PtclSysPhys_Curves(const ZKW_PtclSysPhys_Curves&) = default;

  // Updates every curve particle by `dt` and erases the stripes of the curves that died; then
  // runs `each` on every remaining stripe, in order.
  template <class Each>
  void UpdateCurves(float dt, Each&& each);
};

// Writes a curve particle's curve block every frame: width, length, start and end, each its
// parameter's value-and-spread factor (a fresh random number per parameter and frame, drawn in
// that order) times its envelope at the curve's life fraction.
class PtclTr_LineGeom : public ZKW_PtclTransform {
 public:
  explicit PtclTr_LineGeom(const ZKW_PtclSysPhys_Curves* physics) : physics(physics) {}
  bool Apply(float dt, ParticleRecord* p) override;
  const ZKW_PtclSysPhys_Curves* physics;
};

// Straight stripes: segments + 1 points evenly along x.
class ZKW_PtclSysPhys_LineCurv : public ZKW_PtclSysPhys_Curves {
 public:
  ZKW_PtclSysPhys_LineCurv() : ZKW_PtclSysPhys_Curves(0) {}

  // Version 1: UInt32 segments, then the curves record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Points at x = i / N without transforms; 0 segments count as 1.
  DS_SafePtr<ZKW_PtclSysPhys_Points> BuildStripe(const ParticleHandle& curve) override;

  MediaParamT<unsigned> segments{10};
};

// Gives a speed of a curve kind its stored default and its factor (scaled follows).
void SetSpeedDefault(MediaSpeedParam& speed, unsigned stored, float factor);

// A drifting value's phase after it passed 1: back into [0, 1) however far a long frame or a
// high speed took it (one step back for the usual case), and 0 when it is not a finite number,
// so that the smooth blend between two targets never runs away.
float WrapPhase(float phase);

// Segments as a stripe uses them: at least 1, at most what keeps the points (segments + 1)
// within kMaxStripePoints.
unsigned StripeSegments(unsigned segments);

template <class Each>
void ZKW_PtclSysPhys_Curves::UpdateCurves(float dt, Each&& each) {
  std::erase_if(stripes, [dt](const PointStripe& s) { return !s.owner || !s.owner->Update(dt); });
  for (PointStripe& stripe : stripes)
    each(stripe);
}
