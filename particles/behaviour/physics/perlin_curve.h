#pragma once

#include <cstdint>
#include <vector>

#include "core/graph/graph_spread_prm.h"
#include "core/param/media_speed_param.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/behaviour/physics/curve_physics.h"

// Animated value noise in octaves: every stripe point is offset along its direction by the sum
// of its octaves, each a table of values that drift to new random targets at the change speed
// and scroll along the stripe at the scroll speed.
class ZKW_PtclSysPhys_PerlinCurv : public ZKW_PtclSysPhys_Curves {
 public:
  ZKW_PtclSysPhys_PerlinCurv();

  // Version 4: UInt32 segments, the amplitude (graph, value, spread), UInt32 octaves, frequency
  // multiplier, change speed and scroll speed, then the curves record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 or less: segments only, and the amplitude value becomes 0; version 2: segments and
  // the amplitude value; version 3: no scroll speed.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Moves both clocks on, updates the curves (which steps their octave tables), then rebuilds
  // every stripe point's offset.
  ParticleList Update(ParticleList* parents, float step) override;
  // Evenly spaced points along x sharing the octaves of one PtclTr_PerlinCurve, which joins the
  // curve particle's transforms.
  DS_SafePtr<ZKW_PtclSysPhys_Points> BuildStripe(const ParticleHandle& curve) override;

  // The octaves, frequency multiplier and point count a stripe is built with: octaves and
  // multiplier at least 1, the largest octave table and the point count at most kMaxStripePoints.
  struct Shape {
    unsigned octaves;
    unsigned multiplier;
    uint32_t points;
  };
  Shape StripeShape() const;

  MediaParamT<unsigned> segments{5};
  GraphSpreadPrm amplitude{50, 0.002f};  // envelope over x
  MediaParamT<unsigned> octaves{2};
  MediaParamT<unsigned> frequencyMultiplier{1};
  MediaSpeedParam changeSpeed;   // 2.5 per second
  MediaSpeedParam scrollSpeed;   // 0
  MediaParamT<int> unstored{1};  // a parameter of the editor, neither stored nor read

  float changeStep = 0.0f, changeTotal = 0.0f;
  float scrollStep = 0.0f, scrollTotal = 0.0f;
};

// One octave of a Perlin stripe: a table of values, each drifting from one random target to the
// next. Run without a particle it steps the table; run on a stripe point it adds the octave's
// share to the point's offset along its direction (float 3).
class PtclTr_PerlinOctave : public PtclTr_FloatPrm {
 public:
  struct Entry {
    float from, to, phase, value;
  };
  // `entries` entries, each drawing its phase, then from (which is also its value), then to.
  PtclTr_PerlinOctave(const ZKW_PtclSysPhys_PerlinCurv* physics, unsigned frequency, float weight,
                      unsigned entries);
  bool Apply(float dt, ParticleRecord* p) override;

  const ZKW_PtclSysPhys_PerlinCurv* physics;
  unsigned frequency;
  float weight;
  std::vector<Entry> table;
};

// The octaves of one Perlin stripe, stepped once per frame from the curve particle.
class PtclTr_PerlinCurve : public ZKW_PtclTransform {
 public:
  // Octave i = 1..octaves: a table of c = (2 for the first, else 2^(i-1) + 1) x multiplier
  // entries, frequency c - 1, weight 1 / i.
  PtclTr_PerlinCurve(const ZKW_PtclSysPhys_PerlinCurv* physics, unsigned octaves,
                     unsigned multiplier);
  // Steps every octave's table; the particle is not touched.
  bool Apply(float dt, ParticleRecord* p) override;

  // Held as transforms, so that the stripe points share them in their own transform lists.
  std::vector<DS_SafePtr<ZKW_PtclTransform>> octaves;
  const ZKW_PtclSysPhys_PerlinCurv* physics;
};
