#include "player/sound/sound_device.h"

#include <algorithm>
#include <set>

#include "platform/audio/decibels.h"

namespace {

struct Device {
  long primaryVolume = 0;
  std::set<DeviceSoundBuffer*> sounds;
};

// Lives to the end of the process: sounds may still be released during exit.
Device& TheDevice() {
  static Device* device = new Device;
  return *device;
}

}  // namespace

std::shared_ptr<DeviceSoundBuffer> DeviceSoundBuffer::Create(const audio::WaveData& wave) {
  std::unique_ptr<audio::SoundBuffer> sound = audio::SoundBuffer::Create(wave);
  if (!sound) return nullptr;
  return std::shared_ptr<DeviceSoundBuffer>(new DeviceSoundBuffer(std::move(sound)));
}

DeviceSoundBuffer::DeviceSoundBuffer(std::unique_ptr<audio::SoundBuffer> sound)
    : sound_(std::move(sound)) {
  TheDevice().sounds.insert(this);
  Apply();
}

DeviceSoundBuffer::~DeviceSoundBuffer() {
  TheDevice().sounds.erase(this);
}

void DeviceSoundBuffer::SetVolume(long hundredthsDb) {
  volume_ = hundredthsDb;
  Apply();
}

void DeviceSoundBuffer::Apply() {
  const long sum = volume_ + TheDevice().primaryVolume;
  sound_->SetVolume(std::clamp(sum, audio::kSilence, 0L));
}

void DeviceSoundBuffer::SetPrimaryVolume(long hundredthsDb) {
  Device& device = TheDevice();
  device.primaryVolume = std::clamp(hundredthsDb, audio::kSilence, 0L);
  for (DeviceSoundBuffer* sound : device.sounds)
    sound->Apply();
}

long DeviceSoundBuffer::PrimaryVolume() {
  return TheDevice().primaryVolume;
}
