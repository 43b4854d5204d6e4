#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/param/recording_control.h"
#include "geometry/graph/vgraph_line.h"
#include "particles/tree/line/line_node.h"
#include "tree_fixture.h"

namespace tree_test {
namespace {

using LineNode = TreeRenderTest;

// A particle of the node at `at` with x scale `sx`.
ParticleHandle ParticleAt(const D3DXVECTOR3& at, float sx = 1.0f) {
  ParticleHandle p = MakeChildParticle({});
  p->Position() = at;
  p->vectors[ParticleRecord::kScaleXYZ].x = sx;
  return p;
}

// The node's batch after one fill on its own.
std::vector<DX_V::PCT2> FillAlone(ZKW_PtclSysNode_Line& line, ParticleQuadBatch* counts = nullptr) {
  QuadBatches batches(1);
  size_t index = 0;
  line.FillVertices(batches, &index);
  EXPECT_EQ(index, 1u);
  ParticleQuadBatch& batch = batches[0];
  if (counts != nullptr) *counts = batch;
  std::vector<DX_V::PCT2> vertices;
  if (DX_V::PCT2* v = batch.LockVertices()) {
    vertices.assign(v, v + batch.MeshVertexCount());
    batch.UnlockVertices();
  }
  return vertices;
}

TEST_F(LineNode, ADefaultLineIsFiveVerticesAndFourTrianglesPerParticle) {
  ZKW_PtclSysNode_Line line;
  EXPECT_EQ(line.segments.GetCount(), 1);
  EXPECT_EQ(line.segments.currentIndex, 0);
  line.physics->particles = {ParticleAt({10, 20, 0}), ParticleAt({0, 50, 0})};
  ParticleQuadBatch batch;
  const std::vector<DX_V::PCT2> v = FillAlone(line, &batch);
  EXPECT_EQ(batch.MeshVertexCount(), 10u);
  EXPECT_EQ(batch.MeshTriangleCount(), 8u);
  ASSERT_EQ(v.size(), 10u);
  // The first ribbon runs from the particle along x, 25 wide.
  EXPECT_FLOAT_EQ(v[0].x, 10.0f);
  EXPECT_FLOAT_EQ(v[0].y - v[1].y, 25.0f);
  EXPECT_FLOAT_EQ(v[3].x, 110.0f);
  EXPECT_FLOAT_EQ(v[5].y, 62.5f) << "the second particle's ribbon";
  EXPECT_EQ(v[0].diffuse, 0xFFFFFFFFu);
}

TEST_F(LineNode, AnchorModeAndScalePlaceTheRibbon) {
  struct Case {
    unsigned anchor;
    int mode;
    float sx;
    float start, end;  // x of the ribbon's first and last edge pair
  };
  const Case cases[] = {
      {0, 0, 1, 10, 110},   {50, 0, 1, -40, 60},
      {100, 0, 1, -90, 10}, {0, 0, 2, 10, 210},  // mode 0 stretches the ribbon with the particle
      {50, 0, 2, -90, 110},                      // around the anchor
      {0, 1, 0.5f, 10, 60},                      // mode 1 cuts it instead
      {0, 2, 0.5f, 10, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.anchor << " " << c.mode << " " << c.sx);
    ZKW_PtclSysNode_Line line;
    line.anchor.SetValue(c.anchor);
    line.mode.SetValue(c.mode);
    line.physics->particles = {ParticleAt({10, 0, 0}, c.sx)};
    const std::vector<DX_V::PCT2> v = FillAlone(line);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_FLOAT_EQ(v[0].x, c.start);
    EXPECT_FLOAT_EQ(v[3].x, c.end);
  }
}

TEST_F(LineNode, TextureScaleRunsAlongTheFirstFramesWidth) {
  ZKW_PtclSysNode_Line line;
  line.physics->particles = {ParticleAt({0, 0, 0})};
  EXPECT_EQ(line.UvScale(), 0.0f) << "without a frame: no division by zero";
  EXPECT_EQ(FillAlone(line).at(3).v, 0.0f);

  UsePicture(line, DS_ImageFileLink(u"strip.png", 1), 50, 10, 2, 2, std::vector<uint32_t>(4, ~0u));
  line.OnTextureChanged();
  line.textureScale.SetValue(150);  // 2.5
  EXPECT_FLOAT_EQ(line.UvScale(), 2.5f / 50.0f);
  const std::vector<DX_V::PCT2> v = FillAlone(line);
  EXPECT_FLOAT_EQ(v.at(3).v, 5.0f);
  EXPECT_FLOAT_EQ(v.at(2).v, 2.5f);
}

TEST_F(LineNode, ColourTakesTheNodeTheParticleAndTheParent) {
  ZKW_PtclSysNode_Line line;
  line.colour.SetValue(0x0080FF);  // red 255, green 128
  line.colour.alpha.SetValue(50);  // alpha byte 127
  ParticleHandle parent = MakeChildParticle({});
  parent->floats[ParticleRecord::kAlpha] = 0.6f;
  ParticleHandle p = MakeChildParticle(parent);
  p->floats[ParticleRecord::kAlpha] = 1.0f;
  p->vectors[ParticleRecord::kColour] = D3DXVECTOR3(1, 0.6f, 1);
  line.physics->particles = {p};
  const std::vector<DX_V::PCT2> v = FillAlone(line);
  // a = 127/255 x 0.6 (76.2), r = 1, g = 128/255 x 0.6 (76.8), b = 0; truncated.
  EXPECT_EQ(v.at(0).diffuse, 0x4CFF4C00u);
}

TEST_F(LineNode, WithoutSegmentsTheNodeAndItsChildrenAreInert) {
  ZKW_PtclSysNode_Line line;
  line.AddChild(Node<ZKW_PtclSysNode_Picture>(2));
  line.options.glow.enabled.SetValue(1);
  line.options.glow.mode.SetValue(2);
  EXPECT_EQ(line.NeedsPictureBelow(), 1);
  line.segments.ExecuteCommand(AListMediaParam::kRemoveItem, nullptr);
  EXPECT_EQ(line.NeedsPictureBelow(), 0) << "nothing is drawn, so no picture below is read";
  ParticleList parents{MakeChildParticle({})};
  EXPECT_EQ(line.UpdateParticles(0.1f, &parents), 0);
  QuadBatches batches(2);
  size_t index = 0;
  line.FillVertices(batches, &index);
  EXPECT_EQ(index, 0u);
}

TEST_F(LineNode, UpdateFillAndDrawWalkTheSameBatchesChildrenFirst) {
  const DS_ImageFileLink link(u"white.png", 1);
  for (const int order : {0, 1}) {
    SCOPED_TRACE(order);
    auto system = std::make_unique<ZKW_PtclSys_Constructor>();
    auto line = std::make_unique<ZKW_PtclSysNode_Line>();
    line->SetPhysics(Group(2));
    line->childrenOrder.SetValue(order);
    line->options.radialGlow.enabled.SetValue(1);  // takes no batch of a line
    UsePicture(*line, link, 4, 4, 2, 2, std::vector<uint32_t>(4, ~0u));
    auto child = std::make_unique<ZKW_PtclSysNode_Picture>();
    child->SetPhysics(Group(3));
    UsePicture(*child, link, 4, 4, 2, 2, std::vector<uint32_t>(4, ~0u));
    line->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(child)));
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(line)));

    StartSlideOn(renderer_, 64, 64, 0xFF000000);
    RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(system->CreateRuntimeObject())};
    objects.front()->AdvanceTime(0.0f);
    const QuadBatches& batches = static_cast<ZKW_PtclSys_Obj&>(*objects.front()).Batches();
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].QuadCount(), 6u) << "the child's quads, for 2 x 3 particles";
    EXPECT_EQ(batches[1].MeshTriangleCount(), 8u) << "the line's two ribbons";

    ClearLog();
    Frame(renderer_, objects);
    std::vector<uint32_t> drawn;
    for (const gfx::FrameLogEntry& e : Log())
      if (e.technique == "BlendNormal_PMTexture") drawn.push_back(e.vertexCount);
    EXPECT_EQ(drawn, (std::vector<uint32_t>{36, 24}));
  }
}

TEST_F(LineNode, ARibbonShowsTheTextureAcrossItsEdgesAndCentre) {
  constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
  auto system = std::make_unique<ZKW_PtclSys_Constructor>();
  system->Root().Physics().position.SetValue(D3DXVECTOR3(32, 32, 0));
  auto line = std::make_unique<ZKW_PtclSysNode_Line>();
  line->SetPhysics(Group(1));
  line->anchor.SetValue(50);  // from x 12 to 52, centred on the particle
  ZKW_StraightWidehtLine& segment = *line->segments.Value()[0];
  segment.SetValue(40);
  segment.width.value.SetValue(24);
  // u runs across the ribbon: red at the edge on the particle's +y side (lower on the screen),
  // green at the centre, blue at the other edge.
  UsePicture(*line, DS_ImageFileLink(u"across.png", 1), 4, 1, 4, 1, {kRed, kGreen, kGreen, kBlue});
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(line)));
  DrawOnce(*system, 0xFF000000);

  const auto near = [](uint32_t a, uint32_t b) {
    for (const int shift : {0, 8, 16, 24})
      if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 40) return false;
    return true;
  };
  for (const int x : {20, 32, 45}) {
    SCOPED_TRACE(x);
    EXPECT_TRUE(near(PixelAt(x, 32), kGreen)) << std::hex << PixelAt(x, 32);
    EXPECT_TRUE(near(PixelAt(x, 42), kRed)) << std::hex << PixelAt(x, 42);
    EXPECT_TRUE(near(PixelAt(x, 22), kBlue)) << std::hex << PixelAt(x, 22);
    EXPECT_EQ(PixelAt(x, 16), 0xFF000000u) << "outside the 24 wide ribbon";
    EXPECT_EQ(PixelAt(x, 48), 0xFF000000u);
  }
  EXPECT_EQ(PixelAt(8, 32), 0xFF000000u) << "before its start";
  EXPECT_EQ(PixelAt(56, 32), 0xFF000000u) << "past its end";
}

// A two-segment line: anchor 50, mode 2, texture scale 150, the second segment 50 long with a
// width envelope and spreads.
std::unique_ptr<ZKW_PtclSysNode_Line> SampleLine() {
  auto line = std::make_unique<ZKW_PtclSysNode_Line>();
  line->anchor.SetValue(50);
  line->mode.SetValue(2);
  line->textureScale.SetValue(150);
  line->colour.SetValue(0x123456);
  line->SetPhysics(Group(4));
  line->segments.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
  ZKW_StraightWidehtLine& second = *line->segments.Value()[1];
  second.SetValue(50);
  second.opacity.value.SetValue(30);
  second.opacity.spread.SetValue(10);
  second.width.spread.SetValue(20);
  second.width.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_Line>(
      std::vector<ZKW_VGraph_Line::Point>{{0, 0}, {0.5f, 1}, {1, 0}})));
  return line;
}

TEST_F(LineNode, RecordsReadBack) {
  const auto line = SampleLine();
  const std::vector<uint8_t> bytes = Saved(*line);
  bool whole = false;
  const auto item = ReadItem(bytes, &whole);
  auto* read = dynamic_cast<ZKW_PtclSysNode_Line*>(item.get());
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(Saved(*read), bytes);
  EXPECT_FLOAT_EQ(read->anchor.Scaled(), -0.5f);
  EXPECT_EQ(read->mode.Value(), 2);
  EXPECT_FLOAT_EQ(read->textureScale.Scaled(), 2.5f);
  EXPECT_EQ(read->colour.Value(), 0x123456u);
  ASSERT_EQ(read->segments.GetCount(), 2);
  EXPECT_EQ(read->segments.currentIndex, 0);
  const ZKW_StraightWidehtLine& second = *read->segments.Value()[1];
  EXPECT_EQ(second.Length(), 50u);
  EXPECT_FLOAT_EQ(second.opacity.value.Scaled(), 0.7f);
  EXPECT_FLOAT_EQ(second.width.spread.Scaled(), 0.8f);
  EXPECT_STREQ(second.width.envelope.Graph()->GetClassName(), "ZKW_VGraph_Line");
}

TEST_F(LineNode, AVersionOneRecordKeepsModeAndTextureScale) {
  const auto line = SampleLine();
  const std::vector<uint8_t> bytes = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysNode_Line", 1);
    a.io().WriteUInt32(100);
    a.io().WriteDword(2);
    for (const auto& segment : line->segments.Value())
      WriteSegment(a, *segment);
    line->ZKW_PtclSysNodePic_TexDynamic::Save(a);
  });
  bool whole = false;
  const auto item = ReadItem(bytes, &whole);
  auto* read = dynamic_cast<ZKW_PtclSysNode_Line*>(item.get());
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(read->mode.Value(), 0);
  EXPECT_EQ(read->textureScale.Value(), 100u);
  EXPECT_FLOAT_EQ(read->textureScale.Scaled(), 2.0f);
  EXPECT_FLOAT_EQ(read->anchor.Scaled(), -1.0f);
  EXPECT_EQ(read->segments.GetCount(), 2);
  EXPECT_EQ(read->colour.Value(), 0x123456u);
}

TEST_F(LineNode, ADamagedSegmentCountFailsTheStream) {
  std::vector<uint8_t> bytes = Bytes([](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysNode_Line", 2);
    a.io().WriteUInt32(0);
    a.io().WriteDword(0x40000000);
  });
  renderer_test::ReadArchive source(bytes);
  const auto item = ReadByName(source.archive(), GetIofItemRegistry());
  EXPECT_TRUE(source.archive().Failed());
}

// Segment lengths of a list, in order.
std::vector<unsigned> Lengths(const LineSegments& list) {
  std::vector<unsigned> lengths;
  for (const auto& segment : list.Value())
    lengths.push_back(segment->Length());
  return lengths;
}

TEST(LineSegments, ListOperations) {
  LineSegments list;
  EXPECT_TRUE(list.AddItem());
  EXPECT_EQ(list.currentIndex, 0) << "the first segment becomes current";
  list.Value()[0]->SetValue(1);
  list.AddItem();
  list.Value()[1]->SetValue(2);
  list.AddItem();  // after the current one, segment 0
  EXPECT_EQ(Lengths(list), (std::vector<unsigned>{1, 100, 2}));
  EXPECT_EQ(list.GetItemName(0), u"Segment 01");
  EXPECT_EQ(list.GetItemName(11), u"Segment 12");

  EXPECT_EQ(list.MoveItemDown(0), 1);
  EXPECT_EQ(list.MoveItemDown(2), 0);
  EXPECT_EQ(list.MoveItemUp(0), 0);
  EXPECT_EQ(list.MoveItemUp(2), 1);
  EXPECT_EQ(Lengths(list), (std::vector<unsigned>{100, 2, 1}));
  EXPECT_TRUE(list.RemoveItem(5));
  EXPECT_TRUE(list.RemoveItem(-1));
  EXPECT_EQ(list.GetCount(), 3);
  list.currentIndex = 2;
  EXPECT_TRUE(list.RemoveItem(0));
  EXPECT_EQ(Lengths(list), (std::vector<unsigned>{2, 1}));
  EXPECT_EQ(list.currentIndex, 2) << "RemoveItem leaves the current index";
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
}

TEST(LineSegments, UndoRecordsRealChangesAndReselects) {
  struct Manager : UndoManager {
    void Record(UndoCtrl* control, MediaControl*) override {
      control->Commit();
      ++records;
    }
    int records = 0;
  } manager;
  LineSegments list;
  list.AddItem();  // as a new node has it
  std::vector<std::string> log;
  RecordingControl editor("editor", &log, &list);
  SetUndoManager(&manager);
  list.ExecuteCommand(AListMediaParam::kAddItem, &editor);
  list.ExecuteCommand(AListMediaParam::kMoveItemUp, &editor);  // the first cannot move up
  list.ExecuteCommand(1, &editor);                             // a selection changes no items
  EXPECT_EQ(manager.records, 1) << "commands that leave the items as they were are no steps";

  // Past the end after undo: the last segment is selected.
  list.ExecuteCommand(AListMediaParam::kAddItem, &editor);
  list.ExecuteCommand(2, &editor);
  SetUndoManager(nullptr);
  list.UndoControl().Undo();
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.currentIndex, 1);
  list.UndoControl().Redo();
  EXPECT_EQ(list.GetCount(), 3);

  // No selection after undo: the last one too.
  LineSegments single;
  SetUndoManager(&manager);
  single.ExecuteCommand(AListMediaParam::kAddItem, &editor);
  single.ExecuteCommand(AListMediaParam::kRemoveItem, &editor);
  SetUndoManager(nullptr);
  EXPECT_EQ(single.currentIndex, -1);
  single.UndoControl().Undo();
  EXPECT_EQ(single.GetCount(), 1);
  EXPECT_EQ(single.currentIndex, 0);
}

}  // namespace
}  // namespace tree_test
