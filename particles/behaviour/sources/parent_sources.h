#pragma once

#include <cstdint>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "geometry/figure/zkw_custom_figure.h"
#include "particles/behaviour/sources/zkw_ptclsys_geometry.h"

// The sources that make their particles from the parent particle itself rather than as a timed
// stream. Each writes its own part, then the base part.

// One particle on each parent, tied to it: same life, same direction, dies with it.
class ZKW_PSGeometry_Point : public ZKW_PtclSys_Geometry {
 public:
  // "ZKW_PSGeometry_Point" version 1, then the base part.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList SpawnForParent(ParticleHandle parent) override;
};

// A swarm of particles in a box about `position` on each parent, wandering inside the box.
class ZKW_PSGeometry_Swarm : public ZKW_PtclSys_Geometry {
 public:
  // "ZKW_PSGeometry_Swarm" version 1: UInt32 count, speed, retarget rate, travel time, width,
  // height, then the base part.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // `count` particles (at most as many as keep `particles` under the ceiling).
  ParticleList SpawnForParent(ParticleHandle parent) override;

  MediaParamT<unsigned> count{0};
  UINTSclaleTo<float> speed{0, 0.04f, 0.0f};
  UINTSclaleTo<float> retargetRate{0, 0.02f, 0.1f};
  UINTSclaleTo<float> travelTime{0, 0.02f, 0.02f};
  MediaParamT<unsigned> width{0};
  MediaParamT<unsigned> height{0};
};

// A trail of short-lived points behind each moving parent: the newest point follows the parent
// until it is 10 units from the point before it. Each point keeps its distance to the previous
// one in the first float of its atlas cell.
class ZKW_PSGeometry_Trace : public ZKW_PtclSys_Geometry {
 public:
  // "ZKW_PSGeometry_Trace" version 1, then the base part.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList Emit(float dt, ParticleHandle* parent) override;
};

// A source with an emission figure; only ever the base part of a group.
class ZKW_PtclSys_Source : public ZKW_PtclSys_Geometry {
 public:
  // "ZKW_PtclSys_Source" version 1: the figure's record, then the base part.
  bool Save(DS_IOF_Archive& archive) const override;

  ZKW_CustomFigure figure;
};

// The source part: its name and version, the figure (kept as it is when its class is unknown),
// then the base part.
void ReadSourcePart(DS_IOF_Archive& archive, ZKW_PtclSys_Source& source);

// Fills the figure with rows x columns particles, on the grid cells or at random points, whose
// oscillations start with phases spread over the rows and the columns.
class ZKW_PSSource_Group : public ZKW_PtclSys_Source {
 public:
  // "ZKW_PSSource_Group" version 1: UInt32 rows, columns, Int32 random placement, UInt32 row
  // and column phase in degrees, then the source part.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // rows x columns particles (at most as many as keep `particles` under the ceiling).
  ParticleList SpawnForParent(ParticleHandle parent) override;
  // The base's, with `currentPhase` as every oscillation's harmonic phase.
  void InitParticle(ParticleRecord& particle) override;

  MediaParamT<unsigned> rows{0};
  MediaParamT<unsigned> columns{0};
  MediaParamT<int> randomPlacement{0};
  UINTSclaleTo<float> rowPhase{0, 0.017453292f, 0.0f};
  UINTSclaleTo<float> columnPhase{0, 0.017453292f, 0.0f};
  float currentPhase = 0.0f;
};
