#include "core/scene/zkw_render_obj.h"

#include "core/scene/scene_services.h"
#include "core/scene/zkw_render_obj_data.h"

void ZKW_RenderObj::Draw(DS_2D_Light& /*renderer*/) {}

void ZKW_RenderObj::Render(DS_2D_Light& renderer, int* readerCount) {
  if (NeedsPictureBelow() != 0) SwitchRendererTarget(renderer, readerCount, true);
  Draw(renderer);
}

ZKW_SmartTiming* ZKW_RenderObj::GetSmartTiming() const {
  return data_ != nullptr ? &data_->timing : nullptr;
}

bool ZKW_RenderObj::TestDataFlag(int flag) const {
  return data_ != nullptr && data_->TestFlag(flag);
}

void ZKW_RenderObj::OnSlideRestart() {
  if (data_ == nullptr || data_->restartFlag.Value() == 0) return;
  if (ZKW_Timing* timeline = data_->timing.Current()) timeline->Reset();
  data_->Restart();
}

void ZKW_RenderObj::Restart() {
  if (data_ == nullptr) return;
  data_->timing.lastTime = 0.0f;
  data_->timing.localTime = 0.0f;
  if (ZKW_Timing* timeline = data_->timing.Current()) timeline->Reset();
  data_->Restart();
}

void ZKW_RenderObj::AdvanceTime(float t) {
  if (data_ == nullptr) {
    Update(t);
    return;
  }
  ZKW_SmartTiming& timing = data_->timing;
  float dt = t - timing.lastTime;
  timing.lastTime = t;
  ZKW_Timing* timeline = timing.Current();
  if (timeline != nullptr) timeline->Step(t);
  if ((timing.flags & ZKW_SmartTiming::kUnscaledLocalTime) == 0 && timing.timeMode.Value() == 2 &&
      timeline != nullptr) {
    dt *= timeline->GetValue();
  }
  timing.localTime += dt;
  Update(timing.localTime);
}

void ZKW_RenderObj::BindTiming() {
  if (data_ == nullptr) return;
  if (ZKW_Timing* timeline = data_->timing.Current()) timeline->Bind();
}

void ZKW_RenderObj::ForwardLostDevice() {
  if (data_ != nullptr) data_->OnLostDevice();
}
