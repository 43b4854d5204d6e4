#pragma once

#include "particles/tree/emitter_node.h"

// An emitter whose physics is a track: its particles run along the track's curve. Particles its
// physics makes while updating get nothing from the node and no children.
class ZKW_PtclSysNode_Track : public ZKW_PtclSysNode_Emitter {
 public:
  // With a new track physics.
  ZKW_PtclSysNode_Track();

  // "ZKW_PtclSysNode_Track" version 1, then the emitter record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The emitter part, whose physics replaces the track.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The physics' update (what it makes is dropped), then the children's.
  int UpdateParticles(float step, ParticleList* parents) override;

  // Kept through the record; the node does not use them.
  int unusedInt = -1;
  unsigned unusedCount = 0;
};
