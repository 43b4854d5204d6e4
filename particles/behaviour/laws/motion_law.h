#pragma once

#include <cstdint>
#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/graph/graph_spread_prm.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "geometry/shape/zkw_vgeom2d.h"
#include "particles/behaviour/params/loop_prm.h"
#include "particles/behaviour/params/velocity_field_prm.h"
#include "particles/behaviour/particle/particle_record.h"

// Decides once per particle, when it is initialised, where the particle starts and how it moves.
// A law holds parameters only and is shared by every particle it set up; the transforms it
// attaches point at its parameter blocks, so the law outlives its owner's particles.
class ZKW_PtclSys_MotionLaw : public ZKW_IOF_Item {
 public:
  // "ZKW_PtclSys_MotionLaw" version 2: Int32 detach flag.
  bool Save(DS_IOF_Archive& archive) const override;
  // The base part after its header: version 2 and later the detach flag.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  virtual bool SetCentre(const ZKW_VGeom2D*) { return true; }
  virtual const ZKW_VGeom2D* GetCentre() const { return nullptr; }
  // Moves the particle to a random point of the shape (killing it when the shape gives none) and
  // detaches it from its parent when flagged. `shape` may be null: the particle stays put.
  virtual void ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape);
  virtual bool NeedsDepthSort() const { return false; }

  MediaParamT<int> detach{0};

 protected:
  ZKW_PtclSys_MotionLaw() = default;
  // The base header, then its body.
  void ReadLawPart(DS_IOF_Archive& archive) {
    ZKW_PtclSys_MotionLaw::ReadBody(archive, ReadBaseHeader(archive));
  }
};

// A law read by class name. The bare base record (which an owner without a law writes) reads as
// no law; a class no registry holds fails the stream; an object that is no law gives null.
std::unique_ptr<ZKW_PtclSys_MotionLaw> ReadMotionLaw(DS_IOF_Archive& archive);
// The law's record, or the bare base record for no law.
void WriteMotionLaw(DS_IOF_Archive& archive, const ZKW_PtclSys_MotionLaw* law);

// A speed of a value, its spread and an envelope of which only the value at 0 counts.
class ZKW_PtclSysMLaw_Kinematic : public ZKW_PtclSys_MotionLaw {
 public:
  ZKW_PtclSysMLaw_Kinematic() = default;
  // Version 1: the speed (graph record, value, spread percent), then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // value x ((1 - r) x spread factor + r) x envelope(0), r a fresh draw.
  float DrawSpeed() const;

  GraphSpreadPrm speed{100, 1.0f};
};

// Shoots particles along a direction spread uniformly over an arc; angles count clockwise from
// +x on screen (90 degrees is up, -y).
class ZKW_PtclSysMLaw_Vector : public ZKW_PtclSysMLaw_Kinematic {
 public:
  ZKW_PtclSysMLaw_Vector() = default;
  // Version 2: UInt32 direction and spread in degrees, then the kinematic record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has no spread.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // The base steps, then direction and velocity (two draws: the angle, then the speed).
  void ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) override;

  ZKW_Angle direction;
  ZKW_Angle spread;
};

// Places particles on a random point of the shape and shoots them along its direction there (or
// its normal), turned by the vector's angle. Without a shape it leaves the particle as it is.
class ZKW_PtclSysMLaw_Normal : public ZKW_PtclSysMLaw_Vector {
 public:
  ZKW_PtclSysMLaw_Normal() = default;
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  void ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) override;
};

// Lets a noise field drive the particles' velocity.
class ZKW_PtclSysMLaw_VelocityField : public ZKW_PtclSysMLaw_Kinematic {
 public:
  ZKW_PtclSysMLaw_VelocityField() = default;
  // Version 2: the field block, then the kinematic record; version 1 has no block.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // The base steps, then a field transform with its own random number.
  void ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) override;

  VelocityFieldPrm field;
};

// Places particles on a point of the shape and lets them loop over its surface (attach mode 2),
// or detaches them there (mode 1). Without a shape it leaves the particle as it is.
class ZKW_PtclSysMLaw_Loop : public ZKW_PtclSys_MotionLaw {
 public:
  ZKW_PtclSysMLaw_Loop() = default;
  // Version 2: the loop block, Int32 attach mode, then the base record; version 1 has no mode.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  void ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) override;

  LoopPrm loop;
  MediaParamT<int> attachMode{2};
};
