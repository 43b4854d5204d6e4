#pragma once

#include "core/scene/ds_abobj_constructor.h"
#include "core/timing/zkw_timing.h"

// What a control reads of its object's current timeline in a step. Without a timeline the object
// counts as shown, fully visible, with no cycle.
struct TimelineReading {
  TimingState state = TimingState::Shown;
  float value = 1.0f;     // visibility, 0 to 1
  float cycle = 0.0f;     // seconds of the current visible run
  float progress = 0.0f;  // through the shown phase, 0 to 1

  static TimelineReading Of(const DS_ABObj_Constructor& description) {
    TimelineReading reading;
    if (const ZKW_Timing* timeline = description.timing.Current()) {
      reading.state = timeline->GetState();
      reading.value = timeline->GetValue();
      reading.cycle = timeline->GetCycleLength();
      reading.progress = timeline->GetPhaseProgress();
    }
    return reading;
  }
};
