#pragma once

#include <memory>

#include "core/scene/ds_abobj.h"
#include "objects/text3d/zkw_text.h"

// The run-time object of the text kinds: owns the clone of the description it draws (through
// DS_ABObj), forwards its draws to the clone's Draw and its local time to the clone's Tick.
class ZKW_TextObj : public DS_ABObj {
 public:
  explicit ZKW_TextObj(std::unique_ptr<ZKW_Text> text);

  void Draw(DS_2D_Light& canvas) override { text_->Draw(canvas); }
  void Update(float localTime) override { text_->Tick(localTime); }

  ZKW_Text& Text() const { return *text_; }

 private:
  ZKW_Text* text_;  // the description, owned by DS_ABObj
};
