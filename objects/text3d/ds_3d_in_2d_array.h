#pragma once

#include <memory>

#include "core/scene/ds_abobj.h"
#include "objects/text3d/ds_3d_in_2d_array_constructor.h"
#include "player/render/mesh_geometry.h"

// The run-time object of drifting instances: one mesh whose root has one child node per copy,
// each moved by a DS_LeafFallAnim; the renderer draws the mesh at every child, both faces.
class DS_3D_in_2D_array : public DS_ABObj {
 public:
  // Takes the clone and points it back at this object; takes the picture and the mesh from the
  // clone's records and makes the copies once: as many as the count, at most
  // kMaxParticlesPerList (later changes of the count change nothing).
  explicit DS_3D_in_2D_array(std::unique_ptr<DS_3D_in_2D_array_Constructor> description);
  // Deletes the copies' nodes with their controllers, then the mesh goes.
  ~DS_3D_in_2D_array() override;

  // Stores the local time in the drift clock shared by every copy, then updates the copies.
  void Update(float localTime) override;
  void Draw(DS_2D_Light& renderer) override;

  DS_3D_in_2D_array_Constructor& Description() const { return *description_; }
  const MeshGeometry& Mesh() const { return mesh_; }

 private:
  DS_3D_in_2D_array_Constructor* description_;
  MeshGeometry mesh_;
};
