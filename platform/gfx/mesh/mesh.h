#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/fvf.h"
#include "platform/gfx/hresult.h"
#include "platform/math/d3dx_types.h"

namespace gfx {

// One vertex of the FVF XYZ | NORMAL | TEX1 (0x112): 32 bytes.
struct MeshVertex {
  D3DXVECTOR3 position;
  D3DXVECTOR3 normal;
  D3DXVECTOR2 uv;
};
static_assert(sizeof(MeshVertex) == 32);
inline constexpr uint32_t kMeshFvf = Fvf::Xyz | Fvf::Normal | Fvf::Tex1;

// A triangle mesh as .x loading gives it: every frame's meshes in one, placed by their frame
// transforms. Faces are vertex index triples, each with an attribute (its material group).
struct Mesh {
  std::vector<MeshVertex> vertices;
  std::vector<uint32_t> indices;     // three per face
  std::vector<uint32_t> attributes;  // one per face

  uint32_t VertexCount() const { return uint32_t(vertices.size()); }
  uint32_t FaceCount() const { return uint32_t(attributes.size()); }
  // Whether 16-bit indices reach every vertex.
  bool Fits16BitIndices() const { return vertices.size() <= 0xFFFF; }
  // The indices as 16-bit values; empty when they do not fit.
  std::vector<uint16_t> Indices16() const;
};

// Loads .x data (text, binary or compressed) through assimp, in the reader program so that
// damaged data cannot harm the player: the frames' meshes are flattened into one with their
// transforms applied; polygons become triangle fans; a mesh's faces keep their order within
// each material; corners that agree in position, normal and texture coordinates (within one
// frame) share a vertex. Data that does not start with "xof " is refused. On failure kFail
// with the reason in `error`; `out` is left empty.
[[nodiscard]] HResult LoadMeshFromXInMemory(std::span<const uint8_t> data, Mesh* out,
                                            std::string* error = nullptr);
[[nodiscard]] HResult LoadMeshFromXFile(const std::filesystem::path& path, Mesh* out,
                                        std::string* error = nullptr);

// Every vertex's normal from the faces that use it (by index, no adjacency), each face's
// normal weighted by the corner's angle, as D3DXComputeNormals makes them.
void ComputeNormals(Mesh& mesh);

// Flags of OptimizeInplace, with D3DX's values.
struct MeshOptimize {
  enum : uint32_t {
    Compact = 0x01000000,      // drop vertices no face uses
    AttrSort = 0x02000000,     // faces grouped by attribute, keeping their order in a group
    VertexCache = 0x04000000,  // accepted; faces keep their order
  };
};
// Reorders faces and vertices: faces by attribute when asked; vertices in the order the faces
// first use them, unused ones dropped (Compact) or moved to the end.
void OptimizeInplace(Mesh& mesh, uint32_t flags);

}  // namespace gfx

// The sphere around `count` positions read `stride` bytes apart: its centre is their average
// and its radius the largest distance from it. No positions give the origin and 0.
gfx::HResult D3DXComputeBoundingSphere(const D3DXVECTOR3* first, uint32_t count, uint32_t stride,
                                       D3DXVECTOR3* center, float* radius);
