#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "particles/tree/line/trace_node.h"
#include "particles/tree/tree_fixture.h"

namespace tree_test {
namespace {

using TraceNode = TreeRenderTest;

// A trace node of one particle per parent, as a node handle, with `trace` pointing at it.
DS_SafePtr<ZKW_PtclSys_Node> Trace(ZKW_PtclSysNode_Trace** trace) {
  auto node = std::make_unique<ZKW_PtclSysNode_Trace>();
  node->SetPhysics(Group(1));
  *trace = node.get();
  return DS_SafePtr<ZKW_PtclSys_Node>(std::move(node));
}

const DS_ImageFileLink& OnlyLink(const ZKW_PtclSysNode_Trace& node) {
  return node.texture.Source()->links.at(0);
}

TEST_F(TraceNode, ANewNodeIsADisabledWhiteTraceOfPicture228) {
  const ZKW_PtclSysNode_Trace node;
  EXPECT_EQ(node.enabled.Value(), 0);
  EXPECT_EQ(node.ZKW_PtclSys_Option::name, u"Trace");
  EXPECT_EQ(node.colour.Value(), 0xFFFFFFu);
  EXPECT_EQ(node.drawMode.Value(), 1);
  ASSERT_TRUE(node.trace);
  EXPECT_NE(dynamic_cast<const ZKW_ResIDTex*>(node.texture.Source()), nullptr);
  EXPECT_EQ(OnlyLink(node).name, u"glimres.dll");
  EXPECT_EQ(OnlyLink(node).id, 228);
}

TEST_F(TraceNode, RecordsReadBackWithoutTheDrawMode) {
  ZKW_PtclSysNode_Trace node;
  node.SetPhysics(Group(2));
  node.ZKW_PtclSys_Node::name = u"trails";
  node.colour.SetValue(0x336699);
  node.enabled.SetValue(1);
  node.drawMode.SetValue(0);
  node.trace->pointSize.value.SetValue(35);
  node.options.shadow.enabled.SetValue(1);
  const std::vector<uint8_t> bytes = Saved(node);

  bool whole = false;
  const auto item = ReadItem(bytes, &whole);
  const auto* read = dynamic_cast<const ZKW_PtclSysNode_Trace*>(item.get());
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(Saved(*read), bytes);
  EXPECT_EQ(read->ZKW_PtclSys_Node::name, u"trails");
  EXPECT_EQ(read->colour.Value(), 0x336699u);
  EXPECT_EQ(read->enabled.Value(), 1);
  EXPECT_EQ(read->drawMode.Value(), 1) << "read nodes always draw offset strips";
  EXPECT_EQ(read->trace->pointSize.value.Value(), 35u);
  EXPECT_EQ(read->options.shadow.enabled.Value(), 1);
  EXPECT_EQ(OnlyLink(*read).id, 228);
}

TEST_F(TraceNode, AnotherPhysicsInTheRecordGivesDefaultTrails) {
  ZKW_PtclSysNode_Trace node;
  node.colour.SetValue(0x123456);
  const std::vector<uint8_t> bytes = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysNode_Trace", 2);
    Group(4)->Save(a);
    a.io().WriteDword(0x123456);
    WriteOptionBase(a, node);
    node.ZKW_PtclSysNode_Picture::Save(a);
  });
  bool whole = false;
  const auto item = ReadItem(bytes, &whole);
  auto* read = dynamic_cast<ZKW_PtclSysNode_Trace*>(item.get());
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  ASSERT_TRUE(read->trace);
  EXPECT_EQ(read->trace->pointSize.value.Value(), 20u);
  EXPECT_EQ(read->colour.Value(), 0x123456u);
  // Every path that uses the trails runs.
  read->enabled.SetValue(1);
  read->Reset();
  EXPECT_EQ(read->UpdateParticles(0.1f, nullptr), 1);
  EXPECT_EQ(Saved(*read).size(), Saved(node).size());
}

// Root -> trace (one particle per root particle) -> picture child with the glow in mode 2.
class TraceBatches : public TreeRenderTest {
 protected:
  TraceBatches() {
    system.Root().AddChild(Trace(&trace));
    trace->options.radialGlow.enabled.SetValue(1);
    auto child = std::make_unique<ZKW_PtclSysNode_Picture>();
    child->SetPhysics(Group(1));
    child->options.glow.enabled.SetValue(1);
    child->options.glow.mode.SetValue(2);
    picture = child.get();
    trace->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(child)));
    system.Root().SpawnFromParents(nullptr);
  }

  // The batch counts of the three walks: update, fill, render.
  std::vector<size_t> Walks() {
    const size_t counted = static_cast<size_t>(system.Root().UpdateParticles(0.0f, nullptr));
    batches.resize(counted + 3);  // room to see a walk take more than was counted
    size_t filled = 0, drawn = 0;
    system.Root().FillVertices(batches, &filled);
    StartSlideOn(renderer_, 64, 64, 0xFF000000);
    int readers = 0;
    system.Root().Render(batches, &drawn, renderer_, &readers);
    return {counted, filled, drawn};
  }

  ZKW_PtclSys_Constructor system;
  ZKW_PtclSysNode_Trace* trace = nullptr;
  ZKW_PtclSysNode_Picture* picture = nullptr;
  QuadBatches batches;
};

TEST_F(TraceBatches, ADisabledTraceTakesNoBatchAndNeedsNothingBelow) {
  EXPECT_EQ(Walks(), (std::vector<size_t>{0, 0, 0}));
  EXPECT_EQ(system.Root().NeedsPictureBelow(), 0) << "its children are not drawn either";
  EXPECT_TRUE(trace->trace->stripes.empty());
  EXPECT_EQ(picture->physics->particles.size(), 1u) << "the children still move";
}

TEST_F(TraceBatches, AnEnabledTraceTakesTheChildrensBatchesThenItsOwn) {
  trace->enabled.SetValue(1);
  EXPECT_EQ(Walks(), (std::vector<size_t>{2, 2, 2})) << "no radial-glow batch";
  EXPECT_FALSE(batches[0].IsMesh()) << "the child's quads come first";
  EXPECT_TRUE(batches[1].IsMesh()) << "then the trails";
  EXPECT_EQ(system.Root().NeedsPictureBelow(), 1) << "the child's glow";
}

TEST_F(TraceBatches, SwitchingStartsTrailsForTheEmittersParticlesOrResets) {
  // Under an emitter (the picture's particles), switching on starts one trail per particle.
  auto grandchild = std::make_unique<ZKW_PtclSysNode_Trace>();
  grandchild->SetPhysics(Group(1));
  ZKW_PtclSysNode_Trace* under = grandchild.get();
  picture->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(grandchild)));
  picture->physics->SpawnForParents(&trace->physics->particles);
  ASSERT_EQ(picture->physics->particles.size(), 2u);
  under->enabled.SetValue(1);
  ASSERT_EQ(under->trace->stripes.size(), 2u);
  EXPECT_EQ(under->trace->stripes[1].owner.Get(), picture->physics->particles[1].Get());

  // New particles of an enabled trace get trails of their own.
  trace->enabled.SetValue(1);
  EXPECT_EQ(trace->trace->stripes.size(), 0u) << "the root node is no emitter";
  system.Root().SpawnFromParents(nullptr);
  EXPECT_EQ(trace->trace->stripes.size(), 1u);

  under->enabled.SetValue(0);
  EXPECT_TRUE(under->trace->stripes.empty());
  EXPECT_TRUE(under->physics->particles.empty()) << "switching off resets the node";
}

// A trail drawn over black along y = 32 from x = 8 to x = 56 by a root that moves 4 units a
// frame, without time passing (every point keeps full alpha and width 20).
class TracePixels : public TreeRenderTest {
 protected:
  RuntimeObjectList DrawTrail(int drawMode) {
    system = std::make_unique<ZKW_PtclSys_Constructor>();
    system->Root().AddChild(Trace(&trace));
    trace->enabled.SetValue(1);
    trace->drawMode.SetValue(drawMode);
    system->Root().Physics().position.SetValue(D3DXVECTOR3(8, 32, 0));
    StartSlideOn(renderer_, 64, 64, 0xFF000000);
    RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(system->CreateRuntimeObject())};
    for (float x = 8; x <= 56; x += 4) {
      system->Root().Physics().position.SetValue(D3DXVECTOR3(x, 32, 0));
      objects.front()->Update(0.0f);
    }
    ClearLog();
    Frame(renderer_, objects);
    return objects;
  }

  uint32_t Grey(int x, int y) { return PixelAt(x, y) & 0xFF; }

  std::unique_ptr<ZKW_PtclSys_Constructor> system;
  ZKW_PtclSysNode_Trace* trace = nullptr;
};

TEST_F(TracePixels, BevelledAndOffsetTrailsAreBrightAlongTheMiddleAndClearAtTheEdges) {
  for (const int mode : {0, 1}) {
    SCOPED_TRACE(mode == 1 ? "offset strips" : "bevelled ribbon");
    const auto objects = DrawTrail(mode);
    ASSERT_EQ(trace->trace->stripes.size(), 1u);
    EXPECT_GE(trace->trace->stripes[0].points->particles.size(), 10u);
    EXPECT_TRUE(Drew("BlendNormal_PMTexture"));
    for (const int x : {16, 32, 48}) {
      SCOPED_TRACE(x);
      EXPECT_GE(Grey(x, 32), 200u) << "the middle of picture 228";
      EXPECT_EQ(PixelAt(x, 32) & 0xFFFFFF, (Grey(x, 32) * 0x010101u)) << "white";
      EXPECT_LT(Grey(x, 40), Grey(x, 36)) << "fading towards the edge";
      EXPECT_LT(Grey(x, 24), Grey(x, 28));
      EXPECT_LE(Grey(x, 41), 40u) << "nearly clear at the edge";
      EXPECT_EQ(Grey(x, 45), 0u) << "nothing beyond the ribbon";
      EXPECT_EQ(Grey(x, 18), 0u);
    }
    EXPECT_EQ(Grey(2, 32), 0u) << "nothing before the trail's start";
    EXPECT_EQ(Grey(62, 32), 0u) << "nothing past its head";
  }
}

}  // namespace
}  // namespace tree_test
