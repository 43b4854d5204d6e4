#pragma once

#include <cstdint>
#include <memory>

#include "objects/text3d/ds_static_text.h"

// A quad text whose first picture scrolls through the quad once per timeline cycle: vertically
// for directions 0 and 1, horizontally for 2 and 3 (0 and 2 run one way, 1 and 3 the other).
// Along the scroll axis the quad shows as much of the picture as its size holds (the scroll
// extent); the offset runs from + extent to - used (0 and 2) or from - used to + extent (1 and
// 3), where used is the picture's used fraction on that axis. The quad does not spin.
//
// Record "DS_ScrollingTex" version 1: Int32 direction, then the whole "DS_StaticText" record.
class DS_ScrollingTex : public DS_StaticText {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_ScrollingTex() = default;
  DS_ScrollingTex(const DS_ScrollingTex& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;

  // The base's restart, then the start offset.
  void Restart() override;
  // The control's clock; the quad's colour at the timeline's value; then, while the cycle has a
  // length and the timeline is not hidden, the offset moves by the clock step x the speed that
  // covers extent + used in one cycle; otherwise the base's restart and the start offset.
  void Update(float t) override;
  // The shadowed draw of the first picture shifted by the offset along the scroll axis.
  void Render(DS_2D_Light& renderer, int* readerCount) override;
  // The corners as the static text writes them; texture coordinates (0, b), (0, 0), (a, b),
  // (a, 0) with a and b the picture's used fractions, but along the scroll axis the used
  // fraction times the quad's size over the picture's source size (the scroll extent; the
  // used fraction while the picture has no size).
  void WriteQuad() override;

  // The offset a scroll starts at: + extent for directions 0 and 2, - used v for 1, - used u
  // for 3.
  float StartOffset() const;
  bool Vertical() const { return direction.Value() < 2; }

  MediaParamT<int> direction{0};
  float offset = 0.0f;
  float scrollSpeed = 0.0f;
  float spare = 0.0f;
  float extent = 0.0f;
};
