#include <gtest/gtest.h>

#include <cmath>

#include "core/link/link_key.h"
#include "platform/gfx_image/picture_bytes.h"

#include "player/render/matrix_values.h"
#include "renderer_fixture.h"
#include "renderers/brush/ds_fire_fx.h"
#include "renderers/brush/ds_underwater_fx.h"

namespace renderer_test {
namespace {

using BrushTest = RendererTest;

const GUID kMaskId = GUID::Parse(u"{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");

// A "DS_FX_Constructor" record of `version` with recognisable values, followed by the
// description's record of `description`.
void WriteFxRecord(DS_IOF_Archive& a, uint32_t version, const DS_FX_Constructor& description) {
  DS_IOF_Virtual& io = a.io();
  io.WriteWideString(u"DS_FX_Constructor");
  io.WriteDword(version);
  io.WriteUInt32(70);  // speed
  io.WriteInt32(2);    // mode
  a.WriteGuid(kMaskId);
  io.WriteWideString(u"mask");
  io.WriteBool(false);
  io.WriteWideString(u"effects.dll");
  io.WriteInt64(2101);
  if (version > 1) io.WriteUInt32(25);  // scale
  if (version > 2) {
    for (int i = 0; i < 12; ++i)
      io.WriteFloat(float(i));
    io.WriteInt32(9);  // quad tag
  }
  if (version > 3) io.WriteUInt32(40);  // angle
  description.DS_ABObj_Constructor::Save(a);
}

// Reads a brush record (header, then body) into `brush`.
template <class Brush>
void ReadBrush(std::vector<uint8_t> bytes, Brush& brush) {
  ReadArchive source(std::move(bytes));
  brush.ReadBody(source.archive(), ReadBaseHeader(source.archive()));
  EXPECT_FALSE(source.archive().Failed());
  EXPECT_EQ(source.Remaining(), 0u);
}

TEST_F(BrushTest, BaseRecordOfEveryVersion) {
  for (uint32_t version = 1; version <= 4; ++version) {
    SCOPED_TRACE(version);
    DS_UnderwaterFX written;
    written.name = u"ripple";
    const auto bytes = Written([&](DS_IOF_Archive& a) {
      a.io().WriteWideString(u"DS_UnderwaterFX");
      a.io().WriteDword(1);
      a.io().WriteUInt32(10);
      a.io().WriteUInt32(20);
      WriteFxRecord(a, version, written);
    });
    DS_UnderwaterFX brush;
    brush.angle.SetValue(30);  // an older record has no angle: it becomes 0
    ReadBrush(bytes, brush);
    EXPECT_EQ(brush.amplitude.Value(), 10u);
    EXPECT_EQ(brush.waveSize.Value(), 20u);
    EXPECT_FLOAT_EQ(brush.speed.Scaled(), 70.0f);
    EXPECT_EQ(brush.mode.Value(), 2);
    EXPECT_EQ(brush.maskId, kMaskId);
    EXPECT_EQ(brush.maskName, u"mask");
    EXPECT_EQ(brush.maskFlag, 0);
    EXPECT_EQ(brush.effectLink.name, u"effects.dll");
    EXPECT_EQ(brush.effectLink.id, 2101);
    EXPECT_FLOAT_EQ(brush.scale.Scaled(), version > 1 ? 0.5f : 1.0f);
    EXPECT_EQ(brush.maskQuad.corners[3].Value().z, version > 2 ? 11.0f : 0.0f);
    EXPECT_EQ(brush.quadTag.Value(), version > 2 ? 9 : 0);
    EXPECT_FLOAT_EQ(brush.angle.Scaled(), version > 3 ? 40 * 0.06283186f : 0.0f);
    EXPECT_EQ(brush.name, u"ripple");
  }
}

TEST_F(BrushTest, UnderwaterDefaultsAndRoundTrip) {
  DS_UnderwaterFX defaults;
  EXPECT_FLOAT_EQ(defaults.amplitude.Scaled(), 0.00625f);
  EXPECT_FLOAT_EQ(defaults.waveSize.Scaled(), 0.101f);
  EXPECT_FLOAT_EQ(defaults.speed.Scaled(), 25.0f);
  EXPECT_FLOAT_EQ(defaults.scale.Scaled(), 1.0f);
  EXPECT_EQ(defaults.effectLink.Key(), (LinkKey{u"glimres.dll", 88}));
  EXPECT_FALSE(defaults.maskId.IsNull());
  EXPECT_NE(defaults.maskId, DS_UnderwaterFX().maskId) << "every brush its own mask id";

  DS_UnderwaterFX brush;
  brush.amplitude.SetValue(7);
  brush.waveSize.SetValue(0);
  brush.maskQuad.SetRect(100, 50, D3DXVECTOR3(60, 45, 0));
  brush.quadTag.SetValue(3);
  brush.angle.SetValue(25);
  brush.depth.SetValue(80);
  const auto bytes = Written([&](DS_IOF_Archive& a) { brush.Save(a); });
  DS_UnderwaterFX back;
  ReadBrush(bytes, back);
  EXPECT_EQ(back.maskId, brush.maskId);
  EXPECT_FLOAT_EQ(back.waveSize.Scaled(), 0.001f);
  EXPECT_EQ(back.maskQuad.corners[3].Value().x, 110.0f);
  EXPECT_EQ(back.depth.Value(), 80u);
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { back.Save(a); }), bytes);
}

// The fire's own fields of a version-2 or version-3 record, then its base record.
std::vector<uint8_t> FireRecord(uint32_t version) {
  DS_FireFX base;  // supplies the base record
  return Written([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"DS_FireFX");
    io.WriteDword(version);
    if (version == 2) {
      for (int i = 0; i < 12; ++i)
        io.WriteFloat(float(i));
    }
    if (version >= 2) {
      io.WriteDword(0x00112233);
      io.WriteDword(0x00445566);
      io.WriteInt32(-4);
      for (int64_t id : {17, 18}) {
        io.WriteWideString(u"pictures.dll");
        io.WriteInt64(id);
      }
      if (version == 2) io.WriteInt32(6);
      io.WriteUInt32(50);
      io.WriteUInt32(40);
      io.WriteUInt32(25);
    }
    base.DS_FX_Constructor::Save(a);
  });
}

TEST_F(BrushTest, FireRecordOfEveryVersion) {
  const DS_FireFX defaults;
  EXPECT_EQ(defaults.patternLink.Key(), (LinkKey{u"glimres.dll", 93}));
  EXPECT_EQ(defaults.noiseLink.Key(), (LinkKey{u"glimres.dll", 8}));
  EXPECT_EQ(defaults.effectLink.Key(), (LinkKey{u"glimres.dll", 92}));
  EXPECT_FLOAT_EQ(defaults.speed.Scaled(), 1.0f);
  EXPECT_FLOAT_EQ(defaults.density.Scaled(), 0.0f);
  EXPECT_FLOAT_EQ(defaults.brightness.Scaled(), 0.3f);

  DS_FireFX v1;
  ReadBrush(FireRecord(1), v1);
  EXPECT_EQ(v1.firstColor.Value(), 0x0000FFFFu);
  EXPECT_EQ(v1.patternLink.id, 93);
  EXPECT_FLOAT_EQ(v1.stretch.Scaled(), 1.0f);

  for (uint32_t version : {2u, 3u}) {
    SCOPED_TRACE(version);
    DS_FireFX fire;
    fire.maskQuad.SetRect(2, 2, D3DXVECTOR3(50, 50, 0));
    fire.quadTag.SetValue(1);
    ReadBrush(FireRecord(version), fire);
    EXPECT_EQ(fire.firstColor.Value(), 0x00112233u);
    EXPECT_EQ(fire.secondColor.Value(), 0x00445566u);
    EXPECT_EQ(fire.spare.Value(), -4);
    EXPECT_EQ(fire.patternLink.Key(), (LinkKey{u"pictures.dll", 17}));
    EXPECT_EQ(fire.noiseLink.Key(), (LinkKey{u"pictures.dll", 18}));
    EXPECT_FLOAT_EQ(fire.density.Scaled(), -0.5f);
    EXPECT_FLOAT_EQ(fire.brightness.Scaled(), 0.8f);
    EXPECT_FLOAT_EQ(fire.stretch.Scaled(), 0.25f);
    // Version 2 keeps the base's mask quad and tag in its own part; the base part (a version-4
    // record here) writes them again.
    EXPECT_EQ(fire.maskQuad.corners[0].Value().x, 0.0f);
    EXPECT_EQ(fire.quadTag.Value(), 0);
  }

  DS_FireFX fire;
  ReadBrush(FireRecord(3), fire);
  const auto bytes = Written([&](DS_IOF_Archive& a) { fire.Save(a); });
  DS_FireFX back;
  ReadBrush(bytes, back);
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { back.Save(a); }), bytes);
}

TEST_F(BrushTest, VersionTwoFireTakesItsMaskQuadFromItsOwnPart) {
  DS_FireFX base;
  base.maskQuad.SetRect(2, 2, D3DXVECTOR3(50, 50, 0));
  const auto bytes = Written([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"DS_FireFX");
    io.WriteDword(2);
    for (int i = 0; i < 12; ++i)
      io.WriteFloat(float(i + 1));
    io.WriteDword(0);
    io.WriteDword(0);
    io.WriteInt32(0);
    for (int i = 0; i < 2; ++i) {
      io.WriteWideString(u"");
      io.WriteInt64(0);
    }
    io.WriteInt32(6);
    for (int i = 0; i < 3; ++i)
      io.WriteUInt32(100);
    WriteFxRecord(a, 2, base);  // a version-2 base part has neither
  });
  DS_FireFX fire;
  ReadBrush(bytes, fire);
  EXPECT_EQ(fire.maskQuad.corners[0].Value().x, 1.0f);
  EXPECT_EQ(fire.maskQuad.corners[3].Value().z, 12.0f);
  EXPECT_EQ(fire.quadTag.Value(), 6);
}

TEST_F(BrushTest, ClockStepsFromTheFirstTickAndAfterARestart) {
  DS_UnderwaterFX brush;
  brush.speed.SetValue(1);
  brush.Tick(5.0f);
  EXPECT_EQ(brush.Phase(), 0.0f) << "the first tick steps 0";
  brush.Tick(5.1f);
  EXPECT_NEAR(brush.Phase(), 0.1f, 1e-6f);
  brush.Tick(7.0f);
  EXPECT_NEAR(brush.Phase(), 0.3f, 1e-6f) << "a gap steps 0.2 s at most";
  brush.Tick(6.0f);
  EXPECT_NEAR(brush.Phase(), 0.3f, 1e-6f) << "time going back steps 0";
  brush.Restart();
  EXPECT_EQ(brush.Phase(), 0.0f);
  brush.Tick(1.0f);
  EXPECT_NEAR(brush.Phase(), 0.2f, 1e-6f);
}

TEST_F(BrushTest, FireBindsItsNoiseAndStretchesItsGridOverTheMask) {
  DS_FireFX fire;
  fire.maskQuad.SetRect(200, 100, D3DXVECTOR3(150, 100, 0));
  fire.stretch.SetValue(50);
  fire.Prepare(nullptr);
  ASSERT_TRUE(fire.effect) << "effect 92 is built in";
  EXPECT_TRUE(fire.patternTexture);
  EXPECT_TRUE(fire.noiseTexture);
  EXPECT_EQ(fire.grid.columns, 8u);
  ASSERT_EQ(fire.grid.vertices.count, 81u);
  ASSERT_TRUE(fire.grid.vertices.Lock());
  const auto* v = static_cast<const TexVertex*>(fire.grid.vertices.locked);
  // The first corner (50, 50) carries (0, 0); the last (250, 150) carries (1 / stretch, 1).
  EXPECT_EQ(v[0].x, 50.0f);
  EXPECT_EQ(v[0].u, 0.0f);
  EXPECT_EQ(v[80].x, 250.0f);
  EXPECT_EQ(v[80].y, 150.0f);
  EXPECT_FLOAT_EQ(v[80].u, 2.0f);
  EXPECT_FLOAT_EQ(v[80].v, 1.0f);
  fire.grid.vertices.Unlock();

  fire.speed.localTime = 2.0f;
  fire.BindNoise(IdentityMatrix());
  float c[2];
  fire.effect->GetFloatArray("c11", c, 2);
  EXPECT_EQ(c[0], 0.0f);
  EXPECT_FLOAT_EQ(c[1], 2.6f);
  fire.effect->GetFloatArray("c12", c, 2);
  EXPECT_FLOAT_EQ(c[1], 4.2f);
  fire.effect->GetFloatArray("c13", c, 2);
  EXPECT_FLOAT_EQ(c[1], 4.6f);

  // Without an effect nothing is bound and nothing fails.
  DS_FireFX none;
  none.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1);
  none.Prepare(nullptr);
  EXPECT_FALSE(none.effect);
  none.BindNoise(IdentityMatrix());
}

TEST_F(BrushTest, ScaleAndMaskPositionFollowThePicture) {
  DS_2D_Light canvas;
  StartSlideOn(canvas, 800, 600, 0xFFFFFFFF);
  DS_UnderwaterFX brush;
  brush.Prepare(nullptr);
  ASSERT_TRUE(brush.effect);
  brush.BindScale(canvas);
  brush.BindMaskPosition(canvas);
  float scale[4], position[2];
  brush.effect->GetFloatArray("Scale", scale, 4);
  EXPECT_FLOAT_EQ(scale[0], 1.3333334f);
  EXPECT_FLOAT_EQ(scale[1], 1.0f);
  EXPECT_FLOAT_EQ(scale[2], 0.75f);
  EXPECT_FLOAT_EQ(scale[3], 1.0f);
  brush.effect->GetFloatArray("mask_position", position, 2);
  EXPECT_EQ(position[0], 0.0f);
  EXPECT_TRUE(std::signbit(position[0]) && std::signbit(position[1])) << "-0 / size";

  brush.SetTargetPoint(80, -60, 0);
  brush.BindMaskPosition(canvas);
  brush.effect->GetFloatArray("mask_position", position, 2);
  EXPECT_FLOAT_EQ(position[0], -0.1f);
  EXPECT_FLOAT_EQ(position[1], 0.1f);
}

// A stored scale of 0 and a canvas without a picture give finite values, not inf or NaN.
TEST_F(BrushTest, ZeroSizesGiveFiniteValues) {
  DS_2D_Light canvas;  // never started: no picture
  DS_UnderwaterFX brush;
  brush.scale.SetValue(0);
  brush.SetTargetPoint(5, 5, 0);
  brush.Prepare(nullptr);
  ASSERT_TRUE(brush.effect);
  brush.BindScale(canvas);
  brush.BindMaskPosition(canvas);
  float values[4];
  brush.effect->GetFloatArray("Scale", values, 4);
  for (float v : values)
    EXPECT_TRUE(std::isfinite(v));
  brush.effect->GetFloatArray("mask_position", values, 2);
  EXPECT_TRUE(std::isfinite(values[0]) && std::isfinite(values[1]));
}

TEST_F(BrushTest, WaveValuesOfEveryType) {
  const float kPi = 3.1415927f;
  struct Case {
    int type;
    float x;
    float value;
  };
  const Case cases[] = {
      {2, 0, 0}, {2, kPi / 2, 1}, {2, kPi, 0}, {2, 3 * kPi / 2, -1}, {3, kPi / 2, 1}, {5, 0, 0.6f},
      {0, 1, 0}, {1, 1, 0},       {6, 1, 0},   {-1, 1, 0},
  };
  DS_UnderwaterFX brush;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "type " << c.type << " at " << c.x);
    brush.speed.localTime = c.x;
    EXPECT_NEAR(brush.WaveValue(c.type), c.value, 1e-5f);
  }
  // The angle, in hundredths of a turn, is added to the phase.
  brush.speed.localTime = 0.0f;
  brush.angle.SetValue(25);
  EXPECT_NEAR(brush.WaveValue(2), 1.0f, 1e-5f);
  // Value noise stays within its octaves' reach and is finite for any phase.
  for (float x : {0.0f, 0.7f, 1e9f}) {
    brush.speed.localTime = x;
    const float v = brush.WaveValue(4);
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_LE(std::fabs(v), 1.75f);
  }
}

TEST_F(BrushTest, ScreenRectIsTheMaskQuad) {
  DS_UnderwaterFX brush;
  brush.maskQuad.SetRect(100, 50, D3DXVECTOR3(60, 45, 0));
  std::vector<ScreenRect> rects{{1, 1, 1, 1}};
  EXPECT_FALSE(brush.AppendScreenRects(rects));
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[1], (ScreenRect{10, 20, 100, 50}));
}

TEST_F(BrushTest, MaskPictureIsRebuiltOrResetUnderANewId) {
  DS_UnderwaterFX brush;
  brush.maskName = u"mask";
  brush.maskFlag = 0;
  const GUID first = brush.maskId;
  // The one picture stored under the mask id: a 4 x 2 PNG.
  const std::vector<uint8_t> png = gfx_image_test::EncodePicture(
      gfx_image_test::FileKind::Png, 4, 2, 4, gfx_image_test::Words(8, 0xFF00FF00));
  Doc().framesByLink[GuidLinkKey(first)] = {PictureFrame{SharedBytes::CopyOf(png), 0.0f, {}}};

  brush.RebuildPicture();
  EXPECT_NE(brush.maskId, first);
  EXPECT_TRUE(brush.maskName.empty());
  EXPECT_EQ(brush.maskFlag, 1);
  ASSERT_TRUE(brush.maskTexture);
  gfx::SurfaceDesc desc;
  ASSERT_EQ(brush.maskTexture->GetLevelDesc(0, &desc), gfx::kOk);
  EXPECT_EQ(desc.width, 4u);
  EXPECT_EQ(Doc().GetGuidTexture(GuidPictureKey{brush.maskId, {}, 1}).Get(),
            brush.maskTexture.Get())
      << "the document holds it under the new id";

  // With no single picture under the id the brush is left without a mask.
  brush.RebuildPicture();
  EXPECT_FALSE(brush.maskTexture);

  brush.maskTexture = Doc().GetGuidTexture(GuidPictureKey{first, {}, 1});
  const GUID before = brush.maskId;
  brush.maskName = u"x";
  brush.maskFlag = 0;
  brush.ResetPicture();
  EXPECT_FALSE(brush.maskTexture);
  EXPECT_NE(brush.maskId, before);
  EXPECT_TRUE(brush.maskName.empty());
  EXPECT_EQ(brush.maskFlag, 1);
}

}  // namespace
}  // namespace renderer_test
