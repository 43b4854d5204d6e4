#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "platform/gfx/hresult.h"
#include "player/music/background_music.h"

namespace app {
class Window;
}
class ChronoClock;
class DS_SlideShow_Light;
class RenderContext;
class TextureCache;

// The id of the program's own project: resource type "DDS".
inline constexpr int kEmbeddedProjectId = 107;

// The player record: the one scene that plays, the music state and the window. One instance,
// reached through GetScenePlayer; main thread only.
class ScenePlayer {
 public:
  // Creates the drawing device on the window through the frame framework, with the device
  // callbacks below, and the music graph. False when the framework or the device cannot be set
  // up. The record becomes the one the callbacks work on only at the end, so callbacks that run
  // during the device's creation find no player.
  bool InitDevice(app::Window* window, bool windowed);
  // Reads the program's own project `resourceId` and starts it with a render context of its
  // own. Throws DS_Error (CannotOpenFile when the resource is missing or empty, else what the
  // loader throws, naming the resource); the previous scene is gone either way.
  void LoadEmbeddedProject(int resourceId);
  // Every slide starts (renderers ready, run-time objects made), then the music.
  void StartPlayback();

  // ---- background music and sound ----
  // Makes the music graph; its events reach the window as the music message.
  void CreateMusicGraph();
  // The scene's playlist from its first track, silent until SetVolume.
  void StartPlaylist();
  // The music's master volume and mute; the sound objects' primary volume follows them.
  void SetVolume(int masterPercent, bool mute);
  // One event of the music graph: the end of a track starts the next; -1 does nothing.
  void OnMediaEvent(long code);
  // The oldest event of the music graph; -1 when none could be taken.
  long TakeMusicEvent();

  // Releases the scene, the music, the documents, the caches and the device, in that order.
  void Shutdown();

  std::unique_ptr<DS_SlideShow_Light> scene;
  // The picture fit every slide gets after a load.
  int fitMode = 1;
  // The resource id of the program's own project while it plays; 0 for a project file.
  int embeddedId = 0;
  // The music graph with the master volume, mute and playlist position.
  BackgroundMusic music;
  app::Window* window = nullptr;
  std::unique_ptr<TextureCache> textureCache;
};

ScenePlayer& GetScenePlayer();
// The main thread's render context and time-window clock, made before anything runs.
RenderContext& MainRenderContext();
ChronoClock& MainChronoClock();

// The whole start-up once the window exists: windowed unless `path` names an existing file
// (played full screen), device, scene (the file, else the program's own project), fit mode,
// volume 100 % unmuted, window shown. False when the device cannot be made; throws what
// loading throws.
bool OpenProjectAndStart(app::Window* window, const std::optional<std::filesystem::path>& path);

// One frame's animation at absolute time `time` (seconds).
void PlayerFrameMove(double time);
// After a device reset: the program's own project is read again and restarts (a reload that
// fails ends the player with exit code 1); for a project file the showing slide's renderer
// restores its device state.
gfx::HResult PlayerResetDevice();

// Runs `walk` with slide jumps held: JumpToSlide only notes the slide it is asked for, and once
// `walk` has ended the last slide noted shows. The window hands a click to every object of the
// slide so; a jump at once would change the view under the objects still to be asked, and they
// would test the click in another slide's view.
void WithHeldJumps(const std::function<void()>& walk);
