#pragma once

#include "particles/tree/zkw_ptclsys_node.h"

// A node that owns a physics and so has particles of its own, each with a parent particle of the
// parent node. New particles get the node's effects and the kinematic step, then the children
// spawn for them. It draws nothing itself. Without a physics (a record of another or an unknown
// class) it has no particles.
class ZKW_PtclSysNode_Emitter : public ZKW_PtclSys_Node {
 public:
  ZKW_PtclSysNode_Emitter() = default;

  // "ZKW_PtclSysNode_Emitter" version 1, the physics' record, then the node part.
  bool Save(DS_IOF_Archive& archive) const override;
  // A physics that is not a point physics leaves the node without one.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void ComputeWorldMatrix(D3DXMATRIX* m) const override;
  void WorldToLocal(D3DXVECTOR3* p) const override;
  void Reset() override;
  void SpawnFromParents(ParticleList* parents) override;
  int UpdateParticles(float step, ParticleList* parents) override;
  bool NeedsDepthSort() const override;
  ZKW_VGeom2D* GetGeometry() const override;
  ParticleList* GetParticles() override { return physics ? &physics->particles : nullptr; }

  // The node's effects through one effects vector, every transform restarted and run with a
  // step of 0, then (unless the particle has NoKinematic) the kinematic step.
  virtual void InitNewParticle(ParticleHandle& particle);

  void SetPhysics(std::unique_ptr<ZKW_PtclSysPhys_Points> points) {
    physics = DS_SafePtr<ZKW_PtclSysPhys_Points>(std::move(points));
  }

  DS_SafePtr<ZKW_PtclSysPhys_Points> physics;

 protected:
  // The emitter part's header, then its body.
  void ReadEmitterPart(DS_IOF_Archive& archive) {
    ZKW_PtclSysNode_Emitter::ReadBody(archive, ReadBaseHeader(archive));
  }
  // A physics record by class name: a point physics becomes the node's, anything else leaves the
  // node without one.
  void ReadPhysics(DS_IOF_Archive& archive);
  // Physics update, new particles initialised, children spawned for them.
  void MoveAndSpawn(float step, ParticleList* parents);
  int ChildBatches(float step, ParticleList* parents);
};
