#include "objects/text3d/ds_3d_obj_array.h"

#include <algorithm>

#include "core/list_limits.h"
#include "renderers/light/ds_2d_light.h"

DS_3DObjArray::DS_3DObjArray(std::unique_ptr<DS_3D_Obj_Ctrl> description)
    : DS_ABObj(std::move(description)),
      description_(static_cast<DS_3D_Obj_Ctrl*>(DS_ABObj::Description())) {
  description_->LoadParts(parts_);
  controls_.WatchUnsigned(description_->count, &DS_3DObjArray::SyncInstances);
}

DS_3DObjArray::~DS_3DObjArray() {
  instances_.clear();
  controls_.Clear();
  parts_.clear();
}

void DS_3DObjArray::SyncInstances(unsigned count) {
  // A damaged count makes no more copies than a list of particles may hold.
  const size_t wanted = std::min<size_t>(count, kMaxParticlesPerList);
  while (instances_.size() < wanted)
    instances_.emplace_back(description_->BuildFrameTree());
  while (instances_.size() > wanted)
    instances_.pop_front();
  std::list<TransformNode*> roots;
  for (const FrameTree& tree : instances_)
    roots.push_back(tree.get());
  description_->AttachControllers(roots, parts_);
}

void DS_3DObjArray::Update(float localTime) {
  description_->AdvanceMotionClock(localTime);
  for (const FrameTree& tree : instances_)
    tree->UpdateWorld(nullptr);
}

void DS_3DObjArray::Draw(DS_2D_Light& renderer) {
  for (const MeshPart& part : parts_)
    renderer.DrawFrameList(part);
}

bool DS_3DObjArray::HitTestPoint(const int point[2]) const {
  return description_->HitTest(static_cast<float>(point[0]), static_cast<float>(point[1]));
}
