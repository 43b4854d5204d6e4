#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>

#include "platform/audio/playback.h"

namespace audio {

// The event code of a graph whose stream has played to its end.
inline constexpr long kEventComplete = 1;

// The SDL event type with which graphs announce a queued event (registered once).
uint32_t MusicEventType();

// Plays a sound file (any format SDL2_mixer decodes): the music of a scene or of a sound object.
// A graph is stopped or running; a stream that ends leaves the graph running at its end and
// queues kEventComplete, which GetEvent hands out one at a time. With a notify target, each
// queued event is also announced by one SDL event of MusicEventType() (data1 the graph, data2 the
// target), which the message pump turns into the music message of the target window.
class MusicGraph {
 public:
  enum class State { Stopped, Running };

  MusicGraph();
  ~MusicGraph();
  MusicGraph(const MusicGraph&) = delete;
  MusicGraph& operator=(const MusicGraph&) = delete;

  // Loads the file as the graph's stream, replacing the one before; the graph stops. False
  // (and no stream) when the file cannot be read or decoded.
  bool RenderFile(const std::filesystem::path& file);
  bool HasStream() const { return playback_.HasSamples(); }

  void Run();
  void Stop();
  State GetState() const { return state_; }

  double Duration() const { return playback_.Duration(); }
  double Position() const { return playback_.Position(); }
  void SeekToStart() { playback_.Rewind(); }

  // Hundredths of a decibel: volume 0 to -10000 (silence), balance -10000 to 10000.
  void SetVolume(long hundredthsDb) { playback_.SetVolume(hundredthsDb); }
  void SetBalance(long hundredthsDb) { playback_.SetBalance(hundredthsDb); }
  long Volume() const { return playback_.Volume(); }
  long Balance() const { return playback_.Balance(); }

  // Null: no announcements.
  void SetNotify(void* target);
  // Takes the oldest queued event; false when none is queued.
  bool GetEvent(long& code);

 private:
  void OnEnd();  // audio thread

  Playback playback_;
  State state_ = State::Stopped;
  std::mutex mutex_;
  std::deque<long> events_;  // guarded by mutex_
  void* notify_ = nullptr;   // guarded by mutex_
};

}  // namespace audio
