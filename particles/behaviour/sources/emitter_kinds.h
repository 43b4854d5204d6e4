#pragma once

#include <cstdint>

#include "core/param/jitter_param.h"
#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "particles/behaviour/params/forces_prm.h"
#include "particles/behaviour/sources/emitter_geometry.h"

// The stream sources that start their particles from the emitter figure or a region. Each
// writes its own part, then the emitter part, and reads older versions as noted.

// Launches from the figure outward (reversed by `reverse`), turned with the parent, under gravity
// and drag.
class ZKW_PSGeomEmit_Point : public ZKW_PSGeometry_Emitter {
 public:
  // Version 3: Int32 figure spin, the forces, Int32 reverse.
  bool Save(DS_IOF_Archive& archive) const override;
  // Before version 2 a sector (direction, spread, radius) comes first and becomes the figure;
  // up to version 2 there is no reverse flag.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList Emit(float dt, ParticleHandle* parent) override;

  MediaParamT<int> figureSpin{0};
  ForcesPrm forces;
  MediaParamT<int> reverse{0};
};

// Circles about the point it was born at (and moves away from or towards it), from a random
// point of the figure.
class ZKW_PSGeomEmit_Circular : public ZKW_PSGeometry_Emitter {
 public:
  ZKW_PSGeomEmit_Circular();
  // Version 2: Int32 rotation mode, the radial speed and its spread, Int32 radial mode.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 holds the rotation mode only.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList Emit(float dt, ParticleHandle* parent) override;

  MediaParamT<int> rotationMode{0};
  ZKW_JitterParam radialSpeed;
  MediaParamT<int> radialMode{0};
};

// Launches within a sector of directions from a random point of the figure.
class ZKW_PSGeomEmit_Sector : public ZKW_PSGeometry_Emitter {
 public:
  // Version 2: direction, spread, the forces.
  bool Save(DS_IOF_Archive& archive) const override;
  // Before version 2 a sector figure (direction, spread, radius) comes first.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList Emit(float dt, ParticleHandle* parent) override;

  MediaSector sector;
  ForcesPrm forces;
};

// As the sector emitter, or launching outward from the figure turned by the sector.
class ZKW_PSGeomEmit_Rect : public ZKW_PSGeometry_Emitter {
 public:
  // Version 3: direction, spread, the forces, Int32 direction from figure.
  bool Save(DS_IOF_Archive& archive) const override;
  // Before version 2 the rectangle's width and height come first and become the figure; before
  // version 3 there is no direction flag.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList Emit(float dt, ParticleHandle* parent) override;

  MediaSector sector;
  ForcesPrm forces;
  MediaParamT<int> directionFromFigure{0};
};

// Scatters particles over a tilted field that recedes in depth.
class ZKW_PSGeomEmit_Field : public ZKW_PSGeometry_Emitter {
 public:
  // Version 1: UInt32 width, depth, tilt.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList Emit(float dt, ParticleHandle* parent) override;

  MediaParamT<unsigned> width{0};
  MediaParamT<unsigned> depth{0};
  UINTSclaleTo<float> tilt{0, -0.01f, 1.0f};
};

// Starts particles along the line from `start` to `end`, heading between the two edge angles.
class ZKW_PSGeomEmit_Stream : public ZKW_PSGeometry_Emitter {
 public:
  // Version 1: start, end, the two edge angles, Int32 perspective.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList Emit(float dt, ParticleHandle* parent) override;

  MediaParamT<D3DXVECTOR3> start{D3DXVECTOR3(0, 0, 0)};
  MediaParamT<D3DXVECTOR3> end{D3DXVECTOR3(0, 0, 0)};
  MediaDirection firstEdge;
  MediaDirection secondEdge;
  MediaParamT<int> perspective{0};
};

// UInt32 direction and spread of a sector, stored straight.
void ReadSector(DS_IOF_Archive& archive, MediaSector& sector);
void WriteSector(DS_IOF_Archive& archive, const MediaSector& sector);
