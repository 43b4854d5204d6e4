#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/audio/audio_device.h"
#include "platform/audio/music_graph.h"
#include "platform/audio/sound_buffer.h"
#include "platform/audio/wait_for.h"
#include "platform/audio/wave_bytes.h"
#include "platform/headless_sdl.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using audio_test::WaitFor;

class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessSdl();
    if (!audio::EnsureAudioDevice()) GTEST_SKIP() << "no SDL audio device: " << SDL_GetError();
  }
};

TEST_F(AudioTest, SoundBufferPlaysOnceLoopsAndStops) {
  const auto bytes = wave_bytes::Tone(0.1);
  const auto sound = audio::SoundBuffer::Create(*audio::ReadWave(bytes));
  ASSERT_TRUE(sound);
  EXPECT_NEAR(sound->Duration(), 0.1, 0.01);
  EXPECT_FALSE(sound->GetStatus().playing);

  sound->SetVolume(-600);
  sound->SetPan(10000);
  sound->Play(false);
  EXPECT_TRUE(sound->GetStatus().playing);
  EXPECT_FALSE(sound->GetStatus().looping);
  EXPECT_TRUE(WaitFor([&] { return !sound->GetStatus().playing; })) << "a single play ends";

  sound->ResetPosition();
  sound->Play(true);
  std::this_thread::sleep_for(300ms);  // three times its length
  EXPECT_TRUE(sound->GetStatus().playing);
  EXPECT_TRUE(sound->GetStatus().looping);
  sound->Stop();
  EXPECT_FALSE(sound->GetStatus().playing);
  EXPECT_EQ(sound->Volume(), -600);
  EXPECT_EQ(sound->Pan(), 10000);
}

TEST_F(AudioTest, SoundBufferFormats) {
  using namespace wave_bytes;
  const std::vector<uint8_t> samples(400, 0x80);
  const struct {
    uint16_t tag, channels, bits;
    bool ok;
    uint32_t rate = 22050;
  } cases[] = {{1, 1, 8, true},
               {1, 2, 16, true},
               {3, 2, 32, true},
               {0xFFFE, 2, 16, true},
               {2, 1, 4, false},
               {1, 1, 12, false},
               {1, 0, 16, false},
               {1, 9, 16, false},
               // Rates a sound card takes; a rate of a few hertz would make every stored byte
               // thousands of bytes at the device's rate.
               {1, 1, 8, true, 100},
               {1, 2, 16, true, 200000},
               {1, 1, 8, false, 99},
               {1, 1, 8, false, 1},
               {1, 1, 8, false, 200001}};
  for (const auto& c : cases) {
    const auto bytes =
        Riff({Chunk("fmt ", Format(c.tag, c.channels, c.rate, c.bits)), Chunk("data", samples)});
    EXPECT_EQ(audio::SoundBuffer::Create(*audio::ReadWave(bytes)) != nullptr, c.ok)
        << c.tag << "/" << c.channels << "/" << c.bits << "/" << c.rate;
  }

  // 24-bit PCM, as editors write it: one second of mono at 22050 samples per second.
  const auto deep = Riff({Chunk("fmt ", Format(1, 1, 22050, 24)),
                          Chunk("data", std::vector<uint8_t>(3 * 22050, 0x10))});
  const auto sound = audio::SoundBuffer::Create(*audio::ReadWave(deep));
  ASSERT_TRUE(sound);
  EXPECT_NEAR(sound->Duration(), 1.0, 0.01);
}

// The SDL sample format of a format block; an extensible block names its format in the
// SubFormat that follows its 22 extra bytes' first 6.
TEST(SdlSampleFormat, PlainAndExtensibleBlocks) {
  using namespace wave_bytes;
  auto extensible = [](uint16_t bits, uint16_t subFormat) {
    std::vector<uint8_t> block = Format(0xFFFE, 2, 44100, bits, 22);
    U16(block, bits);  // valid bits
    U32(block, 3);     // channel mask
    U16(block, subFormat);
    block.resize(block.size() + 14, 0x11);  // rest of the GUID
    return block;
  };
  const struct {
    std::vector<uint8_t> block;
    SDL_AudioFormat expected;
  } cases[] = {{Format(1, 2, 44100, 16), AUDIO_S16LSB},
               {Format(1, 2, 44100, 24), AUDIO_S32LSB},
               {Format(3, 2, 44100, 32), AUDIO_F32LSB},
               {Format(3, 2, 44100, 16), 0},
               {Format(0xFFFE, 2, 44100, 16), AUDIO_S16LSB},  // no SubFormat: PCM
               {extensible(32, 3), AUDIO_F32LSB},
               {extensible(32, 1), AUDIO_S32LSB},
               {extensible(24, 1), AUDIO_S32LSB},
               {extensible(16, 2), 0}};
  for (const auto& c : cases) {
    const auto wave = audio::ReadWave(Riff({Chunk("fmt ", c.block), Chunk("data", {0, 0, 0, 0})}));
    ASSERT_TRUE(wave);
    EXPECT_EQ(audio::SdlSampleFormat(wave->format), c.expected)
        << wave->format.formatTag << "/" << wave->format.subFormat << "/"
        << wave->format.bitsPerSample;
  }
}

class MusicGraphTest : public AudioTest {
 protected:
  void SetUp() override {
    AudioTest::SetUp();
    file_ = fs::temp_directory_path() / ("music-graph-" + std::to_string(getpid()) + ".wav");
    const auto bytes = wave_bytes::Tone(0.15);
    std::ofstream(file_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  void TearDown() override { fs::remove(file_); }
  fs::path file_;
};

TEST_F(MusicGraphTest, RunsToTheEndAndQueuesCompletion) {
  audio::MusicGraph graph;
  long code = 0;
  ASSERT_TRUE(graph.RenderFile(file_));
  EXPECT_NEAR(graph.Duration(), 0.15, 0.01);
  EXPECT_EQ(graph.GetState(), audio::MusicGraph::State::Stopped);
  graph.Run();
  EXPECT_EQ(graph.GetState(), audio::MusicGraph::State::Running);
  EXPECT_FALSE(graph.GetEvent(code));
  ASSERT_TRUE(WaitFor([&] { return graph.GetEvent(code); }));
  EXPECT_EQ(code, audio::kEventComplete);
  EXPECT_FALSE(graph.GetEvent(code)) << "one event per completed run";
  // At its end the graph still runs; the position is the duration.
  EXPECT_EQ(graph.GetState(), audio::MusicGraph::State::Running);
  EXPECT_DOUBLE_EQ(graph.Position(), graph.Duration());

  graph.SeekToStart();
  EXPECT_EQ(graph.Position(), 0.0);
  graph.Stop();
  graph.Run();
  graph.Stop();  // a stop is no completion
  std::this_thread::sleep_for(250ms);
  EXPECT_FALSE(graph.GetEvent(code));
}

TEST_F(MusicGraphTest, MissingOrUndecodableFileGivesNoStream) {
  audio::MusicGraph graph;
  EXPECT_FALSE(graph.RenderFile(file_.string() + ".missing"));
  std::ofstream(file_, std::ios::binary | std::ios::trunc) << "not a sound";
  EXPECT_FALSE(graph.RenderFile(file_));
  EXPECT_FALSE(graph.HasStream());
  graph.Run();
  EXPECT_EQ(graph.Duration(), 0.0);
  graph.SetVolume(-10000);
  EXPECT_EQ(graph.Volume(), -10000);

  // A WAVE file of 1 sample per second: the mixer would turn each stored byte into thousands.
  const auto slow = wave_bytes::Riff({wave_bytes::Chunk("fmt ", wave_bytes::Format(1, 1, 1, 8)),
                                      wave_bytes::Chunk("data", std::vector<uint8_t>(3000, 0x80))});
  std::ofstream(file_, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(slow.data()), std::streamsize(slow.size()));
  EXPECT_FALSE(graph.RenderFile(file_));
  EXPECT_FALSE(graph.HasStream());
}

}  // namespace
