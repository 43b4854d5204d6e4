#include "player/music/background_music.h"

#include "platform/audio/decibels.h"
#include "player/music/ds_audio_file.h"
#include "player/sound/sound_levels.h"

void BackgroundMusic::CreateGraph(void* notifyTarget) {
  graph_ = std::make_unique<audio::MusicGraph>();
  graph_->SetNotify(notifyTarget);
}

void BackgroundMusic::Release() {
  graph_.reset();
  playlist_.clear();
  nextTrack = 0;
}

void BackgroundMusic::Start(std::vector<DS_SafePtr<DS_AudioFile>> playlist) {
  if (graph_) {
    // Whatever played before stops, and its ends reported so far are dropped.
    graph_->Stop();
    for (long code = 0; graph_->GetEvent(code);) {
    }
  }
  // The tracks of the scene before are released only now: the graph no longer needs them.
  playlist_ = std::move(playlist);
  for (const auto& track : playlist_)
    if (track) track->SpillToTemp();
  nextTrack = 0;
  // Silent until the caller sets the volume, which it does right afterwards.
  heldSilent_ = true;
  StartNextTrack();
}

void BackgroundMusic::StartNextTrack() {
  const size_t count = playlist_.size();
  if (nextTrack >= count) return;
  DS_AudioFile* track = playlist_[nextTrack].Get();
  trackVolume = track ? track->volume.Scaled() : 1.0f;
  nextTrack = (nextTrack + 1) % count;
  // A track that cannot be played is silent: the graph stays stopped and announces no end, so the
  // playlist stops there.
  if ((track == nullptr || !PlayTrack(*track)) && graph_) graph_->Stop();
}

bool BackgroundMusic::PlayTrack(DS_AudioFile& track) {
  if (!graph_) return false;
  // Loading replaces (and so releases) the track before.
  if (!graph_->RenderFile(track.PlayPath())) return false;
  ApplyVolume();
  graph_->SeekToStart();
  graph_->Run();
  return true;
}

void BackgroundMusic::OnMediaEvent(long code) {
  if (code == audio::kEventComplete) StartNextTrack();
}

long BackgroundMusic::TakeEvent() {
  long code = -1;
  if (!graph_ || !graph_->GetEvent(code)) return -1;
  return code;
}

void BackgroundMusic::SetVolume(int masterPercent, bool mute) {
  masterVolume = masterPercent;
  muted = mute;
  heldSilent_ = false;
  ApplyVolume();
}

void BackgroundMusic::ApplyVolume() {
  if (!graph_) return;
  graph_->SetVolume(muted || heldSilent_ ? audio::kSilence
                                         : MusicVolume(masterVolume, trackVolume));
}
