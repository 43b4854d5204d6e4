#include "core/timing/random_timeline_params.h"

#include <cstdint>

#include "core/crt_rand.h"

unsigned PickRandomDuration(unsigned min, unsigned max) {
  if (max <= min) return min;
  const uint64_t range = uint64_t{max} - min + 1;
  return min + static_cast<unsigned>(static_cast<uint64_t>(crt_rand()) % range);
}

float PickRandomSeconds(unsigned min, unsigned max) {
  return static_cast<float>(PickRandomDuration(min, max)) * 0.01f;
}

RandomTimeLineParams::RandomTimeLineParams(unsigned firstMin, unsigned firstMax)
    : hiddenMin(firstMin), hiddenMax(firstMax), shownMin(100), shownMax(100) {
  fadeIn.SetValue(50);
  fadeOut.SetValue(50);
}

void RandomTimeLineParams::Write(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(hiddenMin.Value());
  io.WriteUInt32(hiddenMax.Value());
  io.WriteUInt32(shownMin.Value());
  io.WriteUInt32(shownMax.Value());
  io.WriteUInt32(fadeIn.Value());
  io.WriteUInt32(fadeOut.Value());
}

void RandomTimeLineParams::Read(DS_IOF_Archive& archive) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(hiddenMin.RawValue());
  io.ReadUInt32(hiddenMax.RawValue());
  io.ReadUInt32(shownMin.RawValue());
  io.ReadUInt32(shownMax.RawValue());
  ReadNotifiedDuration(archive, fadeIn);
  ReadNotifiedDuration(archive, fadeOut);
}

void ReadNotifiedDuration(DS_IOF_Archive& archive, TimeParam& duration) {
  archive.io().ReadUInt32(duration.RawValue());
  duration.NotifyChanged(nullptr);
}
