#pragma once

#include <list>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "platform/gfx/texture.h"
#include "platform/math/d3dx_types.h"
#include "player/render/render_meshes.h"
#include "player/resources/mesh_buffers.h"

// The player's drawable mesh: the buffers of a loaded .x mesh (XYZ|NORMAL|TEX1, 32-byte
// vertices, 16-bit indices), the picture of stage 0 and a root node whose children, where used,
// are further placements. Copies share the buffers and the picture (see IndexedMesh for the
// node).
class MeshGeometry : public IndexedMesh {
 public:
  static constexpr uint32_t kStride = 32;

  MeshGeometry() = default;
  MeshGeometry(const MeshGeometry&) = default;
  MeshGeometry& operator=(const MeshGeometry&) = default;
  // The children of the root belong to whoever added them; the root's list is freed.
  ~MeshGeometry() = default;

  // Takes the buffers of `buffers` (the ones held before are released): vertex count, the
  // indexed and the non-indexed primitive count = the face count, a triangle list, the bounding
  // sphere. Always true.
  bool SetBuffers(MeshBuffers buffers);
  // Takes the mesh of the link from the current document's mesh cache; the first use of a
  // link loads it there from the link's stored record, or for a link the project stores
  // nothing for from a record that takes its bytes from the link's module, so every mesh of the
  // link shares one vertex and one index buffer. Answers SetBuffers' result; false without a
  // document.
  [[nodiscard]] bool LoadMesh(const DS_MeshFile& link);
  // The picture = the texture of the current frame of the picture link's textures, then
  // LoadMesh.
  [[nodiscard]] bool LoadMeshWithPicture(const DS_MeshFile& meshLink,
                                         const DS_ImageFileLink& pictureLink);
  // Deletes every child node of the root and empties its list.
  void DestroyTree();

  TransformNode& Root() { return node; }
  // Primitives to draw without indices (the face count once buffers are set).
  uint32_t& UnindexedPrimitiveCount() { return extra; }

  ComRef<gfx::Texture> picture;
  bool twoSided = false;
  float boundingRadius = 0.0f;
  D3DXVECTOR3 boundingCenter;
};

// A mesh drawn once at each node of a list; the nodes belong to the frame trees of the object
// that owns the part.
struct MeshPart : MeshGeometry {
  std::list<TransformNode*> placements;
};
