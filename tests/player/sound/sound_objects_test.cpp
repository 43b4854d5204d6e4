#include <gtest/gtest.h>

#include <algorithm>

#include "core/archive/archive_fixture.h"
#include "core/registry/read_by_name.h"
#include "core/startup/thread_slots.h"
#include "core/timing/continues_timeline.h"
#include "core/timing/random_timeline.h"
#include "core/timing/timing_test_support.h"
#include "platform/sys/temp_directory.h"
#include "player/document/doc_res_manager.h"
#include "player/sound/ds_mp3_constructor.h"
#include "player/sound/ds_wav_constructor.h"
#include "player/sound/sound_fixture.h"
#include "player/sound/sound_levels.h"
#include "player/support/every_class.h"

namespace sound_test {
namespace {

using State = audio::MusicGraph::State;

std::unique_ptr<DS_ABObj_Constructor> ReadDescription(const std::vector<uint8_t>& bytes,
                                                      bool* consumedAll = nullptr) {
  ArchiveSource source(SourceMode::Memory, bytes);
  auto read = ReadByName(source.archive(), GetObjectRegistry());
  if (consumedAll) *consumedAll = !source.archive().Failed() && source.buffer().Remaining() == 0;
  return read;
}

// Makes the description's timeline random: hidden `hidden`, shown `shown` (hundredths), no fades.
void UseRandomTimeline(DS_Sound_Ctrl& d, unsigned hidden, unsigned shown) {
  auto random = std::make_unique<ZKW_RandomTimeLine>();
  random->params.hiddenMin.SetValue(hidden);
  random->params.hiddenMax.SetValue(hidden);
  random->params.shownMin.SetValue(shown);
  random->params.shownMax.SetValue(shown);
  random->params.fadeIn.SetValue(0);
  random->params.fadeOut.SetValue(0);
  random->Reset();
  d.timing.RawValue() = 1;
  d.timing.SetTiming(std::move(random));
}

TimingState StateOf(const ZKW_RenderObj& object) {
  return object.GetSmartTiming()->Current()->GetState();
}

// Moves the object's clock on in steps of 0.05 s until its timeline is in `state`.
bool AdvanceUntil(ZKW_RenderObj& object, float& t, TimingState state) {
  for (int i = 0; i < 400; ++i) {
    t += 0.05f;
    object.AdvanceTime(t);
    if (StateOf(object) == state) return true;
  }
  return false;
}

class SoundObjectTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    if (IsSkipped()) return;
    RegisterEveryClass();
    DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
  }
  void TearDown() override {
    DocumentTlsSlot::Reset();
    DeviceSoundBuffer::SetPrimaryVolume(0);
    SoundTest::TearDown();
  }

  // A WAV description whose link names `bytes` in the current document.
  std::unique_ptr<DS_WAV_Constructor> Wav(const std::vector<uint8_t>& bytes) {
    auto d = std::make_unique<DS_WAV_Constructor>();
    d->link = DS_FileLink3(u"C:\\Sounds\\ding.wav", ++linkIds_);
    ResourceDataRecord record;
    record.path = d->link.name;
    record.bytes = bytes;
    DocumentTlsSlot::Get()->resourceRecords[d->link.Key()] = {record};
    return d;
  }

  std::unique_ptr<DS_MP3_Constructor> Mp3(const fs::path& file, std::vector<uint8_t> bytes = {}) {
    auto d = std::make_unique<DS_MP3_Constructor>();
    d->file.path = FromUtf8(file.string());
    d->file.bytes = std::move(bytes);
    return d;
  }

  static std::unique_ptr<DS_Sound> Play(DS_Sound_Ctrl& d) {
    auto made = d.CreateRuntimeObject();
    return std::unique_ptr<DS_Sound>(static_cast<DS_Sound*>(made.release()));
  }

  int64_t linkIds_ = 0;
};

TEST_F(SoundObjectTest, RecordsReadBack) {
  auto mp3 = Mp3("C:\\Music\\a.mp3", {1, 2, 3});
  mp3->volume.SetValue(40);
  mp3->balance.SetValue(70);
  mp3->name = u"Sound";
  UseRandomTimeline(*mp3, 300, 200);
  const auto mp3Bytes = SavedBytes(*mp3);
  const auto expectedHead = WrittenBytes([&](DS_IOF_Archive& ar) {
    WriteRecordHeader(ar, u"DS_MP3_Constructor", 1);
    ar.io().WriteFileData(mp3->file);
    WriteRecordHeader(ar, u"DS_Sound_Ctrl", 3);
    ar.io().WriteUInt32(40);
    ar.io().WriteUInt32(70);
    mp3->DS_ABObj_Constructor::Save(ar);
  });
  EXPECT_EQ(mp3Bytes, expectedHead);
  bool whole = false;
  auto back = ReadDescription(mp3Bytes, &whole);
  EXPECT_TRUE(whole);
  auto* mp3Back = dynamic_cast<DS_MP3_Constructor*>(back.get());
  ASSERT_NE(mp3Back, nullptr);
  EXPECT_EQ(mp3Back->file, mp3->file);
  EXPECT_EQ(mp3Back->volume.Value(), 40u);
  EXPECT_EQ(mp3Back->balance.Value(), 70u);
  EXPECT_EQ(mp3Back->name, u"Sound");
  EXPECT_EQ(mp3Back->timing.Kind(), 1);
  EXPECT_EQ(SavedBytes(*mp3Back), mp3Bytes);

  auto wav = Wav({});
  wav->volume.SetValue(10);
  const auto wavBytes = SavedBytes(*wav);
  back = ReadDescription(wavBytes, &whole);
  EXPECT_TRUE(whole);
  auto* wavBack = dynamic_cast<DS_WAV_Constructor*>(back.get());
  ASSERT_NE(wavBack, nullptr);
  EXPECT_EQ(wavBack->link.Key(), wav->link.Key());
  EXPECT_EQ(wavBack->volume.Value(), 10u);
  EXPECT_EQ(wavBack->balance.Value(), 50u);
  EXPECT_EQ(wavBack->tag, 1);
  EXPECT_EQ(wavBack->timing.flags & ZKW_SmartTiming::kKindMarker, ZKW_SmartTiming::kKindMarker);
}

// Versions 1 and 2 carry a legacy timing that replaces the one the base part holds.
TEST_F(SoundObjectTest, LegacySoundRecords) {
  DS_MP3_Constructor base;
  UseRandomTimeline(base, 100, 100);  // what the base part stores: kind 1
  const struct {
    uint32_t version;
    int32_t kind;
    uint32_t first, second;
    int expectedKind;
    bool random;
    unsigned hiddenMin, hiddenMax;
  } cases[] = {
      {2, 1, 3, 5, 1, true, 300, 500},
      {1, 1, 0, 42, 1, true, 0, 4200},
      {2, 0, 3, 5, 0, false, 0, 0},
      {2, 7, 3, 5, 1, true, 100, 100},  // another kind keeps the timing as read
      {2, 1, 50'000'000, 5, 1, true, UINT32_MAX, 500},
  };
  for (const auto& c : cases) {
    const auto bytes = WrittenBytes([&](DS_IOF_Archive& ar) {
      WriteRecordHeader(ar, u"DS_MP3_Constructor", 1);
      ar.io().WriteFileData(FileDataRecord{u"x.mp3", {}});
      WriteRecordHeader(ar, u"DS_Sound_Ctrl", c.version);
      ar.io().WriteUInt32(60);
      ar.io().WriteUInt32(20);
      ar.io().WriteInt32(c.kind);
      ar.io().WriteUInt32(c.first);
      ar.io().WriteUInt32(c.second);
      base.DS_ABObj_Constructor::Save(ar);
    });
    bool whole = false;
    auto read = ReadDescription(bytes, &whole);
    ASSERT_TRUE(read) << c.version << "/" << c.kind;
    EXPECT_TRUE(whole);
    auto& d = static_cast<DS_Sound_Ctrl&>(*read);
    EXPECT_EQ(d.volume.Value(), 60u);
    EXPECT_EQ(d.balance.Value(), 20u);
    EXPECT_EQ(d.timing.Kind(), c.expectedKind) << c.version << "/" << c.kind;
    auto* random = dynamic_cast<ZKW_RandomTimeLine*>(d.timing.Current());
    ASSERT_EQ(random != nullptr, c.random) << c.version << "/" << c.kind;
    if (random) {
      EXPECT_EQ(random->params.hiddenMin.Value(), c.hiddenMin);
      EXPECT_EQ(random->params.hiddenMax.Value(), c.hiddenMax);
    } else {
      EXPECT_NE(dynamic_cast<ZKW_ContinuesTimeLine*>(d.timing.Current()), nullptr);
    }
  }
}

TEST_F(SoundObjectTest, PictureAndAdjustedTiming) {
  auto wav = Wav(wave_bytes::Tone(2.0));
  PictureRef picture{nullptr, 5, true, 0.5f};
  EXPECT_EQ(wav->GetPicture(&picture), &picture);
  ASSERT_NE(picture.link, nullptr);
  EXPECT_EQ(picture.link->name, u"glimres.dll");
  EXPECT_EQ(picture.link->id, 2016);
  EXPECT_EQ(picture.value, 0);
  EXPECT_FALSE(picture.flag);
  EXPECT_EQ(picture.scale, 1.0f);
  EXPECT_FALSE(wav->Buffer()) << "the plain picture loads nothing";

  // The preview plays the sound once.
  wav->GetPicture(&picture, true);
  ASSERT_TRUE(wav->Buffer());
  EXPECT_TRUE(wav->Buffer()->GetStatus().playing);
  EXPECT_FALSE(wav->Buffer()->GetStatus().looping);
  wav->StopPlayback();

  ZKW_RandomTimeLine random;
  EXPECT_FALSE(wav->AdjustTiming(&random, 0));
  EXPECT_EQ(random.params.shownMin.Value(), 200u);
  EXPECT_EQ(random.params.shownMax.Value(), 200u);
  EXPECT_EQ(random.params.fadeIn.Value(), 0u);
  EXPECT_EQ(random.params.fadeOut.Value(), 0u);
  EXPECT_EQ(random.params.hiddenMin.Value(), 100u) << "the hidden range stays";
}

TEST_F(SoundObjectTest, Mp3LengthAndPrivateCopy) {
  auto saved = Mp3(ToneMp3());
  auto object = Play(*saved);
  auto& d = static_cast<DS_MP3_Constructor&>(object->Sound());
  EXPECT_EQ(object->GetObjectKind(), DS_ABObj_Constructor::kSoundKind);
  EXPECT_EQ(d.soundLength, 700u) << "7.9 s in whole seconds";
  EXPECT_FLOAT_EQ(d.timing.defaultShown, 7.0f);
  EXPECT_EQ(d.timing.defaultFadeIn, 0.0f);
  EXPECT_EQ(d.timing.defaultFadeOut, 0.0f);
  ASSERT_TRUE(d.Graph());
  EXPECT_EQ(d.Graph()->GetState(), State::Stopped) << "loaded, not playing";
  EXPECT_EQ(saved->Graph(), nullptr) << "the saved description stays unloaded";

  const fs::path copy = d.TempPath();
  EXPECT_EQ(copy.parent_path(), sys::TempDirectory::Player().Directory());
  EXPECT_EQ(ReadBytes(copy), ReadBytes(ToneMp3()));
  object.reset();
  EXPECT_FALSE(fs::exists(copy));
  EXPECT_TRUE(fs::exists(ToneMp3()));
}

// Carried bytes are written even when the stored path exists; copies never collide.
TEST_F(SoundObjectTest, Mp3CopiesAreTheirOwn) {
  const auto bytes = wave_bytes::Tone(0.2);
  auto first = Mp3(ToneMp3(), bytes);
  auto second = Mp3(ToneMp3(), bytes);
  auto a = Play(*first);
  auto b = Play(*second);
  const auto& da = static_cast<const DS_MP3_Constructor&>(a->Sound());
  const auto& db = static_cast<const DS_MP3_Constructor&>(b->Sound());
  const fs::path copyA = da.TempPath();
  EXPECT_EQ(ReadBytes(copyA), bytes);
  EXPECT_NE(copyA, db.TempPath());
  EXPECT_EQ(da.soundLength, 0u) << "0.2 s has no whole second";

  // A clone of a loaded description shares nothing with it.
  auto clone = da.Clone();
  auto& dc = static_cast<DS_MP3_Constructor&>(*clone);
  EXPECT_EQ(dc.Graph(), nullptr);
  EXPECT_TRUE(dc.TempPath().empty());
  EXPECT_EQ(dc.file, da.file);
  dc.LoadMedia();
  EXPECT_NE(dc.TempPath(), copyA);
  clone.reset();
  EXPECT_TRUE(fs::exists(copyA));

  a.reset();
  EXPECT_FALSE(fs::exists(copyA));
  EXPECT_TRUE(fs::exists(db.TempPath())) << "another object's copy of the same file stays";
  EXPECT_EQ(db.Graph()->GetState(), State::Stopped);
}

// The sound repeats from its start while shown and stops when hidden.
TEST_F(SoundObjectTest, Mp3PlaysWhileShown) {
  auto saved = Mp3(Write("short.wav", wave_bytes::Tone(0.15)));
  saved->volume.SetValue(50);
  saved->balance.SetValue(0);
  auto object = Play(*saved);
  const auto& d = static_cast<const DS_MP3_Constructor&>(object->Sound());
  const audio::MusicGraph& graph = *d.Graph();

  float t = 0.0f;
  object->AdvanceTime(t);
  EXPECT_EQ(graph.GetState(), State::Running);
  EXPECT_EQ(graph.Volume(), -2000);
  EXPECT_EQ(graph.Balance(), -4000);
  ASSERT_TRUE(WaitFor([&] { return graph.Position() >= graph.Duration(); }));
  object->AdvanceTime(t += 0.01f);
  EXPECT_EQ(graph.GetState(), State::Stopped) << "stopped at its end";
  object->AdvanceTime(t += 0.01f);
  EXPECT_EQ(graph.GetState(), State::Running) << "and started again";
  EXPECT_LT(graph.Position(), graph.Duration());

  object->SetActive(false);
  EXPECT_EQ(graph.GetState(), State::Stopped);
  object->AdvanceTime(t += 0.01f);
  EXPECT_EQ(graph.GetState(), State::Stopped) << "an inactive object stays silent";
}

TEST_F(SoundObjectTest, Mp3StopsWhenHidden) {
  auto saved = Mp3(Write("long.wav", wave_bytes::Tone(3.0)));
  UseRandomTimeline(*saved, 50, 50);
  auto object = Play(*saved);
  const audio::MusicGraph& graph = *static_cast<DS_MP3_Constructor&>(object->Sound()).Graph();
  float t = 0.0f;
  ASSERT_TRUE(AdvanceUntil(*object, t, TimingState::Shown));
  EXPECT_EQ(graph.GetState(), State::Running);
  ASSERT_TRUE(AdvanceUntil(*object, t, TimingState::Hidden));
  EXPECT_EQ(graph.GetState(), State::Stopped);
}

TEST_F(SoundObjectTest, Mp3WithoutAFileIsSilent) {
  auto object = Play(*Mp3(folder_ / "missing.mp3"));
  const auto& d = static_cast<const DS_MP3_Constructor&>(object->Sound());
  EXPECT_EQ(d.soundLength, 0u);
  object->AdvanceTime(0.1f);
  EXPECT_FALSE(d.Graph()->HasStream());
  EXPECT_EQ(d.Graph()->GetState(), State::Stopped);
}

TEST_F(SoundObjectTest, WavBufferLengthAndLevels) {
  using namespace wave_bytes;
  // 88200 bytes at 44100 bytes per second, with a 16-byte format chunk.
  const std::vector<uint8_t> samples(88200, 0);
  auto saved = Wav(Riff({Chunk("fmt ", Format(1, 1, 22050, 16)), Chunk("data", samples)}));
  saved->volume.SetValue(0);
  saved->balance.SetValue(100);
  auto object = Play(*saved);
  auto& d = static_cast<DS_WAV_Constructor&>(object->Sound());
  EXPECT_EQ(d.soundLength, 200u);
  EXPECT_FLOAT_EQ(d.timing.defaultShown, 2.0f);
  ASSERT_TRUE(d.Buffer());
  EXPECT_EQ(d.Buffer()->Volume(), -5000);
  EXPECT_EQ(d.Buffer()->Pan(), 5000);
  EXPECT_EQ(d.timing.flags & 0xF, 0xFu);
  EXPECT_FALSE(d.Buffer()->GetStatus().playing) << "loaded, not playing";

  // The primary volume follows the music's master volume; muted sounds are silent.
  DeviceSoundBuffer::SetPrimaryVolume(PrimaryVolume(100, true));
  EXPECT_EQ(d.Buffer()->EffectiveVolume(), -10000);
  DeviceSoundBuffer::SetPrimaryVolume(PrimaryVolume(80, false));
  EXPECT_EQ(d.Buffer()->EffectiveVolume(), -6000);

  // A clone shares the buffer.
  auto clone = d.Clone();
  EXPECT_EQ(static_cast<DS_WAV_Constructor&>(*clone).Buffer(), d.Buffer());
}

TEST_F(SoundObjectTest, WavWithoutUsableData) {
  using namespace wave_bytes;
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    unsigned length;
    bool buffer;
  } cases[] = {
      {"not WAVE data", {1, 2, 3, 4, 5, 6, 7, 8, 9}, 0, false},
      {"samples of 12 bits",
       Riff({Chunk("fmt ", Format(1, 1, 22050, 12)), Chunk("data", std::vector<uint8_t>(882))}), 4,
       false},
      {"a byte rate of 0: no length, but it plays",
       [] {
         auto fmt = Format(1, 1, 22050, 16);
         std::fill(fmt.begin() + 8, fmt.begin() + 12, 0);
         return Riff({Chunk("fmt ", fmt), Chunk("data", std::vector<uint8_t>(400))});
       }(),
       0, true},
  };
  for (const auto& c : cases) {
    auto object = Play(*Wav(c.bytes));
    auto& d = static_cast<DS_WAV_Constructor&>(object->Sound());
    EXPECT_EQ(d.Buffer() != nullptr, c.buffer) << c.what;
    EXPECT_EQ(d.soundLength, c.length) << c.what;
    object->AdvanceTime(0.1f);
    object->SetActive(false);
  }

  // No record at all: a file link has nothing; a module link is looked up in its module.
  DS_WAV_Constructor unnamed;
  unnamed.link = DS_FileLink3(u"C:\\Sounds\\none.wav", 77);
  EXPECT_FALSE(unnamed.CreateBuffer());
  DS_WAV_Constructor module;
  module.link = DS_FileLink3(u"sounds.dll", 77);
  EXPECT_FALSE(module.CreateBuffer());
  EXPECT_EQ(DocumentTlsSlot::Get()->resourceRecords.count(module.link.Key()), 1u);
  DocumentTlsSlot::Reset();
  EXPECT_FALSE(unnamed.CreateBuffer()) << "no document";
}

TEST_F(SoundObjectTest, WavLoopsOnAContinuousTimeline) {
  auto object = Play(*Wav(wave_bytes::Tone(0.1)));
  const auto& buffer = static_cast<DS_WAV_Constructor&>(object->Sound()).Buffer();
  object->AdvanceTime(0.0f);
  EXPECT_TRUE(buffer->GetStatus().playing);
  EXPECT_TRUE(buffer->GetStatus().looping);
  std::this_thread::sleep_for(250ms);
  EXPECT_TRUE(buffer->GetStatus().playing);
  object->SetActive(false);
  EXPECT_FALSE(buffer->GetStatus().playing);
}

// On any other timeline a sound plays once per shown phase, again whenever it has ended while
// shown, and is not cut off when hidden.
TEST_F(SoundObjectTest, WavPlaysOnceWhileShown) {
  auto saved = Wav(wave_bytes::Tone(0.1));
  UseRandomTimeline(*saved, 50, 100);
  auto object = Play(*saved);
  const auto& buffer = static_cast<DS_WAV_Constructor&>(object->Sound()).Buffer();
  float t = 0.0f;
  ASSERT_TRUE(AdvanceUntil(*object, t, TimingState::Shown));
  EXPECT_TRUE(buffer->GetStatus().playing);
  EXPECT_FALSE(buffer->GetStatus().looping);
  ASSERT_TRUE(WaitFor([&] { return !buffer->GetStatus().playing; }));
  object->AdvanceTime(t);
  EXPECT_TRUE(buffer->GetStatus().playing) << "it repeats while shown";

  auto longSaved = Wav(wave_bytes::Tone(3.0));
  UseRandomTimeline(*longSaved, 50, 10);
  auto longObject = Play(*longSaved);
  const auto& longBuffer = static_cast<DS_WAV_Constructor&>(longObject->Sound()).Buffer();
  t = 0.0f;
  ASSERT_TRUE(AdvanceUntil(*longObject, t, TimingState::Shown));
  ASSERT_TRUE(AdvanceUntil(*longObject, t, TimingState::Hidden));
  EXPECT_TRUE(longBuffer->GetStatus().playing) << "a single play is not cut off";
}

}  // namespace
}  // namespace sound_test
