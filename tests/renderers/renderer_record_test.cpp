#include <gtest/gtest.h>

#include "renderer_fixture.h"

namespace renderer_test {
namespace {

using RendererRecord = RendererTest;

// A header then what `body` writes.
template <class Body>
std::vector<uint8_t> Record(std::u16string_view name, uint32_t version, Body body) {
  return Written([&](DS_IOF_Archive& a) {
    a.io().WriteWideString(zkw_string(name));
    a.io().WriteDword(version);
    body(a);
  });
}

void WriteLink(DS_IOF_Archive& a, std::u16string_view name, int64_t id) {
  a.io().WriteWideString(zkw_string(name));
  a.io().WriteInt64(id);
}

TEST_F(RendererRecord, DefaultsAndRoundTrip) {
  DS_2D_Light defaults;
  EXPECT_EQ(defaults.backgroundLink.name, u"glimres.dll");
  EXPECT_EQ(defaults.backgroundLink.id, 5);
  EXPECT_EQ(defaults.camera.pictureLink.id, 6);
  EXPECT_EQ(defaults.camera.mode.Value(), 0);
  EXPECT_FLOAT_EQ(defaults.camera.zoom.Scaled(), 1.2f);
  EXPECT_FLOAT_EQ(defaults.camera.speed.Scaled(), 1.0f);
  EXPECT_EQ(defaults.fitMode, 1);

  DS_2D_Light renderer;
  renderer.backgroundLink.name = u"pictures.dll";
  renderer.backgroundLink.id = 9;
  DSM_Camera& camera = renderer.camera;
  camera.mode.SetValue(2);
  camera.frameWidth.SetValue(640);
  camera.frameHeight.SetValue(480);
  camera.zoom.SetValue(150);
  camera.speed.SetValue(75);
  for (int i = 0; i < 3; ++i) {
    DX_SmartPnt source;
    source.SetValue(D3DXVECTOR3(10.0f * i, 20.0f * i, 1.0f));
    DX_CamPathPnt* point = camera.path.AppendPoint(source, nullptr);
    point->travelTime.SetValue(2.0f + i);
    point->zoomPercent.SetValue(100 + 10 * i);
  }
  const auto bytes = Written([&](DS_IOF_Archive& a) { renderer.Save(a); });

  auto back = ReadRenderer(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->backgroundLink.name, u"pictures.dll");
  EXPECT_EQ(back->backgroundLink.id, 9);
  const DSM_Camera& read = back->camera;
  EXPECT_EQ(read.mode.Value(), 2);
  EXPECT_EQ(read.frameWidth.Value(), 640u);
  EXPECT_EQ(read.frameHeight.Value(), 480u);
  EXPECT_FLOAT_EQ(read.zoom.Scaled(), 1.5f);
  EXPECT_FLOAT_EQ(read.speed.Scaled(), 1.5f);
  ASSERT_EQ(read.path.Value().size(), 3u);
  EXPECT_FLOAT_EQ(read.path.Value()[2]->Value().y, 40.0f);
  EXPECT_FLOAT_EQ(read.path.Value()[1]->travelTime.Value(), 3.0f);
  EXPECT_EQ(read.path.Value()[2]->zoomPercent.Value(), 120u);
  EXPECT_EQ(read.pictureLink.id, 6);
  // The same bytes again.
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { back->Save(a); }), bytes);
}

TEST_F(RendererRecord, OlderVersions) {
  // Version 1: nothing but the header; the defaults stay.
  auto v1 = ReadRenderer(Record(u"DS_2D_Light", 1, [](DS_IOF_Archive&) {}));
  ASSERT_TRUE(v1);
  EXPECT_EQ(v1->backgroundLink.id, 5);

  // Version 2: the picture, with the default camera.
  auto v2 = ReadRenderer(
      Record(u"DS_2D_Light", 2, [](DS_IOF_Archive& a) { WriteLink(a, u"sky.dll", 12); }));
  ASSERT_TRUE(v2);
  EXPECT_EQ(v2->backgroundLink.name, u"sky.dll");
  EXPECT_EQ(v2->camera.mode.Value(), 0);

  // A nested camera record of another name is read as the camera; a version 2 camera that
  // drifts has mode 1 and no frame size.
  auto v3 = ReadRenderer(Record(u"DS_2D_Light", 3, [](DS_IOF_Archive& a) {
    WriteLink(a, u"sky.dll", 12);
    a.io().WriteWideString(u"SomeCamera");
    a.io().WriteDword(2);
    a.io().WriteInt32(7);     // drifts
    a.io().WriteUInt32(200);  // zoom
    a.io().WriteUInt32(25);   // speed
    WriteLink(a, u"cam.dll", 3);
  }));
  ASSERT_TRUE(v3);
  EXPECT_EQ(v3->camera.mode.Value(), 1);
  EXPECT_EQ(v3->camera.frameWidth.Value(), 0u);
  EXPECT_FLOAT_EQ(v3->camera.zoom.Scaled(), 2.0f);
  EXPECT_FLOAT_EQ(v3->camera.speed.Scaled(), 0.5f);
  EXPECT_EQ(v3->camera.pictureLink.name, u"cam.dll");

  // A version 1 camera has no picture link.
  auto v1Camera = ReadRenderer(Record(u"DS_2D_Light", 3, [](DS_IOF_Archive& a) {
    WriteLink(a, u"sky.dll", 12);
    a.io().WriteWideString(u"DSM_Camera");
    a.io().WriteDword(1);
    a.io().WriteInt32(0);
    a.io().WriteUInt32(120);
    a.io().WriteUInt32(50);
  }));
  ASSERT_TRUE(v1Camera);
  EXPECT_EQ(v1Camera->camera.pictureLink.id, 6);
}

TEST_F(RendererRecord, DamagedRecordsReadSafely) {
  bool failed = false;
  EXPECT_FALSE(ReadRenderer(Record(u"NoSuchLight", 3, [](DS_IOF_Archive&) {}), &failed));
  EXPECT_TRUE(failed);

  // A point count that the bytes cannot hold leaves the path empty.
  auto renderer = ReadRenderer(Record(u"DS_2D_Light", 3,
                                      [](DS_IOF_Archive& a) {
                                        WriteLink(a, u"sky.dll", 12);
                                        a.io().WriteWideString(u"DSM_Camera");
                                        a.io().WriteDword(3);
                                        a.io().WriteInt32(2);
                                        a.io().WriteUInt32(0);
                                        a.io().WriteUInt32(0);
                                        a.io().WriteDword(0x10000000);
                                      }),
                               &failed);
  ASSERT_TRUE(renderer);
  EXPECT_TRUE(failed);
  EXPECT_TRUE(renderer->camera.path.Value().empty());
}

}  // namespace
}  // namespace renderer_test
