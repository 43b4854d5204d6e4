#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "core/archive/data_records.h"
#include "platform/audio/music_graph.h"
#include "player/sound/ds_sound_ctrl.h"

// A sound object that plays a sound file (MP3 or any other form the mixer decodes) on a graph of
// its own. Loading copies the file, or the bytes the project carries, to a file of its own in the
// player's temporary directory and plays that; the copy goes when the description does. The
// sound starts from its beginning whenever the timeline shows the object and the sound is not
// playing, and stops at its end or when the timeline hides the object: it repeats for as long as
// the object is shown.
//
// Record "DS_MP3_Constructor" version 1: the file record (UInt32 size, bytes, WideString path),
// then the "DS_Sound_Ctrl" record.
class DS_MP3_Constructor : public DS_Sound_Ctrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_MP3_Constructor() = default;
  // The description and the file record; the copy has no graph and no temporary copy.
  DS_MP3_Constructor(const DS_MP3_Constructor& other);
  // Releases the graph and deletes the temporary copy.
  ~DS_MP3_Constructor() override;

  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Makes the graph, writes the temporary copy, loads it (stopped) and takes its length in whole
  // seconds; the length also becomes the shown time a new random timeline gets.
  void LoadMedia() override;
  void StopPlayback() override;
  void UpdatePlayback(float time) override;
  std::unique_ptr<DS_Sound_Ctrl> Clone() const override;

  // The sound file's stored path and, when the project carries it, its bytes.
  FileDataRecord file;

  const audio::MusicGraph* Graph() const { return graph_.get(); }
  const std::filesystem::path& TempPath() const { return tempPath_; }

 private:
  void ReleaseMedia();

  std::unique_ptr<audio::MusicGraph> graph_;
  std::filesystem::path tempPath_;
};
