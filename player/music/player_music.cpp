// The player's background music and the volume of its sounds.
#include "player/scene/ds_slide_show_light.h"
#include "player/shell/scene_player.h"
#include "player/sound/sound_device.h"
#include "player/sound/sound_levels.h"

void ScenePlayer::CreateMusicGraph() {
  music.CreateGraph(window);
}

void ScenePlayer::StartPlaylist() {
  music.Start(scene ? scene->playlist : std::vector<DS_SafePtr<DS_AudioFile>>{});
}

void ScenePlayer::SetVolume(int masterPercent, bool mute) {
  music.SetVolume(masterPercent, mute);
  DeviceSoundBuffer::SetPrimaryVolume(PrimaryVolume(masterPercent, mute));
}

void ScenePlayer::OnMediaEvent(long code) {
  music.OnMediaEvent(code);
}

long ScenePlayer::TakeMusicEvent() {
  return music.TakeEvent();
}
