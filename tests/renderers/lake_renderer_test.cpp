#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "core/link/link_key.h"
#include "platform/gfx/image/dds_reader.h"
#include "platform/gfx/image/dds_writer.h"
#include "renderer_fixture.h"
#include "renderers/lake/fake_lake_2d.h"

namespace renderer_test {
namespace {

// A V8U8 bump map of one displacement everywhere.
std::vector<uint8_t> BumpFile(int8_t du, int8_t dv) {
  gfx::image::DdsImage bump{gfx::Format::V8U8, 4, 4, {{}}};
  for (int i = 0; i < 16; ++i)
    bump.levels[0].insert(bump.levels[0].end(), {uint8_t(du), uint8_t(dv)});
  return gfx::image::WriteDds(bump);
}

class LakeTest : public RendererTest {
 protected:
  static constexpr int kHorizon = 40;  // the default horizon, 0.625 of 64 rows

  LakeTest() : RendererTest(64, 64) {}

  void SetUp() override {
    RendererTest::SetUp();
    ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), 64, 64, 64, 64, Ramp());
    DS_2D_Light plain;
    StartSlide(plain);
    Frame(plain);
    picture_ = BackBufferPixels();
  }

  // Stores a picture file under the lake's GUID, as a project does.
  void StoreBump(const FakeLake2D& lake, const std::vector<uint8_t>& file) {
    Doc().framesByLink[GuidLinkKey(lake.bumpKey.guid)] = {
        PictureFrame{SharedBytes::CopyOf(file), 0.0f, {}}};
  }

  std::vector<uint32_t> FrameAt(DS_2D_Light& renderer, float t) {
    renderer.Update(t);
    Frame(renderer);
    return BackBufferPixels();
  }

  // The colour words of a quad's four vertices.
  static std::vector<uint32_t> Colours(ColorQuadMesh& quad) {
    std::vector<uint32_t> out;
    if (!quad.vertices.Lock()) return out;
    for (int i = 0; i < 4; ++i) {
      uint32_t colour = 0;
      std::memcpy(&colour, static_cast<uint8_t*>(quad.vertices.locked) + 16 * i + 12, 4);
      out.push_back(colour);
    }
    quad.vertices.Unlock();
    return out;
  }

  static std::vector<FakeLake2D::MirrorVertex> Mirror(FakeLake2D& lake) {
    std::vector<FakeLake2D::MirrorVertex> out(6);
    if (!lake.mirror.vertices.Lock()) return {};
    std::memcpy(out.data(), lake.mirror.vertices.locked, 6 * sizeof(FakeLake2D::MirrorVertex));
    lake.mirror.vertices.Unlock();
    return out;
  }

  std::vector<uint32_t> picture_;  // the ramp as the plain renderer shows it
};

TEST_F(LakeTest, RecordsOfBothVersions) {
  FakeLake2D lake;
  EXPECT_FALSE(lake.bumpKey.guid.IsNull());
  EXPECT_NE(FakeLake2D().bumpKey.guid, lake.bumpKey.guid) << "a new GUID for each lake";
  lake.bumpTiling.SetValue(200);
  lake.waveSpeed.SetValue(25);
  lake.horizon.SetValue(40);
  lake.bumpFade.SetValue(10);
  lake.colourStrength.SetValue(50);
  lake.colourFade.SetValue(20);
  lake.bumpAmplitude.SetValue(3);
  lake.horizonStrip.SetValue(12);
  lake.reflectionSize.SetValue(2);
  lake.lakeColour.SetValue(0x123456);
  lake.bumpKey.name = u"ripples";
  lake.keep = false;
  const auto bytes = Written([&](DS_IOF_Archive& a) { lake.Save(a); });
  auto back = ReadRenderer(bytes);
  auto* read = dynamic_cast<FakeLake2D*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_FLOAT_EQ(read->bumpTiling.Scaled(), 2.0f) << "the scaled values follow";
  EXPECT_FLOAT_EQ(read->waveSpeed.Scaled(), 0.5f);
  EXPECT_FLOAT_EQ(read->horizon.Scaled(), 0.3f);
  EXPECT_FLOAT_EQ(read->bumpFade.Scaled(), 0.1f);
  EXPECT_FLOAT_EQ(read->colourStrength.Scaled(), 0.4f);
  EXPECT_FLOAT_EQ(read->colourFade.Scaled(), 0.2f);
  EXPECT_EQ(read->bumpAmplitude.Value(), 3u);
  EXPECT_EQ(read->horizonStrip.Value(), 12u);
  EXPECT_EQ(read->reflectionSize.Value(), 2);
  EXPECT_EQ(read->lakeColour.Value(), 0x123456u);
  EXPECT_EQ(read->bumpKey.guid, lake.bumpKey.guid);
  EXPECT_EQ(read->bumpKey.name, u"ripples");
  EXPECT_FALSE(read->keep);
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { read->Save(a); }), bytes);

  // Version 1 holds only the GUID, the name and the keep flag.
  const GUID guid = GUID::Create();
  const auto v1 = Written([&](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"FakeLake2D");
    a.io().WriteDword(1);
    a.WriteGuid(guid);
    a.io().WriteWideString(u"old");
    a.io().WriteBool(false);
    DS_2D_Light().Save(a);
  });
  back = ReadRenderer(v1);
  read = dynamic_cast<FakeLake2D*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->bumpKey.guid, guid);
  EXPECT_EQ(read->bumpKey.name, u"old");
  EXPECT_FALSE(read->keep);
  EXPECT_FLOAT_EQ(read->horizon.Scaled(), 0.375f);
  EXPECT_EQ(read->lakeColour.Value(), 0x408000u);
}

TEST_F(LakeTest, TheLakeLiesBelowTheHorizonAndMirrorsTheBandAboveIt) {
  FakeLake2D lake;
  StartSlide(lake);
  using V = FakeLake2D::MirrorVertex;
  const auto mirror = Mirror(lake);
  ASSERT_EQ(mirror.size(), 6u);
  // The band from 0.625 H to H shows the band from 0.25 H to 0.625 H, upside down.
  const float expected[6][4] = {{0, 40, 0, 0.625f}, {0, 64, 0, 0.25f},  {64, 64, 1, 0.25f},
                                {0, 40, 0, 0.625f}, {64, 64, 1, 0.25f}, {64, 40, 1, 0.625f}};
  const float bump[6][2] = {{0.01f, 0.01f}, {0.01f, 1}, {1, 1}, {0.01f, 0.01f}, {1, 1}, {1, 0.01f}};
  for (int i = 0; i < 6; ++i) {
    const V& v = mirror[i];
    EXPECT_FLOAT_EQ(v.x, expected[i][0]) << i;
    EXPECT_FLOAT_EQ(v.y, expected[i][1]) << i;
    EXPECT_FLOAT_EQ(v.u, expected[i][2]) << i;
    EXPECT_FLOAT_EQ(v.v, expected[i][3]) << i;
    EXPECT_FLOAT_EQ(v.bumpU, bump[i][0]) << i;
    EXPECT_FLOAT_EQ(v.bumpV, bump[i][1]) << i;
  }

  // Horizon raw 100: a water band of no height.
  lake.horizon.SetValue(100);
  lake.Layout();
  for (const V& v : Mirror(lake))
    EXPECT_FLOAT_EQ(v.y, 64.0f);

  // The reflection copy is 256 x 256 at size 1, 128 x 128 at size 0.
  ASSERT_TRUE(lake.reflectionCopy);
  EXPECT_EQ(lake.reflectionCopy->Width(), 256u);
  lake.reflectionSize.SetValue(0);
  lake.RefreshView();
  EXPECT_EQ(lake.reflectionCopy->Height(), 128u);

  // The lake colour 0x408000 (red 0, green 0x80, blue 0x40) is drawn as 0x008040; the water
  // is strongest at the bottom, the strip above the horizon fades out upwards.
  const uint32_t m = AlphaByte(0.248f), faded = AlphaByte(0.248f * 0.42f);
  const auto water = Colours(lake.waterQuad), strip = Colours(lake.horizonQuad);
  ASSERT_EQ(water.size(), 4u);
  ASSERT_EQ(strip.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(water[i] & 0xFFFFFF, 0x008040u);
    EXPECT_EQ(strip[i] & 0xFFFFFF, 0x008040u);
  }
  // Strip order: bottom-left, top-left, bottom-right, top-right.
  EXPECT_EQ(water[0] >> 24, m);
  EXPECT_EQ(water[1] >> 24, faded);
  EXPECT_EQ(strip[0] >> 24, 0u);
  EXPECT_EQ(strip[1] >> 24, faded);
}

TEST_F(LakeTest, TheBumpMatrixTurnsWithThePhase) {
  FakeLake2D lake;
  for (int i = 0; i <= 10; ++i)
    lake.Update(0.1f * float(i));
  const float g = 4.5f;  // one second at speed 1.0
  EXPECT_NEAR(lake.bumpMatrix[0], 0.04f * std::cos(g), 1e-6f);
  EXPECT_NEAR(lake.bumpMatrix[1], -0.04f * std::sin(g), 1e-6f);
  EXPECT_NEAR(lake.bumpMatrix[2], 0.04f * std::sin(g), 1e-6f);
  EXPECT_NEAR(lake.bumpMatrix[3], 0.04f * std::cos(g), 1e-6f);
  lake.Update(2.1f);
  EXPECT_NEAR(lake.waveSpeed.localTime, 1.2f, 1e-5f) << "a gap of a second steps 0.2 s";
}

TEST_F(LakeTest, WithoutABumpMapTheLakeIsAStillMirrorUnderItsColour) {
  FakeLake2D lake;
  lake.colourStrength.SetValue(0);
  StartSlide(lake);
  ASSERT_FALSE(lake.bumpMap);
  const auto mirrored = FrameAt(lake, 0.5f);
  for (int y = 0; y < kHorizon; ++y)
    for (int x = 0; x < 64; ++x)
      ASSERT_EQ(mirrored[y * 64 + x], picture_[y * 64 + x]) << x << ", " << y;
  // Row 40 + k shows row 39 - k.
  for (int k = 0; k < 24; ++k)
    for (int x = 2; x < 62; x += 3)
      ASSERT_LE(MaxDifference({mirrored[(kHorizon + k) * 64 + x]},
                              {picture_[(kHorizon - 1 - k) * 64 + x]}),
                4)
          << x << ", " << kHorizon + k;

  // With its colour, the water blends towards 0x008040 by an alpha that grows from the horizon
  // (0.104) to the bottom (0.248); the strip above the horizon fades in to meet it.
  FakeLake2D tinted;
  StartSlide(tinted);
  const auto shown = FrameAt(tinted, 0.5f);
  const float m = AlphaByte(0.248f) / 255.0f, faded = AlphaByte(0.248f * 0.42f) / 255.0f;
  for (int y : {41, 52, 63}) {
    const float alpha = faded + (m - faded) * (float(y) + 0.5f - kHorizon) / 24.0f;
    for (int x : {4, 32, 60}) {
      const uint32_t under = mirrored[y * 64 + x], got = shown[y * 64 + x];
      for (const auto& [shift, tint] : {std::pair{16, 0x00}, {8, 0x80}, {0, 0x40}}) {
        const float want = float(Channel(under, shift)) * (1 - alpha) + float(tint) * alpha;
        EXPECT_NEAR(float(Channel(got, shift)), want, 3.0f) << x << ", " << y << " >> " << shift;
      }
    }
  }
  EXPECT_EQ(shown[32 * 64 + 60], picture_[32 * 64 + 60]) << "above the strip";
  EXPECT_GT(MaxDifference({shown[39 * 64 + 60]}, {picture_[39 * 64 + 60]}), 10) << "the strip";
}

TEST_F(LakeTest, ARippleMapMovesTheMirrorAsItsMatrixTurns) {
  FakeLake2D lake;
  lake.colourStrength.SetValue(0);
  StoreBump(lake, BumpFile(127, 0));
  StartSlide(lake);
  ASSERT_TRUE(lake.bumpMap);
  EXPECT_EQ(lake.bumpMap->GetFormat(), gfx::Format::V8U8);
  const int x = 30, y = 50, mirrored = (2 * kHorizon - 1 - y) * 64 + x;

  // Phase 0: the displacement (1, 0) goes through 0.04 I, 0.04 of the copy's width to the
  // right: 2.56 pixels, 10 steps of the ramp's red.
  lake.Update(0.0f);
  Frame(lake);
  auto shown = BackBufferPixels();
  EXPECT_NEAR(float(Channel(shown[y * 64 + x], 16)), float(Channel(picture_[mirrored], 16)) + 10,
              3.0f);
  EXPECT_NEAR(float(Channel(shown[y * 64 + x], 8)), float(Channel(picture_[mirrored], 8)), 3.0f);
  for (int row = 0; row < kHorizon; ++row)
    ASSERT_EQ(shown[row * 64 + x], picture_[row * 64 + x]) << "the picture above stays";

  // A quarter turn (phase pi / 9): the same displacement moves the mirror up the copy instead.
  lake.Update(0.2f);
  lake.Update(std::numbers::pi_v<float> / 9.0f);
  Frame(lake);
  shown = BackBufferPixels();
  EXPECT_NEAR(float(Channel(shown[y * 64 + x], 16)), float(Channel(picture_[mirrored], 16)), 3.0f);
  EXPECT_NEAR(float(Channel(shown[y * 64 + x], 8)), float(Channel(picture_[mirrored], 8)) - 10,
              3.0f);
}

TEST_F(LakeTest, SavingKeepsTheBumpMapUnderTheGuid) {
  // A lake whose project stored its bump map: the same bytes go back, whether or not the bump
  // map was made.
  const std::vector<uint8_t> stored = BumpFile(10, -20);
  FakeLake2D loaded;
  StoreBump(loaded, stored);
  Written([&](DS_IOF_Archive& a) { loaded.Save(a); });
  auto staged = Doc().guidPictureTable.find(loaded.bumpKey);
  ASSERT_NE(staged, Doc().guidPictureTable.end());
  EXPECT_EQ(staged->second.bytes, stored);
  EXPECT_EQ(staged->first.flag, 1);
  Doc().guidPictureTable.clear();

  // A bump map without stored bytes is saved as a DDS file of itself.
  FakeLake2D made;
  gfx::Texture* texture = nullptr;
  ASSERT_EQ(device_->CreateTexture(2, 2, 1, 0, gfx::Format::V8U8, gfx::Pool::Managed, &texture),
            gfx::kOk);
  const int8_t texels[8] = {1, 2, 3, 4, -5, -6, 7, 8};
  ASSERT_EQ(texture->WriteLevel(0, texels, 4), gfx::kOk);
  made.bumpMap.Reset(texture);
  Written([&](DS_IOF_Archive& a) { made.Save(a); });
  staged = Doc().guidPictureTable.find(made.bumpKey);
  ASSERT_NE(staged, Doc().guidPictureTable.end());
  const auto file = gfx::image::ReadDds(staged->second.bytes);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->format, gfx::Format::V8U8);
  EXPECT_EQ(file->levels[0], std::vector<uint8_t>(texels, texels + 8));

  // Without either, nothing is staged.
  Doc().guidPictureTable.clear();
  FakeLake2D bare;
  Written([&](DS_IOF_Archive& a) { bare.Save(a); });
  EXPECT_TRUE(Doc().guidPictureTable.empty());
}

// A drawable that notes the texture addressing it was set up under.
class AddressProbe : public CustomDrawable {
 public:
  void Prepare(void*) override {
    ASSERT_EQ(CurrentDevice()->GetSamplerState(0, gfx::SamplerState::AddressU, &address), gfx::kOk);
  }
  const IndexedMesh& Mesh() const override { return mesh; }
  gfx::Texture* Texture() const override { return nullptr; }

  IndexedMesh mesh;
  uint32_t address = 0;
};

TEST_F(LakeTest, CustomDrawsWrapWhileTheySetUpAndLayersTakeTheirAlphaFromTheTexture) {
  FakeLake2D lake;
  StartSlide(lake);
  AddressProbe probe;
  lake.DrawCustom(probe, nullptr);
  EXPECT_EQ(probe.address, gfx::TextureAddress::Wrap);
  uint32_t address = 0;
  ASSERT_EQ(device_->GetSamplerState(0, gfx::SamplerState::AddressV, &address), gfx::kOk);
  EXPECT_EQ(address, gfx::TextureAddress::Clamp);
  lake.DrawSpriteLayer(TestLayer());
  uint32_t alphaOp = 0;
  ASSERT_EQ(device_->GetTextureStageState(0, gfx::TextureStageState::AlphaOp, &alphaOp), gfx::kOk);
  EXPECT_EQ(alphaOp, gfx::TextureOp::SelectArg1);
}

}  // namespace
}  // namespace renderer_test
