#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#include "platform/gfx/mesh/mesh.h"
#include "platform/math/d3dx_math.h"

namespace gfx {

std::vector<uint16_t> Mesh::Indices16() const {
  if (!Fits16BitIndices()) return {};
  return std::vector<uint16_t>(indices.begin(), indices.end());
}

void ComputeNormals(Mesh& mesh) {
  std::vector<D3DXVECTOR3> sums(mesh.vertices.size());
  const uint32_t count = uint32_t(mesh.vertices.size());
  for (size_t face = 0; face + 2 < mesh.indices.size(); face += 3) {
    const uint32_t* f = &mesh.indices[face];
    if (f[0] >= count || f[1] >= count || f[2] >= count) continue;
    const D3DXVECTOR3 p[3] = {mesh.vertices[f[0]].position, mesh.vertices[f[1]].position,
                              mesh.vertices[f[2]].position};
    const D3DXVECTOR3 e1 = p[1] - p[0], e2 = p[2] - p[0];
    D3DXVECTOR3 normal;
    D3DXVec3Cross(&normal, &e1, &e2);
    D3DXVec3Normalize(&normal, &normal);
    for (int corner = 0; corner < 3; ++corner) {
      D3DXVECTOR3 a = p[(corner + 1) % 3] - p[corner], b = p[(corner + 2) % 3] - p[corner];
      D3DXVec3Normalize(&a, &a);
      D3DXVec3Normalize(&b, &b);
      const float angle = std::acos(std::clamp(D3DXVec3Dot(&a, &b), -1.0f, 1.0f));
      sums[f[corner]] += normal * angle;
    }
  }
  for (size_t i = 0; i < sums.size(); ++i)
    D3DXVec3Normalize(&mesh.vertices[i].normal, &sums[i]);
}

void OptimizeInplace(Mesh& mesh, uint32_t flags) {
  const size_t faces = std::min(mesh.attributes.size(), mesh.indices.size() / 3);
  std::vector<uint32_t> order(faces);
  std::iota(order.begin(), order.end(), 0u);
  if (flags & MeshOptimize::AttrSort)
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
      return mesh.attributes[a] < mesh.attributes[b];
    });

  // Vertices in the order the reordered faces first use them.
  const uint32_t none = UINT32_MAX;
  std::vector<uint32_t> remap(mesh.vertices.size(), none);
  std::vector<MeshVertex> vertices;
  vertices.reserve(mesh.vertices.size());
  std::vector<uint32_t> indices, attributes;
  indices.reserve(faces * 3);
  attributes.reserve(faces);
  for (uint32_t face : order) {
    for (int corner = 0; corner < 3; ++corner) {
      const uint32_t v = mesh.indices[size_t(face) * 3 + corner];
      if (v >= mesh.vertices.size()) {
        indices.push_back(v);
        continue;
      }
      if (remap[v] == none) {
        remap[v] = uint32_t(vertices.size());
        vertices.push_back(mesh.vertices[v]);
      }
      indices.push_back(remap[v]);
    }
    attributes.push_back(mesh.attributes[face]);
  }
  if (!(flags & MeshOptimize::Compact))
    for (size_t v = 0; v < mesh.vertices.size(); ++v)
      if (remap[v] == none) vertices.push_back(mesh.vertices[v]);
  mesh.vertices = std::move(vertices);
  mesh.indices = std::move(indices);
  mesh.attributes = std::move(attributes);
}

}  // namespace gfx

gfx::HResult D3DXComputeBoundingSphere(const D3DXVECTOR3* first, uint32_t count, uint32_t stride,
                                       D3DXVECTOR3* center, float* radius) {
  if (!first || !center || !radius) return gfx::kInvalidCall;
  auto at = [&](uint32_t i) {
    D3DXVECTOR3 p;
    std::memcpy(&p, reinterpret_cast<const uint8_t*>(first) + size_t(i) * stride, sizeof p);
    return p;
  };
  D3DXVECTOR3 sum;
  for (uint32_t i = 0; i < count; ++i)
    sum += at(i);
  *center = count ? sum / float(count) : D3DXVECTOR3();
  float r = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const D3DXVECTOR3 d = at(i) - *center;
    r = std::max(r, D3DXVec3Length(&d));
  }
  *radius = r;
  return gfx::kOk;
}
