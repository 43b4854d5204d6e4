#pragma once

#include <cstdint>
#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/object/ds_iof_item.h"
#include "geometry/shape/zkw_smart_geom.h"
#include "geometry/shape/zkw_vgeom2d.h"
#include "particles/behaviour/particle/particle_record.h"

// The population and motion object of an emitting node of the node tree: the shape its kind
// places particles on. Kinds decide how many particles exist, where they are born and which
// transforms move them. Origin objects (a named object that converts the shape) exist in no
// project: the record's origin name is read and dropped, and written empty.
class ZKW_PtclSys_Physics : public ZKW_IOF_Item {
 public:
  // "ZKW_PtclSys_Physics" version 3: an empty origin name, then Int32 1 and the shape's record,
  // or Int32 0 without a shape.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 2 and later: the origin name; version 3 and later: the shape flag and record (a
  // shape of an unknown class leaves the shape as it was).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  virtual void KillAll() = 0;
  // The children of new parent particles (parents may be null: none).
  virtual ParticleList SpawnForParents(ParticleList* /*parents*/) { return {}; }
  // One frame: moves the particles and answers the ones made in this call.
  virtual ParticleList Update(ParticleList* parents, float step) = 0;
  virtual ParticleList RestartTransforms() { return {}; }
  virtual bool NeedsDepthSort() const { return false; }
  virtual void InitNewParticle(ParticleRecord* /*particle*/) {}

  // Holds `shape` when it differs from the one held (the observers are told).
  void SetGeometry(std::unique_ptr<ZKW_VGeom2D> shape) { geometry.Set(std::move(shape)); }
  ZKW_VGeom2D* GetGeometry() const { return geometry.Get(); }

  ZKW_SmartGeom<ZKW_VGeom2D> geometry;

 protected:
  ZKW_PtclSys_Physics() = default;
  ZKW_PtclSys_Physics(const ZKW_PtclSys_Physics&) = default;
};

// A physics with a particle list in creation order; every physics of the emitter node is one.
class ZKW_PtclSysPhys_Points : public ZKW_PtclSys_Physics {
 public:
  ~ZKW_PtclSysPhys_Points() override;

  // "ZKW_PtclSysPhys_Points" version 1, no fields, then the physics record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The physics part (its header, then its body).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Marks every particle dead (so that children dying with them follow) and lets them go.
  void KillAll() override;
  // Updates every particle in order and erases the dead ones, keeping the order; makes none.
  ParticleList Update(ParticleList* parents, float step) override;
  // Restart, then a step of 0, of every transform of every particle.
  ParticleList RestartTransforms() override;

  ParticleList particles;

 protected:
  ZKW_PtclSysPhys_Points() = default;
  ZKW_PtclSysPhys_Points(const ZKW_PtclSysPhys_Points&) = default;
};

// Larger depth first: the z of a particle's position, plus its parent's world z when it is
// relative to it. Not stable. A NaN depth sorts last, so the order stays strict.
void SortParticlesByDepth(ParticleList& particles);
