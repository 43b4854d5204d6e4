#include "player/sound/ds_sound_ctrl.h"

#include <algorithm>

#include "core/timing/random_timeline.h"
#include "core/timing/smart_timing.h"
#include "core/timing/timing_registry.h"

namespace {

// Whole seconds of a legacy timing in hundredths, kept within the unsigned range.
unsigned Hundredths(uint32_t seconds) {
  return unsigned(std::min<uint64_t>(uint64_t{seconds} * 100, UINT32_MAX));
}

}  // namespace

DS_Sound_Ctrl::DS_Sound_Ctrl(const DS_Sound_Ctrl& other)
    : DS_IOF_Item(),
      DS_ABObj_Constructor(other),
      volume(other.volume),
      balance(other.balance),
      soundLength(other.soundLength) {}

bool DS_Sound_Ctrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_Sound_Ctrl", kVersion);
  archive.io().WriteUInt32(volume.Value());
  archive.io().WriteUInt32(balance.Value());
  return DS_ABObj_Constructor::Save(archive);
}

void DS_Sound_Ctrl::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadUInt32(volume.RawValue());
  archive.io().ReadUInt32(balance.RawValue());
  int32_t kind = -1;
  uint32_t first = 0, second = 0;
  if (version < 3) {
    archive.io().ReadInt32(kind);
    archive.io().ReadUInt32(first);
    archive.io().ReadUInt32(second);
  }
  DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
  if (version < 3) ConvertLegacyTiming(kind, first, second);
}

void DS_Sound_Ctrl::ConvertLegacyTiming(int32_t kind, uint32_t first, uint32_t second) {
  std::unique_ptr<ZKW_Timing> created;
  if (kind == 0) {
    created = CreateTimingByName(u"ZKW_ContinuesTimeLine");
  } else if (kind == 1) {
    created = CreateTimingByName(u"ZKW_RandomTimeLine");
    if (auto* random = dynamic_cast<ZKW_RandomTimeLine*>(created.get())) {
      random->params.hiddenMin.SetValueSilently(Hundredths(first));
      random->params.hiddenMax.SetValueSilently(Hundredths(second));
    }
  }
  if (!created) return;
  timing.RawValue() = kind;
  timing.SetTiming(std::move(created));
}

bool DS_Sound_Ctrl::AdjustTiming(ZKW_Timing* timeline, int) {
  if (auto* random = dynamic_cast<ZKW_RandomTimeLine*>(timeline)) {
    random->params.shownMin.SetValue(soundLength);
    random->params.shownMax.SetValue(soundLength);
    random->params.fadeIn.SetValue(0);
    random->params.fadeOut.SetValue(0);
  }
  return false;
}

PictureRef* DS_Sound_Ctrl::GetPicture(PictureRef* out, bool) {
  static const DS_ImageFileLink picture(u"glimres.dll", 2016);
  *out = PictureRef{&picture, 0, false, 1.0f};
  return out;
}

std::unique_ptr<ZKW_RenderObj> DS_Sound_Ctrl::CreateRuntimeObject() {
  std::unique_ptr<DS_Sound_Ctrl> clone = Clone();
  DS_Sound_Ctrl* description = clone.get();
  auto sound = std::make_unique<DS_Sound>(std::move(clone));
  description->LoadMedia();
  return sound;
}

TimingState DS_Sound_Ctrl::CurrentTimingState() const {
  const ZKW_Timing* current = timing.Current();
  return current ? current->GetState() : TimingState::Shown;
}

void DS_Sound_Ctrl::SetTimingDefaultsFromLength() {
  timing.defaultFadeIn = 0.0f;
  timing.defaultShown = float(soundLength) * 0.01f;
  timing.defaultFadeOut = 0.0f;
}

DS_Sound::DS_Sound(std::unique_ptr<DS_Sound_Ctrl> description) : DS_ABObj(std::move(description)) {}

void DS_Sound::SetActive(bool active) {
  if (!active) Sound().StopPlayback();
  DS_ABObj::SetActive(active);
}

void DS_Sound::Update(float localTime) {
  if (IsActive()) Sound().UpdatePlayback(localTime);
}
