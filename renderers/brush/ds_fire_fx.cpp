#include "renderers/brush/ds_fire_fx.h"

#include <algorithm>

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "core/startup/thread_slots.h"
#include "player/document/doc_res_manager.h"
#include "player/document/scene_view.h"
#include "player/render/render_context.h"
#include "renderers/brush/clip_planes_off.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// A stretch of 0 would spread the pattern over no width; the smallest stored step stands in.
constexpr float kLeastStretch = 0.01f;

}  // namespace

DS_FireFX::DS_FireFX() {
  speed.SetScale(0.02f, 0.0f);
  speed.SetValue(50);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 92);
}

bool DS_FireFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FireFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(firstColor.Value());
  io.WriteDword(secondColor.Value());
  io.WriteInt32(spare.Value());
  for (const DS_ImageFileLink* link : {&patternLink, &noiseLink}) {
    RegisterSavedLinkWithDocument(*link);
    WriteFileLink(archive, *link);
  }
  io.WriteUInt32(density.Value());
  io.WriteUInt32(brightness.Value());
  io.WriteUInt32(stretch.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_FireFX::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  if (version >= 2) {
    if (version == 2) ReadMediaQuad(archive, maskQuad);
    io.ReadDword(firstColor.RawValue());
    io.ReadDword(secondColor.RawValue());
    io.ReadInt32(spare.RawValue());
    ReadFileLink(archive, patternLink);
    ReadFileLink(archive, noiseLink);
    if (version == 2) io.ReadInt32(quadTag.RawValue());
    ReadChangedUInt32(archive, density);
    ReadChangedUInt32(archive, brightness);
    ReadChangedUInt32(archive, stretch);
  }
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_FireFX::Prepare(ComRef<gfx::Texture>* maskSlot) {
  DS_FX_Constructor::Prepare(maskSlot);
  patternTexture.Reset();
  noiseTexture.Reset();
  if (DS_DocResManager* document = CurrentDocument()) {
    patternTexture = document->GetImageTextures(patternLink).CurrentTexture();
    noiseTexture = document->GetImageTextures(noiseLink).CurrentTexture();
  }
  grid.Resize(8, 8);
  UpdateMaskQuad();
}

void DS_FireFX::UpdateMaskQuad() {
  if (!grid.vertices.buffer) return;
  const float k = 1.0f / std::max(stretch.Scaled(), kLeastStretch);
  std::array<TexVertex, 4> c = MaskCorners();
  const float uv[4][2] = {{0, 0}, {0, 1}, {k, 0}, {k, 1}};
  for (size_t i = 0; i < c.size(); ++i) {
    c[i].u = uv[i][0];
    c[i].v = uv[i][1];
  }
  grid.Fill(c[0], c[1], c[2], c[3]);
}

void DS_FireFX::BindNoise(const D3DXMATRIX& world) {
  const RenderContext* context = RenderContextTlsSlot::Get();
  if (!effect || context == nullptr) return;
  D3DXMATRIX worldViewProjection;
  context->GetWorldViewProjection(worldViewProjection, world);
  effect->SetMatrix("WorldViewProj", &worldViewProjection);
  const D3DXMATRIX viewProjection = context->view * context->projection;
  effect->SetMatrix("ViewProj", &viewProjection);
  effect->SetTexture("Noise", noiseTexture.Get());
  effect->SetTexture("Pattern", patternTexture.Get());
  const float p = Phase();
  const float c11[2] = {0.0f, 1.3f * p}, c12[2] = {0.0f, 2.1f * p}, c13[2] = {0.0f, 2.3f * p};
  effect->SetFloatArray("c11", c11, 2);
  effect->SetFloatArray("c12", c12, 2);
  effect->SetFloatArray("c13", c13, 2);
}

void DS_FireFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const ClipPlanesOff noClipping;
  BindNoise(grid.node.world);
  const SceneView& view = *GetSceneView();
  const float sceneScale[2] = {RatioOr0(1.0f, static_cast<float>(view.pictureWidth)),
                               RatioOr0(1.0f, static_cast<float>(view.pictureHeight))};
  effect->SetFloatArray("bg_scale_factor", sceneScale, 2);
  const std::array<float, 3> second = ColorrefRgb(secondColor.Value());
  const std::array<float, 3> first = ColorrefRgb(firstColor.Value());
  const float rise[3] = {first[0] - second[0], first[1] - second[1], first[2] - second[2]};
  effect->SetFloatArray("ColorK1", second.data(), 3);
  effect->SetFloatArray("ColorK2", rise, 3);
  effect->SetTexture("Mask", GetMaskTexture()->Get());
  effect->SetTexture("Background", canvas.GetTargetTextureSlot()->Get());
  const float v = TimelineValue();
  effect->SetFloat("Brightness", brightness.Scaled() * v * v);
  effect->SetFloat("Density", (density.Scaled() + 1.0f) * v - 1.0f);
  effect->SetTechnique("Main");
  canvas.DrawIndexedTex(grid, effect.Get());
}
