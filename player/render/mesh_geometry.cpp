#include "player/render/mesh_geometry.h"

#include <utility>

#include "player/document/doc_res_manager.h"
#include "player/resources/module_resources.h"

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

bool MeshGeometry::LoadMesh(const DS_MeshFile& link) {
  DS_DocResManager* document = CurrentDocument();
  if (document == nullptr) return false;
  MeshBuffers& entry = document->meshCache[link.Key()];
  if (entry.vertexCount == 0) {
    std::vector<ResourceDataRecord>& records = document->resourceRecords[link.Key()];
    if (records.empty()) {
      // A link the project stores nothing for: its module's resource. A module without one
      // leaves the record empty, and the loading below finds what stands in for it.
      records.push_back(LinkRecordOf(link));
      (void)LoadFromModule(records.back());
    }
    entry = document->Cache().LoadModelForLink(records.front(), kStride);
  }
  return SetBuffers(entry);
}

bool MeshGeometry::LoadMeshWithPicture(const DS_MeshFile& meshLink,
                                       const DS_ImageFileLink& pictureLink) {
  if (DS_DocResManager* document = CurrentDocument()) {
    picture = document->GetImageTextures(pictureLink).CurrentTexture();
  }
  return LoadMesh(meshLink);
}
