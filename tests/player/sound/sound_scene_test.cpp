#include <gtest/gtest.h>

#include "platform/audio/audio_device.h"
#include "platform/audio/wave_bytes.h"
#include "player/sound/ds_mp3_constructor.h"
#include "player/sound/ds_wav_constructor.h"
#include "player/sound/sound_fixture.h"
#include "player/support/scene_fixture.h"

namespace scene_test {
namespace {

class SoundSceneTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    if (IsSkipped()) return;
    if (!audio::EnsureAudioDevice()) GTEST_SKIP() << "no SDL audio device";
  }
};

// Sound objects stored in a project play while their slide shows and stop when it ends.
TEST_F(SoundSceneTest, SoundsPlayWithTheirSlide) {
  std::vector<uint8_t> bytes;
  {
    ProjectBuilder project;
    DS_SlideContainer& first = project.AddSlide(0.5f, 1.0f, 0.5f);
    auto wav = std::make_unique<DS_WAV_Constructor>();
    // The document keeps a WAVE sound like any other file it carries.
    wav->link = project.StorePicture(u"ding.wav", wave_bytes::Tone(0.2));
    wav->balance.SetValue(0);
    first.savedObjects.push_back(std::move(wav));
    auto mp3 = std::make_unique<DS_MP3_Constructor>();
    mp3->file.path = u"C:\\Sounds\\tone.mp3";
    mp3->file.bytes = sound_test::ReadBytes(sound_test::ToneMp3());
    first.savedObjects.push_back(std::move(mp3));
    project.AddSlide(0.5f, 1.0f, 0.5f);
    bytes = project.Write();
  }
  DS_SlideShow_Light& scene = Play(bytes);
  const DS_SlideContainer& slide = *scene.slides[0];
  ASSERT_EQ(slide.objects.size(), 2u);
  auto* wavObject = dynamic_cast<DS_Sound*>(slide.objects[0].Get());
  auto* mp3Object = dynamic_cast<DS_Sound*>(slide.objects[1].Get());
  ASSERT_TRUE(wavObject && mp3Object);
  EXPECT_EQ(wavObject->GetObjectKind(), DS_ABObj_Constructor::kSoundKind);
  const auto& wav = static_cast<const DS_WAV_Constructor&>(wavObject->Sound());
  const auto& mp3 = static_cast<const DS_MP3_Constructor&>(mp3Object->Sound());
  ASSERT_TRUE(wav.Buffer());
  EXPECT_EQ(wav.soundLength, 20u);
  EXPECT_EQ(wav.Buffer()->Pan(), -5000);
  EXPECT_EQ(mp3.soundLength, 700u);

  Frame(0.0);
  Frame(0.1);
  EXPECT_TRUE(wav.Buffer()->GetStatus().looping);
  EXPECT_EQ(mp3.Graph()->GetState(), audio::MusicGraph::State::Running);
  Frame(2.5);  // the second slide
  EXPECT_EQ(CurrentIndex(), 1);
  EXPECT_FALSE(wav.Buffer()->GetStatus().playing);
  EXPECT_EQ(mp3.Graph()->GetState(), audio::MusicGraph::State::Stopped);
}

}  // namespace
}  // namespace scene_test
