#pragma once

#include <cstdint>
#include <memory>

#include "core/archive/data_records.h"
#include "core/param/media_param_t.h"
#include "core/scene/ds_abobj_constructor.h"
#include "objects/text3d/drift_params.h"

class DS_3D_in_2D_array;

// Drifting instances: many copies of one small textured mesh that drift in one direction, sway
// sideways, tumble about their own axes and re-enter at the far edge once they leave the
// scene. The mesh and its picture are stored in the project.
//
// Record "DS_3D_in_2D_array_Constructor" version 1: the name (WideString, stored here as well as
// in the base record), the count (UInt32), the mesh and the picture (resource records), size,
// speed, sway, sway frequency and spin (UInt32 each), the direction (UInt32 degrees), then the
// "DS_ABObj_Constructor" record.
class DS_3D_in_2D_array_Constructor : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_3D_in_2D_array_Constructor() = default;
  // The description part, both records, the count and every drift value; no run-time object.
  DS_3D_in_2D_array_Constructor(const DS_3D_in_2D_array_Constructor& other);

  bool Save(DS_IOF_Archive& archive) const override;
  // Every value straight into its field (no notification), the direction through its setter;
  // any version reads alike.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A DS_3D_in_2D_array on a clone of this description.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;

  // Set on the clone that a run-time object was made from.
  DS_3D_in_2D_array* runtimeObject = nullptr;
  ResourceDataRecord mesh;
  ResourceDataRecord picture;
  // The number of copies, read once when the run-time object is made.
  MediaParamT<unsigned> count{0};
  DriftParams drift;
};
