#include "particles/tree/preset/pstree_root.h"

#include <climits>

#include "core/archive/vector_io.h"
#include "core/math/matrix_helpers.h"
#include "core/param/param_reads.h"
#include "core/startup/thread_slots.h"
#include "particles/behaviour/particle/smart_vector_records.h"
#include "player/document/doc_res_manager.h"
#include "player/render/render_context.h"

ZKW_PSTree_Root::ZKW_PSTree_Root() : rootParticle(std::make_unique<ParticleRecord>()) {
  speed.RawValue() = 100;
  speed.SetScale(0.01f, 0.0f);
  rootParticle->floats[ParticleRecord::kAlong] = 0.0f;
  rootParticle->floats[ParticleRecord::kAcross] = 0.0f;
}

ZKW_PSTree_Root::ZKW_PSTree_Root(const ZKW_PSTree_Root& other)
    : DS_ABObj_Constructor(other),
      ZKW_PSTree_Node_Parent(),
      effectLink(other.effectLink),
      position(other.position.Value()),
      children(other.children),
      restartFlag(other.restartFlag.Value()),
      scale(other.scale),
      transparency(other.transparency),
      reserved(other.reserved),
      speed(other.speed),
      mesh(other.mesh),
      rootParticle(other.rootParticle),
      effect(other.effect) {}

bool ZKW_PSTree_Root::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSTree_Root", 4);
  WriteFileLink(archive, effectLink);
  DS_IOF_Virtual& io = archive.io();
  WriteVector3(io, position.Value());
  io.WriteInt32(reserved);
  io.WriteInt32(restartFlag.Value());
  io.WriteUInt32(scale.Value());
  io.WriteUInt32(transparency.Value());
  io.WriteUInt32(speed.Value());
  WriteSmartVector(archive, children);
  return DS_ABObj_Constructor::Save(archive);
}

bool ZKW_PSTree_Root::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadEffectLink(archive, effectLink);
  DS_IOF_Virtual& io = archive.io();
  ReadVector3(io, position.RawValue());
  io.ReadInt32(reserved);
  if (version >= 2) io.ReadInt32(restartFlag.RawValue());
  if (version >= 3) {
    ReadChangedUInt32(archive, scale);
    ReadChangedUInt32(archive, transparency);
  }
  if (version >= 4) ReadChangedUInt32(archive, speed);
  ReadSmartVector(archive, children);
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    child->SetParent(this);
  return DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

ZKW_PSTree_Root::~ZKW_PSTree_Root() {
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    if (child && child->parentLink == this) child->SetParent(nullptr);
}

void ZKW_PSTree_Root::AddChild(DS_SafePtr<ZKW_PSTree_Node> child) {
  if (!child) return;
  child->SetParent(this);
  children.Insert(INT_MAX, child);
}

void ZKW_PSTree_Root::Restart() {
  if (restartFlag.Value() == 0) return;
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    child->ClearParticles();
  rootParticle->floats[ParticleRecord::kAge] = 0.0f;
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    child->SpawnForParent(rootParticle);
}

std::unique_ptr<ZKW_PSTree_Root> ZKW_PSTree_Root::Clone() const {
  return std::make_unique<ZKW_PSTree_Root>(*this);
}

std::unique_ptr<ZKW_RenderObj> ZKW_PSTree_Root::CreateRuntimeObject() {
  std::unique_ptr<ZKW_PSTree_Root> clone = Clone();
  ZKW_PSTree_Root* root = clone.get();
  auto object = std::make_unique<ZKW_PtclSys_Mesh>(std::move(clone));
  root->mesh = object.get();
  root->AttachRuntimeObject();
  return object;
}

void ZKW_PSTree_Root::AttachRuntimeObject() {
  DS_DocResManager* document = CurrentDocument();
  effect = document != nullptr ? document->GetEffect(effectLink) : ComRef<gfx::Effect>();
  if (keepGuid == 0) {
    const RenderContext* context = RenderContextTlsSlot::Get();
    if (context != nullptr)
      position.SetValueSilently(
          D3DXVECTOR3(context->pictureW * 0.5f, context->pictureH * 0.5f, 0.0f));
  }
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value()) {
    child->CreateDeviceObjects();
    child->SpawnForParent(rootParticle);
    child->SetParent(this);
  }
}

void ZKW_PtclSys_Mesh::Update(float now) {
  ZKW_PSTree_Root& root = *root_;
  MediaSpeedParam& clock = root.speed;
  // The first update of the clock moves the tree by nothing, whatever its step.
  const bool fresh = clock.localTime == 0.0f;
  clock.Advance(now);
  const float step = fresh ? 0.0f : clock.step;
  lastStep = step;

  ParticleRecord& particle = *root.rootParticle;
  particle.Position() = root.position.Value();
  particle.floats[ParticleRecord::kAlpha] = root.transparency.Scaled();
  const float s = root.scale.Scaled();
  ScalingAboutPivot(&particle.scaleMatrix, &root.position.Value(), s, s, s);

  const ParticleList parents = {root.rootParticle};
  unsigned count = 0;
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : root.children.Value())
    count += child->UpdateParticles(step, parents);
  particle.floats[ParticleRecord::kAge] += step;
  batches_.resize(count);
  size_t index = 0;
  const auto& list = root.children.Value();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    (*it)->FillVertices(batches_, &index);
}

void ZKW_PtclSys_Mesh::Render(DS_2D_Light& renderer, int* readerCount) {
  // Walked even without an effect: the nodes that announced a reader of the picture below switch
  // the target, and none draws.
  size_t index = 0;
  const auto& list = root_->children.Value();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    (*it)->Render(batches_, &index, renderer, readerCount);
}

int ZKW_PtclSys_Mesh::NeedsPictureBelow() const {
  if (!IsActive()) return 0;
  int sum = 0;
  const auto& list = root_->children.Value();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    sum += (*it)->NeedsPictureBelow();
  return sum;
}
