#include <gtest/gtest.h>

#include "particles/classic/kinds/single_object_path.h"
#include "particles/classic/kinds/static_object.h"
#include "platform/math/d3dx_math.h"
#include "systems_fixture.h"

namespace classic_test {
namespace {

using SingleObjectsTest = ClassicRenderTest;

// Where the batch's world matrix puts a point.
D3DXVECTOR3 Placed(const PCTSpriteArray& batch, const D3DXVECTOR3& at) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &at, &batch.node.world);
  return out;
}

TEST_F(SingleObjectsTest, AStaticObjectSpinsAboutItsMiddle) {
  struct Case {
    unsigned speed;
    int direction;
    std::vector<float> times;
    float angle;
  } cases[] = {{100, 0, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f}, 40},
               {100, 1, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f}, -40},
               {100, 0, {0, 1.0f}, 8},  // a gap of 1 s counts 0.2 s
               {0, 0, {0, 0.5f, 1.0f}, 0}};
  for (const Case& c : cases) {
    ZKW_StaticObject description;
    WhiteLook(description.appearance, DS_ImageFileLink(u"white.png", 1), 1);
    description.corners.SetRect(20, 10, D3DXVECTOR3(30, 40, 0));
    description.spinSpeed.SetValue(c.speed);
    description.spinDirection.SetValue(c.direction);
    AttachedKind<ZKW_StaticObject> a(description);
    for (float t : c.times)
      a.kind->Update(t);
    EXPECT_NEAR(a.kind->angle, c.angle, 1e-4f) << c.speed << " " << c.direction;
    const PCTSpriteArray& batch = a.mech->batches[0];
    EXPECT_NEAR(Distance(Placed(batch, {30, 40, 0}), D3DXVECTOR3(30, 40, 0)), 0.0f, 1e-4f)
        << "the middle stays";
    const D3DXVECTOR3 east = Placed(batch, {40, 40, 0});
    const float radians = c.angle * 3.1415927f / 180.0f;
    EXPECT_NEAR(east.x, 30 + 10 * std::cos(radians), 1e-3f);
    EXPECT_NEAR(east.y, 40 + 10 * std::sin(radians), 1e-3f);
    // The vertices keep the corners: vertex 0 at corner 1, 1 at 0, 2 at 3, 3 at 2.
    const DX_V::PCT* v = BatchVertices(batch);
    EXPECT_EQ(Corner(v[0]), D3DXVECTOR3(20, 45, 0));
    EXPECT_EQ(Corner(v[1]), D3DXVECTOR3(20, 35, 0));
    EXPECT_EQ(Corner(v[2]), D3DXVECTOR3(40, 45, 0));
    EXPECT_EQ(Corner(v[3]), D3DXVECTOR3(40, 35, 0));
  }
}

TEST_F(SingleObjectsTest, AMarkedPictureTurnsAndFadesWithItsTimeline) {
  const DS_ImageFileLink marked(u"marked.png", 1);
  ZKW_StaticObject description;
  // A red quarter at the top left of a black picture.
  std::vector<uint32_t> texels(16, 0xFF000000);
  for (int i : {0, 1, 4, 5})
    texels[i] = 0xFFFF0000;
  ProvideFrames(marked, 4, 4, 4, 4, texels);
  description.appearance.picture.SetValue(DS_NamedFileLinkData({marked}));
  description.appearance.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
  description.corners.SetRect(32, 32, D3DXVECTOR3(32, 32, 0));
  description.spinSpeed.SetValue(225);  // 90 degrees a second
  FixedTimeline& timeline = UseFixedTimeline(description);
  timeline.Set(TimingState::Shown, 1.0f);
  StartSlideOn(renderer_, 64, 64, 0xFF000000);
  RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(description.CreateRuntimeObject())};
  objects.front()->AdvanceTime(0.0f);
  Frame(renderer_, objects);
  EXPECT_EQ(RedOf(PixelAt(24, 24)), 255) << "the mark at the top left";
  EXPECT_EQ(RedOf(PixelAt(40, 24)), 0);

  timeline.Set(TimingState::Shown, 0.5f);
  for (float t : {0.2f, 0.4f, 0.6f, 0.8f, 1.0f})
    objects.front()->AdvanceTime(t);
  Frame(renderer_, objects);
  EXPECT_NEAR(RedOf(PixelAt(40, 24)), 128, 2) << "turned 90 degrees, at half alpha";
  EXPECT_EQ(RedOf(PixelAt(24, 24)), 0);
  EXPECT_EQ(RedOf(PixelAt(40, 40)), 0);
}

// A path object whose picture is 10 x 10 pixels at 100 percent, on a path through `points`.
std::unique_ptr<ZKW_SigleObjectPath> PathObject(const std::vector<D3DXVECTOR3>& points,
                                                int orientation) {
  auto object = std::make_unique<ZKW_SigleObjectPath>();
  object->appearance.size.SetValue(100);
  object->pathSpeed.SetValue(10);  // 1 unit a frame
  object->orientation.SetValue(orientation);
  for (const D3DXVECTOR3& at : points) {
    DX_SmartPnt point;
    point.SetValueSilently(at);
    object->path.AppendPoint(point, nullptr);
  }
  return object;
}

TEST_F(SingleObjectsTest, APathObjectMovesAUnitAFrameAndBack) {
  auto description = PathObject({{0, 0, 0}, {3, 0, 0}}, 2);
  ProvideFrames(DS_ImageFileLink(u"strip.png", 1), 10, 10, 2, 2, std::vector<uint32_t>(4, ~0u));
  description->appearance.picture.SetValue(
      DS_NamedFileLinkData({DS_ImageFileLink(u"strip.png", 1)}));
  AttachedKind<ZKW_SigleObjectPath> a(*description);
  std::vector<float> xs;
  std::vector<bool> mirrored;
  // Frames a second apart or at once: the step is per frame.
  for (float t : {0.0f, 0.01f, 1.0f, 1.0f, 5.0f, 5.1f, 5.2f}) {
    a.kind->Update(t);
    const DX_V::PCT* v = BatchVertices(a.mech->batches[0]);
    xs.push_back(QuadMiddle(v).x);
    mirrored.push_back(v[0].x > v[2].x);
    EXPECT_NEAR(v[2].x - v[0].x, mirrored.back() ? -10.0f : 10.0f, 1e-4f);
    EXPECT_NEAR(v[0].y - v[1].y, 10.0f, 1e-4f);
  }
  EXPECT_EQ(xs, (std::vector<float>{1, 2, 3, 2, 1, 0, 1}));
  // At an end the cursor already faces the way back.
  EXPECT_EQ(mirrored, (std::vector<bool>{false, false, true, true, true, false, false}))
      << "mode 2 mirrors the picture while it moves left";
  EXPECT_EQ(a.mech->quadCounts[0], 1u);

  a.kind->Restart();
  a.kind->Update(6.0f);
  EXPECT_EQ(QuadMiddle(BatchVertices(a.mech->batches[0])).x, 1.0f) << "a restart starts again";

  // No point to stand on: nothing drawn. One point: it stands there.
  auto empty = PathObject({}, 0);
  AttachedKind<ZKW_SigleObjectPath> none(*empty);
  none.kind->Update(0.0f);
  EXPECT_EQ(none.mech->quadCounts[0], 0u);
  auto single = PathObject({{7, 8, 0}}, 1);
  AttachedKind<ZKW_SigleObjectPath> one(*single);
  one.kind->Update(0.0f);
  one.kind->Update(0.1f);
  EXPECT_EQ(one.mech->quadCounts[0], 1u);
  EXPECT_EQ(QuadMiddle(BatchVertices(one.mech->batches[0])), D3DXVECTOR3(7, 8, 0));
}

TEST_F(SingleObjectsTest, PathOrientationsTurnTheQuad) {
  // Moving down the picture (+y) along a vertical path.
  struct Case {
    int mode;
    D3DXVECTOR3 widthAxis, heightAxis;  // from vertex 1 to 3, and from 1 to 0
  } cases[] = {{0, {10, 0, 0}, {0, 10, 0}},
               {1, {0, 10, 0}, {10, 0, 0}},
               {3, {10, 0, 0}, {0, -10, 0}},
               {7, {10, 0, 0}, {0, 10, 0}}};
  ProvideFrames(DS_ImageFileLink(u"strip.png", 1), 10, 10, 2, 2, std::vector<uint32_t>(4, ~0u));
  for (const Case& c : cases) {
    auto description = PathObject({{0, 0, 0}, {0, 50, 0}}, c.mode);
    description->appearance.picture.SetValue(
        DS_NamedFileLinkData({DS_ImageFileLink(u"strip.png", 1)}));
    AttachedKind<ZKW_SigleObjectPath> a(*description);
    a.kind->Update(0.0f);
    const DX_V::PCT* v = BatchVertices(a.mech->batches[0]);
    const D3DXVECTOR3 width = Corner(v[3]) - Corner(v[1]);
    const D3DXVECTOR3 height = Corner(v[0]) - Corner(v[1]);
    EXPECT_NEAR(Distance(width, c.widthAxis), 0.0f, 1e-4f) << c.mode;
    EXPECT_NEAR(Distance(height, c.heightAxis), 0.0f, 1e-4f) << c.mode;
  }
}

}  // namespace
}  // namespace classic_test
