#include "player/sound/ds_mp3_constructor.h"

#include "core/float_to_int.h"
#include "platform/sys/file_paths.h"
#include "platform/sys/temp_directory.h"
#include "player/sound/sound_levels.h"

DS_MP3_Constructor::DS_MP3_Constructor(const DS_MP3_Constructor& other)
    : DS_IOF_Item(), DS_Sound_Ctrl(other), file(other.file) {}

DS_MP3_Constructor::~DS_MP3_Constructor() {
  ReleaseMedia();
}

void DS_MP3_Constructor::ReleaseMedia() {
  graph_.reset();
  if (!tempPath_.empty()) sys::TempDirectory::Player().Remove(tempPath_);
  tempPath_.clear();
}

bool DS_MP3_Constructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_MP3_Constructor", kVersion);
  archive.io().WriteFileData(file);
  return DS_Sound_Ctrl::Save(archive);
}

void DS_MP3_Constructor::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadFileData(file);
  DS_Sound_Ctrl::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_MP3_Constructor::LoadMedia() {
  ReleaseMedia();
  graph_ = std::make_unique<audio::MusicGraph>();
  sys::TempDirectory& temp = sys::TempDirectory::Player();
  // A copy of its own, under a unique name: objects that name the same file never share one.
  const sys::TempFile copy = file.bytes.empty() ? temp.Copy(sys::ToPath(file.path), file.path)
                                                : temp.Write(file.path, file.bytes);
  tempPath_ = copy.path;
  if (copy.written) graph_->RenderFile(tempPath_);
  // Whole seconds: the graph reports the duration in 100 ns units, divided as integers.
  const int64_t duration = SaturatingTruncate<int64_t>(graph_->Duration() * 1e7);
  soundLength = SaturatingTruncate<unsigned>(double(duration / 10'000'000) * 100.0);
  SetTimingDefaultsFromLength();
  StopPlayback();
}

void DS_MP3_Constructor::StopPlayback() {
  if (graph_) graph_->Stop();
}

void DS_MP3_Constructor::UpdatePlayback(float) {
  if (!graph_) return;
  const TimingState state = CurrentTimingState();
  if (graph_->GetState() == audio::MusicGraph::State::Stopped && state == TimingState::Shown) {
    // Back to the start and running; the levels are set first so that nothing plays louder.
    graph_->SetVolume(FileVolume(volume.Value()));
    graph_->SetBalance(FileBalance(balance.Value()));
    graph_->SeekToStart();
    graph_->Run();
  }
  if (graph_->Position() >= graph_->Duration() || state == TimingState::Hidden) StopPlayback();
}

std::unique_ptr<DS_Sound_Ctrl> DS_MP3_Constructor::Clone() const {
  return std::make_unique<DS_MP3_Constructor>(*this);
}
