#include "objects/text3d/text_link_rules.h"

#include "core/scene/ds_abobj_constructor.h"
#include "core/startup/thread_slots.h"
#include "core/timing/zkw_timing.h"
#include "platform/app/window.h"
#include "player/render/render_context.h"
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

std::optional<D3DXVECTOR3> LinkPointInPicture(const DS_ABObj_Constructor& link, float x, float y) {
  const RenderContext* context = RenderContextTlsSlot::Get();
  if (context == nullptr) return std::nullopt;
  return context->PictureAt(x, y, static_cast<float>(link.depth.Value()));
}
