#include "core/timing/manual_timeline.h"

#include <cmath>

ZKW_ManualTimeLine::ZKW_ManualTimeLine() {
  period.SetValue(1000);
  Reset();
}

bool ZKW_ManualTimeLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ManualTimeLine", 1);
  archive.io().WriteUInt32(period.Value());
  WriteTimeKeys(archive, keys);
  return ZKW_Timing::Save(archive);
}

void ZKW_ManualTimeLine::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadUInt32(period.RawValue());
  period.NotifyChanged(nullptr);
  ReadTimeKeys(archive, keys);
  ReadBaseHeader(archive);
}

void ZKW_ManualTimeLine::Reset() {
  ResetClock();
  Hide();
  position_ = 0.0f;
}

void ZKW_ManualTimeLine::Hide() {
  state_ = TimingState::Hidden;
  value_ = 0.0f;
  keyLength_ = 0.0f;
}

const TimeKey* ZKW_ManualTimeLine::KeyAtPosition() const {
  // Keys are disjoint and ordered, so the first key not "before" a point key at the position is
  // the first whose end is at or after it.
  auto it = keys.lower_bound(TimeKey{position_, position_, position_, position_});
  return it != keys.end() ? &*it : nullptr;
}

float ZKW_ManualTimeLine::Step(float t) {
  AdvanceClock(t);
  const float periodSeconds = period.Scaled();
  if (!(periodSeconds > 0.0f)) {
    position_ = 0.0f;
    Hide();
    return position_;
  }
  position_ = std::fmod(position_ + speed_.step, periodSeconds);

  const TimeKey* key = KeyAtPosition();
  // Summed one second at a time in single precision, as the look-ahead always was.
  const float horizon = position_ + 1.0f + 1.0f + 1.0f;
  if (key == nullptr || key->start > horizon) {
    Hide();
    return position_;
  }
  if (position_ < key->start) {
    state_ = TimingState::Hidden;
    value_ = 0.0f;
  } else if (position_ < key->fadeInEnd) {
    state_ = TimingState::FadingIn;
    value_ = (position_ - key->start) / (key->fadeInEnd - key->start);
  } else if (position_ < key->fadeOutStart) {
    state_ = TimingState::Shown;
    value_ = 1.0f;
  } else {
    state_ = TimingState::FadingOut;
    const float span = key->end - key->fadeOutStart;
    value_ = span > 0.0f ? 1.0f - (position_ - key->fadeOutStart) / span : 0.0f;
  }
  keyLength_ = key->end - key->start;
  return position_;
}

float ZKW_ManualTimeLine::GetPhaseProgress() const {
  if (state_ != TimingState::Shown) return 0.0f;
  const TimeKey* key = KeyAtPosition();
  if (key == nullptr) return 0.0f;
  const float span = key->fadeOutStart - key->fadeInEnd;
  if (span == 0.0f) return 0.0f;
  return 1.0f - (key->fadeOutStart - position_) / span;
}

void ZKW_ManualTimeLine::SetPeriod(unsigned hundredths) {
  period.SetValue(hundredths);
}
