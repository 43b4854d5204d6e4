#include "particles/tree/track_node.h"

#include <memory>

#include "particles/behaviour/physics/track_physics.h"

ZKW_PtclSysNode_Track::ZKW_PtclSysNode_Track() {
  SetPhysics(std::make_unique<ZKW_PtclSysPhys_Track>());
}

bool ZKW_PtclSysNode_Track::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_Track", 1);
  return ZKW_PtclSysNode_Emitter::Save(archive);
}

void ZKW_PtclSysNode_Track::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadEmitterPart(archive);
}

int ZKW_PtclSysNode_Track::UpdateParticles(float step, ParticleList* parents) {
  if (physics) physics->Update(parents, step);
  return ChildBatches(step, parents);
}
