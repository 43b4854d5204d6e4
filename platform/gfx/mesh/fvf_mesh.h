#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/buffers.h"
#include "platform/gfx/device.h"
#include "platform/gfx/hresult.h"
#include "platform/gfx/unknown.h"

namespace gfx {

// Creation options of a mesh, with D3DX's values. Meshes keep their buffers in the managed pool
// whatever the options say; the options are kept only to be given back.
struct MeshOption {
  enum : uint32_t {
    Use32Bit = 0x001,  // 32-bit indices: not supported, see D3DXCreateMeshFVF
    Managed = 0x220,
  };
};

// A triangle mesh of one FVF vertex format, as D3DXCreateMeshFVF makes it: a vertex buffer, a
// 16-bit index buffer of three indices a face and one 32-bit attribute (subset id) a face.
// Writers lock a buffer, write it and unlock it. Unlocking the index or the attribute buffer
// groups the faces by attribute, keeping their order within a group, as a mesh that was never
// optimised draws them; DrawSubset then draws one group.
class FvfMesh final : public Unknown {
 public:
  // D3DXCreateMeshFVF below.
  [[nodiscard]] static HResult Create(uint32_t faces, uint32_t vertices, uint32_t options,
                                      uint32_t fvf, Device* device, FvfMesh** out);

  // The faces of one attribute in the grouped order: faces faceStart.. faceStart + faceCount - 1,
  // reaching vertices vertexStart.. vertexStart + vertexCount - 1.
  struct AttributeRange {
    uint32_t attribute = 0;
    uint32_t faceStart = 0, faceCount = 0;
    uint32_t vertexStart = 0, vertexCount = 0;
  };

  uint32_t GetNumFaces() const { return faces_; }
  uint32_t GetNumVertices() const { return vertices_; }
  uint32_t GetFVF() const { return fvf_; }
  uint32_t GetOptions() const { return options_; }
  uint32_t GetNumBytesPerVertex() const { return stride_; }

  // The whole buffer; `flags` are the buffer lock flags (Discard, ReadOnly).
  [[nodiscard]] HResult LockVertexBuffer(uint32_t flags, void** data);
  HResult UnlockVertexBuffer();
  [[nodiscard]] HResult LockIndexBuffer(uint32_t flags, void** data);
  HResult UnlockIndexBuffer();
  // kInvalidCall while it is locked already.
  [[nodiscard]] HResult LockAttributeBuffer(uint32_t flags, uint32_t** data);
  HResult UnlockAttributeBuffer();

  // Draws the faces of `attribute` as a triangle list with the mesh's format, vertex stream and
  // index buffer (which stay set on the device). kOk without drawing when no face has it.
  HResult DrawSubset(uint32_t attribute);

  const std::vector<AttributeRange>& AttributeTable() const { return table_; }
  VertexBuffer* GetVertexBuffer() const { return vertexBuffer_.Get(); }
  IndexBuffer* GetIndexBuffer() const { return indexBuffer_.Get(); }

 private:
  FvfMesh(Device* device, uint32_t faces, uint32_t vertices, uint32_t options, uint32_t fvf,
          uint32_t stride);
  ~FvfMesh() override = default;
  // Rebuilds the grouped index buffer and the attribute table from the indices and attributes.
  void GroupFaces();

  ComPtr<Device> device_;
  uint32_t faces_, vertices_, options_, fvf_, stride_;
  ComPtr<VertexBuffer> vertexBuffer_;
  ComPtr<IndexBuffer> indexBuffer_;  // faces in the writer's order
  ComPtr<IndexBuffer> grouped_;      // faces grouped by attribute, drawn
  std::vector<uint32_t> attributes_;
  bool attributesLocked_ = false;
  std::vector<AttributeRange> table_;
};

}  // namespace gfx

// A mesh of `faces` faces and `vertices` vertices of format `fvf`, every index and attribute 0.
// kInvalidCall without a device or an out-parameter, for no faces or no vertices, an FVF that
// does not decode or has no position, 32-bit indices (Use32Bit), more vertices than 16-bit
// indices reach (65,535) or buffers past 32 bits of bytes; the device's result when a buffer
// cannot be made.
[[nodiscard]] gfx::HResult D3DXCreateMeshFVF(uint32_t faces, uint32_t vertices, uint32_t options,
                                             uint32_t fvf, gfx::Device* device, gfx::FvfMesh** out);
