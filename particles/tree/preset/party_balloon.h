#pragma once

#include <cstdint>

#include "core/param/scaled_param.h"
#include "particles/tree/preset/pstree_leaf.h"

// A leaf that draws each particle as a balloon from the first three pictures of its texture
// source: the colour picture, a highlight and a shade light map, each map weighted by its own
// opacity. It has no glow pass and switches no target, whatever its glow mode.
class ZKW_PartyBalloon : public ZKW_PSTree_Leaf {
 public:
  using ZKW_PSTree_Leaf::ZKW_PSTree_Leaf;

  // "ZKW_PartyBalloon" version 1: the two opacities, then the leaf record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The stored version is not used: the two opacities, then the leaf record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // 0: the balloon never reads the picture below, so it announces no target switch.
  int NeedsPictureBelow() const override { return 0; }
  void Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
              int* readerCount) override;
  // "LightMapsOpacity": 1, then the two opacities as fractions.
  void SetLightMaps(gfx::Effect& effect) const;

  UINTSclaleTo<float> firstLightMapOpacity{0, 0.01f, 0.0f};
  UINTSclaleTo<float> secondLightMapOpacity{0, 0.01f, 0.0f};
};
