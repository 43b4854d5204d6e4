#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "core/param/color_set_params.h"
#include "core/registry/read_by_name.h"
#include "particles/behaviour/physics/exploding_pic.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

using TreeRecords = TreeRenderTest;

// A tree under the root: a picture with a Blank child over an exploding picture.
std::unique_ptr<ZKW_PtclSys_Constructor> SampleSystem(bool builder) {
  std::unique_ptr<ZKW_PtclSys_Constructor> system =
      builder ? std::make_unique<ZKW_PtclSys_Builder>()
              : std::make_unique<ZKW_PtclSys_Constructor>();
  system->speed.SetValue(150);
  system->Root().Physics().spinSpeed.SetValue(20);
  auto picture = std::make_unique<ZKW_PtclSysNode_Picture>();
  picture->name = u"stars";
  picture->SetPhysics(Group(3));
  picture->size.SetValue(24);
  picture->flipHorizontal.SetValue(1);
  picture->colour.SetValue(0x336699);
  picture->additive.SetValue(1);
  picture->childrenOrder.SetValue(1);
  picture->atlasLoop.SetValue(0);
  picture->rotation.angles->spread.SetValue(45);
  picture->options.glow.enabled.SetValue(1);
  picture->options.shadow.angle.SetValue(200);
  picture->effects.Insert(INT_MAX,
                          DS_SafePtr<ZKW_ParticlSystem_Effect>(
                              std::make_unique<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Spin>>()));
  auto blank = std::make_unique<ZKW_PtclSysNode_Blank>();
  blank->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::make_unique<ZKW_PtclSysNodePic_Explode>()));
  picture->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(blank)));
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(picture)));
  return system;
}

TEST_F(TreeRecords, EveryClassReadsBack) {
  for (const bool builder : {false, true}) {
    const auto system = SampleSystem(builder);
    const std::vector<uint8_t> bytes = Saved(*system);
    bool whole = false;
    const auto read = ReadObject(bytes, &whole);
    auto* readSystem = dynamic_cast<ZKW_PtclSys_Constructor*>(read.get());
    ASSERT_NE(readSystem, nullptr);
    EXPECT_TRUE(whole);
    EXPECT_EQ(Saved(*read), bytes);
    EXPECT_EQ(dynamic_cast<ZKW_PtclSys_Builder*>(read.get()) != nullptr, builder);
    EXPECT_FLOAT_EQ(readSystem->speed.Scaled(), 1.5f);
    const auto& children = readSystem->Root().children.Value();
    ASSERT_EQ(children.size(), 1u);
    auto* picture = dynamic_cast<ZKW_PtclSysNode_Picture*>(children[0].Get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->parent, &readSystem->Root());
    EXPECT_EQ(picture->effects.Value().size(), 1u);
    ASSERT_EQ(picture->children.Value().size(), 1u);
    const auto& blank = *picture->children.Value()[0];
    EXPECT_NE(dynamic_cast<const ZKW_PtclSysNode_Blank*>(&blank), nullptr);
    ASSERT_EQ(blank.children.Value().size(), 1u);
    auto* explode = dynamic_cast<ZKW_PtclSysNodePic_Explode*>(blank.children.Value()[0].Get());
    ASSERT_NE(explode, nullptr);
    EXPECT_NE(dynamic_cast<ZKW_PtclSysPhys_ExplodingPic*>(explode->physics.Get()), nullptr);
  }
}

TEST_F(TreeRecords, OlderAndDamagedRecordsRead) {
  // A version 1 constructor (no speed) around a root whose node part is version 1 (no effects).
  const std::vector<uint8_t> old = Bytes([](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSys_Constructor", 1);
    WriteRecordHeader(a, u"ZKW_PtclSysNode_Root", 1);
    ZKW_PtclSysPhys_RootPnt(D3DXVECTOR3(5, 6, 0)).Save(a);
    WriteRecordHeader(a, u"ZKW_PtclSys_Node", 1);
    a.io().WriteWideString(u"old root");
    a.io().WriteDword(1);
    ZKW_PtclSysNode_Emitter emitter;
    emitter.SetPhysics(Group(2));
    emitter.Save(a);
    ZKW_PtclSys_Constructor().DS_ABObj_Constructor::Save(a);
  });
  bool whole = false;
  const auto read = ReadObject(old, &whole);
  auto* system = dynamic_cast<ZKW_PtclSys_Constructor*>(read.get());
  ASSERT_NE(system, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(system->speed.Value(), 100u);
  EXPECT_EQ(system->Root().name, u"old root");
  EXPECT_EQ(system->Root().Physics().position.Value().y, 6.0f);
  ASSERT_EQ(system->Root().children.Value().size(), 1u);

  // A child record of another class (a physics) is dropped, and a root physics of another class
  // leaves the default root point.
  const std::vector<uint8_t> strays = Bytes([](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysNode_Root", 1);
    ZKW_PtclSysPhys_ConstPntGroup().Save(a);
    WriteRecordHeader(a, u"ZKW_PtclSys_Node", 2);
    a.io().WriteWideString(u"strays");
    a.io().WriteDword(2);
    ZKW_PtclSysPhys_ConstPntGroup().Save(a);
    ZKW_PtclSysNode_Blank().Save(a);
    a.io().WriteWideString(u"");
    a.io().WriteDword(0);
  });
  renderer_test::ReadArchive strayRecord(strays);
  auto strayItem = ReadByName(strayRecord.archive(), GetIofItemRegistry());
  auto* strayRoot = dynamic_cast<ZKW_PtclSysNode_Root*>(strayItem.get());
  ASSERT_NE(strayRoot, nullptr);
  EXPECT_EQ(strayRecord.Remaining(), 0u);
  ASSERT_EQ(strayRoot->children.Value().size(), 1u);
  EXPECT_NE(dynamic_cast<ZKW_PtclSysNode_Blank*>(strayRoot->children.Value()[0].Get()), nullptr);
  EXPECT_EQ(strayRoot->Physics().particles.size(), 1u) << "the default root point";

  // A root record of another class leaves a default root that still plays.
  const std::vector<uint8_t> foreign = Bytes([](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSys_Constructor", 2);
    ZKW_PtclSysNode_Emitter().Save(a);
    a.io().WriteUInt32(100);
    ZKW_PtclSys_Constructor().DS_ABObj_Constructor::Save(a);
  });
  const auto readForeign = ReadObject(foreign, &whole);
  auto* withDefault = dynamic_cast<ZKW_PtclSys_Constructor*>(readForeign.get());
  ASSERT_NE(withDefault, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_TRUE(withDefault->Root().children.Value().empty());
  auto object = withDefault->CreateRuntimeObject();
  object->Update(1.0f);
  EXPECT_TRUE(static_cast<ZKW_PtclSys_Obj&>(*object).Batches().empty());
}

using TreeObject = TreeRenderTest;

TEST_F(TreeObject, TheClockStepsAtMostAFifthOfASecond) {
  auto system = std::make_unique<ZKW_PtclSys_Constructor>();
  system->speed.SetValue(200);
  auto object = system->CreateRuntimeObject();
  const auto& root = static_cast<ZKW_PtclSys_Obj&>(*object).System().Root().Physics().Root();
  object->Update(5.0f);
  EXPECT_EQ(root.floats[ParticleRecord::kAge], 0.0f) << "the first update moves nothing";
  object->Update(5.1f);
  EXPECT_NEAR(root.floats[ParticleRecord::kAge], 0.2f, 1e-5f);
  object->Update(6.1f);
  EXPECT_NEAR(root.floats[ParticleRecord::kAge], 0.6f, 1e-5f) << "a 1-s gap: 0.2 s x speed 2";
  object->Update(3.0f);
  EXPECT_NEAR(root.floats[ParticleRecord::kAge], 0.6f, 1e-5f) << "time going back";
  object->Update(3.1f);
  EXPECT_NEAR(root.floats[ParticleRecord::kAge], 0.8f, 1e-5f);

  // Time mode 1: the timeline value becomes the root particle's alpha.
  system->timing.timeMode.SetValue(1);
  auto faded = system->CreateRuntimeObject();
  faded->Update(0.0f);
  EXPECT_EQ(static_cast<ZKW_PtclSys_Obj&>(*faded)
                .System()
                .Root()
                .Physics()
                .Root()
                .floats[ParticleRecord::kAlpha],
            system->timing.TimelineValue());
}

TEST_F(TreeObject, FillAndRenderTakeTheSameBatches) {
  const DS_ImageFileLink link(u"white.png", 1);
  for (const int order : {0, 1}) {
    SCOPED_TRACE(order);
    auto system = std::make_unique<ZKW_PtclSys_Constructor>();
    auto a = std::make_unique<ZKW_PtclSysNode_Picture>();
    a->SetPhysics(Group(2));
    a->childrenOrder.SetValue(order);
    UsePicture(*a, link, 4, 4, 2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF));
    auto b = std::make_unique<ZKW_PtclSysNode_Picture>();
    b->SetPhysics(Group(3));
    UsePicture(*b, link, 4, 4, 2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF));
    a->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(b)));
    auto blank = std::make_unique<ZKW_PtclSysNode_Blank>();
    blank->SetPhysics(Group(1));
    auto d = std::make_unique<ZKW_PtclSysNode_Picture>();
    d->SetPhysics(Group(4));
    UsePicture(*d, link, 4, 4, 2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF));
    blank->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(d)));
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(a)));
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(blank)));

    StartSlideOn(renderer_, 64, 64, 0xFF000000);
    RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(system->CreateRuntimeObject())};
    objects.front()->AdvanceTime(0.0f);
    const QuadBatches& batches = static_cast<ZKW_PtclSys_Obj&>(*objects.front()).Batches();
    ASSERT_EQ(batches.size(), 4u) << "every picture node counts a batch, the Blank one too";
    // Last child first: the Blank's child, then the picture and its child in its order.
    const uint32_t want[2][4] = {{4, 6, 2, 0}, {4, 2, 6, 0}};
    for (size_t i = 0; i < 4; ++i)
      EXPECT_EQ(batches[i].QuadCount(), want[order][i]) << i;

    ClearLog();
    Frame(renderer_, objects);
    std::vector<uint32_t> drawn;
    for (const gfx::FrameLogEntry& e : Log())
      if (e.technique == "BlendNormal_PMTexture") drawn.push_back(e.vertexCount);
    // Six indices a quad: each node draws the batch it filled.
    EXPECT_EQ(drawn, (std::vector<uint32_t>{24, order == 0 ? 36u : 12u, order == 0 ? 12u : 36u}));
  }
}

}  // namespace
}  // namespace tree_test

namespace tree_test {
namespace {

// A picture record of an older `version` with size 30, flipped vertically, a glow of mode 2
// (versions 4 to 9), additive (above 4), a radial glow of size 80 (7 to 9), a shadow at 45
// degrees (9), and a point group of 5 (a physics record of its own in version 1).
std::vector<uint8_t> OldPicture(uint32_t version) {
  return Bytes([version](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    WriteRecordHeader(a, u"ZKW_PtclSysNode_Picture", version);
    WriteFileLink(a, DS_HLSLEffectFile(u"glimres.dll", 306));
    ZKW_AlerterTextureSRC texture;
    texture.SetValueSilently(DS_SafePtr<ZKW_TextureSRC>(std::make_unique<ZKW_ResIDTex>()));
    WriteAlerterTextureSRC(a, texture);
    io.WriteUInt32(30);
    io.WriteInt32(1);
    io.WriteInt32(0);
    if (version < 6) {
      WriteColorSetParams(a, ColorSetParams());
    } else {
      ColorAlphaParam colour;
      colour.SetValue(0x123456);
      WriteColorAlphaParam(a, colour);
    }
    PictureOptions options;
    options.glow.mode.SetValue(2);
    options.radialGlow.size.SetValue(80);
    options.shadow.angle.SetValue(45);
    if (version >= 4) WriteGlowOption(a, options.glow);
    if (version > 4) io.WriteInt32(1);
    if (version >= 7) WriteRadialGlowOption(a, options.radialGlow);
    if (version == 9) WriteShadowOption(a, options.shadow);
    ZKW_PtclSysNode_Emitter emitter;
    emitter.SetPhysics(Group(5));
    if (version == 1) {
      emitter.physics->Save(a);
      emitter.ZKW_PtclSys_Node::Save(a);
    } else {
      emitter.Save(a);
    }
  });
}

TEST_F(TreeRecords, OlderPicturesRead) {
  for (const uint32_t version : {1u, 5u, 8u, 9u}) {
    SCOPED_TRACE(version);
    renderer_test::ReadArchive source(OldPicture(version));
    auto item = ReadByName(source.archive(), GetIofItemRegistry());
    auto* picture = dynamic_cast<ZKW_PtclSysNode_Picture*>(item.get());
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(source.archive().Failed());
    EXPECT_EQ(source.Remaining(), 0u);
    EXPECT_EQ(picture->size.Value(), 30u);
    EXPECT_EQ(picture->flipVertical.Value(), 1);
    EXPECT_NE(dynamic_cast<ZKW_ResIDTex*>(picture->texture.Source()), nullptr);
    EXPECT_EQ(picture->colour.Value(), version >= 6 ? 0x123456u : 0xFFFFFFu);
    EXPECT_EQ(picture->options.glow.mode.Value(), version >= 4 ? 2 : 3);
    EXPECT_EQ(picture->additive.Value(), version > 4 ? 1 : 0);
    EXPECT_EQ(picture->options.radialGlow.size.Value(), version >= 7 ? 80u : 50u);
    EXPECT_EQ(picture->options.shadow.angle.Value(), version == 9 ? 45u : 315u);
    auto* group = dynamic_cast<ZKW_PtclSysPhys_ConstPntGroup*>(picture->physics.Get());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->count.Value(), 5u);
  }
}

}  // namespace
}  // namespace tree_test
