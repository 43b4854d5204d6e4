// The records of the drifting instances and of the 3D model kinds, written and read back through
// the program's streams.
#include <algorithm>
#include <typeinfo>

#include "model_fixture.h"
#include "objects/text3d/ds_3d_in_2d_array_constructor.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "objects/text3d/ds_clock_constructor.h"

namespace model_test {
namespace {

using renderer_test::Written;

// The UTF-16 code units of `text` as stored, low byte first.
std::vector<uint8_t> Utf16Bytes(const std::u16string& text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

// How often `text` appears in `bytes`.
int Occurrences(const std::vector<uint8_t>& bytes, const std::u16string& text) {
  const std::vector<uint8_t> needle = Utf16Bytes(text);
  int n = 0;
  for (auto it = bytes.begin();
       (it = std::search(it, bytes.end(), needle.begin(), needle.end())) != bytes.end(); ++it)
    ++n;
  return n;
}

// Where `text` first appears in `bytes`; bytes.size() when it does not.
size_t Position(const std::vector<uint8_t>& bytes, const std::u16string& text) {
  const std::vector<uint8_t> needle = Utf16Bytes(text);
  return size_t(std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) -
                bytes.begin());
}

ResourceDataRecord StoredRecord(uint32_t id, const zkw_string& module, const zkw_string& path,
                                std::vector<uint8_t> bytes) {
  ResourceDataRecord record;
  record.resourceId = id;
  record.module = module;
  record.path = path;
  record.bytes = std::move(bytes);
  return record;
}

using ModelRecords = ModelTest;

TEST_F(ModelRecords, DriftingInstancesRoundTripWithTheNameWrittenTwice) {
  DS_3D_in_2D_array_Constructor leaves;
  leaves.name = u"Leafy";
  leaves.count.SetValue(7);
  leaves.mesh = StoredRecord(0, u"", u"c:\\leaf.x", {1, 2, 3});
  leaves.picture = StoredRecord(5, u"pics.dll", u"", {4, 5});
  leaves.drift.size.SetValue(28);
  leaves.drift.speed.SetValue(9);
  leaves.drift.sway.SetValue(30);
  leaves.drift.swayFrequency.SetValue(4);
  leaves.drift.spin.SetValue(60);
  leaves.drift.SetDirection(90);
  const std::vector<uint8_t> bytes = SavedBytes(leaves);
  EXPECT_EQ(Occurrences(bytes, u"Leafy"), 2) << "in its own record and in the description's";
  EXPECT_LT(Position(bytes, u"DS_3D_in_2D_array_Constructor"),
            Position(bytes, u"DS_ABObj_Constructor"));

  const ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  const auto& back = dynamic_cast<const DS_3D_in_2D_array_Constructor&>(*read.object);
  EXPECT_EQ(back.name, u"Leafy");
  EXPECT_EQ(back.count.Value(), 7u);
  EXPECT_EQ(back.mesh, leaves.mesh);
  EXPECT_EQ(back.picture, leaves.picture);
  EXPECT_EQ(back.drift.size.Value(), 28u);
  EXPECT_EQ(back.drift.speed.Value(), 9u);
  EXPECT_EQ(back.drift.sway.Value(), 30u);
  EXPECT_EQ(back.drift.swayFrequency.Value(), 4u);
  EXPECT_EQ(back.drift.spin.Value(), 60u);
  EXPECT_EQ(back.drift.Direction(), 90u);
  // The direction's vectors follow the angle read: up the screen, swaying to the left.
  EXPECT_NEAR(back.drift.DriftVector().y, -1.0f, 1e-6f);
  EXPECT_NEAR(back.drift.SwayVector().x, -1.0f, 1e-6f);

  // A record cut short reads what it holds and fails the stream.
  const ReadResult cut = ReadDescription({bytes.begin(), bytes.begin() + 80});
  EXPECT_TRUE(cut.failed);
}

// A description of each model kind with every field of the model and view parts away from its
// default.
std::unique_ptr<DS_3D_Obj_Ctrl> ChangedModel(std::unique_ptr<DS_3D_Obj_Ctrl> model) {
  model->count.SetValue(3);
  model->size.SetValue(77);
  model->picture = DS_ImageFileLink(u"wings.png", 12);
  model->mesh = DS_MeshFile(u"model.dll", 34);
  model->left = 0.25f;
  model->motionRate.SetValue(60);
  model->name = u"model";
  return model;
}

TEST_F(ModelRecords, EachKindCarriesTheModelAndTheViewRecords) {
  std::vector<std::unique_ptr<DS_3D_Obj_Ctrl>> kinds;
  kinds.push_back(ChangedModel(std::make_unique<DS_ButterflyConstructor>()));
  kinds.push_back(ChangedModel(std::make_unique<DS_ClockConstructor>()));
  for (const auto& made : kinds) {
    const DS_3D_Obj_Ctrl* kind = made.get();
    const std::vector<uint8_t> bytes = SavedBytes(*kind);
    const size_t model = Position(bytes, u"DS_3D_Obj_Ctrl");
    EXPECT_LT(model, Position(bytes, u"DS_ViewObjCtrl"));
    EXPECT_GT(model, 0u) << "after the kind's own fields";
    const ReadResult read = ReadDescription(bytes);
    ASSERT_TRUE(ReadWhole(read));
    const auto& back = dynamic_cast<const DS_3D_Obj_Ctrl&>(*read.object);
    EXPECT_EQ(typeid(back), typeid(*kind));
    EXPECT_EQ(back.count.Value(), 3u);
    EXPECT_EQ(back.size.Value(), 77u);
    EXPECT_EQ(back.picture.Key(), kind->picture.Key());
    EXPECT_EQ(back.mesh.Key(), kind->mesh.Key());
    EXPECT_FLOAT_EQ(back.left, 0.25f);
    EXPECT_EQ(back.motionRate.Value(), 60u);
    EXPECT_EQ(back.name, u"model");
  }
}

TEST_F(ModelRecords, ButterflyVersionsTwoAndOne) {
  DS_ButterflyConstructor butterfly;
  butterfly.bodyPicture = DS_ImageFileLink(u"body.png", 3);
  butterfly.bodyMesh = DS_MeshFile(u"body.x", 4);
  butterfly.spare1.SetValue(11);
  butterfly.spare2.SetValue(22);
  butterfly.wingScale = 0.5f;
  const ReadResult two = ReadDescription(SavedBytes(butterfly));
  ASSERT_TRUE(ReadWhole(two));
  const auto& back = dynamic_cast<const DS_ButterflyConstructor&>(*two.object);
  EXPECT_EQ(back.bodyPicture.Key(), butterfly.bodyPicture.Key());
  EXPECT_EQ(back.bodyMesh.Key(), butterfly.bodyMesh.Key());
  EXPECT_EQ(back.spare1.Value(), 11u);
  EXPECT_FLOAT_EQ(back.spare1.Scaled(), 11.0f) << "set with notification";
  EXPECT_EQ(back.spare2.Value(), 22u);
  EXPECT_FLOAT_EQ(back.wingScale, 0.5f);
  EXPECT_EQ(back.mesh.Key(), DS_MeshFile(u"glimres.dll", 69).Key());

  // Version 1 has no wing scale.
  const std::vector<uint8_t> one = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_ButterflyConstructor", 1);
    WriteImageLink(archive, butterfly.bodyPicture);
    WriteFileLink(archive, butterfly.bodyMesh);
    archive.io().WriteUInt32(11);
    archive.io().WriteUInt32(22);
    butterfly.DS_3D_Obj_Ctrl::Save(archive);
  });
  const ReadResult old = ReadDescription(one);
  ASSERT_TRUE(ReadWhole(old));
  const auto& first = dynamic_cast<const DS_ButterflyConstructor&>(*old.object);
  EXPECT_FLOAT_EQ(first.wingScale, 1.0f);
  EXPECT_EQ(first.spare2.Value(), 22u);
  EXPECT_EQ(first.bodyMesh.Key(), butterfly.bodyMesh.Key());
}

TEST_F(ModelRecords, ClockVersionOne) {
  DS_ClockConstructor clock;
  EXPECT_EQ(clock.clockRect.extra1.Value(), int(width_ / 2)) << "the scene's middle";
  EXPECT_EQ(clock.clockRect.extra2.Value(), int(height_ / 2));
  EXPECT_EQ(clock.size.Value(), 400u);
  EXPECT_TRUE(clock.UsesClock());
  clock.clockRect.xMin.SetValue(1);
  clock.clockRect.xMax.SetValue(2);
  clock.clockRect.yMin.SetValue(3);
  clock.clockRect.yMax.SetValue(4);
  clock.clockRect.extra1.SetValue(5);
  clock.clockRect.extra2.SetValue(6);
  clock.handsPicture = DS_ImageFileLink(u"hands.png", 8);
  const ReadResult read = ReadDescription(SavedBytes(clock));
  ASSERT_TRUE(ReadWhole(read));
  const auto& back = dynamic_cast<const DS_ClockConstructor&>(*read.object);
  const MediaRectangle& r = back.clockRect;
  EXPECT_EQ((std::vector{r.xMin.Value(), r.xMax.Value(), r.yMin.Value(), r.yMax.Value(),
                         r.extra1.Value(), r.extra2.Value()}),
            (std::vector{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(back.handsPicture.Key(), clock.handsPicture.Key());
  EXPECT_EQ(back.mesh.Key(), DS_MeshFile(u"glimres.dll", 70).Key());
}

}  // namespace
}  // namespace model_test
