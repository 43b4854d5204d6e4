#pragma once

#include "core/param/media_param_t.h"
#include "platform/math/d3dx_types.h"

// A hue (degrees), saturation and brightness (percent) and the colour they give, recomputed
// whenever one of the three changes: the record watches its own three parameters.
class SmartColorHSB : public MediaControl {
 public:
  SmartColorHSB();
  // Copies the three values and the colour; the copy watches its own parameters.
  SmartColorHSB(const SmartColorHSB& other);
  SmartColorHSB& operator=(const SmartColorHSB&) = delete;
  // The parameters are destroyed before the record and detach it; nothing to do here.
  ~SmartColorHSB() override = default;

  // Stores the three values silently (undo controls follow, nobody is told), then recomputes.
  void SetHSB(unsigned hue, unsigned saturation, unsigned brightness);
  void OnParamChanged(MediaControl* source) override;
  // Stores a colour as it was saved beside the three values, without recomputing it.
  void SetColorRaw(const D3DXCOLOR& color) { color_ = color; }

  const D3DXCOLOR& Color() const { return color_; }

  MediaParamT<unsigned> hue{0};
  MediaParamT<unsigned> saturation{0};
  MediaParamT<unsigned> brightness{0};

 private:
  void Subscribe();

  D3DXCOLOR color_;
};

// The colour of (hue, saturation, brightness), alpha 1. A hue of 360 or more falls into the last
// sector (360 gives red and blue at full brightness, magenta for s = 100).
D3DXCOLOR HsbToColor(unsigned hue, unsigned saturation, unsigned brightness);
