#pragma once

#include <cstdint>

#include "core/param/media_param_t.h"
#include "particles/behaviour/params/flow_prm.h"
#include "particles/behaviour/params/loop_prm.h"
#include "particles/behaviour/params/random_fly_prm.h"
#include "particles/behaviour/physics/point_groups.h"

// Point groups whose children are born at a random point of the physics' shape (at the origin
// without a shape). A base only; they do not die with their parent.
class ZKW_PtclSysPhys_PntNest : public ZKW_PtclSysPhys_ConstPntGroup {
 public:
  ZKW_PtclSysPhys_PntNest() = default;

  // Version 2: no fields, then the point group record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 holds the shape first.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void InitNewParticle(ParticleRecord* particle) override;

 protected:
  // A version 1 swarm or flow: the shape, the block (read by `readBlock`), then the point group
  // part with no nest level; later versions: the block, then the nest part.
  template <class ReadBlock>
  void ReadShapedBody(DS_IOF_Archive& archive, uint32_t version, ReadBlock&& readBlock);
};

// Nest particles that fly at random inside the shape.
class ZKW_PtclSysPhys_Swarm : public ZKW_PtclSysPhys_PntNest {
 public:
  ZKW_PtclSysPhys_Swarm() = default;
  // Version 2: the flight block, then the nest record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // The nest's point, then a random flight (draws: velocity length and angle, retarget time).
  void InitNewParticle(ParticleRecord* particle) override;

  RandomFlyPrm fly;
};

// Nest particles that stream through the shape in one direction.
class ZKW_PtclSysPhys_Flow : public ZKW_PtclSysPhys_PntNest {
 public:
  ZKW_PtclSysPhys_Flow() = default;
  // Version 2: the flow block, then the nest record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // The nest's point, then a flow (draws: speed, then scatter).
  void InitNewParticle(ParticleRecord* particle) override;

  FlowPrm flow;
};

// A grid of spots on the shape per parent particle, living endlessly with their parent and, in
// loop mode 1, looping over the shape.
class ZKW_PtclSysPhys_FixedSpots : public ZKW_PtclSysPhys_LifeEndless {
 public:
  ZKW_PtclSysPhys_FixedSpots() = default;
  // Version 2: UInt32 rows and columns, Int32 loop mode, the loop block, then the endless-life
  // record; version 1 has no loop mode or block.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // columns x rows spots per parent at the cell centres (u outside, v inside), only on a
  // parametric shape; the list never grows past the live-particle limit.
  ParticleList SpawnForParents(ParticleList* parents) override;

  MediaParamT<unsigned> rows{3};     // along v
  MediaParamT<unsigned> columns{3};  // along u
  MediaParamT<int> loopMode{0};
  LoopPrm loop;
};
