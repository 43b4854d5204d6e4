#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/graph/graph_spread_prm.h"
#include "core/graph/vgraph_registry.h"
#include "core/param/recording_control.h"
#include "core/timing/timing_test_support.h"

namespace {

using Log = std::vector<std::string>;

TEST(ValueSpreadPrm, FactorLowersTheValueByUpToTheSpread) {
  ValueSpreadPrm fresh;
  EXPECT_EQ(fresh.value.Scaled(), 0.0f);
  EXPECT_EQ(fresh.spread.Scaled(), 1.0f);

  const struct {
    unsigned value, spread;
    float r, factor;
  } cases[] = {
      {40, 0, 0.0f, 40.0f},  {40, 0, 0.7f, 40.0f},     // no spread: the value itself
      {40, 100, 0.0f, 0.0f}, {40, 100, 1.0f, 40.0f},   // the full range
      {40, 50, 0.5f, 30.0f}, {40, 150, 0.0f, -20.0f},  // above 100 % is not limited
  };
  for (const auto& c : cases) {
    ValueSpreadPrm p;
    p.value.SetValue(c.value);
    p.spread.SetValue(c.spread);
    EXPECT_FLOAT_EQ(p.Factor(c.r), c.factor) << c.value << " " << c.spread << " " << c.r;
  }
}

TEST(ValueSpreadPrm, ReadNotifiesOnlyWhatChanged) {
  ValueSpreadPrm p(5, 0.5f);
  Log log;
  RecordingControl value("value", &log, &p.value);
  RecordingControl spread("spread", &log, &p.spread);
  const auto bytes = WrittenBytes([](DS_IOF_Archive& a) {
    a.io().WriteUInt32(5);
    a.io().WriteUInt32(30);
  });
  ArchiveSource source(SourceMode::Memory, bytes);
  ReadValueSpread(source.archive(), p);
  EXPECT_EQ(log, Log{"spread"});
  EXPECT_FLOAT_EQ(p.value.Scaled(), 2.5f);
  EXPECT_FLOAT_EQ(p.spread.Scaled(), 0.7f);
  EXPECT_EQ(WrittenBytes([&](DS_IOF_Archive& a) { WriteValueSpread(a, p); }), bytes);
}

TEST(CustomGraph, AlwaysHoldsAGraphAndSharesItWhenCopied) {
  ZKW_CustomGraph envelope;
  ASSERT_NE(envelope.Graph(), nullptr);
  EXPECT_STREQ(envelope.Graph()->GetClassName(), "ZKW_VGraph_Const");
  unsigned cursor = 1;
  for (float x : {-1.0f, 0.0f, 0.3f, 1.0f, 7.0f})
    EXPECT_EQ(envelope.ValueAt(x, &cursor), 1.0f);
  EXPECT_EQ(cursor, 1u) << "the constant graph leaves the cursor alone";

  ZKW_CustomGraph copy(envelope);
  EXPECT_EQ(copy.Graph(), envelope.Graph());
  EXPECT_EQ(envelope.Value().Count(), 4) << "two holders and their undo copies";

  Log log;
  RecordingControl watcher("watcher", &log, &copy);
  copy.SetGraph(DS_SafePtr<ZKW_VGraph>());
  EXPECT_EQ(copy.Graph(), envelope.Graph()) << "an empty handle is ignored";
  copy.SetGraph(copy.Value());
  EXPECT_TRUE(log.empty()) << "the same graph again tells nobody";
  copy.SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_Const>()));
  EXPECT_EQ(log, Log{"watcher"});
  EXPECT_NE(copy.Graph(), envelope.Graph());
}

TEST(GraphSpreadPrm, RecordRoundTripsAndAnUnknownGraphKeepsTheOldOne) {
  RegisterTimelineClasses();
  GraphSpreadPrm p(100, 0.0001f);
  p.value.SetValue(300);
  p.spread.SetValue(25);
  const auto bytes = WrittenBytes([&](DS_IOF_Archive& a) { WriteGraphSpreadPrm(a, p); });

  GraphSpreadPrm back;
  ZKW_VGraph* before = back.envelope.Graph();
  ArchiveSource source(SourceMode::Memory, bytes);
  ReadGraphSpreadPrm(source.archive(), back);
  EXPECT_FALSE(source.archive().Failed());
  EXPECT_EQ(source.Consumed(), bytes.size());
  EXPECT_EQ(back.value.Value(), 300u);
  EXPECT_EQ(back.spread.Value(), 25u);
  EXPECT_NE(back.envelope.Graph(), before) << "the graph read replaces the default";
  EXPECT_FLOAT_EQ(p.FactorAt(1.0f, 0.5f, nullptr), 0.03f);

  const auto unknown = WrittenBytes([](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"ZKW_VGraph_Unknown");
    a.io().WriteDword(1);
    a.io().WriteUInt32(9);
    a.io().WriteUInt32(9);
  });
  ArchiveSource bad(SourceMode::Memory, unknown);
  ZKW_VGraph* kept = back.envelope.Graph();
  ReadGraphSpreadPrm(bad.archive(), back);
  EXPECT_TRUE(bad.archive().Failed());
  EXPECT_EQ(back.envelope.Graph(), kept);
  EXPECT_EQ(back.value.Value(), 300u) << "a failed stream delivers nothing";
}

TEST(GraphRegistry, CreatesByNameAndReadsTheConstantRecord) {
  RegisterTimelineClasses();
  EXPECT_EQ(CreateGraphByName("ZKW_VGraph_Unknown"), nullptr);
  const auto graph = CreateGraphByName("ZKW_VGraph_Const");
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(graph->MaxValue(), 1.0f);
  float x = 0, y = 0;
  EXPECT_FALSE(graph->PointAt(0, &x, &y));
  EXPECT_EQ(graph->GetChangeParam(), nullptr);

  const auto bytes = SavedBytes(*graph);
  std::vector<uint8_t> expected;
  for (std::u16string_view name : {u"ZKW_VGraph_Const", u"ZKW_VGraph"}) {
    Append(expected, Bytes({0xFF, 0xFE, 0xFF, static_cast<int>(name.size())}));
    AppendUnits(expected, name);
    Append(expected, Bytes({1, 0, 0, 0}));
  }
  EXPECT_EQ(bytes, expected);
  ArchiveSource source(SourceMode::Memory, bytes);
  EXPECT_NE(ReadVGraph(source.archive()), nullptr);
  EXPECT_EQ(source.Consumed(), bytes.size());
}

}  // namespace
