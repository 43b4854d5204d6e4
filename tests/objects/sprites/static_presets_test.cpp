// Still objects, crackling discharges and flowers: bounds, view quad and hit test, placement,
// records, the random strip frames and the sway; and what a turned still object draws.
#include <cmath>
#include <map>

#include "core/crt_rand.h"
#include "objects/sprites/ds_discharge_constructor.h"
#include "objects/sprites/ds_flower_constructor.h"
#include "objects/sprites/ds_stat_obj_constructor.h"
#include "platform/math/d3dx_math.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

const DS_ImageFileLink kBar{u"pictures.dll", 21};

// A 200 x 100 scene and a bar picture four times as wide as high.
class StaticPresets : public SpriteTest {
 protected:
  StaticPresets() : SpriteTest(200, 100) {}
  void SetUp() override {
    SpriteTest::SetUp();
    ProvidePicture(kBar, 80, 20, 0xFFFFFFFF);
  }

  // A still object of the bar, 80 pixels long, at (100, 100) turned by `angle`.
  template <class Kind = DS_StatObjConstructor>
  static Kind Bar(unsigned angle) {
    Kind preset;
    preset.picture = kBar;
    preset.size.SetValue(80);
    preset.rotationAngle.SetValue(angle);
    preset.placementRect.extra1.SetValue(100);
    preset.placementRect.extra2.SetValue(100);
    return preset;
  }
};

// Half sizes 40 by 10 at (100, 100): bounds x 60..140 and y 90..110; turned by 90 degrees about
// 20 wide and 80 tall (each bound truncated towards zero).
TEST_F(StaticPresets, BoundsFollowTheTurnedQuad) {
  DS_StatObjConstructor level = Bar(0);
  auto obj = MakeArray(level);
  const auto& clone = PresetOf<DS_StatObjConstructor>(*obj);
  const SpriteRecord& s = obj->Sprites()[0];
  EXPECT_EQ(s.centre, D3DXVECTOR3(100, 100, 0));
  EXPECT_EQ(s.halfWidth, 40.0f);
  EXPECT_EQ(s.halfHeight, 10.0f);
  const MediaRectangle& r = clone.placementRect;
  EXPECT_EQ(r.xMin.Value(), 60);
  EXPECT_EQ(r.xMax.Value(), 140);
  EXPECT_EQ(r.yMin.Value(), 90);
  EXPECT_EQ(r.yMax.Value(), 110);

  DS_StatObjConstructor upright = Bar(90);
  auto turned = MakeArray(upright);
  const MediaRectangle& t = PresetOf<DS_StatObjConstructor>(*turned).placementRect;
  EXPECT_NEAR(t.xMin.Value(), 90, 1);
  EXPECT_NEAR(t.xMax.Value(), 110, 1);
  EXPECT_NEAR(t.yMin.Value(), 60, 1);
  EXPECT_NEAR(t.yMax.Value(), 140, 1);
  EXPECT_NEAR(turned->Sprites()[0].axis1.y, -1.0f, 1e-6f) << "clockwise on the screen";
}

// The view quad is the bounds' box; the hit test answers from the box, so its corners hit even
// where the turned quad does not reach.
TEST_F(StaticPresets, ViewQuadAndHitTestUseTheBox) {
  DS_StatObjConstructor diagonal = Bar(45);
  auto obj = MakeArray(diagonal);
  auto& clone = PresetOf<DS_StatObjConstructor>(*obj);
  const MediaRectangle& r = clone.placementRect;
  QuadCorners quad;
  clone.ViewQuad(quad);
  EXPECT_EQ(quad.corners[0].x, float(r.xMin.Value()));
  EXPECT_EQ(quad.corners[0].y, float(r.yMax.Value()));
  EXPECT_EQ(quad.corners[1].y, float(r.yMin.Value()));
  EXPECT_EQ(quad.corners[3].x, float(r.xMax.Value()));
  EXPECT_EQ(quad.corners[3].z, 1.0f);
  const int corner[2] = {r.xMin.Value() + 1, r.yMin.Value() + 1};
  EXPECT_TRUE(obj->HitTestPoint(corner)) << "outside the turned quad, inside its box";
  const int outside[2] = {r.xMax.Value() + 2, 100};
  EXPECT_FALSE(obj->HitTestPoint(outside));
}

// A still object never placed (keep-GUID clear) moves to the scene's centre when its run-time
// object is made, and is marked placed; one read from a project keeps its place.
TEST_F(StaticPresets, PlacementWhenKeepGuidIsClear) {
  DS_StatObjConstructor placed = Bar(0);
  auto kept = placed.CreateRuntimeObject();
  EXPECT_EQ(placed.PlacementX(), 100);

  DS_StatObjConstructor fresh = Bar(0);
  fresh.keepGuid = 0;
  auto moved = fresh.CreateRuntimeObject();
  EXPECT_EQ(fresh.PlacementX(), 100);
  EXPECT_EQ(fresh.PlacementY(), 50);
  EXPECT_EQ(fresh.keepGuid, 1);
  auto& array = dynamic_cast<DS_SpriteArrayObj&>(*moved);
  EXPECT_EQ(array.Sprites()[0].centre, D3DXVECTOR3(100, 50, 0));
}

// Records: a round trip of each kind; a version-1 still object carries the two flips before its
// base record.
TEST_F(StaticPresets, Records) {
  DS_FlowerConstructor flower = Bar<DS_FlowerConstructor>(30);
  flower.swayAmplitude = 4.5f;
  DS_DischargeConstructor discharge = Bar<DS_DischargeConstructor>(10);
  discharge.frameCount = 3;
  for (const DS_BaseSpriteProp* preset :
       std::initializer_list<const DS_BaseSpriteProp*>{&flower, &discharge}) {
    const std::vector<uint8_t> bytes = SavedBytes(*preset);
    ReadResult read = ReadDescription(bytes);
    ASSERT_TRUE(ReadWhole(read));
    EXPECT_EQ(SavedBytes(*read.object), bytes);
  }
  EXPECT_EQ(dynamic_cast<DS_FlowerConstructor&>(*ReadDescription(SavedBytes(flower)).object)
                .swayAmplitude,
            4.5f);

  const DS_StatObjConstructor view = Bar(0);
  const std::vector<uint8_t> v1 = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_StatObjConstructor", 1);
    WriteMediaRectangle(archive, view.placementRect);
    archive.io().WriteUInt32(75);
    archive.io().WriteInt32(1);  // vertical flip
    archive.io().WriteInt32(0);  // horizontal flip
    WriteBaseSpriteRecord(archive, 4, view);
  });
  ReadResult read = ReadDescription(v1);
  ASSERT_TRUE(ReadWhole(read));
  auto& old = dynamic_cast<DS_StatObjConstructor&>(*read.object);
  EXPECT_EQ(old.rotationAngle.Value(), 75u);
  EXPECT_EQ(old.verticalFlip.Value(), 1);
  EXPECT_EQ(old.horizontalFlip.Value(), 0);
  EXPECT_EQ(old.PlacementX(), 100);
  EXPECT_EQ(old.count.Value(), 7u);
}

// A discharge showing frame 1 of 0, 1, 2 moves to 0 or 2 with equal chance; with fewer than two
// frames it keeps its frame (0 without frames) and draws nothing.
TEST_F(StaticPresets, DischargeJumpsToAnotherFrame) {
  DS_DischargeConstructor discharge;
  discharge.frameCount = 3;
  std::map<unsigned, int> seen;
  for (int i = 0; i < 1000; ++i)
    ++seen[discharge.NextFrame(1)];
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_GT(seen[0], 400);
  EXPECT_GT(seen[2], 400);

  const uint32_t state = crt_rand_state();
  discharge.frameCount = 1;
  EXPECT_EQ(discharge.NextFrame(0), 0u);
  discharge.frameCount = 0;
  EXPECT_EQ(discharge.NextFrame(3), 0u);
  EXPECT_EQ(crt_rand_state(), state);
  int frames = 50;
  EXPECT_FALSE(discharge.SplitExportBlock(frames));
}

// A flower at amplitude 0 stands upright (a lean of about -4.4e-8); swaying in its turned frame
// it keeps the bottom of its quad where it was.
TEST_F(StaticPresets, FlowerSwaysAboutItsFoot) {
  DS_FlowerConstructor still = Bar<DS_FlowerConstructor>(0);
  EXPECT_EQ(still.timing.timeMode.Value(), 2);
  still.swayAmplitude = 0.0f;
  auto upright = MakeArray(still);
  upright->Update(0.5f);
  upright->Update(1.0f);
  EXPECT_NEAR(upright->Sprites()[0].axis2.x, -4.37e-8f, 0.1e-8f);

  DS_FlowerConstructor flower = Bar<DS_FlowerConstructor>(30);
  flower.swayAmplitude = 15.0f;
  auto obj = MakeArray(flower);
  const std::array<D3DXVECTOR3, 4> start = SpriteCorners(obj->Sprites()[0]);
  const D3DXVECTOR3 foot = (start[0] + start[2]) * 0.5f;
  const D3DXVECTOR3 rest = obj->Sprites()[0].axis2;
  float largest = 0.0f;
  for (int i = 1; i <= 30; ++i) {
    obj->Update(0.1f * float(i));
    const SpriteRecord& s = obj->Sprites()[0];
    const std::array<D3DXVECTOR3, 4> c = SpriteCorners(s);
    const D3DXVECTOR3 now = (c[0] + c[2]) * 0.5f;
    EXPECT_NEAR(now.x, foot.x, 1e-3f);
    EXPECT_NEAR(now.y, foot.y, 1e-3f);
    const D3DXVECTOR3 lean = s.axis2 - rest;
    largest = std::max(largest, D3DXVec3Length(&lean));
  }
  EXPECT_GT(largest, 0.1f) << "it did sway";
}

// A bar turned by 90 degrees draws upright: lit above and below its centre, dark beside it; not
// turned it draws across.
TEST_F(StaticPresets, ATurnedObjectDrawsTurned) {
  SetSceneSize(width_, height_);
  DS_2D_Light renderer;
  StartSlideOn(renderer, width_, height_, 0xFF000000);
  for (const auto& [angle, across] : {std::pair{0u, true}, std::pair{90u, false}}) {
    SCOPED_TRACE(angle);
    DS_StatObjConstructor bar = Bar(angle);
    bar.size.SetValue(40);
    bar.placementRect.extra2.SetValue(50);
    auto obj = MakeArray(bar);
    obj->Update(0.0f);
    RuntimeObjectList objects;
    objects.emplace_back(std::unique_ptr<ZKW_RenderObj>(std::move(obj)));
    Frame(renderer, objects);
    const std::vector<uint32_t> px = BackBufferPixels();
    const auto lit = [&](int x, int y) { return (px[size_t(y) * width_ + x] & 0xFF) > 0x80; };
    EXPECT_TRUE(lit(100, 50));
    EXPECT_EQ(lit(115, 50), across);
    EXPECT_EQ(lit(85, 50), across);
    EXPECT_EQ(lit(100, 65), !across);
    EXPECT_EQ(lit(100, 35), !across);
  }
}

}  // namespace
}  // namespace sprite_test
