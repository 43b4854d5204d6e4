#pragma once

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/app/message_pump.h"
#include "platform/app/window.h"
#include "platform/headless_sdl.h"
#include "player/shell/player_window.h"
#include "player/shell/scene_player.h"
#include "player/support/every_class.h"

namespace scene_test {

// The player on a real (offscreen) window with the frame framework; the error message is
// recorded instead of shown, and project files go to a private folder.
class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessSdl();
    RegisterEveryClass();
    if (!app::InitVideo()) GTEST_SKIP() << "no SDL video: " << SDL_GetError();
    SetErrorBox([this](const std::string& caption, const std::string& text) {
      errors_.push_back(caption + ": " + text);
    });
    static int counter = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("player_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(folder_);
  }

  void TearDown() override {
    GetScenePlayer().Shutdown();
    window_.reset();
    SetErrorBox(nullptr);
    Messages();
    std::filesystem::remove_all(folder_);
  }

  std::filesystem::path Save(const std::vector<uint8_t>& bytes, const std::string& name) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
  }

  // Starts the player on a window of its own, of `size` while it plays its own project.
  bool Start(const std::optional<std::filesystem::path>& project, app::WindowSize size = {92, 43}) {
    window_ = app::Window::Create("player", size, PlayerWndProc);
    if (!window_) return false;
    return InitPlayer(window_.get(), project);
  }

  // Takes every posted message.
  std::vector<app::Message> Messages() {
    std::vector<app::Message> out;
    app::Message m;
    while (app::MessageQueue::Main().Peek(m))
      out.push_back(m);
    return out;
  }

  std::vector<std::string> errors_;
  std::filesystem::path folder_;
  std::unique_ptr<app::Window> window_;
};

}  // namespace scene_test
