#include "platform/gfx/mesh/fvf_mesh.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "platform/gfx/fvf.h"

namespace gfx {

FvfMesh::FvfMesh(Device* device, uint32_t faces, uint32_t vertices, uint32_t options, uint32_t fvf,
                 uint32_t stride)
    : device_(ComPtr<Device>::Copy(device)),
      faces_(faces),
      vertices_(vertices),
      options_(options),
      fvf_(fvf),
      stride_(stride),
      attributes_(faces, 0) {}

HResult FvfMesh::Create(uint32_t faces, uint32_t vertices, uint32_t options, uint32_t fvf,
                        Device* device, FvfMesh** out) {
  if (out == nullptr) return kInvalidCall;
  *out = nullptr;
  const FvfLayout layout = FvfLayout::Decode(fvf);
  if (device == nullptr || faces == 0 || vertices == 0 || vertices > 0xFFFF || !layout.valid ||
      layout.positionComponents == 0 || (options & MeshOption::Use32Bit) != 0)
    return kInvalidCall;
  const uint64_t vertexBytes = uint64_t{vertices} * uint32_t(layout.size);
  const uint64_t indexBytes = uint64_t{faces} * 6;
  if (vertexBytes > UINT32_MAX || indexBytes > UINT32_MAX) return kInvalidCall;

  ComPtr<FvfMesh> mesh = ComPtr<FvfMesh>::Attach(
      new FvfMesh(device, faces, vertices, options, fvf, uint32_t(layout.size)));
  HResult hr = device->CreateVertexBuffer(uint32_t(vertexBytes), 0, fvf, Pool::Managed,
                                          mesh->vertexBuffer_.Put());
  if (Failed(hr)) return hr;
  hr = device->CreateIndexBuffer(uint32_t(indexBytes), 0, Format::Index16, Pool::Managed,
                                 mesh->indexBuffer_.Put());
  if (Failed(hr)) return hr;
  hr = device->CreateIndexBuffer(uint32_t(indexBytes), 0, Format::Index16, Pool::Managed,
                                 mesh->grouped_.Put());
  if (Failed(hr)) return hr;
  mesh->GroupFaces();
  *out = mesh.Detach();
  return kOk;
}

HResult FvfMesh::LockVertexBuffer(uint32_t flags, void** data) {
  return vertexBuffer_->Lock(0, 0, data, flags);
}

HResult FvfMesh::UnlockVertexBuffer() {
  return vertexBuffer_->Unlock();
}

HResult FvfMesh::LockIndexBuffer(uint32_t flags, void** data) {
  return indexBuffer_->Lock(0, 0, data, flags);
}

HResult FvfMesh::UnlockIndexBuffer() {
  const HResult hr = indexBuffer_->Unlock();
  if (Succeeded(hr)) GroupFaces();
  return hr;
}

HResult FvfMesh::LockAttributeBuffer(uint32_t /*flags*/, uint32_t** data) {
  if (data == nullptr || attributesLocked_) return kInvalidCall;
  attributesLocked_ = true;
  *data = attributes_.data();
  return kOk;
}

HResult FvfMesh::UnlockAttributeBuffer() {
  if (!attributesLocked_) return kInvalidCall;
  attributesLocked_ = false;
  GroupFaces();
  return kOk;
}

void FvfMesh::GroupFaces() {
  std::vector<uint32_t> order(faces_);
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return attributes_[a] < attributes_[b]; });

  const std::span<const uint8_t> source = indexBuffer_->Data();
  auto index = [&](uint32_t face, int corner) {
    uint16_t v = 0;
    std::memcpy(&v, source.data() + (size_t(face) * 3 + corner) * 2, 2);
    return v;
  };
  table_.clear();
  void* locked = nullptr;
  if (Failed(grouped_->Lock(0, 0, &locked, 0))) return;
  auto* out = static_cast<uint16_t*>(locked);
  for (uint32_t i = 0; i < faces_; ++i) {
    const uint32_t face = order[i];
    if (table_.empty() || table_.back().attribute != attributes_[face])
      table_.push_back({attributes_[face], i, 0, 0, 0});
    ++table_.back().faceCount;
    for (int corner = 0; corner < 3; ++corner)
      out[size_t(i) * 3 + corner] = index(face, corner);
  }
  for (AttributeRange& range : table_) {
    const uint16_t* first = out + size_t(range.faceStart) * 3;
    const auto [lo, hi] = std::minmax_element(first, first + size_t(range.faceCount) * 3);
    range.vertexStart = *lo;
    range.vertexCount = uint32_t(*hi) - *lo + 1;
  }
  grouped_->Unlock();
}

HResult FvfMesh::DrawSubset(uint32_t attribute) {
  const auto range = std::find_if(table_.begin(), table_.end(), [&](const AttributeRange& r) {
    return r.attribute == attribute;
  });
  if (range == table_.end()) return kOk;
  device_->SetFVF(fvf_);
  device_->SetStreamSource(0, vertexBuffer_.Get(), 0, stride_);
  device_->SetIndices(grouped_.Get());
  return device_->DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, range->vertexStart,
                                       range->vertexCount, range->faceStart * 3, range->faceCount);
}

}  // namespace gfx

gfx::HResult D3DXCreateMeshFVF(uint32_t faces, uint32_t vertices, uint32_t options, uint32_t fvf,
                               gfx::Device* device, gfx::FvfMesh** out) {
  return gfx::FvfMesh::Create(faces, vertices, options, fvf, device, out);
}
