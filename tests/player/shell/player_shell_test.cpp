#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/ds_error.h"
#include "platform/app/dxut.h"
#include "platform/app/message_pump.h"
#include "platform/audio/audio_device.h"
#include "platform/audio/music_graph.h"
#include "platform/audio/wave_bytes.h"
#include "platform/gfx/device.h"
#include "platform/stderr_capture.h"
#include "player/shell/device_callbacks.h"
#include "player/shell/player_window.h"
#include "player/shell/scene_player.h"
#include "player/support/player_fixture.h"
#include "player/support/probe_object.h"
#include "player/support/scene_fixture.h"

namespace scene_test {
namespace {

// The player's window with what these tests read: the posted quit, the centre pixel, a device
// loss.
class PlayerShellTest : public PlayerTest {
 protected:
  bool QuitPosted(int code) {
    for (const app::Message& m : Messages())
      if (m.id == app::msg::Quit && int(m.wParam) == code) return true;
    return false;
  }

  uint32_t CentrePixel() {
    gfx::Device* device = app::DXUTGetD3D9Device();
    gfx::ComPtr<gfx::Surface> backBuffer;
    EXPECT_EQ(device->GetBackBuffer(0, 0, gfx::BackBufferType::Mono, backBuffer.Put()), gfx::kOk);
    std::vector<uint8_t> bytes;
    uint32_t pitch = 0;
    EXPECT_EQ(backBuffer->ReadPixels(&bytes, &pitch), gfx::kOk);
    uint32_t pixel = 0;
    std::memcpy(&pixel,
                bytes.data() + (backBuffer->Height() / 2) * pitch + backBuffer->Width() / 2 * 4, 4);
    return pixel;
  }

  // A device loss and the reset that ends it, as the frame framework goes through them.
  void LoseAndReset() {
    app::DXUTGetD3D9Device()->SimulateLoss();
    app::DXUTRender3DEnvironment();
    app::DXUTGetD3D9Device()->EndSimulatedLoss();
    app::DXUTRender3DEnvironment();
  }
};

const char kOpenError[] = "Vornview: Cannot open file: Wrong file format.";

// Whatever the loader refuses, the box shows the one fixed message and the player ends with 1;
// stderr gets the message too, then the file and what was wrong with it, also where no box can
// be shown.
TEST_F(PlayerShellTest, ProjectsThatCannotBeOpenedEndWithTheOneMessage) {
  const std::vector<uint8_t> good = WriteSlides({{}});
  std::vector<uint8_t> longSignature = good;
  longSignature[3] = 12;  // the signature takes the first unit of the header word, 1
  const std::vector<uint8_t> truncated(good.begin(), good.end() - 7);
  std::vector<uint8_t> unknownClass = good;
  const std::vector<uint8_t> name = {'D', 0, 'S', 0, '_', 0, '2', 0, 'D', 0};
  auto at = std::search(unknownClass.begin(), unknownClass.end(), name.begin(), name.end());
  ASSERT_NE(at, unknownClass.end());
  at[6] = '3';  // "DS_3D_Light"
  std::filesystem::create_directories(folder_ / "folder");

  struct Case {
    std::filesystem::path path;
    std::string reason;  // what stderr says after the file's name
  };
  const Case cases[] = {
      {Save(good, "project.VQE"),
       "Cannot open file: Format is not supported. (files named \".vqe\" in any case are not "
       "read)"},
      {Save(longSignature, "long.bin"),
       "Cannot open file: Outdated file format. Please resave the project file with Vornique "
       "3.4.21 (the signature is \"ZRT v 5.0.0\\u0001\", not \"ZRT v 5.0.0\")"},
      {Save({}, "empty.bin"),
       "Outdated file format. Please resave the project file with Vornique 3.4.21 (the signature "
       "cannot be read: the data ends at byte 0, inside a value of 3 bytes at byte 0)"},
      {Save(truncated, "truncated.bin"),
       "Cannot open file: Wrong file format. (the data ends at byte " +
           std::to_string(truncated.size())},
      {Save(unknownClass, "unknown.bin"),
       "Cannot open file: Wrong file format. (no class is registered as \"DS_3D_Light\" at "
       "byte "},
      {folder_ / "folder", "it is a folder, not a file"},  // exists, but opens as no file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.filename().string());
    errors_.clear();
    const std::string argument = c.path.string();
    const char* argv[] = {"scene_player", argument.c_str()};
    StderrCapture captured;
    EXPECT_EQ(RunPlayer(2, argv), 1);
    const std::string log = captured.Take();
    EXPECT_EQ(errors_, std::vector<std::string>{kOpenError});
    EXPECT_NE(log.find(std::string(kOpenError) + "\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Vornview: \"" + argument + "\": "), std::string::npos) << log;
    EXPECT_NE(log.find(c.reason), std::string::npos) << log;
    EXPECT_FALSE(GetScenePlayer().scene);
  }
}

// Without a project file the player plays its own project in its window until asked to close.
TEST_F(PlayerShellTest, WithoutAFileTheOwnProjectPlaysUntilClosed) {
  for (const char* argument : {static_cast<const char*>(nullptr), "no such file.bin"}) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    const char* argv[] = {"scene_player", argument};
    EXPECT_EQ(RunPlayer(argument ? 2 : 1, argv), 0);
  }
  EXPECT_TRUE(errors_.empty());
}

TEST_F(PlayerShellTest, TheOwnProjectPlaysAndComesBackAfterADeviceReset) {
  ASSERT_TRUE(Start(std::nullopt));
  ScenePlayer& player = GetScenePlayer();
  EXPECT_EQ(player.embeddedId, kEmbeddedProjectId);
  EXPECT_FALSE(window_->Fullscreen());
  ASSERT_TRUE(player.scene);
  EXPECT_GE(player.scene->slides.size(), 3u);
  EXPECT_EQ(player.music.masterVolume, 100);
  EXPECT_FALSE(player.music.muted);
  if (audio::EnsureAudioDevice()) {
    // The demo's own music, carried in the project, plays at full volume.
    const audio::MusicGraph* music = player.music.Graph();
    ASSERT_TRUE(music);
    EXPECT_TRUE(music->HasStream());
    EXPECT_NEAR(music->Duration(), 24.8, 0.5);
    EXPECT_EQ(music->GetState(), audio::MusicGraph::State::Running);
    EXPECT_EQ(music->Volume(), 0);
  }
  uint32_t colourWrite = 0;
  EXPECT_EQ(
      app::DXUTGetD3D9Device()->GetRenderState(gfx::RenderState::ColorWriteEnable, &colourWrite),
      gfx::kOk);
  EXPECT_EQ(colourWrite, 7u);

  for (int frame = 0; frame < 5; ++frame)
    app::DXUTRender3DEnvironment();
  EXPECT_EQ(player.scene->currentSlide, player.scene->slides[0]);
  EXPECT_NE(CentrePixel() & 0xFFFFFF, 0u) << "the first background shows";

  const DS_SlideShow_Light* before = player.scene.get();
  player.scene->JumpTo(1);
  LoseAndReset();
  ASSERT_TRUE(player.scene);
  EXPECT_NE(player.scene.get(), before) << "read again from the resource";
  EXPECT_EQ(player.scene->currentSlide, player.scene->slides[0]);
  EXPECT_EQ(player.music.masterVolume, 100);
  EXPECT_FALSE(player.music.muted);
  EXPECT_EQ(player.music.nextTrack, 0u) << "the one-track playlist started again";
  if (audio::EnsureAudioDevice()) EXPECT_EQ(player.music.Graph()->Volume(), 0);
  EXPECT_NE(CentrePixel() & 0xFFFFFF, 0u);
}

// The end of a track reaches the window as the music message, which starts the next track.
TEST_F(PlayerShellTest, TheMusicMovesOnWhenATrackEnds) {
  if (!audio::EnsureAudioDevice()) GTEST_SKIP() << "no SDL audio device";
  std::vector<uint8_t> bytes;
  {
    ProjectBuilder project;
    project.AddSlide(1.0f, 10.0f, 1.0f);
    project.AddTrack(u"First", u"C:\\Music\\first.wav", wave_bytes::Tone(0.1), 50);
    project.AddTrack(u"Second", u"C:\\Music\\second.wav", wave_bytes::Tone(0.3));
    bytes = project.Write();
  }
  ASSERT_TRUE(Start(Save(bytes, "music.bin")));
  const audio::MusicGraph& music = *GetScenePlayer().music.Graph();
  EXPECT_NEAR(music.Duration(), 0.1, 0.01);
  EXPECT_EQ(music.Volume(), -2000);
  int musicMessages = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (music.Duration() < 0.2 && std::chrono::steady_clock::now() < until) {
    for (const app::Message& m : Messages()) {
      if (m.id == app::msg::Music) ++musicMessages;
      app::DispatchMessage(m);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(musicMessages, 1);
  EXPECT_NEAR(music.Duration(), 0.3, 0.01) << "the second track plays";
  EXPECT_EQ(music.Volume(), 0);
}

TEST_F(PlayerShellTest, AProjectFilePlaysFullScreenAndIsNotReloaded) {
  ASSERT_TRUE(Start(Save(WriteSlides({{}, {}}), "project.bin")));
  ScenePlayer& player = GetScenePlayer();
  EXPECT_EQ(player.embeddedId, 0);
  EXPECT_TRUE(window_->Fullscreen());
  app::DXUTRender3DEnvironment();
  EXPECT_EQ(CentrePixel(), 0xFFFFFFFFu);
  const DS_SlideShow_Light* before = player.scene.get();
  LoseAndReset();
  EXPECT_EQ(player.scene.get(), before);
  app::DXUTRender3DEnvironment();
  EXPECT_EQ(CentrePixel(), 0xFFFFFFFFu);
}

TEST_F(PlayerShellTest, AReloadThatFailsEndsThePlayerWithCodeOne) {
  ASSERT_TRUE(Start(std::nullopt));
  Messages();
  GetScenePlayer().embeddedId = 999;  // no such resource
  StderrCapture captured;
  LoseAndReset();
  EXPECT_FALSE(GetScenePlayer().scene);
  EXPECT_TRUE(QuitPosted(1));
  const std::string log = captured.Take();
  EXPECT_NE(log.find("Vornview: the program's own project cannot be read again: the program's "
                     "own project (resource \"DDS\" 999): there is no such resource\n"),
            std::string::npos)
      << log;
  app::DXUTRender3DEnvironment();  // frames go on harmlessly until the loop ends
}

TEST_F(PlayerShellTest, AnyKeyOrTheCloseCommandCloses) {
  ASSERT_TRUE(Start(std::nullopt));
  Messages();
  EXPECT_EQ(PlayerWndProc(window_.get(), app::msg::Command, 40002, 0), 0);
  EXPECT_TRUE(window_->Alive());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(PlayerWndProc(window_.get(), app::msg::KeyDown, 'Q', 0), 0);
  EXPECT_FALSE(window_->Alive());
  EXPECT_TRUE(QuitPosted(0));

  GetScenePlayer().Shutdown();
  ASSERT_TRUE(Start(std::nullopt));
  Messages();
  EXPECT_EQ(PlayerWndProc(window_.get(), app::msg::Command, app::kCloseCommand, 0), 0);
  EXPECT_FALSE(window_->Alive());
  EXPECT_TRUE(QuitPosted(0));
}

ProbeDescription& ProbeAt(const DS_SlideContainer& slide, size_t i) {
  return static_cast<ProbeObject*>(slide.objects[i].Get())->Probe();
}

// Hover and click ask every object of the current slide, the last first; a click that changes
// slides does not cut the walk short, and the slide changes once every object has been asked.
TEST_F(PlayerShellTest, HoverAndClickAskEveryObjectOfTheSlide) {
  std::vector<uint8_t> bytes;
  {
    ProjectBuilder project;
    for (int i = 0; i < 2; ++i) {
      DS_SlideContainer& slide = project.AddSlide(1.0f, 10.0f, 1.0f);
      for (int32_t value : {2, 0}) {
        auto probe = std::make_unique<ProbeDescription>();
        probe->value = value;
        slide.savedObjects.push_back(std::move(probe));
      }
    }
    bytes = project.Write();
  }
  ASSERT_TRUE(Start(Save(bytes, "links.bin")));
  ScenePlayer& player = GetScenePlayer();
  app::DXUTRender3DEnvironment();
  const DS_SlideContainer& first = *player.scene->slides[0];
  std::vector<int> order;
  bool askedOnTheFirstSlide = false;
  ProbeAt(first, 0).onClick = [&] {
    order.push_back(0);
    askedOnTheFirstSlide = player.scene->currentSlide == player.scene->slides[0];
  };
  ProbeAt(first, 1).onClick = [&] {
    order.push_back(1);
    JumpToSlide(1);
  };

  EXPECT_EQ(PlayerWndProc(window_.get(), app::msg::SetCursor, 0, app::kHitClient), 0);
  EXPECT_EQ(ProbeAt(first, 0).hovers.size(), 1u);
  EXPECT_EQ(ProbeAt(first, 1).hovers.size(), 1u);

  PlayerWndProc(window_.get(), app::msg::LButtonDown, 0, app::PackPoint(3, 4));
  EXPECT_EQ(order, (std::vector<int>{1, 0}));
  EXPECT_TRUE(askedOnTheFirstSlide) << "asked after the jump, in the slide it was made on";
  EXPECT_EQ(player.scene->currentSlide, player.scene->slides[1]);

  // Objects that are over nothing leave the cursor to the window.
  ProbeAt(*player.scene->slides[1], 0).value = 0;
  app::SetCursor(app::Cursor::Hand);
  PlayerWndProc(window_.get(), app::msg::SetCursor, 0, app::kHitClient);
  EXPECT_EQ(app::CurrentCursor(), app::Cursor::Arrow);
}

TEST(PlayerWindowSizeTest, TheStringTableSizeFallsBackAndFitsTheScreen) {
  struct Case {
    std::u16string width, height;
    app::WindowSize area, expected;
  };
  const Case cases[] = {
      {u"460", u"215", {1920, 1080}, {460, 215}},
      {u"460", u"215", {400, 800}, {400, 186}},   // trunc(400 * 215 / 460)
      {u"1000", u"800", {500, 300}, {375, 300}},  // width first, then the height
      {u"", u"215", {1920, 1080}, {460, 215}},
      {u"0", u"0", {1920, 1080}, {460, 215}},
      {u"-4", u"20", {1920, 1080}, {460, 215}},
      {u" 640px", u"+480", {1920, 1080}, {640, 480}},
  };
  for (const Case& c : cases) {
    const app::WindowSize size = PlayerWindowSize(c.width, c.height, c.area);
    EXPECT_EQ(size.width, c.expected.width);
    EXPECT_EQ(size.height, c.expected.height);
  }
  EXPECT_EQ(ParseLeadingInt(u"99999999999"), INT_MAX);
  EXPECT_EQ(ParseLeadingInt(u"-99999999999"), INT_MIN);
  EXPECT_EQ(ParseLeadingInt(u"x1"), 0);
}

TEST(DeviceCallbacksTest, ADeviceWithoutBumpMappingIsRefused) {
  gfx::Caps caps;
  caps.textureOpCaps = ~gfx::TextureOpCap(gfx::TextureOp::BumpEnvMap);
  EXPECT_FALSE(
      IsD3D9DeviceAcceptable(caps, gfx::Format::X8R8G8B8, gfx::Format::X8R8G8B8, true, nullptr));
  app::DXUTDeviceSettings settings;
  settings.pp.presentationInterval = 0;
  EXPECT_TRUE(ModifyDeviceSettings(&settings, nullptr));
  EXPECT_EQ(settings.behaviorFlags & app::kCreateMultithreaded, app::kCreateMultithreaded);
  EXPECT_EQ(settings.pp.presentationInterval, app::kPresentIntervalOne);
}

}  // namespace
}  // namespace scene_test
