#pragma once

#include <cstdint>
#include <memory>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "core/scene/ds_abobj.h"
#include "core/scene/ds_abobj_constructor.h"
#include "particles/tree/particle_quad_batch.h"
#include "particles/tree/preset/pstree_node.h"
#include "platform/gfx/effect/effect.h"

class ZKW_PtclSys_Mesh;

// The scene object that holds one preset tree: the top nodes, the effect they draw with, the
// tree's position, scale, transparency and speed, and the root particle every top-level particle
// hangs from. Its run-time object shares the node tree with it.
class ZKW_PSTree_Root : public DS_ABObj_Constructor, public ZKW_PSTree_Node_Parent {
 public:
  using Children = ZKW_SmartVectorPtr<ZKW_PSTree_Node>;

  ZKW_PSTree_Root();
  // Shares the node tree, the root particle and the effect; parameters get fresh observers.
  ZKW_PSTree_Root(const ZKW_PSTree_Root& other);
  // Nodes it still leads (they are shared with its copies) are left without a parent rather than
  // with a link to a root that is gone.
  ~ZKW_PSTree_Root() override;

  // "ZKW_PSTree_Root" version 4: effect link, position, reserved, restart flag, scale,
  // transparency and speed percent, the children, then the base part.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has no restart flag, before 3 no scale and transparency, before 4 no speed.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  int GetObjectKind() const override { return kParticleSystemKind; }
  // Clears and respawns every top node unless the restart flag is 0.
  void Restart() override;
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  virtual std::unique_ptr<ZKW_PSTree_Root> Clone() const;
  // Loads the effect, centres an unplaced tree and gives the top nodes their device objects and
  // first particles.
  virtual void AttachRuntimeObject();

  void SpawnChild(ZKW_PSTree_Node& child) override { child.SpawnForParent(rootParticle); }
  // The root has nothing above it.
  void SetParent(ZKW_PSTree_Node_Parent*) override {}
  gfx::Effect* TreeEffect() const override { return effect.Get(); }
  // Appends a top node under the root.
  void AddChild(DS_SafePtr<ZKW_PSTree_Node> child);

  DS_HLSLEffectFile effectLink{u"glimres.dll", 185};
  MediaParamT<D3DXVECTOR3> position{D3DXVECTOR3(0, 0, 0)};
  Children children;
  MediaParamT<int> restartFlag{1};
  UINTSclaleTo<float> scale{100, 0.01f, 0.0f};
  UINTSclaleTo<float> transparency{0, -0.01f, 1.0f};
  int32_t reserved = 0;
  MediaSpeedParam speed;
  ZKW_PtclSys_Mesh* mesh = nullptr;
  ParticleHandle rootParticle;
  ComRef<gfx::Effect> effect;
};

// The run-time object: each frame it advances the tree by the root's speed clock (the first
// frame of the clock by 0), counts the batches the nodes need, sizes its batch list and lets the
// nodes fill them; Render lets them draw in the same order. Without an effect nothing is drawn.
class ZKW_PtclSys_Mesh : public DS_ABObj {
 public:
  explicit ZKW_PtclSys_Mesh(std::unique_ptr<ZKW_PSTree_Root> description)
      : DS_ABObj(std::move(description)), root_(static_cast<ZKW_PSTree_Root*>(Description())) {}

  void Update(float now) override;
  void Render(DS_2D_Light& renderer, int* readerCount) override;
  int NeedsPictureBelow() const override;
  bool KeepsTargetCopy() const override { return true; }

  ZKW_PSTree_Root& Root() const { return *root_; }
  const QuadBatches& Batches() const { return batches_; }
  // The tree step of the last update.
  float lastStep = 0.0f;

 private:
  ZKW_PSTree_Root* root_;  // the description the base owns
  QuadBatches batches_;
};
