#include "player/shell/scene_player.h"

#include <string>
#include <utility>

#include "core/chrono/chrono_clock.h"
#include "core/ds_error.h"
#include "core/startup/thread_slots.h"
#include "platform/app/dxut.h"
#include "platform/app/message_pump.h"
#include "platform/app/window.h"
#include "platform/gfx/device.h"
#include "platform/res/resource_module.h"
#include "platform/sys/file_paths.h"
#include "platform/sys/temp_directory.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/project/load_project.h"
#include "player/render/render_context.h"
#include "player/render/shared_targets.h"
#include "player/resources/texture_cache.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/shell/device_callbacks.h"
#include "player/shell/error_report.h"

ScenePlayer& GetScenePlayer() {
  // Made first so that it goes last: the scene's tracks and sounds delete their copies there.
  sys::TempDirectory::Player();
  static ScenePlayer player;
  return player;
}

RenderContext& MainRenderContext() {
  static RenderContext context;
  return context;
}

ChronoClock& MainChronoClock() {
  static ChronoClock clock;
  return clock;
}

bool ScenePlayer::InitDevice(app::Window* playerWindow, bool windowed) {
  window = playerWindow;
  textureCache = std::make_unique<TextureCache>();
  InstallDeviceCallbacks();
  if (app::DXUTInit(false, false, nullptr, false) != gfx::kOk) return false;
  app::DXUTSetCursorSettings(true, true);
  if (app::DXUTSetWindow(window, window, window, false) != gfx::kOk) return false;
  if (gfx::Failed(app::DXUTCreateDevice(windowed)) || app::DXUTGetD3D9Device() == nullptr)
    return false;
  // Red, green and blue only: the back buffer's alpha is never written.
  app::DXUTGetD3D9Device()->SetRenderState(gfx::RenderState::ColorWriteEnable, 7);
  CreateMusicGraph();
  SetCallbackPlayer(this);
  return true;
}

void ScenePlayer::LoadEmbeddedProject(int resourceId) {
  embeddedId = resourceId;
  scene.reset();
  auto context = std::make_unique<RenderContext>();
  RenderContextTlsSlot::Set(context.get());
  const std::string source =
      "the program's own project (resource \"DDS\" " + std::to_string(resourceId) + ")";
  try {
    const auto bytes = res::FindResource(nullptr, u"DDS", static_cast<uint16_t>(resourceId));
    if (!bytes || bytes->empty()) {
      throw DS_Error(DS_ErrorCode::CannotOpenFile, u"",
                     bytes ? "the resource is empty" : "there is no such resource", source);
    }
    scene = LoadProjectFromMemory(*bytes);
  } catch (DS_Error& error) {
    RenderContextTlsSlot::Set(&MainRenderContext());
    error.SetSource(source);
    throw;
  } catch (...) {
    RenderContextTlsSlot::Set(&MainRenderContext());
    throw;
  }
  scene->AttachRenderContext(std::move(context));
  StartPlayback();
}

void ScenePlayer::StartPlayback() {
  if (!scene) return;
  for (const auto& slide : scene->slides)
    if (slide) slide->Start();
  StartPlaylist();
}

void ScenePlayer::Shutdown() {
  SetCallbackPlayer(nullptr);
  scene.reset();
  music.Release();
  RenderContextTlsSlot::Set(&MainRenderContext());
  DocumentTlsSlot::Reset();
  textureCache.reset();
  shared_targets::Clear();
  app::DXUTShutdown();
  GetDeviceValues() = DeviceValues{};
  embeddedId = 0;
  window = nullptr;
}

bool OpenProjectAndStart(app::Window* window, const std::optional<std::filesystem::path>& path) {
  ScenePlayer& player = GetScenePlayer();
  const bool windowed = !path || !sys::PathExists(*path);
  RenderContextTlsSlot::Set(&MainRenderContext());
  ChronoTlsSlot::Set(&MainChronoClock());
  if (!player.InitDevice(window, windowed)) return false;
  if (!windowed) {
    // The scene goes before its document, which the load replaces.
    player.scene.reset();
    player.scene = LoadProject(*path);
    player.StartPlayback();
  } else {
    player.LoadEmbeddedProject(kEmbeddedProjectId);
  }
  player.fitMode = 1;
  for (const auto& slide : player.scene->slides)
    if (slide) slide->SetFitMode(player.fitMode);
  player.SetVolume(100, false);
  window->Show();
  return true;
}

void PlayerFrameMove(double time) {
  ScenePlayer& player = GetScenePlayer();
  if (player.scene) player.scene->Update(time);
}

gfx::HResult PlayerResetDevice() {
  ScenePlayer& player = GetScenePlayer();
  if (player.scene && player.embeddedId == 0) {
    // A project file is not read again: the renderer of the slide that shows restores the
    // device state and its targets, which the reset has put back to their defaults.
    player.scene->ResetRenderer(0);
  } else if (player.scene) {
    try {
      player.LoadEmbeddedProject(player.embeddedId);
      player.SetVolume(player.music.masterVolume, player.music.muted);
    } catch (...) {
      // Nothing is left to play.
      ReportError("the program's own project cannot be read again: " +
                  DescribeException(std::current_exception()));
      player.scene.reset();
      app::MessageQueue::Main().PostQuit(1);
    }
  }
  return gfx::kOk;
}

namespace {

// The slide asked for while jumps are held; null while they are not.
std::optional<unsigned>* heldJump = nullptr;

}  // namespace

void JumpToSlide(unsigned index) {
  const auto& scene = GetScenePlayer().scene;
  if (!scene) return;
  if (heldJump == nullptr) {
    scene->JumpTo(index);
  } else if (scene->CanJumpTo(index)) {
    *heldJump = index;
  }
}

void WithHeldJumps(const std::function<void()>& walk) {
  std::optional<unsigned> asked;
  {
    // Held until the walk ends, also when it throws.
    struct Restore {
      std::optional<unsigned>* outer;
      ~Restore() { heldJump = outer; }
    } restore{std::exchange(heldJump, &asked)};
    walk();
  }
  if (asked) JumpToSlide(*asked);
}
