#include "particles/tree/emitter_node.h"

#include <memory>
#include <utility>

#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/behaviour/physics/point_groups.h"
#include "platform/math/d3dx_math.h"

bool ZKW_PtclSysNode_Emitter::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_Emitter", 1);
  if (physics) {
    physics->Save(archive);
  } else {
    // A node read without a physics writes a group of no children, which reads back.
    ZKW_PtclSysPhys_ConstPntGroup none;
    none.count.RawValue() = 0;
    none.Save(archive);
  }
  return ZKW_PtclSys_Node::Save(archive);
}

void ZKW_PtclSysNode_Emitter::ReadPhysics(DS_IOF_Archive& archive) {
  std::unique_ptr<ZKW_PtclSysPhys_Points> read = ReadPhysicsAs<ZKW_PtclSysPhys_Points>(archive);
  physics.Release();
  if (read) SetPhysics(std::move(read));
}

void ZKW_PtclSysNode_Emitter::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadPhysics(archive);
  ReadNodePart(archive);
}

void ZKW_PtclSysNode_Emitter::ComputeWorldMatrix(D3DXMATRIX* m) const {
  ZKW_PtclSys_Node::ComputeWorldMatrix(m);
  if (const ZKW_VGeom2D* shape = GetGeometry()) {
    D3DXVECTOR3 centre(0, 0, 0);
    shape->GetCenter(&centre);
    D3DXMATRIX translation;
    D3DXMatrixTranslation(&translation, centre.x, centre.y, centre.z);
    *m = *m * translation;
  }
}

void ZKW_PtclSysNode_Emitter::WorldToLocal(D3DXVECTOR3* p) const {
  if (const ZKW_VGeom2D* shape = GetGeometry()) {
    D3DXVECTOR3 centre(0, 0, 0);
    shape->GetCenter(&centre);
    *p -= centre;
  }
  ZKW_PtclSys_Node::WorldToLocal(p);
}

void ZKW_PtclSysNode_Emitter::Reset() {
  if (physics) physics->KillAll();
  ZKW_PtclSys_Node::Reset();
}

void ZKW_PtclSysNode_Emitter::SpawnFromParents(ParticleList* parents) {
  ParticleList made = physics ? physics->SpawnForParents(parents) : ParticleList();
  for (ParticleHandle& particle : made)
    InitNewParticle(particle);
  ZKW_PtclSys_Node::SpawnFromParents(&made);
}

void ZKW_PtclSysNode_Emitter::MoveAndSpawn(float step, ParticleList* parents) {
  if (!physics) return;
  ParticleList made = physics->Update(parents, step);
  for (ParticleHandle& particle : made)
    InitNewParticle(particle);
  ZKW_PtclSys_Node::SpawnFromParents(&made);
}

int ZKW_PtclSysNode_Emitter::ChildBatches(float step, ParticleList* parents) {
  int batches = 0;
  for (const DS_SafePtr<ZKW_PtclSys_Node>& child : children.Value())
    batches += child->UpdateParticles(step, parents);
  return batches;
}

int ZKW_PtclSysNode_Emitter::UpdateParticles(float step, ParticleList* parents) {
  MoveAndSpawn(step, parents);
  return ChildBatches(step, parents);
}

bool ZKW_PtclSysNode_Emitter::NeedsDepthSort() const {
  return ZKW_PtclSys_Node::NeedsDepthSort() || (physics && physics->NeedsDepthSort());
}

ZKW_VGeom2D* ZKW_PtclSysNode_Emitter::GetGeometry() const {
  return physics ? physics->GetGeometry() : nullptr;
}

void ZKW_PtclSysNode_Emitter::InitNewParticle(ParticleHandle& particle) {
  if (!particle) return;
  ParticleRecord* p = particle.Get();
  AttachTransform<PtclTr_EffectsVector>(*p, &effects,
                                        parent != nullptr ? parent->GetGeometry() : nullptr);
  for (const DS_SafePtr<ZKW_PtclTransform>& transform : p->transforms) {
    if (!transform) continue;
    transform->Restart(p);
    transform->Apply(0.0f, p);
  }
  if (!p->Has(ParticleRecord::kNoKinematic)) AttachTransform<PtclTr_Kinematic>(*p);
}
