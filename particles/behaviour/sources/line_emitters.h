#pragma once

#include <cstdint>

#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "geometry/path/spline_path.h"
#include "particles/behaviour/sources/emitter_geometry.h"

// The emitters along a B-spline path; the path part is written between a kind's own fields and
// the emitter part.
class ZKW_PSGeometry_Line : public ZKW_PSGeometry_Emitter {
 public:
  // "ZKW_PSGeometry_Line" version 1: the control points, then the emitter part.
  bool Save(DS_IOF_Archive& archive) const override;

  SplinePath path;
};

// The path part: its name and version, the control points (the path is rebuilt), then the
// emitter part. `withHeader` false reads the oldest form, whose points follow the kind's header.
void ReadLinePart(DS_IOF_Archive& archive, ZKW_PSGeometry_Line& line, bool withHeader);

// Sends each particle along the path from its start, tied to the parent when attached; a
// particle dies at the path's end.
class ZKW_PSGeomEmit_Line : public ZKW_PSGeometry_Line {
 public:
  // Version 2: no own fields, then the path part.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores the control points without the path part's name and version.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList Emit(float dt, ParticleHandle* parent) override;
};

// Starts particles at random points of the path, heading along it turned by the sector (or in
// the sector's absolute direction).
class ZKW_PSGeomEmit_Path : public ZKW_PSGeometry_Line {
 public:
  // Version 1: Int32 absolute direction, the sector, then the path part.
  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  ParticleList Emit(float dt, ParticleHandle* parent) override;

  MediaParamT<int> absoluteDirection{0};
  MediaSector sector;
};
