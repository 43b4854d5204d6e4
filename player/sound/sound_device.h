#pragma once

#include <memory>

#include "platform/audio/riff_reader.h"
#include "platform/audio/sound_buffer.h"

// An in-memory sound of the player's sound device, which the sound objects of a slide play. The
// device is the process's audio output (opened on first use); it has a primary volume, which
// follows the master volume of the music, and every sound plays at its own volume plus the
// primary one. Main thread only.
class DeviceSoundBuffer {
 public:
  // Null when the samples are in a form the device cannot play or there is no device.
  static std::shared_ptr<DeviceSoundBuffer> Create(const audio::WaveData& wave);
  ~DeviceSoundBuffer();
  DeviceSoundBuffer(const DeviceSoundBuffer&) = delete;
  DeviceSoundBuffer& operator=(const DeviceSoundBuffer&) = delete;

  // The sound's own volume and pan, in hundredths of a decibel.
  void SetVolume(long hundredthsDb);
  void SetPan(long hundredthsDb) { sound_->SetPan(hundredthsDb); }
  long Volume() const { return volume_; }
  long Pan() const { return sound_->Pan(); }
  // What the sound plays at: its volume plus the primary volume.
  long EffectiveVolume() const { return sound_->Volume(); }

  void Play(bool looping) { sound_->Play(looping); }
  void Stop() { sound_->Stop(); }
  void ResetPosition() { sound_->ResetPosition(); }
  audio::SoundBuffer::Status GetStatus() const { return sound_->GetStatus(); }

  // The primary volume, applied at once to every sound that exists.
  static void SetPrimaryVolume(long hundredthsDb);
  static long PrimaryVolume();

 private:
  explicit DeviceSoundBuffer(std::unique_ptr<audio::SoundBuffer> sound);
  void Apply();

  std::unique_ptr<audio::SoundBuffer> sound_;
  long volume_ = 0;
};
