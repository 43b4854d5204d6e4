#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/graph/graph_spread_prm.h"
#include "core/graph/vgraph_registry.h"
#include "core/registry/core_class_list.h"
#include "core/timing/timing_test_support.h"
#include "geometry/geometry_class_list.h"
#include "geometry/graph/vgraph_line.h"
#include "geometry/graph/vgraph_line_kinds.h"

namespace {

using Points = std::vector<ZKW_VGraph_Line::Point>;

void RegisterGraphClasses() {
  RegisterClasses({RegisterCoreClasses, RegisterGeometryClasses});
}

// Each call starts a fresh cursor at 1 unless a cursor is carried over.
float At(const ZKW_VGraph& graph, float x) {
  unsigned cursor = 1;
  return graph.ValueAt(x, &cursor);
}

TEST(VGraphLine, KnotsAndBetweenThem) {
  const ZKW_VGraph_Line line(Points{{0, 0}, {0.5f, 1}, {1, 0.5f}});
  const struct {
    float x, y;
  } cases[] = {{0, 0}, {0.25f, 0.5f}, {0.5f, 1}, {0.75f, 0.75f}, {1, 0.5f}, {1.01f, 0}};
  for (const auto& c : cases)
    EXPECT_FLOAT_EQ(At(line, c.x), c.y) << "x " << c.x;
  EXPECT_FLOAT_EQ(At(line, -0.5f), -1.0f) << "below the first point: the first segment extended";
  EXPECT_FLOAT_EQ(line.MaxValue(), 1.0f);

  float x = 0, y = 0;
  EXPECT_TRUE(line.PointAt(2, &x, &y));
  EXPECT_EQ(x, 1.0f);
  EXPECT_EQ(y, 0.5f);
  EXPECT_FALSE(line.PointAt(3, &x, &y));
}

TEST(VGraphLine, CursorResumesAndNeverMovesBack) {
  const ZKW_VGraph_Line ramp(Points{{0, 0}, {1, 1}});
  unsigned cursor = 1;
  EXPECT_FLOAT_EQ(ramp.ValueAt(0.25f, &cursor), 0.25f);
  EXPECT_EQ(cursor, 1u);
  EXPECT_FLOAT_EQ(ramp.ValueAt(1.5f, &cursor), 0.0f);
  EXPECT_EQ(cursor, 2u);

  const ZKW_VGraph_Line up(Points{{0, 2}, {1, 4}});
  EXPECT_FLOAT_EQ(At(up, -0.5f), 1.0f);

  // A vertical step: the first segment ends at 0.5, the walk goes on past the step.
  const ZKW_VGraph_Line step(Points{{0, 0}, {0.5f, 1}, {0.5f, 3}, {1, 3}});
  cursor = 1;
  EXPECT_FLOAT_EQ(step.ValueAt(0.5f, &cursor), 1.0f);
  EXPECT_FLOAT_EQ(step.ValueAt(0.75f, &cursor), 3.0f);
  EXPECT_EQ(cursor, 3u);
  EXPECT_FLOAT_EQ(step.ValueAt(0.1f, &cursor), 3.0f) << "a carried cursor does not go back";

  cursor = 0;  // treated as 1: never reads before the first point
  EXPECT_FLOAT_EQ(ramp.ValueAt(0.5f, &cursor), 0.5f);
  EXPECT_EQ(cursor, 1u);
  EXPECT_FLOAT_EQ(ramp.ValueAt(0.5f, nullptr), 0.5f);

  EXPECT_EQ(At(ZKW_VGraph_Line(), 0.5f), 0.0f);
  EXPECT_EQ(At(ZKW_VGraph_Line(Points{{0, 1}}), 0.0f), 0.0f) << "one point: no segment";
}

TEST(VGraphLine, MaxValueIsNeverNegative) {
  EXPECT_EQ(ZKW_VGraph_Line(Points{{0, -2}, {1, -1}}).MaxValue(), 0.0f);
  EXPECT_EQ(ZKW_VGraph_Line().MaxValue(), 0.0f);
}

TEST(VGraphStraightLine, DefaultFallsFromOneToZero) {
  const ZKW_VGraph_StraightLine line;
  const struct { float x, y; } cases[] = {{0, 1}, {0.5f, 0.5f}, {1, 0}, {1.01f, 0}};
  for (const auto& c : cases)
    EXPECT_FLOAT_EQ(At(line, c.x), c.y) << "x " << c.x;
  EXPECT_FLOAT_EQ(At(ZKW_VGraph_StraightLine(0.2f, 0.6f), 0.5f), 0.4f);
}

TEST(VGraphKinds, RecordsRoundTripThroughTheRegistry) {
  RegisterGraphClasses();
  ZKW_VGraph_QBezier bezier;
  bezier.controls = {1, 2, 3, 4, 5, 6};
  bezier.SetPoints(Points{{0, 0}, {0.3f, 0.9f}, {1, 0.2f}});
  ZKW_VGraph_GradientLine gradient;
  gradient.SetPoints(Points{{0, 1}, {1, 1}});
  ZKW_VGraph_Line line(Points{{0, 0.5f}, {1, 0.25f}});
  ZKW_VGraph_StraightLine straight(0.3f, 0.9f);
  ZKW_VGraph_Const constant;

  for (const ZKW_VGraph* graph :
       std::vector<const ZKW_VGraph*>{&bezier, &gradient, &line, &straight, &constant}) {
    SCOPED_TRACE(graph->GetClassName());
    const auto bytes = SavedBytes(*graph);
    ArchiveSource source(SourceMode::Memory, bytes);
    const std::unique_ptr<ZKW_VGraph> back = ReadVGraph(source.archive());
    ASSERT_NE(back, nullptr);
    EXPECT_FALSE(source.archive().Failed());
    EXPECT_EQ(source.Consumed(), bytes.size());
    EXPECT_STREQ(back->GetClassName(), graph->GetClassName());
    EXPECT_EQ(SavedBytes(*back), bytes);
    for (float x : {0.0f, 0.3f, 0.65f, 1.0f})
      EXPECT_EQ(At(*back, x), At(*graph, x)) << "x " << x;
  }
  for (const char* name : {"ZKW_VGraph_Const", "ZKW_VGraph_Line", "ZKW_VGraph_QBezier",
                           "ZKW_VGraph_GradientLine", "ZKW_VGraph_StraightLine"}) {
    const auto made = CreateGraphByName(name);
    ASSERT_NE(made, nullptr) << name;
    EXPECT_STREQ(made->GetClassName(), name);
  }
}

TEST(VGraphKinds, StoredLayouts) {
  // The straight line stores its point count directly after its version.
  const auto straight = SavedBytes(ZKW_VGraph_StraightLine());
  std::vector<uint8_t> expected = Bytes({0xFF, 0xFE, 0xFF, 23});
  AppendUnits(expected, u"ZKW_VGraph_StraightLine");
  Append(expected, Bytes({1, 0, 0, 0, 2, 0, 0, 0}));
  ASSERT_GE(straight.size(), expected.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), straight.begin()));
  EXPECT_EQ(straight.size(), expected.size() + 16 + (4 + 10 * 2 + 4))
      << "two points, the base part";

  // The Bezier kind: six floats, then the whole line record.
  ZKW_VGraph_QBezier bezier;
  const auto bytes = SavedBytes(bezier);
  const size_t head = 4 + 18 * 2 + 4;
  std::vector<uint8_t> lineRecord = SavedBytes(ZKW_VGraph_Line());
  ASSERT_EQ(bytes.size(), head + 24 + lineRecord.size());
  EXPECT_TRUE(std::equal(lineRecord.begin(), lineRecord.end(), bytes.begin() + head + 24));
}

TEST(VGraphKinds, ACountBeyondTheDataFailsTheStream) {
  RegisterGraphClasses();
  std::vector<uint8_t> bytes = Bytes({0xFF, 0xFE, 0xFF, 15});
  AppendUnits(bytes, u"ZKW_VGraph_Line");
  Append(bytes, Bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0}));
  ArchiveSource source(SourceMode::Memory, bytes);
  const auto graph = ReadVGraph(source.archive());
  EXPECT_TRUE(source.archive().Failed());
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(At(*graph, 0.5f), 0.0f);
}

TEST(VGraphKinds, EnvelopeOfAGraphSpread) {
  RegisterGraphClasses();
  GraphSpreadPrm p(100, 0.01f);
  p.spread.SetValue(50);
  p.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_StraightLine>()));
  unsigned cursor = 1;
  EXPECT_FLOAT_EQ(p.FactorAt(0.0f, 0.25f, &cursor), 0.5f * 0.75f);
  EXPECT_FLOAT_EQ(p.FactorAt(1.0f, 0.75f, &cursor), 0.25f);

  const auto bytes = WrittenBytes([&](DS_IOF_Archive& a) { WriteGraphSpreadPrm(a, p); });
  GraphSpreadPrm back(0, 0.01f);
  ArchiveSource source(SourceMode::Memory, bytes);
  ReadGraphSpreadPrm(source.archive(), back);
  EXPECT_STREQ(back.envelope.Graph()->GetClassName(), "ZKW_VGraph_StraightLine");
  EXPECT_FLOAT_EQ(back.FactorAt(1.0f, 0.5f, nullptr), 0.5f);
}

}  // namespace
