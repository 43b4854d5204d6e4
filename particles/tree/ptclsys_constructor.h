#pragma once

#include <cstdint>
#include <memory>

#include "core/ds_safe_ptr.h"
#include "core/param/media_speed_param.h"
#include "core/scene/ds_abobj.h"
#include "core/scene/ds_abobj_constructor.h"
#include "particles/tree/particle_quad_batch.h"
#include "particles/tree/zkw_ptclsys_node.h"

// The scene object that holds one node tree under a root node. Its run-time object shares the
// tree with the description it was cloned from.
class ZKW_PtclSys_Constructor : public DS_ABObj_Constructor {
 public:
  // A new root at (0, 0, 0), speed 100 %.
  ZKW_PtclSys_Constructor();
  // Shares the tree; copies the speed with its clock.
  ZKW_PtclSys_Constructor(const ZKW_PtclSys_Constructor& other) = default;

  // "ZKW_PtclSys_Constructor" version 2: the root's record, UInt32 speed percent, then the base.
  bool Save(DS_IOF_Archive& archive) const override;
  // A root record of another or an unknown class leaves a default root; version 1 keeps 100 %.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The tree starts again: every physics emptied, then spawned from the root particle.
  void Restart() override;
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  virtual std::unique_ptr<ZKW_PtclSys_Constructor> Clone() const;
  // The tree's device objects, then its first particles.
  void AttachTree();

  ZKW_PtclSysNode_Root& Root() const { return *root; }

  DS_SafePtr<ZKW_PtclSysNode_Root> root;
  MediaSpeedParam speed;
};

// The same object stored under a second class name.
class ZKW_PtclSys_Builder : public ZKW_PtclSys_Constructor {
 public:
  ZKW_PtclSys_Builder() = default;
  ZKW_PtclSys_Builder(const ZKW_PtclSys_Builder&) = default;
  // "ZKW_PtclSys_Builder" version 1, then the complete constructor record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_PtclSys_Constructor> Clone() const override;
};

// The run-time object: each frame it advances the tree by a clamped, speed-scaled step, sizes
// its batches to what the tree reports and lets the tree fill them; Render lets the tree draw
// them in the same order.
class ZKW_PtclSys_Obj : public DS_ABObj {
 public:
  explicit ZKW_PtclSys_Obj(std::unique_ptr<ZKW_PtclSys_Constructor> description)
      : DS_ABObj(std::move(description)),
        system_(static_cast<ZKW_PtclSys_Constructor*>(Description())) {}

  void Update(float now) override;
  void Render(DS_2D_Light& renderer, int* readerCount) override;
  int NeedsPictureBelow() const override;
  bool KeepsTargetCopy() const override { return true; }
  void SetTargetPoint(float x, float y, float z) override;

  ZKW_PtclSys_Constructor& System() const { return *system_; }
  const QuadBatches& Batches() const { return batches_; }

 private:
  ZKW_PtclSys_Constructor* system_;  // the description the base owns
  QuadBatches batches_;
};
