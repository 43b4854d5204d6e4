#pragma once

#include "core/timing/random_timeline_params.h"
#include "core/timing/zkw_timing.h"

// A timeline that cycles hidden -> fading in -> shown -> fading out -> hidden for as long as it
// is stepped, with hidden and shown phases of random length (drawn from the parameters' ranges
// with the C library generator) and fades of fixed length.
//
// It starts hidden with its first switch at local time 0, so it begins to fade in at the first
// step after construction or Reset. The draws are part of the behaviour and happen only here, in
// this order: a shown time at construction and at every Reset, then at every end of a fade-out
// first the hidden duration and then the next shown time.
class ZKW_RandomTimeLine : public ZKW_Timing {
 public:
  ZKW_RandomTimeLine();

  // "ZKW_RandomTimeLine" version 1: the six durations as UInt32, then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The six durations (RandomTimeLineParams::Read), then the base header. The shown time drawn
  // at construction stays until the first Reset.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Advances the clock to local time L; when L has passed the next switch, moves to the next
  // state (at most two changes in one step: a phase that already ended within the step is left
  // at once); then ramps the value within a fade, kept within 0..1. Answers L.
  float Step(float t) override;
  // Clock and first switch back to 0, hidden, a new shown time; the value stays until the next
  // step.
  void Reset() override;
  // While shown, how far through the shown time; otherwise 0 (also for a shown time of 0).
  float GetPhaseProgress() const override;
  // Fade-out + fade-in + shown time, in seconds.
  float GetCycleLength() const override;
  // Fades from the owner's default fade-in and fade-out (stored and notified when different),
  // both shown limits from its default shown time (stored silently); the hidden range stays.
  void InitFrom(const ZKW_SmartTiming& owner) override;

  RandomTimeLineParams params;

  float NextSwitch() const { return nextSwitch_; }
  float FadeRate() const { return fadeRate_; }
  float ShownTime() const { return shownTime_; }

 private:
  void StartFadeIn();
  void StartFadeOut();
  void DrawShownTime();

  float nextSwitch_ = 0.0f;  // local time of the next state change
  float fadeRate_ = 0.0f;    // 1 / length of the fade in progress, or 0
  float shownTime_ = 0.0f;   // seconds of the current shown phase
};
