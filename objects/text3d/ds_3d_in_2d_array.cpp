#include "objects/text3d/ds_3d_in_2d_array.h"

#include <algorithm>

#include "core/list_limits.h"
#include "objects/text3d/ds_sream_anim.h"
#include "objects/text3d/frame_tree.h"
#include "player/render/matrix_values.h"
#include "player/resources/texture_cache.h"
#include "renderers/light/ds_2d_light.h"

DS_3D_in_2D_array::DS_3D_in_2D_array(std::unique_ptr<DS_3D_in_2D_array_Constructor> description)
    : DS_ABObj(std::move(description)),
      description_(static_cast<DS_3D_in_2D_array_Constructor*>(DS_ABObj::Description())) {
  DS_3D_in_2D_array_Constructor& d = *description_;
  d.runtimeObject = this;
  if (TextureCache* cache = TextureCache::Current()) {
    mesh_.picture = cache->GetLinkTexture(d.picture).texture;
    mesh_.SetBuffers(cache->LoadModelForLink(d.mesh, MeshGeometry::kStride));
  }
  // A damaged count makes no more copies than a list of particles may hold.
  const size_t copies = std::min<size_t>(d.count.Value(), kMaxParticlesPerList);
  const D3DXVECTOR3 centre = mesh_.boundingCenter;
  for (size_t i = 0; i < copies; ++i) {
    auto node = std::make_unique<TransformNode>();
    node->local = TranslationMatrix(-centre.x, -centre.y, -centre.z);
    node->modifier = std::make_unique<DS_LeafFallAnim>(&d.drift, mesh_.boundingRadius);
    AdoptChild(mesh_.Root(), std::move(node));  // deleted by DestroyTree
  }
}

DS_3D_in_2D_array::~DS_3D_in_2D_array() {
  mesh_.DestroyTree();
}

void DS_3D_in_2D_array::Update(float localTime) {
  SharedDriftClock() = localTime;
  mesh_.Root().UpdateWorld(nullptr);
}

void DS_3D_in_2D_array::Draw(DS_2D_Light& renderer) {
  renderer.DrawFrameTree(mesh_);
}
