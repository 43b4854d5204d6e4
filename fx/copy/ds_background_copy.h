#pragma once

#include <cstdint>
#include <memory>

#include "core/guid.h"
#include "core/param/media_param_t.h"
#include "core/param/media_rectangle.h"
#include "player/render/render_target_set.h"
#include "renderers/brush/ds_fx_constructor.h"

// A shifted or mirrored copy of a picture through the mask: of the picture drawn so far, or,
// linked by GUID, of another live run-time object alone, drawn every frame into render targets
// of the brush's own. The offset is the rectangle's two further values in pixels; each flag adds
// a whole picture, which the effect's mirrored addressing turns into a mirror image.
//
// A linked copy shows only its object, not the picture below: drawn over a target cleared for it
// (modes 1 and 2) it would lose the slide. It reads no picture below and draws its copy over the
// picture ("Main") in every mode. A copy that is already drawing its linked object (linked to
// itself, or to a copy that links back) draws nothing when it is reached again.
class DS_BackgroundCopy : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 2;

  // Effect glimres.dll #75.
  DS_BackgroundCopy();
  // Every member; the render targets are shared.
  DS_BackgroundCopy(const DS_BackgroundCopy& other);

  // "DS_BackgroundCopy" version 2: the rectangle, the vertical and horizontal flags, the source
  // GUID, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 holds no source: it copies the picture drawn so far.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The render targets at 3, 2 or 1 times the back buffer's size, the first that can be made.
  void CreateRuntimeObjectAlt() override { CreateTargets(); }
  // Releases the render targets; the next draw of a linked copy makes them again.
  void OnLostDevice() override;
  // The base's, then the render targets.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The source picture (for a link, its object drawn into the render targets first), then
  // "offset", the technique, "mask_position", "Scale", "Mask", "Background" and one pass over
  // the whole picture.
  void Draw(DS_2D_Light& canvas) override;
  int HasMode() const override { return IsLinked() ? 0 : DS_FX_Constructor::HasMode(); }
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_BackgroundCopy>(*this);
  }

  bool IsLinked() const { return !source.Value().IsNull(); }

  // Bounds stored only; the two further values are the offset in pixels (x, y).
  MediaRectangle rectangle;
  MediaParamT<int> verticalFlag{0};
  MediaParamT<int> horizontalFlag{0};
  // The run-time object copied; the null GUID copies the picture drawn so far.
  MediaParamT<GUID> source;
  RenderTargetSet targets;

 private:
  void CreateTargets();
  // The linked object drawn alone into the render targets, cleared to transparent black first
  // (which is all it shows when no live object has the GUID); null without targets.
  gfx::Texture* DrawLinkedObject(DS_2D_Light& canvas);

  bool drawing_ = false;
  // The targets were released with the device and are made again on the next draw.
  bool remakeTargets_ = false;
};
