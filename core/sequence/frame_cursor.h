#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Frame cursors step an index through a list of per-frame durations (seconds) by a running local
// time, once per frame, at most one frame per call. Each takes the durations, the time of the
// last frame change and the index; the caller reads the index afterwards.
//
// A time earlier than the last change restarts the timing from it. An index outside the list
// (the list was replaced by a shorter one) is brought back into it first, so no cursor ever
// reads past its durations. An empty list leaves the index alone.

// Forward, keeping the overshoot: when the current frame's duration is shorter than the time
// since the last change, the last change moves on by that duration and the index to the next
// frame, wrapping to 0. A time equal to the last change also restarts from it.
void AdvanceFrameForward(const std::vector<float>& delays, float& lastSwitch, uint32_t& index,
                         float t);
// The same stepping backwards: from frame 0 to the last frame.
void AdvanceFrameBackward(const std::vector<float>& delays, float& lastSwitch, uint32_t& index,
                          float t);

// The cursor of a picture's frame set that drops the overshoot: a change sets the last change
// to the time of the call, so frames switch later over time than with AdvanceFrameForward.
class DurationCycler {
 public:
  DurationCycler(const std::vector<float>& delays, float& lastSwitch, uint32_t& index)
      : delays_(delays), lastSwitch_(lastSwitch), index_(index) {}

  void Advance(float t);

 private:
  const std::vector<float>& delays_;
  float& lastSwitch_;
  uint32_t& index_;
};
