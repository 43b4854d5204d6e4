#include "objects/text3d/text_link_rules.h"

#include "core/timing/zkw_timing.h"
#include "platform/app/window.h"
#include "player/scene/ds_slide_show_light.h"

bool TimingHidden(const ZKW_SmartTiming& timing) {
  const ZKW_Timing* timeline = timing.Current();
  return timeline != nullptr && timeline->GetState() == TimingState::Hidden;
}

int HoverLink(const ZKW_SmartTiming& timing, bool hit) {
  if (TimingHidden(timing) || !hit) return 0;
  app::SetCursor(app::Cursor::Hand);
  return 1;
}

void ClickLink(const ZKW_SmartTiming& timing, bool hit, unsigned target) {
  if (TimingHidden(timing) || !hit) return;
  JumpToSlide(target);
}
