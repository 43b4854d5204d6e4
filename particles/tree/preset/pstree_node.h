#pragma once

#include <cstddef>
#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/object/ds_iof_item.h"
#include "core/param/smart_vector.h"
#include "particles/behaviour/sources/zkw_ptclsys_geometry.h"
#include "particles/tree/particle_quad_batch.h"
#include "platform/gfx/effect/effect.h"

class DS_2D_Light;
class ZKW_PSTree_Node;

// What a preset-tree node reaches above it: a node or the root.
class ZKW_PSTree_Node_Parent {
 public:
  virtual ~ZKW_PSTree_Node_Parent() = default;
  // Makes the child's particles again for every particle of this parent.
  virtual void SpawnChild(ZKW_PSTree_Node& child) = 0;
  virtual void SetParent(ZKW_PSTree_Node_Parent* parent) { parentLink = parent; }
  // The effect the tree draws with: the root's; none in a tree without a root.
  virtual gfx::Effect* TreeEffect() const {
    return parentLink != nullptr ? parentLink->TreeEffect() : nullptr;
  }

  ZKW_PSTree_Node_Parent* parentLink = nullptr;
};

// A node of a preset tree: a particle source whose particles are children of the particles of
// the node above, and child nodes that take those particles as their parents. Each frame the tree
// is walked three times: UpdateParticles (children first to last; answers the batches the
// subtree fills), FillVertices and Render (children last to first, each drawing node taking the
// next batch).
//
// A node always has a source: a record without a readable one gets a base geometry, which makes
// nothing. Child records that read as nothing are dropped, so the walks meet no empty entry.
class ZKW_PSTree_Node : public ZKW_IOF_Item, public ZKW_PSTree_Node_Parent {
 public:
  using Children = ZKW_SmartVectorPtr<ZKW_PSTree_Node>;

  // The node part: "ZKW_PSTree_Node" version 1, the name, the source's record, the children's.
  bool Save(DS_IOF_Archive& archive) const override;
  // The node part's body (its header already read).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Kills the node's particles and makes them again from the parent's.
  virtual void Restart();
  virtual int NeedsPictureBelow() const { return 0; }
  virtual void SpawnForParents(const ParticleList& parents);
  virtual void SpawnForParent(ParticleHandle parent);
  virtual unsigned UpdateParticles(float step, const ParticleList& parents) = 0;
  virtual void FillVertices(QuadBatches& batches, size_t* index) = 0;
  virtual void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                      int* readerCount) = 0;
  virtual void CreateDeviceObjects();
  virtual void ClearParticles();

  void SpawnChild(ZKW_PSTree_Node& child) override { child.SpawnForParents(source->particles); }
  // Stores the link and the node's depth into its source: 0 under the root.
  void SetParent(ZKW_PSTree_Node_Parent* parent) override;
  // Appends a child under this node.
  void AddChild(DS_SafePtr<ZKW_PSTree_Node> child);

  zkw_string name;
  DS_SafePtr<ZKW_PtclSys_Geometry> source;
  Children children;

 protected:
  // Keeps `geometry` (a base geometry when empty) and hands it the node.
  explicit ZKW_PSTree_Node(DS_SafePtr<ZKW_PtclSys_Geometry> geometry);
  // Reads the node part's header, then its body.
  void ReadNodePart(DS_IOF_Archive& archive) { ReadBody(archive, ReadBaseHeader(archive)); }
  void FillChildren(QuadBatches& batches, size_t* index);
  void RenderChildren(QuadBatches& batches, size_t* index, DS_2D_Light& renderer, int* readerCount);
};

// The inner node: makes particles and passes them on; draws nothing itself.
class ZKW_PSTree_Stem : public ZKW_PSTree_Node {
 public:
  explicit ZKW_PSTree_Stem(DS_SafePtr<ZKW_PtclSys_Geometry> geometry = {})
      : ZKW_PSTree_Node(std::move(geometry)) {}

  // "ZKW_PSTree_Stem" version 1, then the node part.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  int NeedsPictureBelow() const override;
  // Emits for every parent, hands the born particles to the children, advances its own, then
  // updates the children over them; answers the children's batch count.
  unsigned UpdateParticles(float step, const ParticleList& parents) override;
  void FillVertices(QuadBatches& batches, size_t* index) override;
  void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
              int* readerCount) override;
};
