#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "renderers/brush/ds_fx_constructor.h"

// Erases inside its mask (mask sense 0) or outside it (any other sense): what it erases
// becomes transparent. On a copy (mode 2, its default) it erases the layer of the objects drawn
// since the picture below was set aside, which shows again there; in modes 0 and 1 it clears
// the alpha of what it draws over.
class DS_EraseLayerFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Mode 2: it works on a copy of the picture below.
  DS_EraseLayerFX();

  // "DS_EraseLayerFX" version 1: mask sense, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: the mask sense stored straight.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // "mask_mod" = (1, -1) for mask sense 0, else (0, 1): the effect keeps alpha x (x + y x the
  // mask); then the common binding.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_EraseLayerFX>(*this);
  }

  MediaParamT<int> maskSense{0};
};
