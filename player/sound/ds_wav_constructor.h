#pragma once

#include <cstdint>
#include <memory>

#include "core/link/ds_file_link.h"
#include "player/sound/ds_sound_ctrl.h"
#include "player/sound/sound_device.h"

// A sound object that plays a WAVE sound which the document's resource store carries for its
// link, from memory on the player's sound device. With a continuous timeline the sound loops
// while the object is active; with any other timeline it plays once whenever the timeline shows
// the object and the sound is not playing (so it repeats while shown), and a single play is not
// cut off when the object is hidden.
//
// Record "DS_WAV_Constructor" version 1: the link (name, Int64 id), then the "DS_Sound_Ctrl"
// record.
class DS_WAV_Constructor : public DS_Sound_Ctrl {
 public:
  static constexpr uint32_t kVersion = 1;
  // What the description's timing flags get when the sound is loaded.
  static constexpr uint32_t kLoadedFlags = 0x2 | 0x4 | 0x8;

  // Timing flag 0x1 set, tag 1.
  DS_WAV_Constructor();
  // The description and the link; the copy shares the sound buffer.
  DS_WAV_Constructor(const DS_WAV_Constructor& other);

  bool Save(DS_IOF_Archive& archive) const override;
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Makes the buffer when there is none; sets its volume and pan; sets kLoadedFlags.
  void LoadMedia() override;
  void StopPlayback() override;
  void UpdatePlayback(float time) override;
  std::unique_ptr<DS_Sound_Ctrl> Clone() const override;
  using DS_Sound_Ctrl::GetPicture;
  // With `preview` the sound plays once from its start (the buffer is made when missing).
  PictureRef* GetPicture(PictureRef* out, bool preview) override;

  // Reads the WAVE data stored in the current document for the link (for a ".dll" link with no
  // stored data, the module's resource of the link's id), takes its length and makes the
  // buffer. False, without a buffer, when there is no document, no data, no valid WAVE data or no
  // device to play it.
  [[nodiscard]] bool CreateBuffer();

  DS_FileLink3 link;

  const std::shared_ptr<DeviceSoundBuffer>& Buffer() const { return buffer_; }

 private:
  void ApplyLevels();

  std::shared_ptr<DeviceSoundBuffer> buffer_;
};
