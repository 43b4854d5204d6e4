#include "core/timing/depended_timeline.h"

#include "core/scene/ds_abobj.h"
#include "core/scene/runtime_object_map.h"
#include "core/timing/smart_timing.h"

namespace {

// Marks a mirror call in progress for as long as it lives.
class FollowScope {
 public:
  explicit FollowScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FollowScope() { flag_ = false; }
  FollowScope(const FollowScope&) = delete;
  FollowScope& operator=(const FollowScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

ZKW_DependedTimeLine::ZKW_DependedTimeLine() = default;
ZKW_DependedTimeLine::~ZKW_DependedTimeLine() = default;

bool ZKW_DependedTimeLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_DependedTimeLine", 2);
  archive.WriteGuid(master.Value());
  archive.io().WriteInt32(mode.Value());
  params.Write(archive);
  return ZKW_Timing::Save(archive);
}

void ZKW_DependedTimeLine::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.ReadGuid(master.RawValue());
  if (version < 2) {
    mode.SetValueSilently(0);
  } else {
    archive.io().ReadInt32(mode.RawValue());
    params.Read(archive);
  }
  ReadBaseHeader(archive);
}

void ZKW_DependedTimeLine::ResolveMaster() {
  DS_ABObj* object = FindRuntimeObject(master.Value());
  masterTiming_ = object != nullptr ? object->GetSmartTiming() : nullptr;
  runActive_ = false;
  previousMasterState_ = TimingState::Hidden;
}

ZKW_Timing* ZKW_DependedTimeLine::MasterCurrent() const {
  return masterTiming_ != nullptr ? masterTiming_->Current() : nullptr;
}

float ZKW_DependedTimeLine::Step(float t) {
  if (mode.Value() != 1) return t;
  ZKW_Timing* masterCurrent = MasterCurrent();
  if (masterCurrent == nullptr) return t;

  lastTime_ = t;
  const TimingState masterState = masterCurrent->GetState();
  if (runActive_) {
    if (t > end_) runActive_ = false;
  } else if (masterState != TimingState::Hidden && previousMasterState_ == TimingState::Hidden) {
    runActive_ = true;
    fadeInStart_ = t + PickRandomSeconds(params.hiddenMin.Value(), params.hiddenMax.Value());
    shownStart_ = fadeInStart_ + params.fadeIn.Scaled();
    fadeOutStart_ =
        shownStart_ + PickRandomSeconds(params.shownMin.Value(), params.shownMax.Value());
    end_ = fadeOutStart_ + params.fadeOut.Scaled();
  }
  previousMasterState_ = masterState;
  return t;
}

float ZKW_DependedTimeLine::GetValue() const {
  if (masterTiming_ == nullptr) return 0.0f;
  if (mode.Value() == 0) {
    ZKW_Timing* masterCurrent = MasterCurrent();
    if (masterCurrent == nullptr || following_) return 0.0f;
    FollowScope scope(following_);
    return masterCurrent->GetValue();
  }
  const float t = lastTime_;
  if (t > end_) return 0.0f;
  if (t > fadeOutStart_) return 1.0f - (t - fadeOutStart_) / (end_ - fadeOutStart_);
  if (t > shownStart_) return 1.0f;
  if (t > fadeInStart_) return (t - fadeInStart_) / (shownStart_ - fadeInStart_);
  return 0.0f;
}

TimingState ZKW_DependedTimeLine::GetState() const {
  if (masterTiming_ == nullptr) return TimingState::Hidden;
  if (mode.Value() == 0) {
    ZKW_Timing* masterCurrent = MasterCurrent();
    if (masterCurrent == nullptr || following_) return TimingState::Hidden;
    FollowScope scope(following_);
    return masterCurrent->GetState();
  }
  const float t = lastTime_;
  if (t > end_) return TimingState::Hidden;
  if (t > fadeOutStart_) return TimingState::FadingOut;
  if (t > shownStart_) return TimingState::Shown;
  if (t > fadeInStart_) return TimingState::FadingIn;
  return TimingState::Hidden;
}
