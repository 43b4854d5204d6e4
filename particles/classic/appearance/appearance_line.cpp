// The strip drawing of the line controls: the surface of the multiply blend and the line draw.
#include "particles/classic/appearance/particle_appearance.h"
#include "particles/classic/control/particle_system_mech.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/render/device_desc.h"
#include "player/render/prerender_surface.h"
#include "player/render/render_target_set.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// Draws the batch into the cleared surface through a view of the surface's size, render target 0
// and the depth-stencil surface kept in the surface's slots meanwhile. Nothing without a device,
// a surface texture or a render target to come back to.
void DrawIntoSurface(ZKW_PrerenderSurface& surface, gfx::Effect* effect, gfx::Texture* frame,
                     ZKW_ParticleSystemMech& mech, uint8_t batch, DS_2D_Light& renderer) {
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || !surface.texture) return;
  SaveRenderTargets(surface.savedTarget, surface.savedDepth);
  if (!surface.savedTarget) return;
  SetTextureAsTarget(surface.texture.Get());
  device->SetDepthStencilSurface(nullptr);
  renderer.PushView(surface.width, surface.height, 3);
  device->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
  effect->SetTexture("Texture0", frame);
  mech.DrawBatch(effect, "BlendNormal", batch);
  device->SetRenderTarget(0, surface.savedTarget.Get());
  device->SetDepthStencilSurface(surface.savedDepth.Get());
  surface.savedTarget.Reset();
  surface.savedDepth.Reset();
  renderer.PopView();
}

}  // namespace

void ParticleAppearance::PrepareLineSurface(ZKW_PrerenderSurface& surface) {
  LoadEffect();
  // Only the multiply blend reads the surface; a line drawn straight keeps no back-buffer-sized
  // target for nothing.
  gfx::SurfaceDesc backBuffer;
  GetBackBufferDesc(backBuffer);
  const bool multiply = blend.Value() > 0;
  surface.width = multiply ? backBuffer.width : 0;
  surface.height = multiply ? backBuffer.height : 0;
  surface.OnResetDevice();
}

void ParticleAppearance::DrawLine(ZKW_PrerenderSurface& surface, ZKW_ParticleSystemMech& mech,
                                  uint8_t batch, DS_2D_Light& renderer, int* readerCount) {
  if (glowMode.Value() == kScreenGlow) renderer.SwitchTarget(readerCount, false);
  DrawGlow(mech, batch, renderer);
  const bool multiply = blend.Value() > 0;
  if (multiply) renderer.SwitchTarget(readerCount, false);
  if (!effect || frames.empty()) return;
  const ComRef<gfx::Texture> frame = CurrentFrame();
  if (!multiply) {
    effect->SetTexture("Texture0", frame.Get());
    mech.DrawBatch(effect.Get(), "BlendNormal", batch);
    return;
  }
  DrawIntoSurface(surface, effect.Get(), frame.Get(), mech, batch, renderer);
  // The switched target is drawn whole: without a surface (no back buffer, a lost device) the
  // effect's unset line texture is white and the picture below comes back unchanged.
  effect->SetTexture("Background", renderer.GetTargetTextureSlot()->Get());
  effect->SetTexture("Texture0", surface.texture.Get());
  effect->SetTechnique("BlendMultiplay");
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), effect.Get());
}
