#include "particles/tree/ptclsys_constructor.h"

#include <algorithm>
#include <limits>

#include "core/param/param_reads.h"
#include "core/registry/read_by_name.h"
#include "core/timing/smart_timing.h"

ZKW_PtclSys_Constructor::ZKW_PtclSys_Constructor()
    : root(std::make_unique<ZKW_PtclSysNode_Root>()) {
  speed.RawValue() = 100;
  speed.SetScale(0.01f, 0.0f);
}

bool ZKW_PtclSys_Constructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSys_Constructor", 2);
  root->Save(archive);
  archive.io().WriteUInt32(speed.Value());
  return DS_ABObj_Constructor::Save(archive);
}

bool ZKW_PtclSys_Constructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  std::unique_ptr<ZKW_IOF_Item> item = ReadByName(archive, GetIofItemRegistry());
  if (auto* node = dynamic_cast<ZKW_PtclSysNode_Root*>(item.get())) {
    item.release();
    root = DS_SafePtr<ZKW_PtclSysNode_Root>(std::unique_ptr<ZKW_PtclSysNode_Root>(node));
  }
  if (version >= 2) ReadChangedUInt32(archive, speed);
  return DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSys_Constructor::Restart() {
  root->Reset();
  ZKW_PtclSys_Node* above = root->parent;
  root->SpawnFromParents(above != nullptr ? above->GetParticles() : nullptr);
}

void ZKW_PtclSys_Constructor::AttachTree() {
  root->CreateDeviceObjects();
  root->SpawnFromParents(nullptr);
}

std::unique_ptr<ZKW_PtclSys_Constructor> ZKW_PtclSys_Constructor::Clone() const {
  return std::make_unique<ZKW_PtclSys_Constructor>(*this);
}

std::unique_ptr<ZKW_RenderObj> ZKW_PtclSys_Constructor::CreateRuntimeObject() {
  std::unique_ptr<ZKW_PtclSys_Constructor> clone = Clone();
  ZKW_PtclSys_Constructor* system = clone.get();
  auto object = std::make_unique<ZKW_PtclSys_Obj>(std::move(clone));
  system->AttachTree();
  return object;
}

bool ZKW_PtclSys_Builder::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSys_Builder", 1);
  return ZKW_PtclSys_Constructor::Save(archive);
}

bool ZKW_PtclSys_Builder::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  return ZKW_PtclSys_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_PtclSys_Constructor> ZKW_PtclSys_Builder::Clone() const {
  return std::make_unique<ZKW_PtclSys_Builder>(*this);
}

void ZKW_PtclSys_Obj::Update(float now) {
  MediaSpeedParam& clock = system_->speed;
  clock.Advance(now);
  const float step = clock.step;
  const float value = system_->timing.TimelineValue();
  const int batches = std::max(system_->Root().UpdateParticles(step, nullptr), 0);
  if (system_->timing.timeMode.Value() == 1) {
    ParticleList& rootParticles = system_->Root().Physics().particles;
    if (!rootParticles.empty()) rootParticles.front()->floats[ParticleRecord::kAlpha] = value;
  }
  batches_.resize(static_cast<size_t>(batches));
  size_t index = 0;
  system_->Root().FillVertices(batches_, &index);
}

void ZKW_PtclSys_Obj::Render(DS_2D_Light& renderer, int* readerCount) {
  size_t index = 0;
  system_->Root().Render(batches_, &index, renderer, readerCount);
}

int ZKW_PtclSys_Obj::NeedsPictureBelow() const {
  return IsActive() ? system_->Root().NeedsPictureBelow() : 0;
}

void ZKW_PtclSys_Obj::SetTargetPoint(float x, float y, float z) {
  float* offset = system_->Root().Physics().targetOffset;
  offset[0] = x;
  offset[1] = y;
  offset[2] = z;
}
