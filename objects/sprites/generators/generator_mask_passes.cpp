// The draws of the drawn generators: the mask passes, the composition of the mask with the
// picture drawn so far, and the single-layer draw.
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/ds_tex_particle_generator.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/render/render_target_set.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// The mask pass: draws into the mask, viewed whole, cleared to `clear`; `draw` draws the
// layers.
template <class Draw>
void DrawIntoMask(RenderTargetSet& mask, DS_2D_Light& renderer, uint32_t clear, Draw draw) {
  mask.Begin();
  renderer.PushView(mask.width, mask.height, 3);
  if (gfx::Device* device = CurrentDevice())
    device->Clear(0, nullptr, gfx::ClearFlags::Target, clear, 1.0f, 0);
  draw();
  mask.End(false);
  renderer.PopView();
}

}  // namespace

void DS_TexParticleGenerator::RenderBlendMask(DS_2D_Light& renderer, DS_ParticlesObj& obj,
                                              gfx::Texture* texture) {
  if (obj.LayerCount() == 0) return;
  const PCTSpriteArray& layer = obj.Layer(0);
  const uint32_t quads = obj.DrawnQuads(0);
  if (!CanDrawMask()) {
    gfx::Device* device = CurrentDevice();
    if (device == nullptr || texture == nullptr) return;
    device->SetTexture(0, texture);
    renderer.DrawIndexedMesh(layer, nullptr, 0, quads);
    return;
  }
  gfx::Effect* e = effect.Get();
  e->SetTechnique("BlendMask");
  DrawIntoMask(*maskTarget, renderer, 0x00000000, [&] {
    e->SetTexture("Texture1", texture);
    if (texture != nullptr) renderer.DrawIndexedMesh(layer, e, 0, quads);
  });
  ApplyBlendMode(renderer);
}

void DS_TexParticleGenerator::RenderJoinMask(unsigned lastLayer, DS_2D_Light& renderer,
                                             DS_ParticlesObj& obj) {
  if (!CanDrawMask()) return;
  gfx::Effect* e = effect.Get();
  e->SetTechnique("JoinMask");
  DrawIntoMask(*maskTarget, renderer, 0x00FFFFFF, [&] {
    for (unsigned i = 0; i <= lastLayer && i < obj.LayerCount(); ++i) {
      gfx::Texture* texture = PictureTexture(i);
      if (texture == nullptr) continue;
      e->SetTexture("Texture1", texture);
      renderer.DrawIndexedMesh(obj.Layer(i), e, 0, obj.DrawnQuads(i));
    }
  });
}

void DS_TexParticleGenerator::ApplyBlendMode(DS_2D_Light& renderer) {
  if (!CanDrawMask()) return;
  gfx::Effect* e = effect.Get();
  gfx::Texture* mask = maskTarget->current.Get();
  gfx::Texture* below = renderer.GetTargetTextureSlot()->Get();
  switch (blendMode.Value()) {
    case 0:
      e->SetTechnique("CommonTex");
      e->SetTexture("Texture1", mask);
      break;
    case 1:
    case 2:
      e->SetTechnique(blendMode.Value() == 1 ? "Blend_ScreenTex" : "Blend_ColorDodgeTex");
      e->SetTexture("Texture1", below);
      e->SetTexture("Texture2", mask);
      break;
    case 3:
      e->SetTechnique("Blend_SumTex");
      e->SetTexture("Texture1", mask);
      break;
    default:
      // Any other mode draws with the technique and textures set last.
      break;
  }
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), e);
}

void DS_TexParticleGenerator::RenderTwoMasks(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderTwoMasks(renderer, obj, {{0, 0}}, {{1, 0}});
}

void DS_TexParticleGenerator::RenderTwoMasks(DS_2D_Light& renderer, DS_ParticlesObj& obj,
                                             std::initializer_list<MaskDraw> cores,
                                             std::initializer_list<MaskDraw> glows) {
  for (const std::initializer_list<MaskDraw>& draws : {cores, glows})
    for (const MaskDraw& draw : draws)
      if (draw.layer >= obj.LayerCount()) return;
  gfx::Device* device = CurrentDevice();
  if (!CanDrawMask()) {
    if (device == nullptr) return;
    for (const std::initializer_list<MaskDraw>& draws : {glows, cores}) {
      for (const MaskDraw& draw : draws) {
        gfx::Texture* picture = PictureTexture(draw.picture);
        if (picture == nullptr) continue;
        device->SetTexture(0, picture);
        renderer.DrawIndexedMesh(obj.Layer(draw.layer), nullptr, 0, obj.DrawnQuads(draw.layer));
      }
    }
    return;
  }
  gfx::Effect* e = effect.Get();
  RenderTargetSet& mask = *maskTarget;
  const auto drawLayers = [&](std::initializer_list<MaskDraw> draws) {
    if (device != nullptr) device->Clear(0, nullptr, gfx::ClearFlags::Target, 0, 1.0f, 0);
    for (const MaskDraw& draw : draws) {
      gfx::Texture* picture = PictureTexture(draw.picture);
      e->SetTexture("Texture1", picture);
      if (picture != nullptr)
        renderer.DrawIndexedMesh(obj.Layer(draw.layer), e, 0, obj.DrawnQuads(draw.layer));
    }
  };
  e->SetTechnique("BlendMask_Max");
  mask.Begin();
  renderer.PushView(mask.width, mask.height, 3);
  drawLayers(cores);
  const int coreIndex = mask.currentIndex;
  mask.Select((coreIndex + 1) % 2);
  drawLayers(glows);
  mask.End(false);
  renderer.PopView();
  e->SetTechnique("Main");
  e->SetTexture("Texture1", renderer.GetTargetTextureSlot()->Get());
  e->SetTexture("Texture2", mask.current.Get());
  e->SetTexture("Texture3", mask.textures[static_cast<size_t>(coreIndex)].Get());
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), e);
}

void DS_TexParticleGenerator::RenderSingleLayer(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || obj.LayerCount() == 0) return;
  device->SetTexture(0, PictureTexture(0));
  renderer.DrawIndexedMesh(obj.Layer(0), effect.Get(), 0, obj.DrawnQuads(0));
}
