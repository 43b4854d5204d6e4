// Reads arbitrary bytes as .x data and prepares the mesh as the texture cache does.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/mesh/mesh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gfx::Mesh mesh;
  if (gfx::Failed(gfx::LoadMeshFromXInMemory({data, size}, &mesh))) return 0;
  gfx::ComputeNormals(mesh);
  gfx::OptimizeInplace(mesh, gfx::MeshOptimize::Compact | gfx::MeshOptimize::AttrSort);
  D3DXVECTOR3 center;
  float radius = 0;
  D3DXComputeBoundingSphere(&mesh.vertices[0].position, mesh.VertexCount(), sizeof(gfx::MeshVertex),
                            &center, &radius);
  return int(mesh.Indices16().size() % 2);
}
