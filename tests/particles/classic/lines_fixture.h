#pragma once

#include <memory>
#include <vector>

#include "classic_fixture.h"
#include "geometry/path/spline_path.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/lines/line_point.h"

namespace classic_test {

// A timeline whose state, value, cycle length and phase progress the test sets.
class PhaseTimeline : public ZKW_Timing {
 public:
  void Set(TimingState state, float value, float cycle = 0.0f, float progress = 0.0f) {
    state_ = state;
    value_ = value;
    cycle_ = cycle;
    progress_ = progress;
  }
  float GetCycleLength() const override { return cycle_; }
  float GetPhaseProgress() const override { return progress_; }

 private:
  float cycle_ = 0.0f;
  float progress_ = 0.0f;
};

// Installs a phase timeline as the description's current one (its kind stays continuous) and
// answers it; the run-time copy shares it.
inline PhaseTimeline& UsePhaseTimeline(DS_ABObj_Constructor& description) {
  auto timeline = std::make_unique<PhaseTimeline>();
  PhaseTimeline& ref = *timeline;
  description.timing.SetTiming(std::move(timeline));
  return ref;
}

// The path's points replaced by straight segments through `corners`, each with handles a third
// of the segment long, so that its samples lie evenly along it.
inline void StraightPath(SplinePath& path, const std::vector<D3DXVECTOR3>& corners) {
  auto& points = path.RawValue();
  points.clear();
  for (size_t i = 0; i < corners.size(); ++i) {
    auto point = DS_SafePtr<DX_BSplinePnt>(std::make_unique<DX_BSplinePnt>());
    point->SetValueSilently(corners[i]);
    if (i + 1 < corners.size())
      point->firstHandle.SetValueSilently((corners[i + 1] - corners[i]) / 3);
    if (i > 0) point->secondHandle.SetValueSilently((corners[i - 1] - corners[i]) / 3);
    points.push_back(point);
  }
}

// The run-time object of a description, its control and batches.
template <class Kind>
struct Running {
  explicit Running(DS_ABObj_Constructor& description)
      : object(description.CreateRuntimeObject()),
        mech(static_cast<ZKW_ParticleSystemMech&>(*object)),
        control(static_cast<Kind&>(*mech.ctrl)) {}

  // The quads of a batch as the last fill left them.
  std::vector<DX_V::PCT> Quads(uint8_t batch) {
    std::vector<DX_V::PCT> out;
    PCTSpriteArray& array = mech.batches.at(batch);
    DX_V::PCT* v = array.LockVertices();
    if (v != nullptr) out.assign(v, v + 4 * size_t(mech.quadCounts.at(batch)));
    array.UnlockVertices();
    return out;
  }

  std::unique_ptr<ZKW_RenderObj> object;
  ZKW_ParticleSystemMech& mech;
  Kind& control;
};

// The middle of a quad's leading edge (corners c0 and c2, the later point's edges).
inline D3DXVECTOR3 LeadingMiddle(const DX_V::PCT* quad) {
  return {(quad[0].x + quad[2].x) / 2, (quad[0].y + quad[2].y) / 2, 0.0f};
}
// The middle of a quad's trailing edge (c1 and c3).
inline D3DXVECTOR3 TrailingMiddle(const DX_V::PCT* quad) {
  return {(quad[1].x + quad[3].x) / 2, (quad[1].y + quad[3].y) / 2, 0.0f};
}

}  // namespace classic_test
