#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/object/ds_iof_item.h"
#include "particles/behaviour/effects/zkw_particle_effect.h"
#include "particles/behaviour/particle/smart_vector_records.h"
#include "particles/behaviour/physics/root_point.h"
#include "particles/tree/particle_quad_batch.h"
#include "platform/math/d3dx_types.h"

class DS_2D_Light;
struct PictureOptions;

// A node of the particle-system node tree: a name, child nodes, the effects its emitting kinds
// give every new particle, and its parent (not owned). Each frame the tree is walked from the
// root three times: UpdateParticles (children in list order; answers the batches the subtree
// fills), FillVertices and Render (children from the last to the first, each drawing node taking
// the next batch), so that every node draws the batch it filled.
//
// Records whose class no registry holds, or that are not nodes or effects, are dropped when the
// lists are read, so the walks never meet an empty entry.
class ZKW_PtclSys_Node : public ZKW_IOF_Item {
 public:
  using Children = ZKW_SmartVectorPtr<ZKW_PtclSys_Node>;

  // The node part: "ZKW_PtclSys_Node" version 2, the name, the children's records, an empty
  // attachment name and the effects' records.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has neither attachment nor effects. The children's parent is set once all are read.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  virtual void ComputeWorldMatrix(D3DXMATRIX* m) const;
  virtual void WorldToLocal(D3DXVECTOR3* p) const;
  virtual void CreateDeviceObjects();
  virtual void Reset();
  virtual void SpawnFromParents(ParticleList* parents);
  virtual int UpdateParticles(float step, ParticleList* parents);
  virtual void FillVertices(QuadBatches& batches, size_t* index);
  virtual void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer, int* readerCount);
  virtual int NeedsPictureBelow() const;
  virtual bool NeedsDepthSort() const { return parent != nullptr && parent->NeedsDepthSort(); }
  virtual PictureOptions* GetOptions() { return nullptr; }
  virtual ZKW_VGeom2D* GetGeometry() const { return nullptr; }
  virtual ParticleList* GetParticles() { return nullptr; }

  // Appends a child and makes this node its parent.
  void AddChild(DS_SafePtr<ZKW_PtclSys_Node> child);

  zkw_string name;
  EffectList effects;
  Children children;
  ZKW_PtclSys_Node* parent = nullptr;

 protected:
  ZKW_PtclSys_Node() = default;
  // Reads the node part's header, then its body.
  void ReadNodePart(DS_IOF_Archive& archive) {
    ZKW_PtclSys_Node::ReadBody(archive, ReadBaseHeader(archive));
  }
  // The children's FillVertices or Render, from the last to the first.
  void FillChildren(QuadBatches& batches, size_t* index);
  void RenderChildren(QuadBatches& batches, size_t* index, DS_2D_Light& renderer, int* readerCount);
};

// The top of a tree: its root point physics holds the one particle that every first-level node
// uses as parent.
class ZKW_PtclSysNode_Root : public ZKW_PtclSys_Node {
 public:
  explicit ZKW_PtclSysNode_Root(const D3DXVECTOR3& at = D3DXVECTOR3(0, 0, 0));

  // "ZKW_PtclSysNode_Root" version 1, the root point's record, then the node part.
  bool Save(DS_IOF_Archive& archive) const override;
  // A physics record that is not a root point leaves the default one.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void ComputeWorldMatrix(D3DXMATRIX* m) const override;
  void WorldToLocal(D3DXVECTOR3* p) const override;
  void SpawnFromParents(ParticleList* parents) override;
  int UpdateParticles(float step, ParticleList* parents) override;
  ParticleList* GetParticles() override { return &physics->particles; }

  ZKW_PtclSysPhys_RootPnt& Physics() const { return *physics; }

 private:
  D3DXVECTOR3 Origin() const;
  DS_SafePtr<ZKW_PtclSysPhys_RootPnt> physics;
};

// A physics record read by class name through the particle-engine registry; null for a record
// of another class or of a class the registry does not hold.
std::unique_ptr<ZKW_PtclSys_Physics> ReadPhysicsByName(DS_IOF_Archive& archive);

// The same, kept only when it is a T (or a kind of it); null otherwise.
template <class T>
std::unique_ptr<T> ReadPhysicsAs(DS_IOF_Archive& archive) {
  std::unique_ptr<ZKW_PtclSys_Physics> read = ReadPhysicsByName(archive);
  auto* typed = dynamic_cast<T*>(read.get());
  if (typed != nullptr) read.release();
  return std::unique_ptr<T>(typed);
}
