#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/scene/ds_abobj.h"
#include "core/scene/ds_abobj_constructor.h"
#include "core/timing/zkw_timing.h"

// The description of a sound object: a scene object that plays a sound while its timeline shows
// it and draws nothing. This base holds what every sound has (volume, balance, the length of the
// loaded sound); its kinds load and play the sound itself (DS_MP3_Constructor: a sound file on a
// graph of its own; DS_WAV_Constructor: a WAVE sound of the document, in memory).
//
// Its record comes after the kind's own fields: "DS_Sound_Ctrl" version 3, UInt32 volume, UInt32
// balance, then the "DS_ABObj_Constructor" record. Versions 1 and 2 also store a legacy timing
// (Int32 kind, UInt32 first, UInt32 second) after the balance.
class DS_Sound_Ctrl : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 3;

  DS_Sound_Ctrl() = default;
  // The description part, volume, balance and the sound's length.
  DS_Sound_Ctrl(const DS_Sound_Ctrl& other);

  bool Save(DS_IOF_Archive& archive) const override;
  // Volume and balance straight into their values; for versions 1 and 2 the legacy timing,
  // which after the base part is read replaces the timing: kind 0 a continuous timeline, kind 1
  // a random timeline hidden between first and second seconds (any other kind changes nothing).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A random timeline is shown for exactly the sound's length, without fades. Answers false.
  bool AdjustTiming(ZKW_Timing* timing, int arg) override;
  // The picture that stands for a sound: picture 2016 of the shared resource library.
  PictureRef* GetPicture(PictureRef* out) override { return GetPicture(out, false); }
  // With `preview` a kind may also play its sound once (the WAVE kind does).
  virtual PictureRef* GetPicture(PictureRef* out, bool preview);
  // Clone, a DS_Sound bound to the clone, then the clone loads its media.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;

  // Prepares the sound (stopped) and its length.
  virtual void LoadMedia() = 0;
  virtual void StopPlayback() = 0;
  // Once per frame while the object is active, after its timeline has stepped.
  virtual void UpdatePlayback(float time) = 0;
  // A copy of the description that shares no playing media.
  virtual std::unique_ptr<DS_Sound_Ctrl> Clone() const = 0;

  // Loudness 0 to 100 percent; balance left 0, centre 50, right 100.
  MediaParamT<unsigned> volume{100};
  MediaParamT<unsigned> balance{50};
  // The loaded sound's length in hundredths of a second; never stored.
  unsigned soundLength = 0;

 protected:
  // The current timeline's state; shown when there is no timeline.
  TimingState CurrentTimingState() const;
  // A new random timeline shows the sound once, without fades.
  void SetTimingDefaultsFromLength();

 private:
  void ConvertLegacyTiming(int32_t kind, uint32_t first, uint32_t second);
};

// The run-time object of a sound: it owns its description's clone and hands it the object's
// activation and per-frame time.
class DS_Sound : public DS_ABObj {
 public:
  explicit DS_Sound(std::unique_ptr<DS_Sound_Ctrl> description);

  // Clearing it stops the sound first.
  void SetActive(bool active) override;
  // While active: the description's UpdatePlayback with the local time.
  void Update(float localTime) override;
  int GetObjectKind() const override { return DS_ABObj_Constructor::kSoundKind; }

  DS_Sound_Ctrl& Sound() const { return *static_cast<DS_Sound_Ctrl*>(Description()); }
};
