#include "renderers/glass_ball/ds_glass_ball_light.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "core/float_to_int.h"
#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "platform/gfx/image/d3dx_texture.h"
#include "platform/math/d3dx_math.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/render/device_desc.h"
#include "player/render/matrix_values.h"
#include "player/render/render_context.h"
#include "player/render/texture_helpers.h"
#include "renderers/glass_ball/glass_ball_motion.h"
#include "renderers/glass_ball/lens_textures.h"

namespace {

using gfx::RenderState, gfx::SamplerState, gfx::TextureStageState, gfx::TextureArg, gfx::TextureOp;

static_assert(sizeof(DS_GlassBallLight::BallVertex) == 28 && DS_GlassBallLight::kBallFvf == 0x202);

// width / height, 1 for a size without area.
float AspectOf(float width, float height) {
  return width > 0.0f && height > 0.0f ? width / height : 1.0f;
}

D3DXMATRIX Perspective(float aspect) {
  D3DXMATRIX m;
  D3DXMatrixPerspectiveFovLH(&m, std::numbers::pi_v<float> / 4.0f, aspect, 1.0f, 3000.0f);
  return m;
}

// The share of a view that an extent of the backdrop takes beside two margins of `offset`; 1
// for an extent of no size, where the share would divide by nothing.
float FitFraction(float extent, float offset) {
  const float share = extent / (2.0f * (std::trunc(offset) + 1.0f) + extent);
  return extent > 0.0f && std::isfinite(share) && share > 0.0f ? share : 1.0f;
}

// A managed texture of one level filled with rows of `pitch` bytes; none when the device refuses.
ComRef<gfx::Texture> MakeTexture(uint32_t width, uint32_t height, gfx::Format format,
                                 const void* texels, uint32_t pitch) {
  gfx::Device* d = CurrentDevice();
  gfx::Texture* made = nullptr;
  if (d == nullptr ||
      gfx::Failed(d->CreateTexture(width, height, 1, 0, format, gfx::Pool::Managed, &made)))
    return {};
  ComRef<gfx::Texture> texture(made);
  if (gfx::Failed(made->WriteLevel(0, texels, pitch))) return {};
  return texture;
}

// Makes a buffer of four XYZ|TEX2 vertices at these corners (x, y, u, v; z and the second set
// 0); false when the device gives no buffer.
bool MakeBallQuad(VertexBufferHolder& quad, const float (&corners)[4][4]) {
  quad.Create(4 * sizeof(DS_GlassBallLight::BallVertex), DS_GlassBallLight::kBallFvf);
  quad.count = 4;
  if (!quad.buffer) return false;
  if (quad.Lock()) {
    auto* v = static_cast<DS_GlassBallLight::BallVertex*>(quad.locked);
    for (int i = 0; i < 4; ++i)
      v[i] = {corners[i][0], corners[i][1], 0.0f, corners[i][2], corners[i][3], 0.0f, 0.0f};
    quad.Unlock();
  }
  return true;
}

void DrawBallQuad(gfx::Device* d, const VertexBufferHolder& quad) {
  if (!quad.buffer) return;
  d->SetFVF(DS_GlassBallLight::kBallFvf);
  d->SetStreamSource(0, quad.buffer.Get(), 0, sizeof(DS_GlassBallLight::BallVertex));
  d->DrawPrimitive(gfx::PrimitiveType::TriangleStrip, 0, 2);
}

// A screen-space quad with its texture, stage 0 showing the texture.
void DrawTexturedScreenQuad(gfx::Device* d, const TexturedScreenQuad& quad) {
  if (!quad.vertices.buffer) return;
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Current);
  d->SetTexture(0, quad.texture.Get());
  d->SetFVF(TexturedScreenQuad::kFvf);
  d->SetStreamSource(0, quad.vertices.buffer.Get(), 0, quad.Stride());
  d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount);
}

// Moves a screen quad's corners to the rectangle (x0, y0)-(x1, y1), with unit texture
// coordinates.
template <class Quad>
void PlaceScreenQuad(Quad& quad, float x0, float y0, float x1, float y1) {
  QuadCorners corners;
  corners.SetRect(x0, y0, x1, y1);
  if (!quad.vertices.Lock()) return;
  if constexpr (std::is_same_v<Quad, TexturedScreenQuad>) {
    quad.SetVertices(corners);
  } else {
    quad.SetScreenPositions(corners);
  }
  quad.vertices.Unlock();
}

}  // namespace

bool DS_GlassBallLight::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_GlassBallLight", kVersion);
  for (const DS_ImageFileLink* link : {&overlay1Link, &overlay2Link, &lowerLink, &backdropLink}) {
    RegisterSavedLinkWithDocument(*link);
    WriteFileLink(archive, *link);
  }
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(speed.Value());
  io.WriteInt32Pair(position.Value());
  io.WriteUInt32(size.Value());
  io.WriteUInt32(lens.Value());
  for (const MediaParamT<int>* value : {&overlay1, &overlay2, &lowerOn, &backdropMode, &motion})
    io.WriteInt32(value->Value());
  io.WriteDword(gradientTop.Value());
  io.WriteDword(gradientBottom.Value());
  return DS_2D_Light::Save(archive);
}

void DS_GlassBallLight::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  for (DS_ImageFileLink* link : {&overlay1Link, &overlay2Link, &lowerLink, &backdropLink})
    ReadFileLink(archive, *link);
  // Through the parameter, so that the scaled value follows.
  ReadChangedUInt32(archive, speed);
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32Pair(position.RawValue());
  io.ReadUInt32(size.RawValue());
  io.ReadUInt32(lens.RawValue());
  for (MediaParamT<int>* value : {&overlay1, &overlay2, &lowerOn, &backdropMode, &motion})
    io.ReadInt32(value->RawValue());
  io.ReadDword(gradientTop.RawValue());
  io.ReadDword(gradientBottom.RawValue());
  // Version 1 kept the speed on a scale of its own.
  if (version < 2) speed.SetValue(static_cast<uint32_t>(uint64_t{2} * speed.Value() / 3 + 33));
  DS_2D_Light::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_GlassBallLight::Prepare() {
  DS_2D_Light::Prepare();
  DS_DocResManager* document = CurrentDocument();
  auto shown = [document](const DS_ImageFileLink& link) {
    return document != nullptr ? document->GetImageTextures(link).CurrentTexture()
                               : ComRef<gfx::Texture>();
  };
  overlay1Texture = shown(overlay1Link);
  overlay2Texture = shown(overlay2Link);
  lowerTexture = shown(lowerLink);
  BuildLensBumpMap();
  BuildGradientTexture();
  const std::vector<uint8_t> mask = DiscMaskTexels();
  discMask = MakeTexture(kDiscMaskSize, kDiscMaskSize, gfx::Format::A8, mask.data(), kDiscMaskSize);
  QuadCorners unit;
  unit.Init();
  backdropQuad.SetTexture(gradient.Get(), unit);
  scroll1.ClearTexture(unit);
  scroll2.ClearTexture(unit);
  // Without the ball's buffers the rest of the set-up is left out; the ball is not drawn.
  if (!MakeBallQuad(ballVertices,
                    {{-256, -256, 0, 1}, {-256, 256, 0, 0}, {256, -256, 1, 1}, {256, 256, 1, 0}}))
    return;
  for (ColorQuadMesh& bar : bars)
    bar.InitScreen(unit, 0xFF000000);
  if (!MakeBallQuad(lowerVertices, {{-230.4f, -372.19293f, 0, 1},
                                    {-230.4f, -185.61412f, 0, 0},
                                    {232.9f, -372.19293f, 1, 1},
                                    {232.9f, -185.61412f, 1, 0}}))
    return;
  if (gfx::Device* d = CurrentDevice()) {
    const D3DXMATRIX world = ScalingMatrix(0.5f, 0.5f, 0.5f);
    const D3DXVECTOR3 eye(0.0f, 0.0f, -2000.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    const D3DXMATRIX projection = Perspective(1.0f);
    d->SetTransform(gfx::TransformState::World, &world);
    d->SetTransform(gfx::TransformState::View, &view);
    d->SetTransform(gfx::TransformState::Projection, &projection);
  }
  backdropPicture = TextureRef{};
  if (document != nullptr)
    MakeTextureRef(document->GetImageTextures(backdropLink), backdropPicture);
  if (backdropMode.Value() == 1) {
    backdropQuad.texture = backdropPicture.texture;
    effectiveFitMode = 1;
  } else {
    backdropQuad.texture = gradient;
    effectiveFitMode = 2;
  }
  SetViewQuad(viewQuad);
}

void DS_GlassBallLight::BuildLensBumpMap() {
  const std::vector<int16_t> texels = LensBumpTexels();
  lensMap =
      MakeTexture(kLensMapSize, kLensMapSize, gfx::Format::V16U16, texels.data(), 4 * kLensMapSize);
}

void DS_GlassBallLight::BuildGradientTexture() {
  gradient.Reset();
  const std::vector<uint32_t> texels = GradientTexels(gradientTop.Value(), gradientBottom.Value());
  gfx::Device* d = CurrentDevice();
  gfx::Texture* made = nullptr;
  if (d == nullptr ||
      gfx::Failed(D3DXCreateTexture(d, kGradientSize, kGradientSize, 1, 0, gfx::Format::A8R8G8B8,
                                    gfx::Pool::Managed, &made)))
    return;
  gradient.Reset(made);
  if (gfx::Failed(made->WriteLevel(0, texels.data(), 4 * kGradientSize))) gradient.Reset();
}

void DS_GlassBallLight::ResetDeviceState() {
  DS_2D_Light::ResetDeviceState();
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  d->SetSamplerState(1, SamplerState::AddressU, gfx::TextureAddress::Wrap);
  d->SetSamplerState(1, SamplerState::AddressV, gfx::TextureAddress::Wrap);
  d->SetSamplerState(1, SamplerState::MinFilter, gfx::TextureFilter::Linear);
  d->SetSamplerState(1, SamplerState::MagFilter, gfx::TextureFilter::Linear);
  d->SetSamplerState(0, SamplerState::MinFilter, gfx::TextureFilter::Linear);
  d->SetSamplerState(0, SamplerState::MagFilter, gfx::TextureFilter::Linear);
  d->SetSamplerState(0, SamplerState::MipFilter, gfx::TextureFilter::Linear);
  const std::pair<TextureStageState, float> bump[] = {
      {TextureStageState::BumpEnvMat00, 0.2f},  {TextureStageState::BumpEnvMat01, 0.0f},
      {TextureStageState::BumpEnvMat10, 0.0f},  {TextureStageState::BumpEnvMat11, 0.25f},
      {TextureStageState::BumpEnvLScale, 1.0f}, {TextureStageState::BumpEnvLOffset, 0.0f}};
  for (const auto& [state, value] : bump)
    d->SetTextureStageState(0, state, std::bit_cast<uint32_t>(value));
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::SelectArg1);
  d->SetTextureStageState(1, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(1, TextureStageState::ColorArg2, TextureArg::Current);
  d->SetTextureStageState(1, TextureStageState::AlphaOp, TextureOp::Disable);
}

void DS_GlassBallLight::ReleaseDeviceObjects() {
  DS_2D_Light::ReleaseDeviceObjects();
  scroll1.texture.Reset();
  scroll2.texture.Reset();
}

void DS_GlassBallLight::Update(float t) {
  DS_2D_Light::Update(t);
  SetViewQuad(viewQuad);
  const int m = motion.Value();
  if (m == 0) {
    swing = 0.0f;
    return;
  }
  GlassBallPhase& shared = SharedGlassBallPhase();
  shared.Advance(t, speed.Scaled() * 0.0625f);
  if (m == 1 || m == 2) {
    swing = 0.0f;
    const float f = ScrollFraction(shared.phase, m);
    const float w = static_cast<float>(targets.width), h = static_cast<float>(targets.height);
    PlaceScreenQuad(scroll1, w * f, 0.0f, w * f + w, h);
    PlaceScreenQuad(scroll2, w * (f - 1.0f), 0.0f, w * f, h);
  } else if (m == 3) {
    swing = SwingAt(shared.phase);
  }
}

void DS_GlassBallLight::SetViewQuad(const QuadCorners& quad) {
  DS_2D_Light::SetViewQuad(quad);
  LayOutBackdrop();
}

void DS_GlassBallLight::SetFitMode(int mode) {
  effectiveFitMode = backdropMode.Value() == 1 ? mode : 2;
  DS_2D_Light::SetViewQuad(viewQuad);
  LayOutBackdrop();
}

void DS_GlassBallLight::LayOutBackdrop() {
  const Size backdrop{backdropPicture.width, backdropPicture.height};
  const bool pushed = pushedView != 0;
  camera.ApplyView(viewQuad, backdrop, effectiveFitMode, pushed);
  UpdateLensParameters();

  const int vw = SaturatingTruncate<int>(viewQuad.Right() - viewQuad.Left());
  const int vh = SaturatingTruncate<int>(viewQuad.Bottom() - viewQuad.Top());
  QuadCorners q;
  FitQuadToTarget(q, backdrop, vw, vh);
  if (!pushed) q.ScaleToBackBuffer(vw, vh);
  const float x0 = q.Left(), x3 = q.Right(), y1 = q.Top(), y2 = q.Bottom();

  // The camera block's fit as the camera sees it: its zoom and its pan in backdrop pixels.
  const RenderContext* context = RenderContextTlsSlot::Get();
  const CameraBlock fallback;
  const CameraBlock& block = context != nullptr ? context->Camera() : fallback;
  const D3DXMATRIX fit = block.cameraMatrix1 * block.fitMatrix;
  zoomX = fit._11;
  zoomY = fit._22;
  const float bw = static_cast<float>(backdrop.width), bh = static_cast<float>(backdrop.height);
  panX = RatioOr0(fit._41 * (x3 - x0), bw);
  panY = RatioOr0(fit._42 * (y2 - y1), bh);

  QuadCorners placed = q;
  for (QuadCorners::Corner& corner : placed.corners) {
    corner.x = zoomX * corner.x + x0 * (1.0f - zoomX) + panX;
    corner.y = zoomY * corner.y + y1 * (1.0f - zoomY) + panY;
  }
  if (backdropQuad.vertices.Lock()) {
    backdropQuad.SetVertices(placed);
    backdropQuad.vertices.Unlock();
  }
  const float fittedW = zoomX * (x3 - x0), fittedH = zoomY * (y2 - y1);
  widthFraction = FitFraction(fittedW, zoomX * x0);
  heightFraction = FitFraction(fittedH, zoomY * y1);

  // The bars around the fitted backdrop, in target pixels.
  const float left = x0 + RatioOr0(block.fitOffsetX * block.fitScaleX * fittedW, bw);
  const float top = y1 + RatioOr0(block.fitOffsetY * block.fitScaleY * fittedH, bh);
  const float width = (x3 - x0) * block.fitScaleX, height = (y2 - y1) * block.fitScaleY;
  const float side = std::trunc(left) + 1.0f, above = std::trunc(top) + 1.0f;
  PlaceScreenQuad(bars[0], 0.0f, 0.0f, side, std::trunc(height));
  PlaceScreenQuad(bars[1], left + width, 0.0f, left + width + side, std::trunc(height));
  PlaceScreenQuad(bars[2], 0.0f, 0.0f, std::trunc(width), above);
  PlaceScreenQuad(bars[3], 0.0f, top + height, std::trunc(width), top + height + above);

  UpdateLensParameters();
  camera.ApplyView(viewQuad, backdrop, 1, pushed);
}

void DS_GlassBallLight::UpdateLensParameters() {
  const float s = static_cast<float>(size.Value());
  const float e = static_cast<float>(lens.Value()) * 0.5f;
  const float distance = -600.0f / (s * 0.75f / 100.0f + 0.25f) / (heightFraction * zoomX);
  // A zoom of 0 would put the camera into the ball.
  lensCameraZ = std::isfinite(distance) && distance != 0.0f ? distance : -600.0f;
  lensDepth = (heightFraction * s * zoomX / 100.0f * 1.105f + 0.385f) * 1.05f * (e / 100.0f + 1.0f);
  swingAmplitude = e * 0.125f / 100.0f + 0.125f;
}

float DS_GlassBallLight::PictureQuotient() const {
  // A picture taller than wide, or without a height, offsets the picture as a square one does.
  return picture.height > 0 ? static_cast<float>(std::max(picture.width / picture.height, 1u))
                            : 1.0f;
}

void DS_GlassBallLight::ViewportSize(float& width, float& height) const {
  if (pushedView != 0) {
    width = std::trunc(viewQuad.Right() - viewQuad.Left());
    height = std::trunc(viewQuad.Bottom() - viewQuad.Top());
    return;
  }
  gfx::SurfaceDesc backBuffer;
  GetBackBufferDesc(backBuffer);
  width = static_cast<float>(backBuffer.width);
  height = static_cast<float>(backBuffer.height);
}

void DS_GlassBallLight::SetupBallView(bool lensPass) {
  float W = 0.0f, H = 0.0f;
  ViewportSize(W, H);
  const float vw = viewQuad.Right() - viewQuad.Left(), vh = viewQuad.Bottom() - viewQuad.Top();
  const Int32Pair at = position.Value();
  float bx = ((static_cast<float>(at[0]) + 250.0f) * zoomX - 250.0f +
              500.0f * RatioOr0(panX, W * widthFraction)) *
             (lensCameraZ / -600.0f);
  float by = ((static_cast<float>(at[1]) + 250.0f) * zoomY - 250.0f +
              500.0f * RatioOr0(panY, H * heightFraction)) *
             (lensCameraZ / 600.0f);
  if (backdropMode.Value() == 1) {
    by *= heightFraction;
    bx *= AspectOf(vw, vh) * widthFraction;
  }
  float u = 0.0f, v = 0.0f;
  if (lensPass) {
    const float d = 1.5f - static_cast<float>(lens.Value() / 2) * 0.01f;
    u = swingAmplitude * swing - RatioOr0(bx, W) * d / PictureQuotient();
    v = RatioOr0(by, H) * d;
  }
  const D3DXMATRIX world = TranslationMatrix(bx, by, 0.0f);
  const D3DXVECTOR3 eye(0.0f, 0.0f, lensCameraZ), origin(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
  D3DXMATRIX view;
  D3DXMatrixLookAtLH(&view, &eye, &origin, &up);
  const D3DXMATRIX projection = Perspective(AspectOf(vw, vh));

  // The projection of the picture the ball shows, at the depth that makes the lens.
  const float aspect =
      lensPass || backdropMode.Value() != 1
          ? AspectOf(static_cast<float>(picture.width), static_cast<float>(picture.height))
          : AspectOf(static_cast<float>(backdropPicture.width),
                     static_cast<float>(backdropPicture.height));
  const D3DXMATRIX p2 = Perspective(aspect);
  const float depth = std::abs(lensCameraZ) * (lensPass ? lensDepth : heightFraction);
  const float l = p2._33 * depth + p2._34;
  textureMatrix = IdentityMatrix();
  textureMatrix._11 = RatioOr0(p2._11, l) * 0.5f;
  textureMatrix._22 = RatioOr0(p2._22, l) * -0.5f;
  textureMatrix._41 = u - std::floor(u) + 0.5f;
  textureMatrix._42 = v + 0.5f;

  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  d->SetTransform(gfx::TransformState::World, &world);
  d->SetTransform(gfx::TransformState::View, &view);
  d->SetTransform(gfx::TransformState::Projection, &projection);
  d->SetTransform(gfx::TransformState::Texture1, &textureMatrix);
  d->SetTextureStageState(1, TextureStageState::TextureTransformFlags,
                          gfx::TextureTransform::Count2);
  d->SetTextureStageState(1, TextureStageState::TexCoordIndex,
                          gfx::TexCoordIndex::CameraSpacePosition | 1);
}

void DS_GlassBallLight::Compose(void* context) {
  gfx::Device* d = CurrentDevice();
  // Without targets the slide was drawn on the frame already; there is no picture for the ball.
  if (d == nullptr || !targets.Begun()) {
    DS_2D_Light::Compose(context);
    return;
  }
  d->SetRenderState(RenderState::AlphaBlendEnable, 0);
  const int m = motion.Value();
  if (m == 1 || m == 2) {
    // The picture slides across a fresh target and wraps round.
    const ComRef<gfx::Texture> drawn = *FlipTarget(true);
    scroll1.texture = drawn;
    scroll2.texture = drawn;
    DrawTexturedScreenQuad(d, scroll1);
    DrawTexturedScreenQuad(d, scroll2);
  }
  const ComRef<gfx::Texture> finished = *EndTargets(false);
  DrawTexturedScreenQuad(d, backdropQuad);

  // The picture through the lens: stage 0 bends stage 1's coordinates.
  SetupBallView(true);
  d->SetTexture(0, lensMap.Get());
  d->SetTexture(1, finished.Get());
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::BumpEnvMap);
  d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Current);
  d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Disable);
  DrawBallQuad(d, ballVertices);

  SetupBallView(false);
  d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  d->SetRenderState(RenderState::SrcBlend, gfx::Blend::SrcAlpha);
  d->SetRenderState(RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
  d->SetTextureStageState(0, TextureStageState::AlphaArg1, TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg1);
  d->SetTexture(1, nullptr);
  for (const auto& [on, texture] : {std::pair{overlay1.Value(), overlay1Texture.Get()},
                                    {overlay2.Value(), overlay2Texture.Get()}}) {
    if (on == 0) continue;
    d->SetTexture(0, texture);
    DrawBallQuad(d, ballVertices);
  }

  // The mask: outside the circle the backdrop covers the quad's corners again, at the place of
  // the backdrop quad.
  d->SetTexture(0, discMask.Get());
  d->SetTexture(1, backdropQuad.texture.Get());
  float W = 0.0f, H = 0.0f;
  ViewportSize(W, H);
  textureMatrix._11 = RatioOr0(textureMatrix._11, zoomX);
  textureMatrix._22 = RatioOr0(textureMatrix._22, zoomY);
  textureMatrix._41 =
      RatioOr0(textureMatrix._41 - RatioOr0(RatioOr0(panX, W), widthFraction), zoomX);
  textureMatrix._42 =
      RatioOr0(textureMatrix._42 - RatioOr0(RatioOr0(panY, H), heightFraction), zoomY);
  d->SetTransform(gfx::TransformState::Texture1, &textureMatrix);
  DrawBallQuad(d, ballVertices);

  d->SetTexture(1, nullptr);
  if (lowerOn.Value() != 0) {
    d->SetTexture(0, lowerTexture.Get());
    DrawBallQuad(d, lowerVertices);
  }
  d->SetTexture(0, nullptr);
  if (backdropMode.Value() == 1 && effectiveFitMode == 1) {
    for (const ColorQuadMesh& bar : bars)
      DrawFadeOverlay(&bar);
  }
  d->SetTextureStageState(1, TextureStageState::TextureTransformFlags,
                          gfx::TextureTransform::Disable);
  d->SetTextureStageState(1, TextureStageState::TexCoordIndex, 1);
}
