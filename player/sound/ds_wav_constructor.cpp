#include "player/sound/ds_wav_constructor.h"

#include "core/timing/smart_timing.h"
#include "platform/audio/riff_reader.h"
#include "player/document/doc_res_manager.h"
#include "player/resources/module_resources.h"
#include "player/sound/sound_levels.h"

DS_WAV_Constructor::DS_WAV_Constructor() {
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  tag = 1;
}

DS_WAV_Constructor::DS_WAV_Constructor(const DS_WAV_Constructor& other)
    : DS_IOF_Item(), DS_Sound_Ctrl(other), link(other.link), buffer_(other.buffer_) {}

bool DS_WAV_Constructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_WAV_Constructor", kVersion);
  WriteFileLink(archive, link);
  return DS_Sound_Ctrl::Save(archive);
}

void DS_WAV_Constructor::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadFileLink(archive, link);
  DS_Sound_Ctrl::ReadBody(archive, ReadBaseHeader(archive));
  // The stored timing replaced the flags the constructor set.
  timing.flags |= ZKW_SmartTiming::kKindMarker;
}

bool DS_WAV_Constructor::CreateBuffer() {
  DS_DocResManager* document = CurrentDocument();
  if (document == nullptr) return false;
  auto found = document->resourceRecords.find(link.Key());
  if ((found == document->resourceRecords.end() || found->second.empty()) && !link.IsFileLink()) {
    // Without a module resource the record keeps its own bytes, and the test below refuses an
    // empty one.
    ResourceDataRecord record = LinkRecordOf(link);
    (void)LoadFromModule(record);
    found = document->resourceRecords.insert_or_assign(link.Key(), std::vector{record}).first;
  }
  if (found == document->resourceRecords.end() || found->second.empty()) return false;

  const std::optional<audio::WaveData> wave = audio::ReadWave(found->second.front().bytes);
  if (!wave) return false;
  soundLength = WaveLengthHundredths(wave->samples.size(), wave->format.avgBytesPerSec);
  SetTimingDefaultsFromLength();
  buffer_.reset();
  buffer_ = DeviceSoundBuffer::Create(*wave);
  return buffer_ != nullptr;
}

void DS_WAV_Constructor::ApplyLevels() {
  buffer_->SetVolume(BufferVolume(volume.Value()));
  buffer_->SetPan(BufferPan(balance.Value()));
}

void DS_WAV_Constructor::LoadMedia() {
  if (buffer_ || CreateBuffer()) ApplyLevels();
  timing.flags |= kLoadedFlags;
}

void DS_WAV_Constructor::StopPlayback() {
  if (buffer_) buffer_->Stop();
}

void DS_WAV_Constructor::UpdatePlayback(float) {
  if (!buffer_) return;
  const TimingState state = CurrentTimingState();
  const audio::SoundBuffer::Status status = buffer_->GetStatus();
  if (status.playing) {
    if (state == TimingState::Hidden && status.looping) buffer_->Stop();
  } else if (state == TimingState::Shown) {
    buffer_->ResetPosition();
    buffer_->Play(timing.Kind() == 0);
  }
}

std::unique_ptr<DS_Sound_Ctrl> DS_WAV_Constructor::Clone() const {
  return std::make_unique<DS_WAV_Constructor>(*this);
}

PictureRef* DS_WAV_Constructor::GetPicture(PictureRef* out, bool preview) {
  if (preview) {
    if (!buffer_ && CreateBuffer()) ApplyLevels();
    if (buffer_) {
      buffer_->ResetPosition();
      buffer_->Play(false);
    }
  }
  return DS_Sound_Ctrl::GetPicture(out, false);
}
