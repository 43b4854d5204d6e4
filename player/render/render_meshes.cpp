#include "player/render/render_meshes.h"

void CopyNodePlacement(TransformNode& to, const TransformNode& from) {
  to.world = from.world;
  to.local = from.local;
  to.reserved = from.reserved;
  to.flag = from.flag;
  to.children = from.children;
}

IndexedMesh::IndexedMesh(const IndexedMesh& other)
    : vertices(other.vertices),
      primitiveType(other.primitiveType),
      extra(other.extra),
      indices(other.indices),
      primitiveCount(other.primitiveCount) {
  CopyNodePlacement(node, other.node);
  vertices.locked = nullptr;
}

IndexedMesh& IndexedMesh::operator=(const IndexedMesh& other) {
  if (this == &other) return *this;
  CopyNodePlacement(node, other.node);
  vertices = other.vertices;
  vertices.locked = nullptr;
  primitiveType = other.primitiveType;
  extra = other.extra;
  indices = other.indices;
  primitiveCount = other.primitiveCount;
  return *this;
}
