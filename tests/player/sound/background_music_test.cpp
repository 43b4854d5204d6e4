#include "player/music/background_music.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/sys/temp_directory.h"
#include "player/music/ds_audio_file.h"
#include "player/sound/sound_fixture.h"

namespace sound_test {
namespace {

DS_SafePtr<DS_AudioFile> Track(const zkw_string& path, std::vector<uint8_t> bytes = {},
                               unsigned volume = 100) {
  auto track = std::make_unique<DS_AudioFile>();
  track->file.path = path;
  track->file.bytes = std::move(bytes);
  track->volume.SetValue(volume);
  return DS_SafePtr<DS_AudioFile>(std::move(track));
}

zkw_string Stored(const fs::path& file) {
  return FromUtf8(file.string());
}

class BackgroundMusicTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    if (IsSkipped()) return;
    // Tracks told apart by their lengths.
    for (int i = 1; i <= 3; ++i)
      tracks_.push_back(Write("track" + std::to_string(i) + ".wav", wave_bytes::Tone(0.1 * i)));
    music_.CreateGraph(nullptr);
  }

  // Which of the three tracks the graph holds (1 to 3), 0 for none.
  int Playing() const {
    const audio::MusicGraph* graph = music_.Graph();
    if (!graph->HasStream()) return 0;
    return int(std::lround(graph->Duration() * 10.0));
  }

  std::vector<fs::path> tracks_;
  BackgroundMusic music_;
};

TEST_F(BackgroundMusicTest, PlaysInOrderAndLoops) {
  music_.Start({Track(Stored(tracks_[0])), Track(Stored(tracks_[1])), Track(Stored(tracks_[2]))});
  EXPECT_EQ(Playing(), 1);
  EXPECT_EQ(music_.Graph()->GetState(), audio::MusicGraph::State::Running);
  for (int expected : {2, 3, 1, 2}) {
    music_.OnMediaEvent(audio::kEventComplete);
    EXPECT_EQ(Playing(), expected);
  }
  for (long other : {-1L, 0L, 2L, 3L}) {
    music_.OnMediaEvent(other);
    EXPECT_EQ(Playing(), 2) << "event " << other << " changes nothing";
  }
}

// The graph's own end of a track, taken as the window does, starts the only track again.
TEST_F(BackgroundMusicTest, AOneTrackPlaylistStartsAgainWhenItEnds) {
  music_.Start({Track(Stored(tracks_[0]))});
  music_.SetVolume(100, false);
  EXPECT_EQ(music_.TakeEvent(), -1);
  long code = -1;
  ASSERT_TRUE(WaitFor([&] { return (code = music_.TakeEvent()) != -1; }));
  EXPECT_EQ(code, audio::kEventComplete);
  EXPECT_DOUBLE_EQ(music_.Graph()->Position(), music_.Graph()->Duration());
  music_.OnMediaEvent(code);
  EXPECT_EQ(Playing(), 1);
  EXPECT_LT(music_.Graph()->Position(), music_.Graph()->Duration());
}

TEST_F(BackgroundMusicTest, Volumes) {
  music_.Start({Track(Stored(tracks_[0]), {}, 75), Track(Stored(tracks_[1]))});
  EXPECT_EQ(music_.Graph()->Volume(), -10000) << "silent until the volume is set";
  music_.SetVolume(100, false);
  EXPECT_EQ(music_.Graph()->Volume(), -1000);
  music_.OnMediaEvent(audio::kEventComplete);
  EXPECT_EQ(music_.Graph()->Volume(), 0);
  music_.SetVolume(50, false);
  EXPECT_EQ(music_.Graph()->Volume(), -2000);
  music_.SetVolume(0, false);
  EXPECT_EQ(music_.Graph()->Volume(), -4000);
  music_.SetVolume(100, true);
  EXPECT_EQ(music_.Graph()->Volume(), -10000);
  music_.OnMediaEvent(audio::kEventComplete);
  EXPECT_EQ(music_.Graph()->Volume(), -10000) << "a muted player stays muted at the next track";
  EXPECT_TRUE(music_.muted);
}

// A track that cannot be played is silent and announces no end: the playlist stops there.
TEST_F(BackgroundMusicTest, AnUnplayableTrackStopsThePlaylist) {
  const zkw_string missing = Stored(folder_ / "missing.mp3");
  const zkw_string broken = Stored(Write("broken.mp3", {1, 2, 3, 4}));
  for (const zkw_string& unplayable : {missing, broken}) {
    music_.Start({Track(Stored(tracks_[0])), Track(unplayable), Track(Stored(tracks_[2]))});
    music_.SetVolume(100, false);
    EXPECT_EQ(Playing(), 1);
    long code = -1;
    ASSERT_TRUE(WaitFor([&] { return (code = music_.TakeEvent()) != -1; }));
    music_.OnMediaEvent(code);
    EXPECT_EQ(Playing(), 0) << "the track after it is not tried";
    EXPECT_EQ(music_.Graph()->GetState(), audio::MusicGraph::State::Stopped);
    EXPECT_EQ(music_.nextTrack, 2u);
    EXPECT_EQ(music_.TakeEvent(), -1) << "no end comes";
  }

  // The first track: nothing plays from the start.
  music_.Start({Track(missing), Track(Stored(tracks_[1]))});
  EXPECT_EQ(Playing(), 0);
  EXPECT_EQ(music_.Graph()->GetState(), audio::MusicGraph::State::Stopped);
  EXPECT_EQ(music_.TakeEvent(), -1);

  music_.Start({});
  music_.OnMediaEvent(audio::kEventComplete);
  EXPECT_EQ(Playing(), 0);
}

TEST_F(BackgroundMusicTest, AStartStopsThePlaylistBefore) {
  music_.Start({Track(Stored(tracks_[2]))});
  music_.Start({});
  EXPECT_EQ(music_.Graph()->GetState(), audio::MusicGraph::State::Stopped);
}

TEST_F(BackgroundMusicTest, CarriedFilesAreSpilledToPrivateCopies) {
  const std::vector<uint8_t> bytes = wave_bytes::Tone(0.2);
  // A stored path that exists is played; the bytes are dropped.
  auto kept = Track(Stored(tracks_[0]), bytes);
  kept->SpillToTemp();
  EXPECT_EQ(kept->file.path, Stored(tracks_[0]));
  EXPECT_TRUE(kept->file.bytes.empty());

  // Two tracks that name the same missing file (and a folder, which cannot be played) get
  // files of their own in the player's directory.
  sys::TempDirectory& temp = sys::TempDirectory::Player();
  auto a = Track(u"C:\\Music\\..\\song?.wav", bytes);
  auto b = Track(u"D:\\Other\\song?.wav", {9, 9});
  auto c = Track(Stored(folder_), bytes);
  for (auto* t : {&a, &b, &c})
    (*t)->SpillToTemp();
  const fs::path pa = a->PlayPath(), pb = b->PlayPath(), pc = c->PlayPath();
  for (const fs::path& p : {pa, pb, pc}) {
    EXPECT_EQ(p.parent_path(), temp.Directory());
    EXPECT_TRUE(temp.Owns(p));
  }
  EXPECT_NE(pa, pb);
  EXPECT_NE(pc, fs::path(folder_));
  EXPECT_EQ(pa.filename().string().find_first_of("\\?"), std::string::npos) << pa;
  EXPECT_EQ(ReadBytes(pa), bytes);
  EXPECT_EQ(ReadBytes(pb), (std::vector<uint8_t>{9, 9}));
  EXPECT_TRUE(a->file.bytes.empty());

  // The copy plays, and goes with its track; the other track's copy stays.
  music_.Start({a});
  EXPECT_EQ(Playing(), 2);
  music_.Start({});
  a.Release();
  EXPECT_FALSE(fs::exists(pa));
  EXPECT_TRUE(fs::exists(pb));
  EXPECT_TRUE(fs::exists(tracks_[0])) << "a file the player did not write is never deleted";
  kept.Release();
  EXPECT_TRUE(fs::exists(tracks_[0]));
}

}  // namespace
}  // namespace sound_test
