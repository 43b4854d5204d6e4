#include "renderers/water_ring/ds_water_ring_light.h"

#include <numbers>

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "platform/math/d3dx_math.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/render/device_desc.h"
#include "player/render/matrix_values.h"
#include "player/render/render_context.h"

namespace {

using gfx::RenderState, gfx::TextureStageState, gfx::TextureArg, gfx::TextureOp;

void SetLighting(bool lighting, bool specular) {
  if (gfx::Device* d = CurrentDevice()) {
    d->SetRenderState(RenderState::Lighting, lighting ? 1 : 0);
    d->SetRenderState(RenderState::SpecularEnable, specular ? 1 : 0);
  }
}

// Lighting off for the length of one base draw, then on.
class UnlitDraw {
 public:
  UnlitDraw() { SetLightingState(0); }
  ~UnlitDraw() { SetLightingState(1); }
  UnlitDraw(const UnlitDraw&) = delete;
  UnlitDraw& operator=(const UnlitDraw&) = delete;

 private:
  static void SetLightingState(uint32_t on) {
    if (gfx::Device* d = CurrentDevice()) d->SetRenderState(RenderState::Lighting, on);
  }
};

// Stage 0 selects argument 1 (the texture) for colour and alpha.
void SelectTexture(gfx::Device* d) {
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Current);
  d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg1);
  d->SetTextureStageState(0, TextureStageState::AlphaArg1, TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::AlphaArg2, TextureArg::Current);
}

}  // namespace

DS_WaterRingLight::DS_WaterRingLight()
    : waterWorld(IdentityMatrix()), waterProjection(IdentityMatrix()) {
  D3DXMatrixRotationX(&rotation, -std::numbers::pi_v<float> / 2);
  D3DXMatrixInverse(&waterView, nullptr, &rotation);
}

bool DS_WaterRingLight::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_WaterRingLight", kVersion);
  DS_IOF_Virtual& io = archive.io();
  for (const MediaParamT<unsigned>* raw :
       {&waveSpeed, &rows, &resolution, &dropStrength, &damping, &refraction})
    io.WriteUInt32(raw->Value());
  io.WriteUInt32(dropsPerMinute.Value());
  io.WriteUInt32(specular.Value());
  io.WriteUInt32(shininess.Value());
  io.WriteInt32(mode.Value());
  return DS_2D_Light::Save(archive);
}

void DS_WaterRingLight::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  if (version > 1) {
    for (MediaParamT<unsigned>* raw :
         {&waveSpeed, &rows, &resolution, &dropStrength, &damping, &refraction})
      io.ReadUInt32(raw->RawValue());
    // Through the parameters, so that the scaled values follow.
    ReadChangedUInt32(archive, dropsPerMinute);
    ReadChangedUInt32(archive, specular);
    ReadChangedUInt32(archive, shininess);
  }
  io.ReadInt32(mode.RawValue());
  DS_2D_Light::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_WaterRingLight::DrawIndexedMesh(const IndexedMesh& mesh, gfx::Effect* effect,
                                        uint32_t firstQuad, uint32_t quadCount) {
  const UnlitDraw unlit;
  DS_2D_Light::DrawIndexedMesh(mesh, effect, firstQuad, quadCount);
}

void DS_WaterRingLight::DrawFrameList(const MeshPart& part) {
  const UnlitDraw unlit;
  DS_2D_Light::DrawFrameList(part);
}

void DS_WaterRingLight::DrawSpriteLayer(const SpriteLayer& layer) {
  const UnlitDraw unlit;
  DS_2D_Light::DrawSpriteLayer(layer);
}

void DS_WaterRingLight::DrawFrameTree(const MeshGeometry& mesh) {
  const UnlitDraw unlit;
  DS_2D_Light::DrawFrameTree(mesh);
}

void DS_WaterRingLight::ApplySurfaceValues() {
  surface.waveSpeed = static_cast<float>(waveSpeed.Value()) * 0.02f + 1.0f;
  surface.dropStrength = static_cast<float>(dropStrength.Value()) * 0.01f * 0.7f + 0.1f;
  const unsigned d = damping.Value();
  surface.damping = d < 50 ? static_cast<float>(d) * 0.09f * 0.02f + 0.9f
                           : static_cast<float>(d - 50) * 0.009f * 0.02f + 0.99f;
  surface.refraction = static_cast<float>(refraction.Value()) * 0.01f;
}

gfx::Material DS_WaterRingLight::WaterMaterial() const {
  gfx::Material material;
  material.diffuse = {0.0f, 0.0f, 0.0f, 1.0f};
  const float level = specular.Scaled();
  material.specular = {level, level, level, 0.0f};
  material.power = shininess.Scaled();
  return material;
}

void DS_WaterRingLight::Prepare() {
  DS_2D_Light::Prepare();
  if (surface.profile == nullptr) surface.profile = &SharedRefractionTable();
  D3DXMatrixRotationX(&rotation, -std::numbers::pi_v<float> / 2);
  eye = {eye.x, 120.0f, 0.0f};
  D3DXMatrixInverse(&waterView, nullptr, &rotation);
  ApplySurfaceValues();
  surface.SizeGrid(picture.aspect, resolution.Value(), rows.Value());
  if (gfx::Device* d = CurrentDevice()) {
    const gfx::Material material = WaterMaterial();
    d->SetMaterial(&material);
  }
}

void DS_WaterRingLight::ResetDeviceState() {
  if (gfx::Device* d = CurrentDevice()) {
    using gfx::SamplerState;
    d->SetRenderState(RenderState::SrcBlend, gfx::Blend::SrcAlpha);
    d->SetRenderState(RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
    gfx::Light light;
    light.type = gfx::LightType::Directional;
    light.diffuse = lightDiffuse;
    light.specular = {1.0f, 1.0f, 1.0f, 0.0f};
    light.direction = lightDirection;
    d->SetLight(0, &light);
    d->LightEnable(0, true);
    const gfx::Material material = WaterMaterial();
    d->SetMaterial(&material);
    d->SetFVF(gfx::Fvf::Xyz);
    d->SetTransform(gfx::TransformState::View, &waterView);
    d->SetTransform(gfx::TransformState::World, &waterWorld);
    d->SetRenderState(RenderState::Lighting, 0);
    d->SetRenderState(RenderState::SpecularEnable, 0);
    d->SetRenderState(RenderState::ZFunc, gfx::Cmp::LessEqual);
    d->SetRenderState(RenderState::CullMode, gfx::Cull::None);
    d->SetRenderState(RenderState::ShadeMode, gfx::ShadeMode::Gouraud);
    d->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::Disable);
    for (uint32_t stage = 0; stage < 2; ++stage) {
      d->SetTextureStageState(stage, TextureStageState::ColorArg1, TextureArg::Texture);
      d->SetTextureStageState(stage, TextureStageState::ColorArg2, TextureArg::Current);
      d->SetTextureStageState(stage, TextureStageState::AlphaOp, TextureOp::Disable);
      d->SetTextureStageState(stage, TextureStageState::AlphaArg1, TextureArg::Texture);
      d->SetTextureStageState(stage, TextureStageState::AlphaArg2, TextureArg::Current);
      d->SetTextureStageState(stage, TextureStageState::TexCoordIndex, 0);
    }
    d->SetRenderState(RenderState::ZEnable, 0);
    d->SetSamplerState(0, SamplerState::MinFilter, gfx::TextureFilter::Linear);
    d->SetSamplerState(0, SamplerState::MagFilter, gfx::TextureFilter::Linear);
    d->SetSamplerState(0, SamplerState::AddressU, gfx::TextureAddress::Mirror);
    d->SetSamplerState(0, SamplerState::AddressV, gfx::TextureAddress::Mirror);
  }
  surface.SizeGrid(picture.aspect, resolution.Value(), rows.Value());
  SetViewQuad(viewQuad);
  if (DS_DocResManager* document = CurrentDocument()) document->OnResetDevice();
  CreateTargets();
}

void DS_WaterRingLight::ReleaseDeviceObjects() {
  DS_2D_Light::ReleaseDeviceObjects();
  surface.ReleaseBuffers();
}

void DS_WaterRingLight::Compose(void*) {
  SetLighting(true, true);
  // Without targets everything was drawn on the frame already.
  if (NeedsOffscreenPass() && targets.Begun()) DrawWater(EndTargets(true)->Get());
  if (RenderContext* context = RenderContextTlsSlot::Get()) context->ApplyAndDrawBars();
  SetLighting(false, false);
}

void DS_WaterRingLight::DrawBackground(void* context) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  SetLighting(true, true);
  if (mode.Value() == 1) {
    d->SetRenderState(RenderState::Lighting, 0);
    SelectTexture(d);
    DS_2D_Light::DrawBackground(context);
  } else {
    d->SetTexture(0, background.texture.Get());
    d->SetFVF(gfx::Fvf::Xyz | gfx::Fvf::Tex1);
    d->SetStreamSource(0, background.vertices.buffer.Get(), 0, 20);
    DrawWater(picture.texture.Get());
  }
  SetLighting(false, false);
}

void DS_WaterRingLight::Update(float t) {
  DS_2D_Light::Update(t);
  if (lastDropTime > t) lastDropTime = t;
  // No drops a minute is an interval without end.
  const float perSecond = dropsPerMinute.Scaled();
  if (perSecond > 0.0f && t - lastDropTime > 1.0f / perSecond) {
    surface.Drop();
    lastDropTime = t;
  }
  surface.Step(eye);
}

void DS_WaterRingLight::SetViewQuad(const QuadCorners& quad) {
  const float width = quad.corners[3].x - quad.corners[0].x;
  const float height = quad.corners[2].y - quad.corners[1].y;
  if (width == 0.0f || height == 0.0f) return;
  DS_2D_Light::SetViewQuad(quad);
  gfx::SurfaceDesc target;
  GetRenderTargetDesc(target);
  // The water's own units: 30 deep and 30 / aspect wide, scaled as the picture is to the target.
  if (picture.width == 0 || picture.height == 0 || !(picture.aspect > 0.0f)) return;
  const float hx = (WaterHeightField::kDepth / picture.aspect) / 2.0f;
  const float ax = static_cast<float>(target.width) / static_cast<float>(picture.width) * hx;
  const float ay = static_cast<float>(target.height) / static_cast<float>(picture.height) * 15.0f;
  D3DXMatrixOrthoOffCenterRH(&waterProjection, -hx, 2.0f * ax - hx, 15.0f - 2.0f * ay, 15.0f, -1.0f,
                             2000.0f);
  if (gfx::Device* d = CurrentDevice())
    d->SetTransform(gfx::TransformState::Projection, &waterProjection);
}

void DS_WaterRingLight::SetFitMode(int fit) {
  DS_2D_Light::SetFitMode(fit);
  SetViewQuad(viewQuad);
}

void DS_WaterRingLight::DrawFadeOverlay(const ColorQuadMesh* overlay) {
  DS_2D_Light::DrawFadeOverlay(overlay);
  if (gfx::Device* d = CurrentDevice()) d->SetRenderState(RenderState::AlphaBlendEnable, 0);
}

void DS_WaterRingLight::DrawScreenQuad(const TexturedScreenQuad& quad) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  d->SetRenderState(RenderState::ZEnable, 0);
  d->SetRenderState(RenderState::AlphaBlendEnable, 0);
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  DS_2D_Light::DrawScreenQuad(quad);
  d->SetRenderState(RenderState::ZEnable, 0);
  d->SetRenderState(RenderState::AlphaBlendEnable, 0);
}

void DS_WaterRingLight::DrawWater(gfx::Texture* texture) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  uint32_t clipPlanes = 0;
  if (gfx::Failed(d->GetRenderState(RenderState::ClipPlaneEnable, &clipPlanes))) clipPlanes = 0;
  d->SetRenderState(RenderState::ClipPlaneEnable, 0);
  SetViewQuad(viewQuad);
  SelectTexture(d);
  d->SetTransform(gfx::TransformState::World, &waterWorld);

  // Where the picture lies on the target: the world of a picture-sized object and the view.
  // The water is the picture, at its depth: no object's parallax applies to it.
  D3DXMATRIX m = waterWorld;
  if (RenderContext* context = RenderContextTlsSlot::Get()) {
    const WithoutParallax atPictureDepth(context);
    m = context->WorldFor(waterWorld) * context->view;
  }
  const float ex = surface.extentX, ez = surface.extentZ;
  const float px = RatioOr0(RatioOr0(m._41, m._11), static_cast<float>(picture.width));
  const float pz = RatioOr0(RatioOr0(m._42, m._22), static_cast<float>(picture.height));
  // The pan carries the whole offset, in water units; m's own offset is in target pixels, which
  // the water's projection does not use, so it is dropped.
  m._41 = m._42 = 0.0f;
  const D3DXMATRIX world = TranslationMatrix(ex / 2 + ex * px, 0.0f, ez / 2 + ez * pz) * waterView *
                           m * TranslationMatrix(-ex / 2, ez / 2, 0.0f);
  d->SetTransform(gfx::TransformState::Projection, &waterProjection);
  d->SetTransform(gfx::TransformState::View, &waterWorld);
  d->SetTransform(gfx::TransformState::World, &world);
  d->SetTexture(0, texture);
  d->SetFVF(WaterHeightField::kFvf);
  if (surface.vertices && surface.indices &&
      gfx::Succeeded(d->SetStreamSource(0, surface.vertices.Get(), 0, WaterHeightField::kStride)) &&
      gfx::Succeeded(d->SetIndices(surface.indices.Get()))) {
    d->DrawIndexedPrimitive(gfx::PrimitiveType::TriangleStrip, 0, 0, surface.nodeCount, 0,
                            surface.indexCount - 2);
  }
  d->SetRenderState(RenderState::ClipPlaneEnable, clipPlanes);
}
