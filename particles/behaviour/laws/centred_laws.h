#pragma once

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "particles/behaviour/laws/motion_law.h"
#include "particles/behaviour/params/spiral_prm.h"
#include "platform/math/d3dx_types.h"

// The laws that move particles relative to a centre: a speed, a centre offset and a remembered
// centre object (not owned). Laws given no shape or centre act about (0, 0, 0) plus the offsets.
class ZKW_PtclSysMLaw_Centred : public ZKW_PtclSys_MotionLaw {
 public:
  // "ZKW_PtclSysMLaw_Centred" version 1: the speed, Float x, y, z offset, then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The centred part after its header.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  bool SetCentre(const ZKW_VGeom2D* shape) override {
    centre = shape;
    return true;
  }
  const ZKW_VGeom2D* GetCentre() const override { return centre; }

  // value x ((1 - r) x spread factor + r) x envelope(0), r a fresh draw.
  float DrawSpeed() const;
  // The shape's centre ((0, 0, 0) without one) plus the centre offset.
  D3DXVECTOR3 CentreOf(const ZKW_VGeom2D* shape) const;

  GraphSpreadPrm speed{50, 1.0f};
  MediaParamT<D3DXVECTOR3> centreOffset{D3DXVECTOR3(0, 0, 0)};
  const ZKW_VGeom2D* centre = nullptr;

 protected:
  ZKW_PtclSysMLaw_Centred() = default;
  void ReadCentredPart(DS_IOF_Archive& archive) {
    ZKW_PtclSysMLaw_Centred::ReadBody(archive, ReadBaseHeader(archive));
  }
};

// Shoots particles straight away from the centre (mode 0), towards it (1) or either way (2).
class ZKW_PtclSysMLaw_Radial : public ZKW_PtclSysMLaw_Centred {
 public:
  ZKW_PtclSysMLaw_Radial() = default;
  // Version 3: Int32 mode, then the centred record. Version 2 has the mode and the older base
  // (no offset); version 1 neither.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  void ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) override;

  MediaParamT<int> mode{0};
};

// Sends particles on a spiral about the centre through a spiral transform.
class ZKW_PtclSysMLaw_Spiral : public ZKW_PtclSysMLaw_Centred {
 public:
  ZKW_PtclSysMLaw_Spiral() = default;
  // Version 2: the spiral block, then the centred record; version 1 has the base record instead.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  void ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) override;

  SpiralPrm spiral;
};

// A perspective tunnel whose vanishing point is the centre object: particles orbit it while they
// travel in depth over their life, drawn towards it and smaller the deeper they are.
class ZKW_PtclSysMLCentred_Tunel : public ZKW_PtclSysMLaw_Centred {
 public:
  ZKW_PtclSysMLCentred_Tunel();
  // Version 1: UInt32 depth, Int32 direction mode, Int32 reverse, UInt32 distance, then the
  // centred record.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  // The base steps, a tunnel transform with a random sign and NoKinematic.
  void ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) override;
  bool NeedsDepthSort() const override { return true; }

  // Orbits the particle about the centre and places it in depth.
  class Transform : public ZKW_PtclTransform {
   public:
    Transform(const ZKW_PtclSysMLCentred_Tunel* law, float sign) : law(law), sign(sign) {}
    bool Apply(float dt, ParticleRecord* p) override;

    const ZKW_PtclSysMLCentred_Tunel* law;
    float sign;
  };

  UINTSclaleTo<float> depth{0, 1.0f, 0.0f};
  UINTSclaleTo<float> distance{100, 0.1f, 1.0f};
  MediaParamT<int> directionMode{0};
  MediaParamT<int> reverse{0};
};
