#pragma once

#include <cstdint>

#include "particles/behaviour/params/path_follow_prm.h"
#include "particles/behaviour/particle/track_transforms.h"
#include "particles/behaviour/physics/point_groups.h"

// A point group whose particles run along a curve, waiting at its ends.
class ZKW_PtclSysPhys_Track : public ZKW_PtclSysPhys_ConstPntGroup {
 public:
  // The curve is a new, empty B-spline.
  ZKW_PtclSysPhys_Track();

  // Version 2: the curve's record, Int32 2, UInt32 depth, Int32 reverse, the path-follow block,
  // Int32 1, UInt32 start and end pause, Int32 hide at start and at end, then the point group
  // record. Version 1 has only the curve and the path-follow block.
  bool Save(DS_IOF_Archive& archive) const override;
  // A shape record that is no curve leaves the track without a curve.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A curve follower; the first step places the particle. It does not die with its parent.
  void InitNewParticle(ParticleRecord* particle) override;

  SmartCurve curve;
  TrackPrm motion;
  TrackPauses pauses;
};

// A track seen in perspective: its particles shrink and slow down as they go.
class ZKW_PtclSysPhys_TrackPerspective : public ZKW_PtclSysPhys_Track {
 public:
  ZKW_PtclSysPhys_TrackPerspective() = default;
  // Version 1: no fields, then the track record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  void InitNewParticle(ParticleRecord* particle) override;
};
