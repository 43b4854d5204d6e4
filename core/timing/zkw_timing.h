#pragma once

#include <cstdint>

#include "core/object/ds_iof_item.h"
#include "core/param/media_speed_param.h"

class ZKW_SmartTiming;

// What a timeline reports about its object; the numbers are stored and compared as such.
enum class TimingState : int32_t {
  Shown = 0,
  Hidden = 1,
  FadingIn = 2,
  FadingOut = 3,
};

// A timeline: a small state machine stepped once per frame with the object's time. It tells
// whether the object is shown, hidden or fading, and how visible it is (0 to 1). Only its kinds
// are created: continuous, random, manual and dependent (core/timing/*_timeline.h).
//
// Calling order in a frame: Step first, then any of the getters. Bind runs once after a slide
// has made all its run-time objects; Reset when the object or its slide restarts.
//
// A timeline is shared through DS_SafePtr by the descriptions that use it (a description and its
// run-time copy share one), so it is never copied.
class ZKW_Timing : public virtual DS_IOF_Item {
 public:
  ZKW_Timing(const ZKW_Timing&) = delete;
  ZKW_Timing& operator=(const ZKW_Timing&) = delete;

  // The record of the base: "ZKW_Timing", version 1, no fields. Every kind ends its own record
  // with it.
  bool Save(DS_IOF_Archive& archive) const override;

  // Resolves references once every run-time object of the slide exists (the dependent kind finds
  // its master). Nothing in the base.
  virtual void Bind() {}
  // Advances to time t in seconds. The base advances the speed clock (ClockStep: time running
  // backwards is a step of 0; steps are cut to 0.2 s) and answers t. The answer is not used by
  // any caller.
  virtual float Step(float t);
  // Restarts the timeline. Nothing in the base.
  virtual void Reset() {}
  // Visibility, 0 to 1.
  virtual float GetValue() const { return value_; }
  // Progress 0 to 1 through the shown phase; 0 in the base.
  virtual float GetPhaseProgress() const { return 0.0f; }
  // Seconds of the current visible run; 0 in the base.
  virtual float GetCycleLength() const { return 0.0f; }
  virtual TimingState GetState() const { return state_; }
  // The period of a repeating timeline in hundredths of a second; only the manual kind has one.
  virtual void SetPeriod(unsigned /*hundredths*/) {}
  // Takes default durations from the owning timing part; only the random kind uses them.
  virtual void InitFrom(const ZKW_SmartTiming& /*owner*/) {}

  // The speed clock: step, local time and last absolute time. The speed is never stored and
  // stays 1.0 in the player.
  const MediaSpeedParam& Speed() const { return speed_; }
  MediaSpeedParam& Speed() { return speed_; }

 protected:
  // Shown with value 1.0; each kind then sets its own start state.
  ZKW_Timing() = default;

  // The base step of the clock; answers the local time.
  float AdvanceClock(float t) {
    speed_.Advance(t);
    return speed_.localTime;
  }
  // Last absolute time and local time back to 0 (the random and manual kinds start from 0).
  void ResetClock() {
    speed_.lastTime = 0.0f;
    speed_.localTime = 0.0f;
  }

  TimingState state_ = TimingState::Shown;
  float value_ = 1.0f;
  MediaSpeedParam speed_;
};
