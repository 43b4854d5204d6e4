#include "renderers/matrix_code/ds_matrix_code_light.h"

#include <algorithm>

#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/document/scene_view.h"
#include "player/render/quad_blocks.h"
#include "player/render/render_context.h"
#include "player/render/texture_helpers.h"

namespace {

using gfx::RenderState, gfx::TextureStageState, gfx::TextureOp;

constexpr uint32_t kLuminanceSize = 256;

}  // namespace

bool DS_MatrixCodeLight::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_MatrixCodeLight", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(cellSize.Value());
  io.WriteUInt32(density.Value());
  io.WriteUInt32(flickerCount.Value());
  io.WriteInt32(glitch.Value());
  io.WriteInt32(backgroundMode.Value());
  io.WriteInt32(startMode.Value());
  io.WriteDword(glyphColour.Value());
  io.WriteDword(headColour.Value());
  io.WriteUInt32(transparency.Value());
  RegisterSavedLinkWithDocument(glyphLink);
  WriteFileLink(archive, glyphLink);
  io.WriteInt32(layer.Value());
  return DS_2D_Light::Save(archive);
}

void DS_MatrixCodeLight::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(cellSize.RawValue());
  io.ReadUInt32(density.RawValue());
  io.ReadUInt32(flickerCount.RawValue());
  io.ReadInt32(glitch.RawValue());
  io.ReadInt32(backgroundMode.RawValue());
  io.ReadInt32(startMode.RawValue());
  io.ReadDword(glyphColour.RawValue());
  io.ReadDword(headColour.RawValue());
  // Through the parameter, so that the opacity follows.
  ReadChangedUInt32(archive, transparency);
  if (version > 1) ReadFileLink(archive, glyphLink);
  if (version > 2) io.ReadInt32(layer.RawValue());
  DS_2D_Light::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_MatrixCodeLight::Prepare() {
  DS_2D_Light::Prepare();
  QuadCorners unit;
  unit.SetRect(0.0f, 0.0f, 1.0f, 1.0f);
  SetViewQuad(unit);
  TextureRef glyphs;
  if (DS_DocResManager* document = CurrentDocument())
    MakeTextureRef(document->GetImageTextures(glyphLink), glyphs);
  // Glyphs stacked in a strip as wide as one glyph; a strip without width holds none.
  settings.glyphCount =
      glyphs.width > 0 ? static_cast<int>(std::min<uint32_t>(glyphs.height / glyphs.width, 253)) + 2
                       : 0;
  if (batches.empty()) batches.resize(1);
  for (GlyphBatch& batch : batches)
    batch.texture = glyphs.texture;
  settings.cellSize = static_cast<int>(std::clamp<unsigned>(cellSize.Value(), 1, 1u << 30));
  settings.density = static_cast<int>(std::clamp<unsigned>(density.Value(), 1, 100));
  settings.flickerCount = flickerCount.Value();
  settings.glitch = glitch.Value();
  settings.startMode = startMode.Value();
  RebuildGrid();
  BuildQuads();
  BuildLuminanceTable();
}

void DS_MatrixCodeLight::RebuildGrid() {
  const SceneView& view = *GetSceneView();
  grid = std::make_unique<GlyphGrid>(view.pictureWidth, view.pictureHeight, settings);
}

void DS_MatrixCodeLight::BuildQuads() {
  quadCount = grid ? grid->CellCount() : 0;
  ComRef<gfx::Texture> texture = batches.empty() ? ComRef<gfx::Texture>() : batches[0].texture;
  batches.resize(quadCount / kQuadsPerBatch + 1);
  for (size_t i = 0; i < batches.size(); ++i) {
    batches[i].texture = texture;
    batches[i].quads.InitQuads(
        std::min<uint32_t>(quadCount - kQuadsPerBatch * uint32_t(i), kQuadsPerBatch));
  }
}

void DS_MatrixCodeLight::BuildLuminanceTable() {
  if (backgroundMode.Value() == 0) luminance.clear();
  if (backgroundMode.Value() != 1) return;
  luminance.clear();
  // A 32-bit copy, read as blue, green, red and a spare byte per texel.
  ComRef<gfx::Texture> copy;
  CopyTexture(picture.texture.Get(), copy, kLuminanceSize, kLuminanceSize, gfx::Format::X8R8G8B8);
  std::vector<uint8_t> texels;
  uint32_t pitch = 0;
  if (!copy || gfx::Failed(copy->ReadLevel(0, &texels, &pitch)) || pitch < 4 * kLuminanceSize ||
      texels.size() < size_t(pitch) * kLuminanceSize)
    return;
  luminance.resize(kLuminanceSize * kLuminanceSize);
  for (uint32_t y = 0; y < kLuminanceSize; ++y) {
    const uint8_t* row = texels.data() + size_t(y) * pitch;
    for (uint32_t x = 0; x < kLuminanceSize; ++x) {
      const uint8_t* bgrx = row + 4 * x;
      luminance[y * kLuminanceSize + x] =
          0.299f * bgrx[2] / 255.0f + 0.587f * bgrx[1] / 255.0f + 0.114f * bgrx[0] / 255.0f;
    }
  }
}

void DS_MatrixCodeLight::WriteGlyphQuad(const GlyphGrid::VisibleCell& cell, DX_V::PCT* quad) const {
  const float x = cell.x, y = cell.y, h = cell.halfSize;
  const float corners[4][4] = {{x - h, y + h, 0.0f, cell.bottom},
                               {x - h, y - h, 0.0f, cell.top},
                               {x + h, y + h, 1.0f, cell.bottom},
                               {x + h, y - h, 1.0f, cell.top}};
  const float opacity = transparency.Scaled();
  float alpha = cell.brightness == 0 ? opacity / 2 : opacity;
  if (backgroundMode.Value() == 1 && !luminance.empty() && cell.brightness < 2 && grid) {
    const uint64_t ly = uint64_t(kLuminanceSize) * cell.row / grid->rows;
    const uint64_t lx = uint64_t(kLuminanceSize) * cell.column / grid->columns;
    alpha = luminance[ly * kLuminanceSize + lx] * opacity;
  }
  const uint32_t rgb = cell.brightness == 2 ? headColour.Value() : glyphColour.Value();
  const uint32_t argb =
      uint32_t(AlphaByte(alpha)) << 24 | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
  for (int i = 0; i < 4; ++i)
    quad[i] = DX_V::PCT{corners[i][0],          corners[i][1], 0.0f,
                        argb & cell.colourMask, corners[i][2], corners[i][3]};
}

void DS_MatrixCodeLight::FillGlyphQuads(float t) {
  camera.Update(t);
  if (!grid || settings.glyphCount <= 0) return;
  grid->RestartPass();
  grid->AdvanceDrops(grid->previousVisible >= grid->CellCount());
  grid->StepGrid();
  std::vector<DX_V::PCT*> locked;
  for (GlyphBatch& batch : batches)
    locked.push_back(batch.quads.LockVertices());
  for (uint32_t i = 0; i < quadCount; ++i) {
    grid->NextVisibleCell(lastCell);
    const size_t b = i / kQuadsPerBatch;
    if (b < locked.size() && locked[b] != nullptr)
      WriteGlyphQuad(lastCell, locked[b] + 4 * size_t(i % kQuadsPerBatch));
  }
  for (size_t b = 0; b < batches.size(); ++b)
    if (locked[b] != nullptr) batches[b].quads.UnlockVertices();
}

void DS_MatrixCodeLight::DrawGlyphs() {
  gfx::Device* d = CurrentDevice();
  if (d == nullptr || settings.glyphCount <= 0) return;
  d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
  d->SetRenderState(RenderState::AlphaBlendEnable, 1);
  SetViewProjection();
  RenderContext* context = RenderContextTlsSlot::Get();
  // The glyphs lie on the picture: no object's depth parallax applies to them.
  const WithoutParallax atPictureDepth(context);
  if (context != nullptr) context->SetWorldTransform(background.node.world);
  for (const GlyphBatch& batch : batches) {
    const PCTSpriteArray& quads = batch.quads;
    if (!quads.vertices.buffer || !quads.indices || quads.primitiveCount == 0) continue;
    d->SetTexture(0, batch.texture.Get());
    d->SetIndices(quads.indices.Get());
    d->SetFVF(DX_V::PCT::kFvf);
    d->SetStreamSource(0, quads.vertices.buffer.Get(), 0, PCTSpriteArray::kStride);
    DrawIndexedQuads(*d, quads.primitiveType, quads.vertices.count, 0, quads.primitiveCount);
  }
  d->SetRenderState(RenderState::AlphaBlendEnable, 0);
}

void DS_MatrixCodeLight::Update(float t) {
  lastTime = t;
}

void DS_MatrixCodeLight::DrawBackground(void* context) {
  FillGlyphQuads(lastTime);
  if (backgroundMode.Value() == 0) {
    DS_2D_Light::DrawBackground(context);
  } else if (backgroundMode.Value() == 1) {
    if (gfx::Device* d = CurrentDevice())
      d->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
  }
  if (layer.Value() == 0) DrawGlyphs();
}

void DS_MatrixCodeLight::Compose(void* context) {
  if (layer.Value() == 1) DrawGlyphs();
  DS_2D_Light::Compose(context);
}

void DS_MatrixCodeLight::SetFitMode(int mode) {
  DS_2D_Light::SetFitMode(mode);
  RebuildGrid();
  BuildQuads();
}

void DS_MatrixCodeLight::RefreshView() {
  DS_2D_Light::RefreshView();
  BuildLuminanceTable();
  RebuildGrid();
  BuildQuads();
}

void DS_MatrixCodeLight::ResetDeviceState() {
  DS_2D_Light::ResetDeviceState();
  if (gfx::Device* d = CurrentDevice()) {
    d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
    d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
  }
}

void DS_MatrixCodeLight::DrawScreenQuad(const TexturedScreenQuad& quad) {
  DS_2D_Light::DrawScreenQuad(quad);
  if (gfx::Device* d = CurrentDevice())
    d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
}
