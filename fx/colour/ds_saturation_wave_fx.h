#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "platform/math/d3dx_types.h"
#include "renderers/brush/ds_fx_constructor.h"

// Sweeps a band of more (or less) saturation across the mask quad along a direction: from the
// quad's near edge to a band width beyond its far edge, by its sweep mode, as far as the
// timeline has come.
class DS_SaturationWaveFX : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed 50 x 0.01.
  DS_SaturationWaveFX();

  // "DS_SaturationWaveFX" version 1: sweep mode, spare level, saturation level, wave direction,
  // band width, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: the levels told when they change, the rest stored straight (the direction's
  // vectors recomputed).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void Prepare(ComRef<gfx::Texture>* maskSlot) override { PrepareGrid(maskSlot); }
  // The phase step, then the band's place: sweep mode 0 at the far end, 1 once per whole phase
  // (saturating on even ones, desaturating on odd ones), 2 forth and back per whole phase, any
  // other by the phase itself; all times the timeline value.
  void Tick(float time) override;
  // "BgSize" = the target's size, "WaveDir", "WavePos", "WaveFreq" = pi / band width (+inf for
  // a band of no width: a hard edge), the level as "SatMax" (saturating) or "SatMin", "Mask",
  // "Background"; then the quad binding.
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_SaturationWaveFX>(*this);
  }

  MediaParamT<int> sweepMode{2};
  // Saved and read; nothing draws with it.
  UINTSclaleTo<float> spareLevel{50, 0.01f, 0.0f};
  UINTSclaleTo<float> saturationLevel{100, 0.01f, 0.0f};
  MediaDirection waveDirection;
  // Scene units.
  MediaParamT<unsigned> bandWidth{100};
  // From Tick.
  D3DXVECTOR3 wavePosition;
  float projectionMin = 0.0f;
  float projectionMax = 0.0f;
  uint8_t saturateFlag = 1;
  float level = 0.0f;

 protected:
  // The body after the record's header, shared with DS_SaturationFX.
  bool ReadWaveBody(DS_IOF_Archive& archive);
};
