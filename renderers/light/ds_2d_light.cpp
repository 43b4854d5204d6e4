#include "renderers/light/ds_2d_light.h"

#include "core/param/callback_ctrl.h"
#include "core/scene/scene_services.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/render/matrix_values.h"
#include "player/render/render_context.h"
#include "player/render/texture_helpers.h"

namespace {

struct BackgroundVertex {
  float x, y, z, u, v;
};

}  // namespace

DS_2D_Light::DS_2D_Light() {
  viewQuad.Init();
  ownedControls.push_back(std::make_unique<SmartCalbackCtrl<DS_2D_Light>>(&DS_2D_Light::RefreshView,
                                                                          this, &backgroundLink));
}

DS_2D_Light::~DS_2D_Light() {
  // The controls unsubscribe before the link they watch goes.
  ownedControls.clear();
}

bool DS_2D_Light::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_2D_Light", kVersion);
  RegisterSavedLinkWithDocument(backgroundLink);
  WriteFileLink(archive, backgroundLink);
  camera.Save(archive);
  return true;
}

void DS_2D_Light::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version >= 2) ReadFileLink(archive, backgroundLink);
  if (version >= 3) camera.ReadBody(archive, ReadBaseHeader(archive));
}

void DS_2D_Light::Prepare() {
  background.vertices.CreateGrid(4);
  background.primitiveType = gfx::PrimitiveType::TriangleStrip;
  background.primitiveCount = 2;
  if (background.vertices.Lock()) {
    auto* v = static_cast<BackgroundVertex*>(background.vertices.locked);
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
    for (int i = 0; i < 4; ++i)
      v[i] = {0.0f, 0.0f, 0.0f, uv[i][0], uv[i][1]};
    background.vertices.Unlock();
  }
  LoadPicture();
  if (RenderContext* context = RenderContextTlsSlot::Get()) {
    for (ColorQuadMesh& bar : context->borderBars)
      bar.InitWorld({}, 0xFF000000);
  }
}

void DS_2D_Light::LoadPicture() {
  picture = TextureRef{};
  if (DS_DocResManager* document = CurrentDocument())
    MakeTextureRef(document->GetImageTextures(backgroundLink), picture);
  background.texture = picture.texture;
  if (!background.vertices.Lock()) return;
  auto* v = static_cast<BackgroundVertex*>(background.vertices.locked);
  const float w = static_cast<float>(picture.width), h = static_cast<float>(picture.height);
  const float xy[4][2] = {{0, h}, {0, 0}, {w, h}, {w, 0}};
  for (int i = 0; i < 4; ++i) {
    v[i].x = xy[i][0];
    v[i].y = xy[i][1];
    v[i].z = 0.0f;
  }
  background.vertices.Unlock();
}

void DS_2D_Light::RefreshView() {
  LoadPicture();
  camera.SetFrameSize(picture.width, picture.height);
  SetViewQuad(viewQuad);
}

void DS_2D_Light::ResetDeviceState() {
  if (gfx::Device* d = CurrentDevice()) {
    using gfx::RenderState, gfx::SamplerState, gfx::TextureStageState;
    using gfx::TextureArg, gfx::TextureOp;
    d->SetRenderState(RenderState::ZEnable, 0);
    d->SetRenderState(RenderState::ZWriteEnable, 0);
    d->SetRenderState(RenderState::Lighting, 0);
    d->SetSamplerState(0, SamplerState::MinFilter, gfx::TextureFilter::Linear);
    d->SetSamplerState(0, SamplerState::MagFilter, gfx::TextureFilter::Linear);
    d->SetSamplerState(0, SamplerState::AddressU, gfx::TextureAddress::Mirror);
    d->SetSamplerState(0, SamplerState::AddressV, gfx::TextureAddress::Mirror);
    d->SetTextureStageState(1, TextureStageState::TexCoordIndex, 1);
    d->SetTextureStageState(0, TextureStageState::TexCoordIndex, 0);
    d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
    d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Current);
    d->SetTextureStageState(1, TextureStageState::ColorArg1, TextureArg::Texture);
    d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
    d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
    d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
    d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
    d->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::Disable);
    d->SetRenderState(RenderState::SrcBlend, gfx::Blend::SrcAlpha);
    d->SetRenderState(RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
  }
  if (DS_DocResManager* document = CurrentDocument()) document->OnResetDevice();
  CreateTargets();
}

void DS_2D_Light::CreateTargets() {
  // Targets of the old size go; the first pass with readers makes them at the new one.
  ReleaseTargets();
}

void DS_2D_Light::ReleaseTargets() {
  if (targets.Begun()) return;
  targets.Release();
  targetTexture.Reset();
}

void DS_2D_Light::ReleaseDeviceObjects() {
  targets.Release();
  targetTexture.Reset();
  savedFlags.clear();
  savedFits.clear();
  savedViews.clear();
  savedTargetViews.clear();
}

void DS_2D_Light::Compose(void*) {
  RenderContext* context = RenderContextTlsSlot::Get();
  gfx::Device* device = CurrentDevice();
  if (context == nullptr || device == nullptr) return;
  SetViewProjection();
  const D3DXMATRIX identity = IdentityMatrix();
  device->SetTransform(gfx::TransformState::World, &identity);
  context->ApplyAndDrawBars();
}

void DS_2D_Light::Update(float t) {
  camera.Update(t);
}

bool DS_2D_Light::EnableCamera(bool on) {
  const RenderContext* context = RenderContextTlsSlot::Get();
  return camera.Enable(on, viewQuad, PictureSize(), context != nullptr ? context->fitMode : 1);
}

ComRef<gfx::Texture> DS_2D_Light::GetTargetTexture() {
  return picture.texture;
}

void InstallRendererServices() {
  GetSceneServices().switchTarget = [](DS_2D_Light& renderer, int* readerCount, bool clear) {
    renderer.SwitchTarget(readerCount, clear);
  };
}
