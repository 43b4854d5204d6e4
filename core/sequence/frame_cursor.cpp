#include "core/sequence/frame_cursor.h"

namespace {

// The index inside [0, count) for a non-empty list.
uint32_t InList(uint32_t index, size_t count) {
  return index < count ? index : static_cast<uint32_t>(index % count);
}

void Step(const std::vector<float>& delays, float& lastSwitch, uint32_t& index, float t,
          bool backward) {
  if (t <= lastSwitch) lastSwitch = t;
  if (delays.empty()) return;
  const size_t count = delays.size();
  index = InList(index, count);
  if (delays[index] < t - lastSwitch) {
    lastSwitch += delays[index];
    if (backward) {
      index = index == 0 ? static_cast<uint32_t>(count - 1) : index - 1;
    } else {
      index = static_cast<uint32_t>((index + 1) % count);
    }
  }
}

}  // namespace

void AdvanceFrameForward(const std::vector<float>& delays, float& lastSwitch, uint32_t& index,
                         float t) {
  Step(delays, lastSwitch, index, t, false);
}

void AdvanceFrameBackward(const std::vector<float>& delays, float& lastSwitch, uint32_t& index,
                          float t) {
  Step(delays, lastSwitch, index, t, true);
}

void DurationCycler::Advance(float t) {
  if (t < lastSwitch_) lastSwitch_ = t;
  if (delays_.empty()) return;
  const size_t count = delays_.size();
  index_ = InList(index_, count);
  if (delays_[index_] < t - lastSwitch_) {
    lastSwitch_ = t;
    index_ = static_cast<uint32_t>((index_ + 1) % count);
  }
}
