#include <gtest/gtest.h>

#include "core/crt_rand.h"
#include "player/document/scene_view.h"
#include "renderer_fixture.h"
#include "renderers/matrix_code/ds_matrix_code_light.h"

namespace renderer_test {
namespace {

class MatrixCodeTest : public RendererTest {
 protected:
  MatrixCodeTest() : RendererTest(64, 64) {}

  // A glyph strip of solid white glyphs, 8 units wide and 32 high: six glyphs.
  gfx::Texture* ProvideSolidGlyphs(const DS_MatrixCodeLight& renderer) {
    return ProvidePicture(renderer.glyphLink, 8, 32, 0xFFFFFFFF);
  }

  // Every cell lit with glyph 1, steady, none flickering; the drops held back (a long way to go,
  // pushing from the top), so that frames keep the grid full.
  static void FillGrid(DS_MatrixCodeLight& renderer) {
    GlyphGrid& grid = *renderer.grid;
    grid.flickerCount = 1;
    for (uint32_t& cell : grid.cells)
      cell = 1;
    for (GlyphGrid::Drop& drop : grid.drops)
      drop = {1000, 1000, -1};
  }

  // The indexed quad draws logged so far with `texture` on stage 0 (the glyph batches).
  std::vector<size_t> DrawsWith(const gfx::Texture* texture) {
    std::vector<size_t> at;
    for (size_t i = 0; i < Log().size(); ++i)
      if (Log()[i].kind == gfx::FrameLogEntry::Kind::Draw && Log()[i].indexed &&
          Log()[i].stride == 24 && Log()[i].textures[0] == texture->Id())
        at.push_back(i);
    return at;
  }
};

TEST_F(MatrixCodeTest, RecordsOfEveryVersion) {
  DS_MatrixCodeLight renderer;
  renderer.cellSize.SetValue(12);
  renderer.density.SetValue(40);
  renderer.flickerCount.SetValue(7);
  renderer.glitch.SetValue(1);
  renderer.backgroundMode.SetValue(1);
  renderer.startMode.SetValue(0);
  renderer.glyphColour.SetValue(0x00FF00);
  renderer.headColour.SetValue(0xCCFFCC);
  renderer.transparency.SetValue(25);
  renderer.glyphLink = DS_ImageFileLink(u"glyphs.png", 3);
  renderer.layer.SetValue(1);
  const auto bytes = Written([&](DS_IOF_Archive& a) { renderer.Save(a); });
  auto back = ReadRenderer(bytes);
  auto* read = dynamic_cast<DS_MatrixCodeLight*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->cellSize.Value(), 12u);
  EXPECT_EQ(read->density.Value(), 40u);
  EXPECT_EQ(read->flickerCount.Value(), 7u);
  EXPECT_EQ(read->glitch.Value(), 1);
  EXPECT_EQ(read->backgroundMode.Value(), 1);
  EXPECT_EQ(read->startMode.Value(), 0);
  EXPECT_EQ(read->glyphColour.Value(), 0x00FF00u);
  EXPECT_EQ(read->headColour.Value(), 0xCCFFCCu);
  EXPECT_FLOAT_EQ(read->transparency.Scaled(), 0.75f) << "the opacity follows";
  EXPECT_EQ(read->glyphLink.name, u"glyphs.png");
  EXPECT_EQ(read->layer.Value(), 1);
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { read->Save(a); }), bytes);

  // Version 1 has no glyph picture, version 2 no layer: the defaults stay.
  for (uint32_t version : {1u, 2u}) {
    const auto old = Written([&](DS_IOF_Archive& a) {
      a.io().WriteWideString(u"DS_MatrixCodeLight");
      a.io().WriteDword(version);
      for (uint32_t value : {8u, 30u, 5u})
        a.io().WriteUInt32(value);
      for (int32_t value : {0, 2, 1})
        a.io().WriteInt32(value);
      a.io().WriteDword(0x112233);
      a.io().WriteDword(0x445566);
      a.io().WriteUInt32(10);
      if (version == 2) WriteFileLink(a, DS_ImageFileLink(u"strip.png", 4));
      DS_2D_Light().Save(a);
    });
    back = ReadRenderer(old);
    read = dynamic_cast<DS_MatrixCodeLight*>(back.get());
    ASSERT_NE(read, nullptr) << version;
    EXPECT_EQ(read->cellSize.Value(), 8u);
    EXPECT_EQ(read->backgroundMode.Value(), 2);
    EXPECT_EQ(read->headColour.Value(), 0x445566u);
    EXPECT_FLOAT_EQ(read->transparency.Scaled(), 0.9f);
    EXPECT_EQ(read->glyphLink.name, version == 1 ? u"glimres.dll" : u"strip.png");
    EXPECT_EQ(read->glyphLink.id, version == 1 ? 40 : 4);
    EXPECT_EQ(read->layer.Value(), 0);
  }
}

TEST_F(MatrixCodeTest, OneQuadPerCellInBatchesOfAtMost16383) {
  DS_MatrixCodeLight renderer;
  gfx::Texture* glyphs = ProvideSolidGlyphs(renderer);
  StartSlideOn(renderer, 640, 480, 0xFF000000);
  EXPECT_EQ(GetSceneView()->pictureWidth, 640u);
  EXPECT_EQ(renderer.quadCount, 1271u) << "41 x 31 cells";
  ASSERT_EQ(renderer.batches.size(), 1u);
  EXPECT_EQ(renderer.batches[0].quads.QuadCapacity(), 1271u);
  EXPECT_EQ(renderer.batches[0].texture.Get(), glyphs);
  EXPECT_EQ(renderer.settings.glyphCount, 6) << "32 / 8 + 2";

  // 200 x 100 cells: two batches.
  DS_MatrixCodeLight large;
  glyphs = ProvideSolidGlyphs(large);
  large.cellSize.SetValue(1);
  StartSlideOn(large, 199, 99, 0xFF000000);
  EXPECT_EQ(large.quadCount, 20000u);
  ASSERT_EQ(large.batches.size(), 2u);
  EXPECT_EQ(large.batches[0].quads.QuadCapacity(), 16383u);
  EXPECT_EQ(large.batches[1].quads.QuadCapacity(), 3617u);
  EXPECT_EQ(large.batches[1].texture.Get(), glyphs) << "every batch takes the glyph strip";

  // A frame fills every quad and draws each batch once.
  ClearLog();
  Frame(large);
  EXPECT_EQ(DrawsWith(glyphs).size(), 2u);

  // A new fit mode empties the grid.
  FillGrid(large);
  large.SetFitMode(2);
  EXPECT_EQ(large.grid->cells[0], 0u);
  EXPECT_EQ(large.quadCount, 20000u);
}

TEST_F(MatrixCodeTest, SettingsKeepTheCellSizeAndTheDensityInRange) {
  for (const auto& [cell, density, usedCell, divisor] :
       {std::tuple{0u, 0u, 1, 85}, {16u, 200u, 16, 1}, {4u, 17u, 4, 45}}) {
    DS_MatrixCodeLight renderer;
    renderer.cellSize.SetValue(cell);
    renderer.density.SetValue(density);
    ProvideSolidGlyphs(renderer);
    StartSlideOn(renderer, 64, 64, 0xFF000000);
    EXPECT_EQ(renderer.settings.cellSize, usedCell);
    EXPECT_EQ(renderer.grid->DropChanceDivisor(), divisor) << density;
  }
}

TEST_F(MatrixCodeTest, TheLuminanceTableReadsBlueGreenRedOfA32BitCopy) {
  for (const auto& [colour, brightness] :
       {std::pair{0xFFFF0000u, 0.299f}, {0xFF00FF00u, 0.587f}, {0xFF0000FFu, 0.114f}}) {
    DS_MatrixCodeLight renderer;
    renderer.backgroundMode.SetValue(1);
    ProvideSolidGlyphs(renderer);
    StartSlideOn(renderer, 64, 64, colour);
    ASSERT_EQ(renderer.luminance.size(), 65536u);
    EXPECT_NEAR(renderer.luminance[0], brightness, 0.01f) << std::hex << colour;
    EXPECT_NEAR(renderer.luminance[65535], brightness, 0.01f);
    renderer.backgroundMode.SetValue(0);
    renderer.BuildLuminanceTable();
    EXPECT_TRUE(renderer.luminance.empty()) << "mode 0 has none";
  }
}

TEST_F(MatrixCodeTest, OverBlackGlyphsShowOnlyWhereThePictureIsBright) {
  DS_MatrixCodeLight renderer;
  renderer.backgroundMode.SetValue(1);
  renderer.cellSize.SetValue(4);
  renderer.flickerCount.SetValue(1);
  renderer.glyphColour.SetValue(0xFFFFFF);
  renderer.headColour.SetValue(0xFFFFFF);
  ProvideSolidGlyphs(renderer);
  // The left half white, the right half black.
  renderer.backgroundLink = DS_ImageFileLink(u"pictures.dll", 9);
  ProvidePicture(renderer.backgroundLink, 64, 64, 64, 64,
                 Stripes(64, 64, 32, 0xFFFFFFFF, 0xFF000000));
  StartSlide(renderer);
  FillGrid(renderer);
  crt_srand(1);
  Frame(renderer);
  const auto shown = BackBufferPixels();
  for (int y : {2, 30, 61}) {
    for (int x : {2, 12, 22})
      EXPECT_LE(MaxDifference({shown[y * 64 + x] | 0xFF000000}, {0xFFFFFFFF}), 2) << x << ", " << y;
    for (int x : {42, 52, 62})
      EXPECT_EQ(shown[y * 64 + x] & 0xFFFFFF, 0u) << x << ", " << y;
  }
}

TEST_F(MatrixCodeTest, TheGlyphsTakeTheirColourAndOpacityByBrightness) {
  DS_MatrixCodeLight renderer;
  renderer.glyphColour.SetValue(0x00FF00);  // green
  renderer.headColour.SetValue(0x0000FF);   // red
  renderer.transparency.SetValue(20);
  ProvideSolidGlyphs(renderer);
  StartSlideOn(renderer, 64, 64, 0xFF000000);
  GlyphGrid::VisibleCell cell;
  cell.x = cell.y = 8.0f;
  cell.halfSize = 8.0f;
  cell.top = 0.25f;
  cell.bottom = 0.5f;
  DX_V::PCT quad[4];
  for (const auto& [brightness, colour] :
       {std::pair{2, 0xCCFF0000u}, {1, 0xCC00FF00u}, {0, 0x6600FF00u}}) {
    cell.brightness = brightness;
    renderer.WriteGlyphQuad(cell, quad);
    for (const DX_V::PCT& v : quad)
      EXPECT_EQ(v.diffuse, colour) << brightness;
  }
  EXPECT_FLOAT_EQ(quad[0].x, 0.0f);
  EXPECT_FLOAT_EQ(quad[0].y, 16.0f);
  EXPECT_FLOAT_EQ(quad[0].v, 0.5f) << "bottom-left shows the glyph's bottom";
  EXPECT_FLOAT_EQ(quad[3].x, 16.0f);
  EXPECT_FLOAT_EQ(quad[3].v, 0.25f);
  EXPECT_FLOAT_EQ(quad[3].u, 1.0f);
  // Past the last lit cell a quad keeps its place but loses its alpha.
  cell.colourMask = 0x00FFFFFF;
  renderer.WriteGlyphQuad(cell, quad);
  EXPECT_EQ(quad[0].diffuse, 0x0000FF00u);
}

TEST_F(MatrixCodeTest, LayerOneDrawsTheGlyphsAfterTheObjectsAndModeTwoDrawsNoPicture) {
  for (int layer : {0, 1}) {
    DS_MatrixCodeLight renderer;
    renderer.layer.SetValue(layer);
    renderer.glyphColour.SetValue(0xFFFFFF);
    gfx::Texture* glyphs = ProvideSolidGlyphs(renderer);
    StartSlideOn(renderer, 64, 64, 0xFF0000FF);
    FillGrid(renderer);
    const RuntimeObjectList objects = {DS_SafePtr<ZKW_RenderObj>(std::make_unique<RedSquare>())};
    ClearLog();
    Frame(renderer, objects);
    const auto glyphDraws = DrawsWith(glyphs);
    ASSERT_EQ(glyphDraws.size(), 1u) << layer;
    size_t object = 0;
    for (size_t i = 0; i < Log().size(); ++i)
      if (Log()[i].kind == gfx::FrameLogEntry::Kind::Draw && Log()[i].vertexCount == 6) object = i;
    ASSERT_NE(object, 0u);
    EXPECT_EQ(glyphDraws[0] > object, layer == 1) << layer;
    // Under the object's quad: the object over the glyphs, or the glyphs over the object.
    EXPECT_EQ(BackBufferPixels()[32 * 64 + 32], layer == 1 ? 0xFFFFFFFFu : 0xFFFF0000u);
  }

  // Mode 2: nothing under the glyphs, which alone are drawn.
  DS_MatrixCodeLight bare;
  bare.backgroundMode.SetValue(2);
  gfx::Texture* glyphs = ProvideSolidGlyphs(bare);
  StartSlideOn(bare, 64, 64, 0xFF0000FF);
  device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF00FF00, 1, 0);
  ClearLog();
  Frame(bare);
  EXPECT_EQ(DrawsWith(glyphs).size(), 1u);
  for (const auto& entry : Log())
    EXPECT_NE(entry.stride, 20u) << "no picture quad";
  EXPECT_EQ(BackBufferPixels()[32 * 64 + 32], 0xFF00FF00u) << "what the target held";
}

TEST_F(MatrixCodeTest, AGlyphPictureWithoutWidthGivesNoGlyphsButThePicture) {
  DS_MatrixCodeLight renderer;
  gfx::Texture* glyphs = ProvidePicture(renderer.glyphLink, 0, 32, 0xFFFFFFFF);
  StartSlideOn(renderer, 64, 64, 0xFF0000FF);
  EXPECT_EQ(renderer.settings.glyphCount, 0);
  for (int frame = 0; frame < 5; ++frame)
    Frame(renderer);
  EXPECT_TRUE(DrawsWith(glyphs).empty());
  for (uint32_t cell : renderer.grid->cells)
    EXPECT_EQ(cell & 0xFF, 0u);
  EXPECT_EQ(BackBufferPixels()[32 * 64 + 32], 0xFF0000FFu);
}

}  // namespace
}  // namespace renderer_test
