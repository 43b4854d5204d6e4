#include "core/param/smart_color_hsb.h"

#include <algorithm>
#include <cmath>

SmartColorHSB::SmartColorHSB() {
  Subscribe();
  OnParamChanged(nullptr);
}

SmartColorHSB::SmartColorHSB(const SmartColorHSB& other)
    : MediaControl(),
      hue(other.hue),
      saturation(other.saturation),
      brightness(other.brightness),
      color_(other.color_) {
  Subscribe();
}

void SmartColorHSB::Subscribe() {
  hue.AddControl(this);
  saturation.AddControl(this);
  brightness.AddControl(this);
}

void SmartColorHSB::SetHSB(unsigned h, unsigned s, unsigned b) {
  hue.SetValueSilently(h);
  saturation.SetValueSilently(s);
  brightness.SetValueSilently(b);
  OnParamChanged(nullptr);
}

void SmartColorHSB::OnParamChanged(MediaControl*) {
  color_ = HsbToColor(hue.Value(), saturation.Value(), brightness.Value());
}

D3DXCOLOR HsbToColor(unsigned hue, unsigned saturation, unsigned brightness) {
  const float s = static_cast<float>(saturation) * 0.01f;
  const float v = static_cast<float>(brightness) * 0.01f;
  if (s == 0.0f) return {v, v, v, 1.0f};
  const float h = static_cast<float>(hue) / 60.0f;
  // h >= 0, so truncation is floor; hues beyond any sector fall into the last rule.
  const unsigned i = static_cast<unsigned>(std::min(std::floor(h), 5.0f));
  const float f = h - std::floor(h);
  const float p = (1.0f - s) * v;
  const float q = (1.0f - s * f) * v;
  const float t = (1.0f - s * (1.0f - f)) * v;
  switch (i) {
    case 0:
      return {v, t, p, 1.0f};
    case 1:
      return {q, v, p, 1.0f};
    case 2:
      return {p, v, t, 1.0f};
    case 3:
      return {p, q, v, 1.0f};
    case 4:
      return {t, p, v, 1.0f};
    default:
      return {v, p, q, 1.0f};
  }
}
