#include "core/timing/random_timeline.h"

#include <algorithm>

#include "core/float_to_int.h"
#include "core/timing/smart_timing.h"

ZKW_RandomTimeLine::ZKW_RandomTimeLine() {
  ResetClock();
  state_ = TimingState::Hidden;
  DrawShownTime();
}

bool ZKW_RandomTimeLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_RandomTimeLine", 1);
  params.Write(archive);
  return ZKW_Timing::Save(archive);
}

void ZKW_RandomTimeLine::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  params.Read(archive);
  ReadBaseHeader(archive);
}

void ZKW_RandomTimeLine::DrawShownTime() {
  shownTime_ = PickRandomSeconds(params.shownMin.Value(), params.shownMax.Value());
}

void ZKW_RandomTimeLine::StartFadeIn() {
  state_ = TimingState::FadingIn;
  value_ = 0.0f;
  nextSwitch_ += params.fadeIn.Scaled();
  if (params.fadeIn.Value() != 0) fadeRate_ = 1.0f / params.fadeIn.Scaled();
}

void ZKW_RandomTimeLine::StartFadeOut() {
  state_ = TimingState::FadingOut;
  value_ = 1.0f;
  nextSwitch_ += params.fadeOut.Scaled();
  if (params.fadeOut.Value() != 0) fadeRate_ = 1.0f / params.fadeOut.Scaled();
}

float ZKW_RandomTimeLine::Step(float t) {
  const float local = AdvanceClock(t);
  if (local > nextSwitch_) {
    switch (state_) {
      case TimingState::Shown:
        StartFadeOut();
        break;
      case TimingState::FadingIn:
        state_ = TimingState::Shown;
        value_ = 1.0f;
        fadeRate_ = 0.0f;
        nextSwitch_ += shownTime_;
        if (nextSwitch_ <= local) StartFadeOut();
        break;
      case TimingState::FadingOut:
        state_ = TimingState::Hidden;
        value_ = 0.0f;
        fadeRate_ = 0.0f;
        nextSwitch_ += PickRandomSeconds(params.hiddenMin.Value(), params.hiddenMax.Value());
        DrawShownTime();
        if (nextSwitch_ <= local) StartFadeIn();
        break;
      case TimingState::Hidden:
        StartFadeIn();
        break;
    }
  }
  // A step longer than the fade (or than the phase chained before it) ends past the fade's end;
  // the value stays a visibility all the same.
  if (state_ == TimingState::FadingIn) {
    value_ = std::clamp(1.0f - (nextSwitch_ - local) * fadeRate_, 0.0f, 1.0f);
  } else if (state_ == TimingState::FadingOut) {
    value_ = std::clamp((nextSwitch_ - local) * fadeRate_, 0.0f, 1.0f);
  }
  return local;
}

void ZKW_RandomTimeLine::Reset() {
  ResetClock();
  nextSwitch_ = 0.0f;
  fadeRate_ = 0.0f;
  state_ = TimingState::Hidden;
  DrawShownTime();
}

float ZKW_RandomTimeLine::GetPhaseProgress() const {
  if (state_ != TimingState::Shown || shownTime_ == 0.0f) return 0.0f;
  return 1.0f - (nextSwitch_ - speed_.localTime) / shownTime_;
}

float ZKW_RandomTimeLine::GetCycleLength() const {
  return params.fadeOut.Scaled() + params.fadeIn.Scaled() + shownTime_;
}

void ZKW_RandomTimeLine::InitFrom(const ZKW_SmartTiming& owner) {
  params.fadeIn.SetValue(SaturatingTruncate<unsigned>(owner.defaultFadeIn * 100.0f));
  params.fadeOut.SetValue(SaturatingTruncate<unsigned>(owner.defaultFadeOut * 100.0f));
  const unsigned shown = SaturatingTruncate<unsigned>(owner.defaultShown * 100.0f);
  params.shownMax.SetValueSilently(shown);
  params.shownMin.SetValueSilently(shown);
}
