#pragma once

#include <algorithm>
#include <cstdint>

#include "core/graph/graph_spread_prm.h"
#include "core/list_limits.h"
#include "core/param/media_param_t.h"
#include "particles/behaviour/physics/zkw_ptclsys_physics.h"

// A fixed number of children for every new parent particle, dying with their parent.
class ZKW_PtclSysPhys_ConstPntGroup : public ZKW_PtclSysPhys_Points {
 public:
  ZKW_PtclSysPhys_ConstPntGroup() = default;

  // Version 1: UInt32 count, then the points record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: the count stored directly, then the points record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // `count` children per parent, in parent order, each through InitNewParticle at once; they
  // are appended to the list and answered. The list never grows past the named limit of live
  // particles, whatever the count.
  ParticleList SpawnForParents(ParticleList* parents) override;
  // Sets DiesWithParent.
  void InitNewParticle(ParticleRecord* particle) override;

  MediaParamT<unsigned> count{1};  // children per parent

 protected:
  // Appends `perParent` children of each parent to the list and answers them; `setup` runs on
  // each child as it is made.
  template <class Setup>
  ParticleList SpawnChildren(const ParticleList& parents, uint64_t perParent, Setup&& setup);
};

// Particles whose life fraction cycles forever, dying with their parent. A base only: its record
// is read as part of its kinds'.
class ZKW_PtclSysPhys_LifeEndless : public ZKW_PtclSysPhys_Points {
 public:
  ZKW_PtclSysPhys_LifeEndless() = default;

  // Version 1: the period (graph record, value, spread percent), then the points record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // DiesWithParent and a life cycling over the period (its value-and-spread factor with random
  // number 0 times the envelope at 0).
  void InitNewParticle(ParticleRecord* particle) override;

  GraphSpreadPrm period{10, 0.1f};  // seconds
};

template <class Setup>
ParticleList ZKW_PtclSysPhys_ConstPntGroup::SpawnChildren(const ParticleList& parents,
                                                          uint64_t perParent, Setup&& setup) {
  const uint64_t cap = EmittedParticleCap();
  const uint64_t room = particles.size() < cap ? cap - particles.size() : 0;
  ParticleList made;
  made.reserve(static_cast<size_t>(std::min<uint64_t>(room, parents.size() * perParent)));
  for (const ParticleHandle& parent : parents) {
    for (uint64_t i = 0; i < perParent && made.size() < room; ++i) {
      made.push_back(MakeChildParticle(parent));
      setup(made.back().Get());
    }
  }
  particles.insert(particles.end(), made.begin(), made.end());
  return made;
}
