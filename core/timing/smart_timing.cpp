#include "core/timing/smart_timing.h"

#include "core/timing/continues_timeline.h"
#include "core/timing/timing_registry.h"

namespace {

// The class of the default timeline of each kind.
constexpr std::u16string_view kDefaultTimingClass[ZKW_SmartTiming::kKindCount] = {
    u"ZKW_ContinuesTimeLine",
    u"ZKW_RandomTimeLine",
    u"ZKW_ManualTimeLine",
    u"ZKW_DependedTimeLine",
};

}  // namespace

ZKW_SmartTiming::ZKW_SmartTiming() : MediaParamT<int>(0) {
  OnKindChanged(nullptr);
}

ZKW_SmartTiming::ZKW_SmartTiming(const ZKW_SmartTiming& other)
    : DS_IOF_Item(),
      MediaParamT<int>(other),
      timeMode(other.timeMode),
      flags(other.flags),
      defaultFadeIn(other.defaultFadeIn),
      defaultShown(other.defaultShown),
      defaultFadeOut(other.defaultFadeOut),
      lastTime(other.lastTime),
      localTime(other.localTime),
      current_(other.current_),
      kept_(other.kept_) {}

ZKW_SmartTiming::~ZKW_SmartTiming() = default;

DS_SafePtr<ZKW_Timing> ZKW_SmartTiming::Kept(int kind) const {
  return IsKind(kind) ? kept_[static_cast<size_t>(kind)] : DS_SafePtr<ZKW_Timing>();
}

void ZKW_SmartTiming::MakeCurrent(DS_SafePtr<ZKW_Timing> timing) {
  current_ = std::move(timing);
  if (IsKind(Kind())) kept_[static_cast<size_t>(Kind())] = current_;
}

void ZKW_SmartTiming::OnKindChanged(MediaControl* source) {
  const int kind = Kind();
  if (IsKind(kind)) {
    current_ = kept_[static_cast<size_t>(kind)];
    if (!current_) {
      if (std::unique_ptr<ZKW_Timing> created =
              CreateTimingByName(zkw_string(kDefaultTimingClass[kind]))) {
        ZKW_Timing* timing = created.get();
        MakeCurrent(DS_SafePtr<ZKW_Timing>(std::move(created)));
        timing->InitFrom(*this);
      }
    }
  }
  MediaParam::NotifyChanged(source);
}

void ZKW_SmartTiming::SetTiming(std::unique_ptr<ZKW_Timing> timing) {
  if (timing == nullptr) return;
  MakeCurrent(DS_SafePtr<ZKW_Timing>(std::move(timing)));
}

void ZKW_SmartTiming::KeepTiming(int kind, DS_SafePtr<ZKW_Timing> timing) {
  if (!timing || !IsKind(kind)) return;
  if (kind == Kind()) current_ = timing;
  kept_[static_cast<size_t>(kind)] = std::move(timing);
}

void ZKW_SmartTiming::Read(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(RawValue());
  io.ReadInt32(timeMode.RawValue());
  io.ReadDword(flags);
  if (std::unique_ptr<ZKW_Timing> timing = ReadTiming(archive)) {
    ZKW_Timing* read = timing.get();
    MakeCurrent(DS_SafePtr<ZKW_Timing>(std::move(timing)));
    read->Reset();
  } else {
    current_ = DS_SafePtr<ZKW_Timing>(std::make_unique<ZKW_ContinuesTimeLine>());
  }
}

bool ZKW_SmartTiming::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_SmartTiming", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(Value());
  io.WriteInt32(timeMode.Value());
  io.WriteDword(flags);
  if (current_) return current_->Save(archive);
  // Without a timeline the record still needs one to be readable.
  return ZKW_ContinuesTimeLine().Save(archive);
}
