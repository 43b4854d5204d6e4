#include "renderers/lake/fake_lake_2d.h"

#include <cmath>
#include <cstring>

#include "core/float_to_int.h"
#include "core/link/link_key.h"
#include "core/param/param_reads.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "platform/gfx/image/dds_writer.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/render/matrix_values.h"
#include "player/render/render_context.h"
#include "player/render/texture_helpers.h"

namespace {

using gfx::RenderState, gfx::SamplerState, gfx::TextureStageState, gfx::TextureArg, gfx::TextureOp;

static_assert(sizeof(FakeLake2D::MirrorVertex) == 28);

// The picture the document holds for `key`: the bytes the project stored under its GUID, else
// the bump map as a DDS file. Empty when there is neither.
std::vector<uint8_t> GuidPictureBytes(DS_DocResManager& document, const GuidNameKey& key,
                                      const gfx::Texture* bumpMap) {
  auto stored = document.framesByLink.find(GuidLinkKey(key.guid));
  if (stored != document.framesByLink.end() && stored->second.size() == 1 &&
      stored->second.front().bytes.Count() > 0) {
    const std::span<const uint8_t> bytes = stored->second.front().bytes.Bytes();
    return {bytes.begin(), bytes.end()};
  }
  std::vector<uint8_t> file;
  if (bumpMap != nullptr) gfx::image::SaveTextureAsDds(bumpMap, &file);
  return file;
}

void SetAddress(gfx::Device* d, uint32_t sampler, uint32_t address) {
  d->SetSamplerState(sampler, SamplerState::AddressU, address);
  d->SetSamplerState(sampler, SamplerState::AddressV, address);
}

}  // namespace

FakeLake2D::FakeLake2D() : bumpKey{GUID::Create(), {}, 0} {
  waveSpeed.SetScale(0.02f, 0.0f);
  waveSpeed.SetValue(50);
  waveSpeed.lastTime = 0.0;
}

bool FakeLake2D::Save(DS_IOF_Archive& archive) const {
  if (DS_DocResManager* document = CurrentDocument()) {
    FileDataRecord picture;
    picture.bytes = GuidPictureBytes(*document, bumpKey, bumpMap.Get());
    if (!picture.bytes.empty()) {
      document->guidPictureTable.insert_or_assign(
          GuidPictureKey{bumpKey.guid, bumpKey.name, uint8_t(keep ? 1 : 0)}, std::move(picture));
    }
  }
  WriteRecordHeader(archive, u"FakeLake2D", kVersion);
  DS_IOF_Virtual& io = archive.io();
  const UINTSclaleTo<float>* const scaled[] = {&bumpTiling, &waveSpeed,      &horizon,
                                               &bumpFade,   &colourStrength, &colourFade};
  for (const UINTSclaleTo<float>* raw : scaled)
    io.WriteUInt32(raw->Value());
  io.WriteUInt32(bumpAmplitude.Value());
  io.WriteUInt32(horizonStrip.Value());
  io.WriteInt32(reflectionSize.Value());
  io.WriteDword(lakeColour.Value());
  archive.WriteGuid(bumpKey.guid);
  io.WriteWideString(bumpKey.name);
  io.WriteBool(keep);
  return DS_2D_Light::Save(archive);
}

void FakeLake2D::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  if (version > 1) {
    // Through the parameters, so that the scaled values follow.
    UINTSclaleTo<float>* const scaled[] = {&bumpTiling, &waveSpeed,      &horizon,
                                           &bumpFade,   &colourStrength, &colourFade};
    for (UINTSclaleTo<float>* raw : scaled)
      ReadChangedUInt32(archive, *raw);
    io.ReadUInt32(bumpAmplitude.RawValue());
    io.ReadUInt32(horizonStrip.RawValue());
    io.ReadInt32(reflectionSize.RawValue());
    io.ReadDword(lakeColour.RawValue());
  }
  archive.ReadGuid(bumpKey.guid);
  io.ReadWideString(bumpKey.name);
  io.ReadBool(keep);
  DS_2D_Light::ReadBody(archive, ReadBaseHeader(archive));
}

uint32_t FakeLake2D::ColourRgb() const {
  const uint32_t c = lakeColour.Value();  // 0x00BBGGRR
  return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

void FakeLake2D::Prepare() {
  DS_2D_Light::Prepare();
  mirror.vertices.Create(6 * sizeof(MirrorVertex), kMirrorFvf);
  mirror.vertices.count = 6;
  mirror.primitiveType = gfx::PrimitiveType::TriangleList;
  mirror.primitiveCount = 2;
  if (mirror.vertices.Lock()) {
    const MirrorVertex made[6] = {
        {-1000, -500, 10, 0, 0.7f, 0, 0}, {-1000, 0, 1000, 0, 0, 0, 0.7f},
        {1000, 0, 1000, 1, 0, 1, 0.7f},   {-1000, -500, 10, 0, 0.7f, 0, 0},
        {1000, 0, 1000, 1, 0, 1, 0.7f},   {1000, -500, 10, 1, 0.7f, 1, 0}};
    std::memcpy(mirror.vertices.locked, made, sizeof made);
    mirror.vertices.Unlock();
  }
  // The water's colour is strongest at the bottom and fades to (1 - fade) of it at the
  // horizon, where the strip above goes on fading out.
  const float m = colourStrength.Scaled(), faded = (1.0f - colourFade.Scaled()) * m;
  waterQuad.InitWorld({}, ColourRgb());
  waterQuad.SetWorldCornerAlphas(m, m, faded, faded);
  horizonQuad.InitWorld({}, ColourRgb());
  horizonQuad.SetWorldCornerAlphas(0.0f, 0.0f, faded, faded);
  RefreshView();
  if (mirror.vertices.Lock()) {
    const float t = bumpTiling.Scaled();
    const float bump[6][2] = {{0.01f, 0.01f}, {0.01f, t}, {t, t},
                              {0.01f, 0.01f}, {t, t},     {t, 0.01f}};
    auto* v = static_cast<MirrorVertex*>(mirror.vertices.locked);
    for (int i = 0; i < 6; ++i) {
      v[i].bumpU = bump[i][0];
      v[i].bumpV = bump[i][1];
    }
    mirror.vertices.Unlock();
  }
  bumpMap.Reset();
  if (DS_DocResManager* document = CurrentDocument()) bumpMap = document->GetGuidTexture(bumpKey);
}

void FakeLake2D::RefreshView() {
  DS_2D_Light::RefreshView();
  MakeSquareCopy(picture.texture.Get(), reflectionCopy, reflectionSize.Value());
  DS_2D_Light::SetViewQuad(viewQuad);
  Layout();
}

void FakeLake2D::Layout() {
  const float W = static_cast<float>(picture.width), H = static_cast<float>(picture.height);
  const float a = horizon.Scaled();
  const float top = H * (1.0f - a);
  if (mirror.vertices.Lock()) {
    // The band of height aH below the horizon shows the band of the same height above it,
    // upside down.
    const float corners[6][4] = {{0, top, 0, 1 - a}, {0, H, 0, 1 - 2 * a}, {W, H, 1, 1 - 2 * a},
                                 {0, top, 0, 1 - a}, {W, H, 1, 1 - 2 * a}, {W, top, 1, 1 - a}};
    auto* v = static_cast<MirrorVertex*>(mirror.vertices.locked);
    for (int i = 0; i < 6; ++i) {
      v[i].x = corners[i][0];
      v[i].y = corners[i][1];
      v[i].z = 0.0f;
      v[i].u = corners[i][2];
      v[i].v = corners[i][3];
    }
    mirror.vertices.Unlock();
  }
  if (waterQuad.vertices.Lock()) {
    waterQuad.SetRect({0.0f, top, W, a * H});
    waterQuad.vertices.Unlock();
  }
  if (horizonQuad.vertices.Lock()) {
    const float strip = static_cast<float>(horizonStrip.Value());
    horizonQuad.SetRect({0.0f, top, std::trunc(W), -strip});
    horizonQuad.vertices.Unlock();
  }
}

void FakeLake2D::ResetDeviceState() {
  if (gfx::Device* d = CurrentDevice()) {
    d->SetRenderState(RenderState::ZEnable, 0);
    d->SetRenderState(RenderState::ZWriteEnable, 0);
    d->SetRenderState(RenderState::CullMode, gfx::Cull::None);
    const D3DXMATRIX identity = IdentityMatrix();
    d->SetTransform(gfx::TransformState::World, &identity);
    d->SetRenderState(RenderState::Lighting, 0);
    auto unlitStates = [d] {
      d->SetRenderState(RenderState::Ambient, 0xFFFFFFFF);
      d->SetRenderState(RenderState::DitherEnable, 1);
      d->SetRenderState(RenderState::SpecularEnable, 0);
    };
    auto modulate = [d] {
      d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
      d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
      d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
    };
    unlitStates();
    modulate();
    for (uint32_t sampler = 0; sampler < 2; ++sampler) {
      d->SetSamplerState(sampler, SamplerState::MinFilter, gfx::TextureFilter::Linear);
      d->SetSamplerState(sampler, SamplerState::MagFilter, gfx::TextureFilter::Linear);
      SetAddress(d, sampler, gfx::TextureAddress::Mirror);
    }
    d->SetTextureStageState(1, TextureStageState::TexCoordIndex, 1);
    d->SetTextureStageState(0, TextureStageState::TexCoordIndex, 0);
    d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Current);
    d->SetTextureStageState(1, TextureStageState::ColorArg1, TextureArg::Texture);
    d->SetRenderState(RenderState::SrcBlend, gfx::Blend::SrcAlpha);
    d->SetRenderState(RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
    SetupBumpStage();
    unlitStates();
    modulate();
    d->SetTextureStageState(1, TextureStageState::TextureTransformFlags,
                            gfx::TextureTransform::Disable);
    d->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::Disable);
  }
  if (DS_DocResManager* document = CurrentDocument()) document->OnResetDevice();
  CreateTargets();
}

void FakeLake2D::SetupBumpStage() {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  d->SetTexture(0, bumpMap.Get());
  SetAddress(d, 0, gfx::TextureAddress::Clamp);
  const TextureStageState matrix[4] = {
      TextureStageState::BumpEnvMat00, TextureStageState::BumpEnvMat01,
      TextureStageState::BumpEnvMat10, TextureStageState::BumpEnvMat11};
  for (int i = 0; i < 4; ++i) {
    uint32_t bits = 0;
    std::memcpy(&bits, &bumpMatrix[i], sizeof bits);
    d->SetTextureStageState(0, matrix[i], bits);
  }
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::BumpEnvMap);
  d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Current);
  d->SetTexture(1, reflectionCopy.Get());
  d->SetTextureStageState(1, TextureStageState::ColorArg1, TextureArg::Texture);
  d->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::SelectArg1);
}

void FakeLake2D::Update(float t) {
  DS_2D_Light::Update(t);
  waveSpeed.Advance(t);
  const float g = waveSpeed.localTime * 4.5f;
  bumpMatrix = {0.04f * std::cos(g), -0.04f * std::sin(g), 0.04f * std::sin(g),
                0.04f * std::cos(g)};
}

void FakeLake2D::DrawBackground(void* context) {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr) return;
  d->Clear(0, nullptr, gfx::ClearFlags::ZBuffer, 0, 1.0f, 0);
  DS_2D_Light::DrawBackground(context);
  SetViewProjection();
  if (RenderContext* render = RenderContextTlsSlot::Get())
    render->SetWorldTransform(mirror.node.world);
  d->SetStreamSource(0, mirror.vertices.buffer.Get(), 0, sizeof(MirrorVertex));
  SetupBumpStage();
  d->SetVertexShader(nullptr);
  d->SetFVF(kMirrorFvf);
  d->SetTextureStageState(1, TextureStageState::TexCoordIndex, 1);
  if (mirror.vertices.buffer) d->DrawPrimitive(gfx::PrimitiveType::TriangleList, 0, 2);
  d->SetTexture(1, nullptr);
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::SelectArg1);
  d->SetTextureStageState(1, TextureStageState::ColorOp, TextureOp::Disable);
  DrawColorQuad(waterQuad);
  DrawColorQuad(horizonQuad);
}

void FakeLake2D::DrawCustom(CustomDrawable& drawable, void* argument) {
  gfx::Device* d = CurrentDevice();
  if (d != nullptr) SetAddress(d, 0, gfx::TextureAddress::Wrap);
  DS_2D_Light::DrawCustom(drawable, argument);
  if (d != nullptr) SetAddress(d, 0, gfx::TextureAddress::Clamp);
}

void FakeLake2D::DrawSpriteLayer(const SpriteLayer& layer) {
  DS_2D_Light::DrawSpriteLayer(layer);
  if (gfx::Device* d = CurrentDevice())
    d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::SelectArg1);
}
