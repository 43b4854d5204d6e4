#include "geometry/offset/zkw_point_stripe_mesh_builder.h"

#include <algorithm>
#include <limits>

#include "geometry/offset/zkw_straight_skeleton_offset.h"
#include "platform/gfx/device.h"

namespace {

// The 16-bit counters stop here rather than wrap.
constexpr int kMaxCount = std::numeric_limits<uint16_t>::max();

// What a holder's buffer really has room for: its stated capacity, but no more than its bytes.
int32_t Room(int32_t capacity, uint32_t bytes, uint32_t elementBytes) {
  return std::min<int64_t>(std::max(capacity, 0), bytes / elementBytes);
}

template <class Buffer>
gfx::ComPtr<gfx::Device> DeviceOf(Buffer* buffer) {
  gfx::ComPtr<gfx::Device> device;
  buffer->GetDevice(device.Put());
  return device;
}

}  // namespace

bool ZKW_PointStripeMeshBuilder::Lock() {
  StripeVertexBuffer& v = *vertices_;
  StripeIndexBuffer& i = *indices_;
  if (!v.buffer) return false;
  void* vertexData = nullptr;
  if (gfx::Failed(v.buffer->Lock(0, 0, &vertexData, 0)) || vertexData == nullptr) return false;
  v.data = vertexData;
  void* indexData = nullptr;
  if (!i.buffer || i.buffer->GetFormat() != gfx::Format::Index16 ||
      gfx::Failed(i.buffer->Lock(0, 0, &indexData, 0)) || indexData == nullptr) {
    v.buffer->Unlock();
    v.data = nullptr;
    return false;
  }
  i.data = static_cast<uint16_t*>(indexData);
  // A buffer that cannot describe itself gives no room: nothing is written into it.
  gfx::VertexBufferDesc vertexDesc{};
  if (gfx::Failed(v.buffer->GetDesc(&vertexDesc))) vertexDesc = {};
  gfx::IndexBufferDesc indexDesc{};
  if (gfx::Failed(i.buffer->GetDesc(&indexDesc))) indexDesc = {};
  vertexRoom_ = Room(v.capacity, vertexDesc.size, sizeof(StripeVertex));
  triangleRoom_ = Room(i.capacity, indexDesc.size, 3 * sizeof(uint16_t));
  return true;
}

void ZKW_PointStripeMeshBuilder::Unlock() {
  indices_->buffer->Unlock();
  vertices_->buffer->Unlock();
  indices_->data = nullptr;
  vertices_->data = nullptr;
}

template <class Holder>
bool ZKW_PointStripeMeshBuilder::MakeRoom(uint16_t count, int32_t& room, Holder& holder,
                                          bool (*grow)(gfx::Device*, Holder&, int)) {
  if (stopped_ || count >= kMaxCount) {
    stopped_ = true;
    return false;
  }
  if (count < room) return true;
  if (!grow(DeviceOf(holder.buffer.Get()).Get(), holder, count)) {
    stopped_ = true;
    return false;
  }
  room = holder.capacity;
  return true;
}

bool ZKW_PointStripeMeshBuilder::AppendVertex(uint16_t* count, float x, float y, uint32_t colour,
                                              float u, uint16_t* index) {
  if (!MakeRoom(*count, vertexRoom_, *vertices_, GrowVertexBuffer)) return false;
  static_cast<StripeVertex*>(vertices_->data)[*count] = {x, y, 0.0f, colour, u, 0.0f, u, 0.0f};
  *index = *count;
  ++*count;
  return true;
}

bool ZKW_PointStripeMeshBuilder::AppendTriangle(uint16_t* count, uint16_t a, uint16_t b,
                                                uint16_t c) {
  if (!MakeRoom(*count, triangleRoom_, *indices_, GrowIndexBuffer)) return false;
  uint16_t* triangle = indices_->data + 3 * static_cast<size_t>(*count);
  triangle[0] = a;
  triangle[1] = b;
  triangle[2] = c;
  ++*count;
  return true;
}

void ZKW_PointStripeMeshBuilder::BuildMesh(uint16_t* triangleCount, uint16_t* vertexCount,
                                           StripePointInfo pointInfo) {
  vertexBase_ = *vertexCount;
  triangleStart_ = *triangleCount;
  const size_t n = offsetter_->Points().size();
  if (n < 2 || !Lock()) return;
  stopped_ = false;
  const auto centre = [this](size_t i) { return static_cast<uint16_t>(vertexBase_ + i); };

  for (unsigned i = 0; i < n; ++i) {
    float halfWidth = 0.0f;
    uint32_t colour = 0;
    pointInfo(i, halfWidth, colour);
    const D3DXVECTOR2& p = offsetter_->Points()[i];
    uint16_t index = 0;
    if (!AppendVertex(vertexCount, p.x, p.y, colour, 0.5f, &index)) break;
  }

  for (int side = 0; side < 2 && !stopped_; ++side) {
    bool hasPrevious = false;  // a vertex of the previous point on this side
    uint16_t previous = 0;
    for (unsigned j = 0; j < n && !stopped_; ++j) {
      float halfWidth = 0.0f;
      uint32_t colour = 0;
      pointInfo(j, halfWidth, colour);
      offsets_.clear();
      offsetter_->OffsetPoints(side == 1, static_cast<int>(j), halfWidth, &offsets_);
      if (offsets_.empty()) continue;
      for (const D3DXVECTOR3& p : offsets_) {
        uint16_t index = 0;
        if (!AppendVertex(vertexCount, p.x, p.y, colour, static_cast<float>(side), &index)) break;
        // The first vertex closes the quad with the previous point; the others fan around the
        // centre vertex.
        if (hasPrevious) AppendTriangle(triangleCount, centre(j), previous, index);
        previous = index;
        hasPrevious = true;
      }
      if (j + 1 < n) AppendTriangle(triangleCount, centre(j), centre(j + 1), previous);
    }
  }
  Unlock();
}
