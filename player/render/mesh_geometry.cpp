#include "player/render/mesh_geometry.h"

#include <utility>

bool MeshGeometry::SetBuffers(MeshBuffers buffers) {
  vertices.buffer = std::move(buffers.vertexBuffer);
  vertices.locked = nullptr;
  vertices.count = buffers.vertexCount;
  indices = std::move(buffers.indexBuffer);
  primitiveCount = buffers.faceCount;
  extra = buffers.faceCount;
  primitiveType = gfx::PrimitiveType::TriangleList;
  boundingRadius = buffers.radius;
  boundingCenter = buffers.center;
  return true;
}

void MeshGeometry::DestroyTree() {
  for (TransformNode* child : node.children)
    delete child;
  node.children.clear();
}
