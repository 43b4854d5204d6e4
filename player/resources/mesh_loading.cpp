#include "player/resources/mesh_loading.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/device.h"
#include "platform/sys/file_paths.h"
#include "player/device/device_values.h"

namespace {

// Far more than any vertex layout of the player needs; keeps the buffer size in 32 bits.
constexpr uint32_t kMaxStride = 256;

void FinishMesh(gfx::HResult loaded, gfx::Mesh& mesh, uint32_t stride, MeshBuffers& out) {
  out = MeshBuffers();
  if (gfx::Failed(loaded) || !mesh.Fits16BitIndices()) return;
  gfx::ComputeNormals(mesh);
  gfx::OptimizeInplace(mesh, gfx::MeshOptimize::Compact | gfx::MeshOptimize::AttrSort |
                                 gfx::MeshOptimize::VertexCache);
  MeshBuffers made;
  made.vertexCount = mesh.VertexCount();
  made.faceCount = mesh.FaceCount();
  if (!CopyMeshIndices(mesh, made) || !CopyMeshVertices(mesh, stride, made)) return;
  D3DXComputeBoundingSphere(mesh.vertices.empty() ? nullptr : &mesh.vertices[0].position,
                            made.vertexCount, sizeof(gfx::MeshVertex), &made.center, &made.radius);
  out = std::move(made);
}

}  // namespace

void LoadMeshFromMemory(std::span<const uint8_t> bytes, uint32_t stride, MeshBuffers& out) {
  out = MeshBuffers();
  // Without a device there are no buffers to fill: the reader is not run for nothing.
  if (CurrentDevice() == nullptr) return;
  gfx::Mesh mesh;
  FinishMesh(gfx::LoadMeshFromXInMemory(bytes, &mesh), mesh, stride, out);
}

void LoadMeshFromFile(const zkw_string& path, uint32_t stride, MeshBuffers& out) {
  out = MeshBuffers();
  if (CurrentDevice() == nullptr) return;
  gfx::Mesh mesh;
  FinishMesh(gfx::LoadMeshFromXFile(sys::ToPath(path), &mesh), mesh, stride, out);
}

bool CopyMeshIndices(const gfx::Mesh& mesh, MeshBuffers& out) {
  out.indexBuffer.Reset();
  gfx::Device* device = CurrentDevice();
  const std::vector<uint16_t> indices = mesh.Indices16();
  if (device == nullptr || indices.empty()) return false;
  const uint32_t length = static_cast<uint32_t>(indices.size() * sizeof(uint16_t));
  gfx::IndexBuffer* buffer = nullptr;
  if (gfx::Failed(device->CreateIndexBuffer(length, gfx::Usage::WriteOnly, gfx::Format::Index16,
                                            gfx::Pool::Managed, &buffer))) {
    return false;
  }
  out.indexBuffer.Reset(buffer);
  void* data = nullptr;
  if (gfx::Failed(buffer->Lock(0, 0, &data, 0))) return false;
  std::memcpy(data, indices.data(), length);
  buffer->Unlock();
  return true;
}

bool CopyMeshVertices(const gfx::Mesh& mesh, uint32_t stride, MeshBuffers& out) {
  out.vertexBuffer.Reset();
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || mesh.vertices.empty() || stride == 0 || stride > kMaxStride) {
    return false;
  }
  const uint32_t count = mesh.VertexCount();
  gfx::VertexBuffer* buffer = nullptr;
  if (gfx::Failed(device->CreateVertexBuffer(count * stride, gfx::Usage::WriteOnly, 0,
                                             gfx::Pool::Managed, &buffer))) {
    return false;
  }
  out.vertexBuffer.Reset(buffer);
  void* data = nullptr;
  if (gfx::Failed(buffer->Lock(0, 0, &data, 0))) return false;
  auto* bytes = static_cast<uint8_t*>(data);
  std::memset(bytes, 0, size_t{count} * stride);
  const size_t each = std::min<size_t>(stride, sizeof(gfx::MeshVertex));
  for (uint32_t i = 0; i < count; ++i)
    std::memcpy(bytes + size_t{i} * stride, &mesh.vertices[i], each);
  buffer->Unlock();
  return true;
}
