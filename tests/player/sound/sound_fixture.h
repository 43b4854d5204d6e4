#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/wait_for.h"
#include "platform/audio/wave_bytes.h"
#include "platform/headless_sdl.h"

namespace sound_test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The tone file the sound tests decode as MP3: 7.9 seconds long.
inline fs::path ToneMp3() {
  return fs::path(SCENE_SOURCE_DIR) / "tests/player/sound/data/tone_7_9s.mp3";
}

using audio_test::WaitFor;

inline std::vector<uint8_t> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Real SDL audio through the dummy driver, and a private folder for sound files.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessSdl();
    if (!audio::EnsureAudioDevice()) GTEST_SKIP() << "no SDL audio device: " << SDL_GetError();
    static int counter = 0;
    folder_ = fs::temp_directory_path() /
              ("sound_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
  }

  fs::path Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path file = folder_ / name;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file;
  }

  fs::path folder_;
};

}  // namespace sound_test
