#include "core/chrono/zkw_chrono_default.h"

#include <cmath>
#include <limits>

namespace {

// Boundaries walked one at a time in one call before whole cycles are jumped: enough for
// windows of 0.05 s on a clock that has run for hours.
constexpr int kLongestWalk = 1 << 18;

float UsableLength(float length) {
  return std::isfinite(length) && length > 0.0f ? length : 0.0f;
}

}  // namespace

bool ZKW_Chrono_Default::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_Chrono_Default", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(enabled.Value());
  io.WriteFloat(activeLength.Value());
  io.WriteFloat(pauseLength.Value());
  WriteGraphSpreadPrm(archive, amplitude);
  return ZKW_ChronoCtrl::Save(archive);
}

void ZKW_Chrono_Default::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(enabled.RawValue());
  io.ReadFloat(activeLength.RawValue());
  io.ReadFloat(pauseLength.RawValue());
  ReadGraphSpreadPrm(archive, amplitude);
  ReadBaseHeader(archive);
}

void ZKW_Chrono_Default::Restart() {
  phase_ = ChronoPhase::Pause;
  boundary_ = 0.0f;
}

float ZKW_Chrono_Default::GetValue(float t) {
  if (!std::isfinite(t)) return 1.0f;
  const float active = UsableLength(activeLength.Value());
  const float pause = UsableLength(pauseLength.Value());
  if (enabled.Value() == 0 || (active == 0.0f && pause == 0.0f)) {
    boundary_ = t;
    phase_ = ChronoPhase::Pause;
    return 1.0f;
  }

  // Each boundary is the previous one plus a length, in float. A walk so long that it could
  // only come from lengths tiny against the time (or a time far ahead) jumps whole cycles at once
  // and goes on from there; a length too small to move the boundary still moves it by one step.
  const double cycle = double{active} + double{pause};
  int walked = 0;
  while (t >= boundary_) {
    if (++walked > kLongestWalk) {
      walked = 0;
      const double ahead = double{t} - double{boundary_};
      if (ahead >= cycle) {
        boundary_ = static_cast<float>(boundary_ + std::floor(ahead / cycle) * cycle);
        continue;
      }
    }
    const bool toPause = phase_ == ChronoPhase::Active;
    const float length = toPause ? pause : active;
    phase_ = toPause ? ChronoPhase::Pause : ChronoPhase::Active;
    float next = boundary_ + length;
    if (length > 0.0f && next <= boundary_) {
      next = std::nextafter(boundary_, std::numeric_limits<float>::infinity());
    }
    boundary_ = next;
  }

  if (phase_ == ChronoPhase::Pause) return 0.0f;
  const float fraction = 1.0f - (boundary_ - t) / active;
  unsigned cursor = 1;
  const float factor = amplitude.value.Scaled() * amplitude.spread.Scaled();
  return amplitude.envelope.ValueAt(fraction, &cursor) * factor;
}
