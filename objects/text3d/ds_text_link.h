#pragma once

#include <cstdint>
#include <memory>

#include "objects/text3d/ds_static_text.h"

// A quad text that shows its target slide when clicked, and the hand cursor while the mouse is
// over it (not while its timeline is hidden).
//
// Record "DS_TextLink" version 1: UInt32 target slide, then the whole "DS_StaticText" record.
class DS_TextLink : public DS_StaticText {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_TextLink() = default;
  DS_TextLink(const DS_TextLink& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;

  // Whether the window point, found in the picture where the link is drawn (with the camera
  // while it runs), lies within the first and fourth corners (edges inside; z plays no part). A
  // miss before the first frame (no render context).
  bool HitTest(float x, float y) const;
  int HoverTest(int x, int y) override;
  void Click(int x, int y) override;

  MediaParamT<unsigned> targetSlide{0};
};
