// The player's background music. The playlist does not play yet: these keep the player's volume
// state, which a reload of the program's own project restores.
#include "player/shell/scene_player.h"

void ScenePlayer::CreateMusicGraph() {}

void ScenePlayer::StartPlaylist() {}

void ScenePlayer::SetVolume(int masterPercent, bool mute) {
  masterVolume = masterPercent;
  muted = mute;
}

void ScenePlayer::OnMediaEvent(long) {}

long ScenePlayer::TakeMusicEvent() {
  return -1;
}
