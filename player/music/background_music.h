#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "platform/audio/music_graph.h"

class DS_AudioFile;

// The background music of the player: one music graph for the whole run, which plays the tracks
// of the scene's playlist one after another and starts again with the first after the last,
// with a master volume and each track's own volume. The graph announces the end of a track to
// the window it was made for (the music message); the window hands the event back through
// OnMediaEvent. Main thread only.
class BackgroundMusic {
 public:
  BackgroundMusic() = default;
  BackgroundMusic(const BackgroundMusic&) = delete;
  BackgroundMusic& operator=(const BackgroundMusic&) = delete;

  // Makes the graph (replacing one made before); its events are announced to `notifyTarget`
  // when that is not null.
  void CreateGraph(void* notifyTarget);
  // Releases the graph and the playlist: nothing plays any more.
  void Release();

  // Plays `playlist` from its first track: every track's file is put on disk, the first track
  // starts, and the music is silent until the next SetVolume. The tracks are kept until the next
  // Start or Release.
  void Start(std::vector<DS_SafePtr<DS_AudioFile>> playlist);
  // Starts the track at nextTrack and moves on (after the last, back to the first). A track that
  // cannot be played leaves the music silent with no end to announce: the playlist stops there.
  // Nothing happens for an empty playlist.
  void StartNextTrack();
  // One graph event: the end of a track starts the next; every other code does nothing.
  void OnMediaEvent(long code);
  // The oldest event the graph queued; -1 when none is queued or there is no graph.
  long TakeEvent();
  void SetVolume(int masterPercent, bool mute);

  const audio::MusicGraph* Graph() const { return graph_.get(); }

  // The master volume in percent; muted music is silent whatever the volumes.
  int masterVolume = 0;
  bool muted = true;
  // The volume factor of the track now playing.
  float trackVolume = 1.0f;
  // The playlist position of the track that follows.
  size_t nextTrack = 0;

 private:
  // Loads and runs one track; false when it cannot be played.
  bool PlayTrack(DS_AudioFile& track);
  void ApplyVolume();

  std::unique_ptr<audio::MusicGraph> graph_;
  std::vector<DS_SafePtr<DS_AudioFile>> playlist_;
  bool heldSilent_ = false;
};
