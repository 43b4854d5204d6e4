#include "particles/tree/preset/pstree_node.h"

#include <climits>
#include <memory>

#include "core/registry/read_by_name.h"
#include "particles/behaviour/particle/smart_vector_records.h"

namespace {

DS_SafePtr<ZKW_PtclSys_Geometry> OrBase(DS_SafePtr<ZKW_PtclSys_Geometry> geometry) {
  if (geometry) return geometry;
  return DS_SafePtr<ZKW_PtclSys_Geometry>(std::make_unique<ZKW_PtclSys_Geometry>());
}

}  // namespace

ZKW_PSTree_Node::ZKW_PSTree_Node(DS_SafePtr<ZKW_PtclSys_Geometry> geometry)
    : source(OrBase(std::move(geometry))) {
  source->AttachToOwner(this);
}

bool ZKW_PSTree_Node::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSTree_Node", 1);
  archive.io().WriteWideString(name);
  source->Save(archive);
  WriteSmartVector(archive, children);
  return true;
}

void ZKW_PSTree_Node::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadWideString(name);
  std::unique_ptr<ZKW_IOF_Item> item = ReadByName(archive, GetIofItemRegistry());
  DS_SafePtr<ZKW_PtclSys_Geometry> geometry;
  if (auto* typed = dynamic_cast<ZKW_PtclSys_Geometry*>(item.get())) {
    item.release();
    geometry = DS_SafePtr<ZKW_PtclSys_Geometry>(std::unique_ptr<ZKW_PtclSys_Geometry>(typed));
  }
  source = OrBase(std::move(geometry));
  ReadSmartVector(archive, children);
  source->AttachToOwner(this);
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    child->SetParent(this);
}

void ZKW_PSTree_Node::SetParent(ZKW_PSTree_Node_Parent* parent) {
  ZKW_PSTree_Node_Parent::SetParent(parent);
  int depth = 0;
  for (const ZKW_PSTree_Node_Parent* p = parent; p != nullptr && p->parentLink != nullptr;
       p = p->parentLink)
    ++depth;
  source->nodeDepth = depth;
}

void ZKW_PSTree_Node::AddChild(DS_SafePtr<ZKW_PSTree_Node> child) {
  if (!child) return;
  child->SetParent(this);
  children.Insert(INT_MAX, child);
}

void ZKW_PSTree_Node::Restart() {
  for (const ParticleHandle& p : source->particles)
    if (p) p->flags |= ParticleRecord::kDead;
  if (parentLink != nullptr) parentLink->SpawnChild(*this);
}

void ZKW_PSTree_Node::SpawnForParents(const ParticleList& parents) {
  for (const ParticleHandle& parent : parents)
    SpawnForParent(parent);
}

void ZKW_PSTree_Node::SpawnForParent(ParticleHandle parent) {
  const ParticleList made = source->SpawnForParent(std::move(parent));
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    child->SpawnForParents(made);
}

void ZKW_PSTree_Node::CreateDeviceObjects() {
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    child->CreateDeviceObjects();
}

void ZKW_PSTree_Node::ClearParticles() {
  source->ClearParticles();
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    child->ClearParticles();
}

void ZKW_PSTree_Node::FillChildren(QuadBatches& batches, size_t* index) {
  const auto& list = children.Value();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    (*it)->FillVertices(batches, index);
}

void ZKW_PSTree_Node::RenderChildren(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                                     int* readerCount) {
  const auto& list = children.Value();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    (*it)->Render(batches, index, renderer, readerCount);
}

bool ZKW_PSTree_Stem::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSTree_Stem", 1);
  return ZKW_PSTree_Node::Save(archive);
}

void ZKW_PSTree_Stem::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadNodePart(archive);
}

int ZKW_PSTree_Stem::NeedsPictureBelow() const {
  int sum = 0;
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    sum += child->NeedsPictureBelow();
  return sum;
}

unsigned ZKW_PSTree_Stem::UpdateParticles(float step, const ParticleList& parents) {
  ParticleList born;
  for (const ParticleHandle& parent : parents) {
    ParticleHandle handle = parent;
    const ParticleList made = source->Emit(step, &handle);
    born.insert(born.end(), made.begin(), made.end());
  }
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    child->SpawnForParents(born);
  source->UpdateParticles(step);
  unsigned sum = 0;
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    sum += child->UpdateParticles(step, source->particles);
  return sum;
}

void ZKW_PSTree_Stem::FillVertices(QuadBatches& batches, size_t* index) {
  FillChildren(batches, index);
}

void ZKW_PSTree_Stem::Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                             int* readerCount) {
  RenderChildren(batches, index, renderer, readerCount);
}
