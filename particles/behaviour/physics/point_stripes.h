#pragma once

#include <cstdint>
#include <vector>

#include "particles/behaviour/physics/zkw_ptclsys_physics.h"

// A plain point group: its particle list, in order, is one stripe. Made only by stripe physics
// and never bound to an object.
class StripePointGroup final : public ZKW_PtclSysPhys_Points {
 public:
  StripePointGroup() = default;
};

// One stripe: the particle it belongs to (the emitting particle of a trail, or a curve particle)
// and its points. The stripe keeps both alive.
struct PointStripe {
  ParticleHandle owner;
  DS_SafePtr<ZKW_PtclSysPhys_Points> points;
};

// A new, empty point group for a stripe.
DS_SafePtr<ZKW_PtclSysPhys_Points> MakeStripePoints();

// The physics that give particles of a parent node a stripe of points each, which a line node
// draws as a ribbon.
class ZKW_PtclSysPhys_PntStripes : public ZKW_PtclSys_Physics {
 public:
  // "ZKW_PtclSysPhys_PntStripes" version 1, then the physics record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The physics part (its header, then its body).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Lets every stripe go at once, owners and points; no particle is flagged dead.
  void KillAll() override { stripes.clear(); }

  std::vector<PointStripe> stripes;

 protected:
  ZKW_PtclSysPhys_PntStripes() = default;
  ZKW_PtclSysPhys_PntStripes(const ZKW_PtclSysPhys_PntStripes&) = default;
};
