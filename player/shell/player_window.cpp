#include "player/shell/player_window.h"

#include <SDL.h>

#include <climits>
#include <memory>
#include <string_view>

#include "core/scene/ds_abobj.h"
#include "platform/app/dxut.h"
#include "platform/app/message_pump.h"
#include "platform/gfx/device.h"
#include "platform/res/resource_module.h"
#include "platform/sys/command_line.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/shell/error_report.h"
#include "player/shell/scene_player.h"

namespace {

constexpr app::WindowSize kDeliveredSize{460, 215};

std::unique_ptr<app::Window>& OwnedWindow() {
  static std::unique_ptr<app::Window> window;
  return window;
}

app::Window* playerWindow = nullptr;

ErrorBox& ErrorBoxSlot() {
  static ErrorBox box;
  return box;
}

bool DeviceLost() {
  gfx::Device* device = app::DXUTGetD3D9Device();
  return device != nullptr && device->TestCooperativeLevel() == gfx::kDeviceLost;
}

void RunFrame() {
  app::DXUTRender3DEnvironment();
}

// The run-time objects of the current slide, last first. A copy: a click may change slides
// while they are asked.
RuntimeObjectList CurrentObjectsLastFirst() {
  const auto& scene = GetScenePlayer().scene;
  if (!scene || !scene->currentSlide) return {};
  RuntimeObjectList walk(scene->currentSlide->objects.rbegin(),
                         scene->currentSlide->objects.rend());
  return walk;
}

// SDL falls back to a driver that shows nothing when it finds no display; the player takes such
// a driver only when it was asked for (SDL_VIDEODRIVER, as tests do).
bool HasDisplay() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) return false;
  const std::string_view name(driver);
  return (name != "offscreen" && name != "dummy") || SDL_getenv("SDL_VIDEODRIVER") != nullptr;
}

bool HasCurrentSlide() {
  const auto& scene = GetScenePlayer().scene;
  return scene && scene->currentSlide;
}

}  // namespace

int ParseLeadingInt(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > INT_MAX) {
      value = negative ? -(long long)INT_MIN : INT_MAX;
      break;
    }
  }
  return static_cast<int>(negative ? -value : value);
}

app::WindowSize PlayerWindowSize(std::u16string_view width, std::u16string_view height,
                                 app::WindowSize area) {
  app::WindowSize wanted{ParseLeadingInt(width), ParseLeadingInt(height)};
  if (wanted.width <= 0 || wanted.height <= 0) wanted = kDeliveredSize;
  return app::FitWindowSize(wanted, area);
}

void SetErrorBox(ErrorBox box) {
  ErrorBoxSlot() = std::move(box);
}

app::Window* PlayerWindow() {
  return playerWindow;
}

bool CreatePlayerWindow(const std::optional<std::filesystem::path>& projectPath) {
  if (!app::InitVideo() || !HasDisplay()) {
    ReportError("there is no display to show the player on");
    return false;
  }
  const app::WindowSize size = PlayerWindowSize(
      res::LoadString(nullptr, 7), res::LoadString(nullptr, 8), app::UsableDisplayArea());
  OwnedWindow() = app::Window::Create(ToUtf8(res::LoadString(nullptr, 6)), size, PlayerWndProc);
  if (!OwnedWindow()) {
    ReportError(std::string("the player window cannot be created: ") + SDL_GetError());
    return false;
  }
  return InitPlayer(OwnedWindow().get(), projectPath);
}

bool InitPlayer(app::Window* window, const std::optional<std::filesystem::path>& projectPath) {
  playerWindow = window;
  try {
    if (OpenProjectAndStart(window, projectPath)) return true;
    ReportError("the drawing device cannot be set up");
    return false;
  } catch (...) {
    // The message box shows the one fixed text; the log says what was wrong.
    ReportError(kOpenErrorText);
    ReportError(DescribeException(std::current_exception()));
    if (ErrorBoxSlot()) {
      ErrorBoxSlot()(kOpenErrorCaption, kOpenErrorText);
    } else {
      app::ShowErrorBox(nullptr, kOpenErrorCaption, kOpenErrorText);
    }
    return false;
  }
}

intptr_t PlayerWndProc(app::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case app::msg::Destroy:
      // The device draws through the window: it goes, with everything made on it, while the
      // window still exists.
      if (window == playerWindow) GetScenePlayer().Shutdown();
      app::MessageQueue::Main().PostQuit(0);
      return 0;
    case app::msg::Paint:
      RunFrame();
      if (DeviceLost()) SDL_Delay(50);
      return 1;
    case app::msg::SetCursor: {
      if (!HasCurrentSlide()) break;
      const app::WindowSize at = window->CursorPosition();
      int sum = 0;
      for (const auto& object : CurrentObjectsLastFirst())
        if (auto* made = dynamic_cast<DS_ABObj*>(object.Get()))
          sum += made->HoverTest(at.width, at.height);
      if (sum > 0) return 0;
      break;
    }
    case app::msg::LButtonDown: {
      if (!HasCurrentSlide()) break;
      const app::WindowSize at = window->CursorPosition();
      WithHeldJumps([&] {
        for (const auto& object : CurrentObjectsLastFirst())
          if (auto* made = dynamic_cast<DS_ABObj*>(object.Get())) made->Click(at.width, at.height);
      });
      break;
    }
    case app::msg::KeyDown:
      if (app::Window* player = PlayerWindow()) player->Send(app::msg::Close);
      return 0;
    case app::msg::Command:
      if (wParam == app::kCloseCommand) {
        if (app::Window* player = PlayerWindow()) player->Send(app::msg::Close);
      }
      return 0;
    case app::msg::Music: {
      ScenePlayer& player = GetScenePlayer();
      player.OnMediaEvent(player.TakeMusicEvent());
      break;
    }
    default:
      break;
  }
  return app::DefWindowProc(window, message, wParam, lParam);
}

int RunPlayer(int argc, const char* const* argv) {
  int code = 1;
  try {
    const sys::CommandLine commandLine(argc, argv);
    std::optional<std::filesystem::path> project;
    if (auto first = commandLine.FirstArgument()) project = std::filesystem::path(*first);
    if (CreatePlayerWindow(project)) {
      app::LoopHooks hooks;
      hooks.frame = RunFrame;
      hooks.deviceLost = DeviceLost;
      code = app::RunMessageLoop(hooks);
    }
  } catch (...) {
    ReportError("stopped: " + DescribeException(std::current_exception()));
    code = 1;
  }
  GetScenePlayer().Shutdown();
  playerWindow = nullptr;
  OwnedWindow().reset();
  return code;
}
