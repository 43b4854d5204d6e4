#pragma once

#include <cstdint>

#include "renderers/brush/ds_underwater_fx.h"
#include "renderers/light/ds_2d_light.h"

// The renderer that shows the slide as if under water: the background and every object are
// drawn off screen each frame, and the finished picture is redrawn to the screen through the
// embedded underwater brush.
class FakeUndervater : public DS_2D_Light {
 public:
  static constexpr uint32_t kVersion = 2;

  // "FakeUndervater" version 2: the brush's record, then the "DS_2D_Light" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores only a speed (halved for the brush) in place of the brush's record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's, then the brush's effect and mask.
  void Prepare() override;
  // The camera, then the brush's clock.
  void Update(float t) override;
  // Ends the offscreen pass and draws its picture through the brush, then the border bars.
  // Without the brush's effect the picture is drawn as it is.
  void Compose(void* context) override;
  bool NeedsOffscreenPass() const override { return true; }
  bool AppendScreenRects(std::vector<ScreenRect>& rects) override {
    return AppendWholeTarget(rects);
  }

  DS_UnderwaterFX effect;
};
