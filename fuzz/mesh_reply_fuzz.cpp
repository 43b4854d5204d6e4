// Builds a mesh from arbitrary bytes (any float values, faces on any of its vertices), passes it
// through the encoding the .x reader program sends back, and prepares it as the texture
// cache does. The .x target cannot see coverage inside that program, so the loader's own decoding
// and mesh operations are driven directly here.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/gfx/mesh/mesh.h"
#include "platform/gfx/mesh/x_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t vertexCount = 1 + data[0] % 64, faceCount = data[1] % 64;
  data += 2;
  size -= 2;
  gfx::Mesh mesh;
  mesh.vertices.resize(vertexCount);
  const size_t vertexBytes = std::min(size, vertexCount * sizeof(gfx::MeshVertex));
  std::memcpy(mesh.vertices.data(), data, vertexBytes);
  data += vertexBytes;
  size -= vertexBytes;
  for (size_t i = 0; i < faceCount * 3; ++i)
    mesh.indices.push_back(i < size ? data[i] % vertexCount : 0);
  for (size_t f = 0; f < faceCount; ++f)
    mesh.attributes.push_back(f * 3 < size ? data[f * 3] % 4 : 0);

  gfx::Mesh decoded;
  if (!gfx::xfile::DecodeMesh(gfx::xfile::EncodeMesh(mesh), &decoded) ||
      decoded.indices != mesh.indices || decoded.attributes != mesh.attributes)
    std::abort();

  gfx::ComputeNormals(decoded);
  gfx::OptimizeInplace(decoded, gfx::MeshOptimize::Compact | gfx::MeshOptimize::AttrSort |
                                    gfx::MeshOptimize::VertexCache);
  D3DXVECTOR3 center;
  float radius = 0;
  D3DXComputeBoundingSphere(decoded.vertices.empty() ? nullptr : &decoded.vertices[0].position,
                            decoded.VertexCount(), sizeof(gfx::MeshVertex), &center, &radius);
  return int(decoded.Indices16().size() % 2);
}
