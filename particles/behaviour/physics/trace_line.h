#pragma once

#include <cstdint>

#include "core/graph/graph_spread_prm.h"
#include "particles/behaviour/physics/point_stripes.h"

// Trails: for every emitting particle of the parent node a stripe of points laid behind it as it
// moves. Points age and fade; a trail whose emitter is gone stays until its last point dies.
class ZKW_PtclSysPhys_TraceLine : public ZKW_PtclSysPhys_PntStripes {
 public:
  // Point life 1 s, size 20, alpha 1 falling to 0 along a quadratic Bezier over the point's life.
  ZKW_PtclSysPhys_TraceLine();

  // Version 1: point life, point size, point alpha (graph, value, spread each), then the stripes
  // record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version is read as version 1.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Updates each trail's points; a trail of a dead or missing emitter goes once it is empty. An
  // emitter that jumped starts a new trail (the old one stays behind, ownerless), any other
  // gets a point. Makes no particles for child nodes.
  ParticleList Update(ParticleList* parents, float step) override;

  // Starts a new, empty trail for `emitter` at the end of the stripes.
  void AddTrace(const ParticleHandle& emitter);
  // Moves the head to the emitter's origin; a point stays behind whenever the head is 3 units or
  // more from the point before it.
  void AppendPoint(PointStripe& stripe);
  // A trail point at `position` that ages over the point life and takes its size and alpha from
  // the parameters and from the stripe's emitter, updated once by 0.
  ParticleHandle MakeTracePoint(const D3DXVECTOR3& position, const PointStripe& stripe);

  GraphSpreadPrm pointLife{10, 0.1f};  // seconds
  GraphSpreadPrm pointSize{20, 1.0f};
  GraphSpreadPrm pointAlpha{100, 0.01f};
};
