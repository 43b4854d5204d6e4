#include "particles/behaviour/physics/zkw_ptclsys_physics.h"

#include <algorithm>
#include <cmath>
#include <limits>

bool ZKW_PtclSys_Physics::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSys_Physics", 3);
  archive.io().WriteWideString(zkw_string());
  if (const ZKW_VGeom2D* shape = GetGeometry()) {
    archive.io().WriteInt32(1);
    shape->Save(archive);
  } else {
    archive.io().WriteInt32(0);
  }
  return true;
}

void ZKW_PtclSys_Physics::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version > 1) {
    zkw_string originName;
    archive.io().ReadWideString(originName);
  }
  if (version > 2) {
    int32_t hasShape = 0;
    archive.io().ReadInt32(hasShape);
    if (hasShape != 0) {
      if (std::unique_ptr<ZKW_VGeom2D> shape = ReadVGeom2D(archive)) SetGeometry(std::move(shape));
    }
  }
}

ZKW_PtclSysPhys_Points::~ZKW_PtclSysPhys_Points() = default;

bool ZKW_PtclSysPhys_Points::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_Points", 1);
  return ZKW_PtclSys_Physics::Save(archive);
}

void ZKW_PtclSysPhys_Points::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ZKW_PtclSys_Physics::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysPhys_Points::KillAll() {
  for (const ParticleHandle& p : particles)
    if (p) p->flags |= ParticleRecord::kDead;
  particles.clear();
}

ParticleList ZKW_PtclSysPhys_Points::Update(ParticleList*, float step) {
  std::erase_if(particles, [step](const ParticleHandle& p) { return !p || !p->Update(step); });
  return {};
}

ParticleList ZKW_PtclSysPhys_Points::RestartTransforms() {
  for (const ParticleHandle& p : particles) {
    if (!p) continue;
    for (const DS_SafePtr<ZKW_PtclTransform>& transform : p->transforms) {
      if (!transform) continue;
      transform->Restart(p.Get());
      transform->Apply(0.0f, p.Get());
    }
  }
  return {};
}

void SortParticlesByDepth(ParticleList& particles) {
  const auto depth = [](const ParticleHandle& handle) {
    const ParticleRecord* p = handle.Get();
    if (p == nullptr) return -std::numeric_limits<float>::infinity();
    float z = p->Position().z;
    if (p->Has(ParticleRecord::kRelativeToParent) && p->Parent() != nullptr)
      z += p->Parent()->WorldPosition().z;
    return std::isnan(z) ? -std::numeric_limits<float>::infinity() : z;
  };
  std::sort(particles.begin(), particles.end(),
            [&](const ParticleHandle& a, const ParticleHandle& b) { return depth(a) > depth(b); });
}
