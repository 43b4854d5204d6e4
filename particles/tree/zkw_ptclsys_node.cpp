#include "particles/tree/zkw_ptclsys_node.h"

#include <climits>
#include <memory>
#include <utility>

#include "core/registry/read_by_name.h"
#include "platform/math/d3dx_math.h"

std::unique_ptr<ZKW_PtclSys_Physics> ReadPhysicsByName(DS_IOF_Archive& archive) {
  std::unique_ptr<ZKW_IOF_Item> item = ReadByName(archive, GetIofItemRegistry());
  auto* physics = dynamic_cast<ZKW_PtclSys_Physics*>(item.get());
  if (physics == nullptr) return nullptr;
  item.release();
  return std::unique_ptr<ZKW_PtclSys_Physics>(physics);
}

bool ZKW_PtclSys_Node::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSys_Node", 2);
  archive.io().WriteWideString(name);
  WriteSmartVector(archive, children);
  archive.io().WriteWideString(zkw_string());
  WriteSmartVector(archive, effects);
  return true;
}

void ZKW_PtclSys_Node::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadWideString(name);
  ReadSmartVector(archive, children);
  for (const DS_SafePtr<ZKW_PtclSys_Node>& child : children.Value())
    child->parent = this;
  if (version >= 2) {
    zkw_string attachment;
    archive.io().ReadWideString(attachment);
    ReadSmartVector(archive, effects);
  }
}

void ZKW_PtclSys_Node::AddChild(DS_SafePtr<ZKW_PtclSys_Node> child) {
  if (!child) return;
  child->parent = this;
  children.Insert(INT_MAX, child);
}

void ZKW_PtclSys_Node::ComputeWorldMatrix(D3DXMATRIX* m) const {
  if (parent != nullptr) parent->ComputeWorldMatrix(m);
}

void ZKW_PtclSys_Node::WorldToLocal(D3DXVECTOR3* p) const {
  if (parent != nullptr) parent->WorldToLocal(p);
}

void ZKW_PtclSys_Node::CreateDeviceObjects() {
  for (const DS_SafePtr<ZKW_PtclSys_Node>& child : children.Value())
    child->CreateDeviceObjects();
}

void ZKW_PtclSys_Node::Reset() {
  for (const DS_SafePtr<ZKW_PtclSys_Node>& child : children.Value())
    child->Reset();
}

void ZKW_PtclSys_Node::SpawnFromParents(ParticleList* parents) {
  for (const DS_SafePtr<ZKW_PtclSys_Node>& child : children.Value())
    child->SpawnFromParents(parents);
}

int ZKW_PtclSys_Node::UpdateParticles(float, ParticleList*) {
  return 0;
}

void ZKW_PtclSys_Node::FillChildren(QuadBatches& batches, size_t* index) {
  const auto& list = children.Value();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    (*it)->FillVertices(batches, index);
}

void ZKW_PtclSys_Node::RenderChildren(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                                      int* readerCount) {
  const auto& list = children.Value();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    (*it)->Render(batches, index, renderer, readerCount);
}

void ZKW_PtclSys_Node::FillVertices(QuadBatches& batches, size_t* index) {
  FillChildren(batches, index);
}

void ZKW_PtclSys_Node::Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                              int* readerCount) {
  RenderChildren(batches, index, renderer, readerCount);
}

int ZKW_PtclSys_Node::NeedsPictureBelow() const {
  int sum = 0;
  for (const DS_SafePtr<ZKW_PtclSys_Node>& child : children.Value())
    sum += child->NeedsPictureBelow();
  return sum;
}

ZKW_PtclSysNode_Root::ZKW_PtclSysNode_Root(const D3DXVECTOR3& at)
    : physics(std::make_unique<ZKW_PtclSysPhys_RootPnt>(at)) {}

bool ZKW_PtclSysNode_Root::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_Root", 1);
  physics->Save(archive);
  return ZKW_PtclSys_Node::Save(archive);
}

void ZKW_PtclSysNode_Root::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  if (auto root = ReadPhysicsAs<ZKW_PtclSysPhys_RootPnt>(archive))
    physics = DS_SafePtr<ZKW_PtclSysPhys_RootPnt>(std::move(root));
  ReadNodePart(archive);
}

D3DXVECTOR3 ZKW_PtclSysNode_Root::Origin() const {
  const D3DXVECTOR3& at = physics->position.Value();
  const float* offset = physics->targetOffset;
  return D3DXVECTOR3(at.x + offset[0], at.y + offset[1], at.z + offset[2]);
}

void ZKW_PtclSysNode_Root::ComputeWorldMatrix(D3DXMATRIX* m) const {
  ZKW_PtclSys_Node::ComputeWorldMatrix(m);
  const D3DXVECTOR3 origin = Origin();
  D3DXMATRIX translation;
  D3DXMatrixTranslation(&translation, origin.x, origin.y, origin.z);
  *m = *m * translation;
}

void ZKW_PtclSysNode_Root::WorldToLocal(D3DXVECTOR3* p) const {
  *p -= Origin();
  ZKW_PtclSys_Node::WorldToLocal(p);
}

void ZKW_PtclSysNode_Root::SpawnFromParents(ParticleList*) {
  ZKW_PtclSys_Node::SpawnFromParents(&physics->particles);
}

int ZKW_PtclSysNode_Root::UpdateParticles(float step, ParticleList*) {
  physics->Update(nullptr, step);
  int batches = 0;
  for (const DS_SafePtr<ZKW_PtclSys_Node>& child : children.Value())
    batches += child->UpdateParticles(step, &physics->particles);
  return batches;
}
