#include "core/timing/ds_timeline_control.h"

#include "core/param/param_reads.h"
#include "core/timing/manual_timeline.h"
#include "core/timing/random_timeline.h"
#include "core/timing/smart_timing.h"
#include "core/timing/timing_registry.h"

namespace {

// Value, factor and offset of `from`, then a notification so that the seconds follow.
void TakeDuration(TimeParam& to, const TimeParam& from) {
  to.RawValue() = from.Value();
  to.SetScale(from.Factor(), from.Offset());
  to.NotifyChanged(nullptr);
}

}  // namespace

DS_TimeLineControl::DS_TimeLineControl() {
  fadeIn.SetValue(50);
  fadeOut.SetValue(50);
  period.SetValue(1000);
}

bool DS_TimeLineControl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_TimeLineControl", 2);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(kind.Value());
  io.WriteInt32(timeMode.Value());
  io.WriteUInt32(hiddenMin.Value());
  io.WriteUInt32(hiddenMax.Value());
  io.WriteUInt32(shownMin.Value());
  io.WriteUInt32(shownMax.Value());
  io.WriteUInt32(fadeIn.Value());
  io.WriteUInt32(fadeOut.Value());
  WriteTimeKeys(archive, keys);
  io.WriteUInt32(period.Value());
  return true;
}

bool DS_TimeLineControl::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(kind.RawValue());
  io.ReadInt32(timeMode.RawValue());
  io.ReadUInt32(hiddenMin.RawValue());
  io.ReadUInt32(hiddenMax.RawValue());
  io.ReadUInt32(shownMin.RawValue());
  io.ReadUInt32(shownMax.RawValue());
  ReadChangedUInt32(archive, fadeIn);
  ReadChangedUInt32(archive, fadeOut);
  ReadTimeKeys(archive, keys);
  if (version > 1) ReadChangedUInt32(archive, period);
  return true;
}

void DS_TimeLineControl::ConvertInto(ZKW_SmartTiming& timing) const {
  timing.RawValue() = kind.Value();
  switch (kind.Value()) {
    case 0:
      timing.SetTiming(CreateTimingByName(u"ZKW_ContinuesTimeLine"));
      break;
    case 1: {
      std::unique_ptr<ZKW_Timing> created = CreateTimingByName(u"ZKW_RandomTimeLine");
      if (auto* random = dynamic_cast<ZKW_RandomTimeLine*>(created.get())) {
        RandomTimeLineParams& p = random->params;
        p.hiddenMin.SetValueSilently(hiddenMin.Value());
        p.hiddenMax.SetValueSilently(hiddenMax.Value());
        p.shownMin.SetValueSilently(shownMin.Value());
        p.shownMax.SetValueSilently(shownMax.Value());
        TakeDuration(p.fadeIn, fadeIn);
        TakeDuration(p.fadeOut, fadeOut);
        timing.SetTiming(std::move(created));
      }
      break;
    }
    case 2: {
      std::unique_ptr<ZKW_Timing> created = CreateTimingByName(u"ZKW_ManualTimeLine");
      if (auto* manual = dynamic_cast<ZKW_ManualTimeLine*>(created.get())) {
        manual->keys = keys;
        TakeDuration(manual->period, period);
        timing.SetTiming(std::move(created));
      }
      break;
    }
    default:
      break;
  }
  timing.timeMode.SetValueSilently(timeMode.Value());
}
