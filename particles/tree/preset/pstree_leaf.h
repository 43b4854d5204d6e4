#pragma once

#include <cstdint>

#include "core/graph/graph_spread_prm.h"
#include "core/link/ds_file_link.h"
#include "core/param/callback_ctrl.h"
#include "core/param/color_params.h"
#include "core/param/color_set_params.h"
#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "particles/tree/preset/pstree_node.h"
#include "platform/gfx/effect/effect.h"
#include "player/resources/zkw_alerter_texture_src.h"
#include "renderers/blur/blur_effect.h"

// The drawing node of a preset tree: its source makes particles for its parents' particles, each
// coloured from the node's colour set, and every frame it writes one textured quad per particle
// into its batch and draws it with the tree's effect, normally or added, optionally after a
// blurred glow of the same quads. Its children are neither spawned nor updated by it.
class ZKW_PSTree_Leaf : public ZKW_PSTree_Node {
 public:
  explicit ZKW_PSTree_Leaf(DS_SafePtr<ZKW_PtclSys_Geometry> geometry = {});

  // "ZKW_PSTree_Leaf" version 5, then the node part.
  bool Save(DS_IOF_Archive& archive) const override;
  // Versions 1 to 5: version 1 holds a picture list instead of a texture source, 3 adds the size
  // spread and stretch direction, 5 the pivots.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // 1 with the glow over the picture below (mode 2).
  int NeedsPictureBelow() const override { return glowMode.Value() == 2 ? 1 : 0; }
  // The source's particles for `parent`, each given a colour from the node's colour set.
  void SpawnForParent(ParticleHandle parent) override;
  // Steps the texture's frames and the source's particles; always one batch.
  unsigned UpdateParticles(float step, const ParticleList& parents) override;
  void FillVertices(QuadBatches& batches, size_t* index) override;
  void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
              int* readerCount) override;
  // Loads the texture, sizes the glow surface to the render context and gives it its effect.
  void CreateDeviceObjects() override;
  // Reloads the texture's frames, takes its atlas grid and draws every particle a new cell.
  virtual void OnTextureChanged();

  // The technique of the blend: "BlendNormal", "BlendNormal_AlphaPM" for a premultiplied source,
  // "BlendSum" for blend 1. Other blend values draw as 0.
  const char* BlendTechnique() const;
  // Whether the texture has a first picture to draw with.
  bool HasPicture() const;

  DS_HLSLEffectFile blurEffectLink{u"glimres.dll", 202};
  ZKW_AlerterTextureSRC texture;
  MediaParamT<int> flipVertical{0};
  MediaParamT<int> flipHorizontal{0};
  MediaParamT<unsigned> size{0};
  ColorSetParams colours;
  MediaParamT<int> blend{0};
  MediaParamT<int> glowMode{0};
  ZKW_BlurSurface glowBlur;
  MediaParamT<unsigned>& glowBlurSize = glowBlur.reduction;
  SmartCOLORREF glowColour{0x000000};
  UINTSclaleTo<float> glowBrightness{0, 0.02f, 0.0f};
  MediaParamT<int> glowRepeats{0};
  GraphSpreadPrm sizeSpread{100, 0.01f};
  MediaDirection stretchDirection;
  UINTSclaleTo<float> pivotX{50, 0.01f, -0.5f};
  UINTSclaleTo<float> pivotY{50, 0.01f, -0.5f};

 protected:
  // The leaf part's header, then its body.
  void ReadLeafPart(DS_IOF_Archive& archive) {
    ZKW_PSTree_Leaf::ReadBody(archive, ReadBaseHeader(archive));
  }
  // The batch at the running index (advanced), or null past the list's end.
  static ParticleQuadBatch* NextBatch(QuadBatches& batches, size_t* index);

 private:
  void GlowPass(ParticleQuadBatch& batch, gfx::Effect* effect, DS_2D_Light& renderer);

  SmartCalbackCtrl<ZKW_PSTree_Leaf> textureWatch_{&ZKW_PSTree_Leaf::OnTextureChanged, this,
                                                  &texture};
};
