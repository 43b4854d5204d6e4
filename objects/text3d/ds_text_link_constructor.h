#pragma once

#include <cstdint>
#include <memory>

#include "objects/text3d/ds_static_text_constructor.h"

// A sprite text that shows its target slide when clicked, and the hand cursor while the mouse
// is over it (not while its timeline is hidden).
//
// Record "DS_TextLinkConstructor" version 1: UInt32 target slide, then the whole
// "DS_StaticTextConstructor" record.
class DS_TextLinkConstructor : public DS_StaticTextConstructor {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_TextLinkConstructor() = default;
  DS_TextLinkConstructor(const DS_TextLinkConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;

  // Whether the window point lies in the link: the point found in the picture where the link is
  // drawn (with the camera while it runs), within the integer half width and height of the
  // position (borders inside). A miss before the first frame (no render context).
  bool HitTest(float x, float y) override;
  int HoverTest(int x, int y) override;
  void Click(int x, int y) override;

  MediaParamT<unsigned> targetSlide{0};
};
