#pragma once

#include <array>
#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/surface.h"
#include "platform/gfx/texture.h"

// Three A8R8G8B8 render targets of one size that renderers and effects draw into off screen and
// swap between: two ping-pong targets (0 and 1) and a spare (2), `current` being the one drawn
// into. Empty until Create; its owner calls Release on a device loss and makes it again after
// the reset. Every exchange keeps the references exact. A shared set takes its textures from
// the slides' shared targets and gives them back there when released (shared_targets.h).
class RenderTargetSet {
 public:
  // Makes the three targets (w x h, one level, default pool); `current` is the one at
  // currentIndex. False, making nothing, for a zero size; false and holding nothing when any
  // target cannot be made.
  [[nodiscard]] bool Create(uint32_t w, uint32_t h);
  // Create, then a copy of `source`'s level 0 (when there is a source) scaled into the current
  // target.
  [[nodiscard]] bool CreateFrom(gfx::Texture* source, uint32_t w, uint32_t h);
  // Saves render target 0 and the depth-stencil surface, then draws into `current` without
  // depth. Without targets nothing is saved or changed.
  void Begin();
  // Back to the surfaces Begin saved; `clear` then clears the restored target to 0x00FFFFFF.
  // Without a Begin in force the device is left alone. Returns the slot of `current`.
  ComRef<gfx::Texture>* End(bool clear);
  // Without copy the other ping-pong target and the spare exchange places. With copy the
  // current target and the spare exchange places (the picture so far goes to the spare) and the
  // exchanged-in texture becomes current and the render target, cleared to 0x00000000. Returns
  // the slot of the other ping-pong target.
  ComRef<gfx::Texture>* Flip(bool copy);
  // Makes textures[index] current and render target 0.
  void Select(int index);
  // Releases every texture (a shared set gives them back) and the saved surfaces; the size
  // stays.
  void Release();

  // (currentIndex + 1) mod 2.
  int OtherIndex() const { return (currentIndex + 1) % 2; }
  // Whether Begin redirected drawing and End has not yet restored it.
  bool Begun() const { return static_cast<bool>(savedTarget); }

  uint32_t width = 0;
  uint32_t height = 0;
  ComRef<gfx::Texture> current;
  std::array<ComRef<gfx::Texture>, 3> textures;
  ComRef<gfx::Surface> savedTarget;
  ComRef<gfx::Surface> savedDepth;
  int currentIndex = 0;
  bool shared = false;

 private:
  // Releases the three textures and `current`, giving a shared set's back.
  void ReleaseTextures();
};

// Makes `set` at n, n - 1, ... 1 times the back buffer's size, n being the device values' target
// scale limit: the first size the device accepts. False, holding nothing, when none is. The set
// is shared: only the showing slide draws into targets of these sizes.
[[nodiscard]] bool CreateAtBackBufferMultiple(RenderTargetSet& set);

// Sets level 0 of `texture` as render target 0 of the current device; nothing for no texture.
void SetTextureAsTarget(gfx::Texture* texture);

// Holds the current device's render target 0 and depth surface in `target` and `depth`, which
// are left empty without a device.
void SaveRenderTargets(ComRef<gfx::Surface>& target, ComRef<gfx::Surface>& depth);

// A w x h A8R8G8B8 render-target texture of one level in the default pool; none for a zero
// size, without a device, or when it cannot be made.
ComRef<gfx::Texture> MakeRenderTarget(uint32_t w, uint32_t h);
