#include "platform/app/message_pump.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/app/window.h"
#include "platform/audio/audio_device.h"
#include "platform/audio/music_graph.h"
#include "platform/audio/wave_bytes.h"
#include "platform/headless_sdl.h"

namespace {

using namespace std::chrono_literals;

// A recording window procedure that behaves as the player's: any key closes, Destroy quits, and
// the music message takes one event from the graph under test.
struct Recorder {
  std::vector<uint32_t> messages;
  audio::MusicGraph* graph = nullptr;
  std::vector<long> musicCodes;
};
Recorder* recorder = nullptr;

intptr_t RecordingProc(app::Window* w, uint32_t m, uintptr_t wp, intptr_t lp) {
  recorder->messages.push_back(m);
  switch (m) {
    case app::msg::KeyDown:
      w->Send(app::msg::Close);
      return 0;
    case app::msg::Destroy:
      app::MessageQueue::Main().PostQuit(0);
      return 0;
    case app::msg::Music: {
      long code = -1;
      if (!recorder->graph->GetEvent(code)) code = -1;
      recorder->musicCodes.push_back(code);
      app::MessageQueue::Main().PostQuit(0);
      return app::DefWindowProc(w, m, wp, lp);
    }
    default:
      return app::DefWindowProc(w, m, wp, lp);
  }
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessSdl();
    if (!app::InitVideo()) GTEST_SKIP() << "no SDL video: " << SDL_GetError();
    recorder = &rec_;
    app::Message stale;  // what earlier tests in this process left queued
    while (app::MessageQueue::Main().Peek(stale)) {
    }
  }
  void TearDown() override {
    recorder = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);  // lets EGL free what the windows made it load
  }
  Recorder rec_;
};

TEST_F(WindowTest, ClientAreaIsTheAskedSizeAndCentred) {
  const auto window = app::Window::Create("D3DX9_44", {460, 215}, RecordingProc);
  ASSERT_TRUE(window) << SDL_GetError();
  int w = 0, h = 0, x = 0, y = 0;
  SDL_GetWindowSize(window->Sdl(), &w, &h);
  EXPECT_EQ(w, 460);
  EXPECT_EQ(h, 215);
  EXPECT_EQ(window->ClientSize().width, 460);
  EXPECT_EQ(window->ClientSize().height, 215);
  SDL_Rect usable;
  ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
  SDL_GetWindowPosition(window->Sdl(), &x, &y);
  EXPECT_EQ(x, usable.x + (usable.w - 460) / 2);
  EXPECT_EQ(y, usable.y + (usable.h - 215) / 2);
  EXPECT_TRUE(SDL_GetWindowFlags(window->Sdl()) & SDL_WINDOW_HIDDEN);
  window->Show();
  EXPECT_FALSE(SDL_GetWindowFlags(window->Sdl()) & SDL_WINDOW_HIDDEN);
  window->SetFullscreen(true);
  EXPECT_TRUE(window->Fullscreen());
}

TEST_F(WindowTest, CursorShapes) {
  app::SetCursor(app::Cursor::Hand);
  EXPECT_EQ(app::CurrentCursor(), app::Cursor::Hand);
  app::DefWindowProc(nullptr, app::msg::SetCursor, 0, 0);
  EXPECT_EQ(app::CurrentCursor(), app::Cursor::Arrow) << "passed on, the arrow comes back";
}

TEST_F(WindowTest, KeyClosesThroughTheLoopWithItsSleeps) {
  auto window = app::Window::Create("t", {64, 32}, RecordingProc);
  ASSERT_TRUE(window);
  int frames = 0;
  std::vector<unsigned> sleeps;
  app::LoopHooks hooks;
  hooks.frame = [&] {
    if (++frames == 3) {
      SDL_Event key{};
      key.type = SDL_KEYDOWN;
      key.key.windowID = SDL_GetWindowID(window->Sdl());
      key.key.keysym.sym = SDLK_q;
      SDL_PushEvent(&key);
    }
  };
  hooks.deviceLost = [&] { return frames == 1; };
  hooks.sleep = [&](unsigned ms) { sleeps.push_back(ms); };
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  EXPECT_EQ(app::RunMessageLoop(hooks), 0);
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(sleeps, (std::vector<unsigned>{50, 10, 10, 10}));
  const std::vector<uint32_t> closing = {app::msg::KeyDown, app::msg::Close, app::msg::Destroy};
  ASSERT_GE(rec_.messages.size(), 3u);
  EXPECT_EQ(std::vector<uint32_t>(rec_.messages.end() - 3, rec_.messages.end()), closing);
  EXPECT_FALSE(window->Alive());
}

TEST_F(WindowTest, CommandsAndPostedMessagesReachTheProcedure) {
  auto window = app::Window::Create("t", {64, 32}, RecordingProc);
  ASSERT_TRUE(window);
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  app::PostCommand(window.get(), app::kCloseCommand);
  app::MessageQueue::Main().Post(window.get(), app::msg::Paint);
  app::Message m;
  ASSERT_TRUE(app::MessageQueue::Main().Peek(m));
  EXPECT_EQ(m.id, app::msg::Paint) << "posted messages come first";
  ASSERT_TRUE(app::MessageQueue::Main().Peek(m));
  EXPECT_EQ(m.id, app::msg::Command);
  EXPECT_EQ(m.wParam, app::kCloseCommand);
  EXPECT_EQ(m.window, window.get());
  app::DispatchMessage(m);
  EXPECT_EQ(rec_.messages.back(), app::msg::Command);
  // A message for a window that is gone goes nowhere.
  window->Destroy();
  rec_.messages.clear();
  app::DispatchMessage(m);
  EXPECT_TRUE(rec_.messages.empty());
}

TEST_F(WindowTest, MusicCompletionArrivesThroughThePump) {
  if (!audio::EnsureAudioDevice()) GTEST_SKIP() << "no SDL audio device";
  const auto file =
      std::filesystem::temp_directory_path() / ("pump-music-" + std::to_string(getpid()) + ".wav");
  const auto bytes = wave_bytes::Tone(0.1);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  auto window = app::Window::Create("t", {64, 32}, RecordingProc);
  ASSERT_TRUE(window);
  audio::MusicGraph graph;
  rec_.graph = &graph;
  graph.SetNotify(window.get());
  ASSERT_TRUE(graph.RenderFile(file));
  graph.Run();
  const auto until = std::chrono::steady_clock::now() + 5s;
  app::LoopHooks hooks;
  hooks.frame = [&] {
    if (std::chrono::steady_clock::now() > until) app::MessageQueue::Main().PostQuit(2);
  };
  EXPECT_EQ(app::RunMessageLoop(hooks), 0) << "no music message within five seconds";
  EXPECT_EQ(rec_.musicCodes, (std::vector<long>{audio::kEventComplete}));
  std::filesystem::remove(file);
}

}  // namespace
