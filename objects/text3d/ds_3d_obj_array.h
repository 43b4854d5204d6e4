#pragma once

#include <list>
#include <memory>
#include <vector>

#include "core/param/callback_ctrl_set.h"
#include "core/scene/ds_abobj.h"
#include "objects/text3d/ds_3d_obj_ctrl.h"
#include "objects/text3d/frame_tree.h"
#include "player/render/mesh_geometry.h"

// The run-time object of a 3D model: the model's parts, one frame tree per copy, and a control
// on the description's count that grows or shrinks the copies at once. Every frame it advances
// the description's motion clock and the trees; the renderer draws every part at its nodes.
class DS_3DObjArray : public DS_ABObj {
 public:
  // Takes the clone, loads its parts, then makes the copies through the count control, fired at
  // once.
  explicit DS_3DObjArray(std::unique_ptr<DS_3D_Obj_Ctrl> description);
  // The trees first (their controllers let go of the description's parameters), then the count
  // control, then the parts; the description goes last.
  ~DS_3DObjArray() override;

  // Motion clock, then every tree in order.
  void Update(float localTime) override;
  // Every part in order, at each of its nodes.
  void Draw(DS_2D_Light& renderer) override;
  // The description's HitTest at the point.
  bool HitTestPoint(const int point[2]) const override;

  // New copies go to the end, the oldest copies go first; the count stops at
  // kMaxParticlesPerList. The parts' node lists are rebuilt every time.
  void SyncInstances(unsigned count);

  DS_3D_Obj_Ctrl& Description() const { return *description_; }
  const std::list<FrameTree>& Instances() const { return instances_; }
  std::vector<MeshPart>& Parts() { return parts_; }

 private:
  DS_3D_Obj_Ctrl* description_;
  std::list<FrameTree> instances_;
  std::vector<MeshPart> parts_;
  CallbackCtrlSet<DS_3DObjArray> controls_{this};
};
