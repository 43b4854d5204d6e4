#include "renderers/flame/ds_flame_light.h"

#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/render/matrix_values.h"
#include "player/render/render_context.h"
#include "player/render/warp_grid_mesh.h"
#include "renderers/brush/clip_planes_off.h"

namespace {

// A four-vertex triangle strip of XYZ|TEX1 vertices with these vertices.
void MakeStripQuad(SimpleMesh& quad, const TexVertex (&corners)[4]) {
  quad.vertices.CreateGrid(4);
  quad.primitiveType = gfx::PrimitiveType::TriangleStrip;
  quad.primitiveCount = 2;
  if (!quad.vertices.Lock()) return;
  auto* v = static_cast<TexVertex*>(quad.vertices.locked);
  for (int i = 0; i < 4; ++i)
    v[i] = corners[i];
  quad.vertices.Unlock();
}

// Moves the quad's four vertices to (x, y, 0), keeping their texture coordinates.
void PlaceQuad(SimpleMesh& quad, const float (&xy)[4][2]) {
  if (!quad.vertices.Lock()) return;
  auto* v = static_cast<TexVertex*>(quad.vertices.locked);
  for (int i = 0; i < 4; ++i) {
    v[i].x = xy[i][0];
    v[i].y = xy[i][1];
    v[i].z = 0.0f;
  }
  quad.vertices.Unlock();
}

}  // namespace

DS_FlameLight::Distortion::Distortion() {
  speed.SetScale(0.001f, 0.0f);
  speed.SetValue(50);
  speed.lastTime = 0.0;
}

DS_FlameLight::DS_FlameLight() : fire(std::make_unique<DS_FireFX>()) {
  fire->patternLink = DS_ImageFileLink(u"glimres.dll", 7);
}

bool DS_FlameLight::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FlameLight", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(fireOn.Value());
  io.WriteInt32(distortionOn.Value());
  io.WriteUInt32(fireHeight.Value());
  RegisterSavedLinkWithDocument(distortion.bumpLink);
  WriteFileLink(archive, distortion.bumpLink);
  WriteFileLink(archive, distortion.effectLink);
  io.WriteUInt32(distortion.speed.Value());
  io.WriteUInt32(distortion.strength.Value());
  io.WriteUInt32(distortion.bump.Value());
  fire->Save(archive);
  return DS_2D_Light::Save(archive);
}

void DS_FlameLight::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(fireOn.RawValue());
  io.ReadInt32(distortionOn.RawValue());
  io.ReadUInt32(fireHeight.RawValue());
  if (version < 2) ReadChangedUInt32(archive, fire->speed);
  ReadFileLink(archive, distortion.bumpLink);
  ReadEffectLink(archive, distortion.effectLink);
  ReadChangedUInt32(archive, distortion.speed);
  ReadChangedUInt32(archive, distortion.strength);
  ReadChangedUInt32(archive, distortion.bump);
  if (version < 2) {
    DS_ImageFileLink unused;
    ReadFileLink(archive, unused);
    ReadFileLink(archive, unused);
  } else {
    // The fire is read as a fire of its own: what its record leaves out takes the fire brush's
    // defaults, not the flame's.
    auto read = std::make_unique<DS_FireFX>();
    read->ReadBody(archive, ReadBaseHeader(archive));
    fire = std::move(read);
  }
  DS_2D_Light::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_FlameLight::Prepare() {
  DS_2D_Light::Prepare();
  MakeStripQuad(
      fireQuad,
      {{0, 0, 0, 0, 0}, {800, 0, 0, 1, 0}, {0, 600, 0, 0, 0.95f}, {800, 600, 0, 1, 0.95f}});
  if (!LoadDistortion()) distortionOn.SetValue(0);
  RefreshView();
  fire->Prepare(fire->DocumentMaskSlot());
}

bool DS_FlameLight::LoadDistortion() {
  MakeStripQuad(distortion.quad,
                {{0, 600, 0, 0, 1}, {0, 0, 0, 0, 0}, {800, 600, 0, 1, 1}, {800, 0, 0, 1, 0}});
  distortion.bumpTexture.Reset();
  distortion.effect.Reset();
  if (DS_DocResManager* document = CurrentDocument()) {
    const ImageTextureSet& bump = document->GetImageTextures(distortion.bumpLink);
    if (!bump.textures.empty()) distortion.bumpTexture = bump.textures.front();
    distortion.effect = document->GetEffect(distortion.effectLink);
  }
  return static_cast<bool>(distortion.effect);
}

void DS_FlameLight::RefreshView() {
  DS_2D_Light::RefreshView();
  const float w = static_cast<float>(picture.width), h = static_cast<float>(picture.height);
  PlaceQuad(distortion.quad, {{0, h}, {0, 0}, {w, h}, {w, 0}});
  distortion.ratio = w > 0.0f ? h / w : 1.0f;
  const float c = (static_cast<float>(fireHeight.Value()) * 0.005f + 1.0f) * h;
  const float top = c - 0.65f * h;
  PlaceQuad(fireQuad, {{0, top}, {w, top}, {0, c}, {w, c}});
}

void DS_FlameLight::ResetDeviceState() {
  if (gfx::Device* d = CurrentDevice()) {
    using gfx::RenderState, gfx::SamplerState, gfx::TextureStageState;
    using gfx::TextureArg, gfx::TextureOp, gfx::TextureFilter;
    d->SetRenderState(RenderState::CullMode, gfx::Cull::None);
    d->SetRenderState(RenderState::Lighting, 0);
    const D3DXMATRIX identity = IdentityMatrix();
    d->SetTransform(gfx::TransformState::World, &identity);
    d->SetTextureStageState(1, TextureStageState::TexCoordIndex, 1);
    d->SetTextureStageState(0, TextureStageState::TexCoordIndex, 0);
    d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
    d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Current);
    d->SetTextureStageState(1, TextureStageState::ColorArg1, TextureArg::Texture);
    d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
    d->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::Disable);
    for (uint32_t sampler = 0; sampler < 4; ++sampler) {
      d->SetSamplerState(sampler, SamplerState::MinFilter, TextureFilter::Linear);
      d->SetSamplerState(sampler, SamplerState::MagFilter, TextureFilter::Linear);
    }
    d->SetRenderState(RenderState::AlphaBlendEnable, 1);
    d->SetRenderState(RenderState::SrcBlend, gfx::Blend::SrcAlpha);
    d->SetRenderState(RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
    d->SetSamplerState(0, SamplerState::AddressU, gfx::TextureAddress::Clamp);
    d->SetSamplerState(0, SamplerState::AddressV, gfx::TextureAddress::Clamp);
    d->SetRenderState(RenderState::ZEnable, 0);
  }
  if (DS_DocResManager* document = CurrentDocument()) document->OnResetDevice();
  DS_2D_Light::SetViewQuad(viewQuad);
  CreateTargets();
}

void DS_FlameLight::Update(float t) {
  fire->Tick(t);
  DS_2D_Light::Update(t);
  gfx::Effect* effect = distortion.effect.Get();
  if (effect == nullptr) return;
  distortion.speed.Advance(t);
  const float phase = distortion.speed.localTime;
  const float bump = distortion.bump.Scaled();
  const float offset[2] = {phase, -phase};
  const float bumpScale[2] = {bump, bump * distortion.ratio};
  effect->SetFloat("stenght", distortion.strength.Scaled() * 0.05f);
  effect->SetFloatArray("Offset", offset, 2);
  effect->SetFloatArray("bump_scale", bumpScale, 2);
}

void DS_FlameLight::DrawBackground(void* context) {
  DS_2D_Light::DrawBackground(context);
  gfx::Device* d = CurrentDevice();
  gfx::Effect* effect = fire->effect.Get();
  if (fireOn.Value() == 0 || effect == nullptr || d == nullptr) return;
  const ClipPlanesOff noClipping;
  fire->BindNoise(fireQuad.node.world);
  effect->SetTechnique("AsEffect");
  DrawTexWithEffect(fireQuad, effect);
}

void DS_FlameLight::Compose(void*) {
  RenderContext* context = RenderContextTlsSlot::Get();
  // Without targets everything was drawn on the frame already.
  if (NeedsOffscreenPass() && targets.Begun()) {
    ComRef<gfx::Texture>* picture = EndTargets(false);
    const WithoutParallax atPictureDepth(context);
    if (gfx::Effect* effect = distortion.effect.Get()) {
      effect->SetTexture("Background", picture->Get());
      effect->SetTexture("Bumpmap", distortion.bumpTexture.Get());
      effect->SetTechnique("BumpmapDistortLow2");
      DrawTexWithEffect(distortion.quad, effect);
    } else {
      DrawWithBackgroundQuad(picture->Get());
    }
  }
  gfx::Device* d = CurrentDevice();
  if (d != nullptr) d->SetRenderState(gfx::RenderState::CullMode, gfx::Cull::None);
  if (context != nullptr) context->ApplyAndDrawBars();
  if (d != nullptr) d->SetRenderState(gfx::RenderState::AlphaBlendEnable, 1);
}
