#pragma once

#include <cstdint>
#include <memory>

#include "core/param/text_style_params.h"
#include "core/scene/ds_abobj_constructor.h"

class DS_2D_Light;

// The saved base of the text kinds that draw themselves (flat textured text and 3D text): a
// scene object with a text block. Its run-time object, a ZKW_TextObj, owns a clone of the
// description, prepared and restarted once, and hands it the object's time (Tick) and its draws
// (Draw). The text block is read, copied and written; kinds read only a few of its values (the
// font colour, the font size, the alignment values).
class ZKW_Text : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_Text() = default;
  // Copies the text block's values (with fresh observers) and the description.
  ZKW_Text(const ZKW_Text& other) = default;
  ZKW_Text& operator=(const ZKW_Text&) = delete;

  // "ZKW_Text" version 1: the text block, then the "DS_ABObj_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The body of any version: the text block, then the description's header and body. Kinds read
  // this record last, after their own fields (with ReadBaseHeader for its header).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A ZKW_TextObj that owns a clone of this description, which is then prepared and restarted.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;

  // Builds device objects and derived values on the run-time clone.
  virtual void Prepare() = 0;
  // Draws through the slide renderer.
  virtual void Draw(DS_2D_Light& canvas) = 0;
  // The animation at the object's local time t.
  virtual void Tick(float t) = 0;
  // A copy of the same kind.
  virtual std::unique_ptr<ZKW_Text> Clone() const = 0;

  TextStyleParams text;
};
