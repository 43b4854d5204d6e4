// Stored forms of the emitter figures and the gradients: the exact bytes Save writes, round
// trips through the writing stream, cut-short and unknown records.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "geometry/figure/figure_fixture.h"
#include "geometry/figure/zkw_vfigure_bspline.h"
#include "geometry/figure/zkw_vfigure_rect.h"
#include "geometry/figure/zkw_vfigure_sector.h"
#include "geometry/gradient/zkw_custom_gradient.h"
#include "geometry/gradient/zkw_vgradient_circular.h"
#include "geometry/gradient/zkw_vgradient_linear.h"
#include "geometry/path/bspline_point_io.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;
using Item = std::unique_ptr<DS_IOF_Item>;

void WriteBaseFigure(DS_IOF_Archive& a, const V& c) {
  WriteRecordHeader(a, u"ZKW_VFigure", 1);
  a.io().WriteFloat(c.x);
  a.io().WriteFloat(c.y);
  a.io().WriteFloat(c.z);
}

void WriteLinear(DS_IOF_Archive& a, const V& s, const V& e, unsigned vs, unsigned ve) {
  WriteRecordHeader(a, u"ZKW_VGradient_Linear", 1);
  for (float f : {s.x, s.y, s.z, e.x, e.y, e.z})
    a.io().WriteFloat(f);
  a.io().WriteUInt32(vs);
  a.io().WriteUInt32(ve);
  WriteRecordHeader(a, u"ZKW_VGradient", 1);
}

struct RecordCase {
  const char* name;
  std::function<Item()> make;  // a non-default object of the kind
  std::function<void(DS_IOF_Archive&)> expected;
  std::function<Item(DS_IOF_Archive&)> read;
  std::function<void(const DS_IOF_Item& made, const DS_IOF_Item& read)> same;
};

Item ReadFigure(DS_IOF_Archive& a) {
  return ReadVFigure(a);
}
Item ReadGradient(DS_IOF_Archive& a) {
  return ReadVGradient(a);
}

std::unique_ptr<ZKW_VFigure_BSpline> MakeBand() {
  auto band = std::make_unique<ZKW_VFigure_BSpline>();
  for (V p : {V(0, 0, 0), V(40, 30, 0), V(80, 0, 0)}) {
    DX_SmartPnt node;
    node.SetValueSilently(p);
    band->path.AppendPoint(node, nullptr);
  }
  band->path.Rebuild();
  band->position.SetValue(V(-1, -2, -3));
  return band;
}

void SameLinear(const DS_IOF_Item& made, const DS_IOF_Item& read) {
  const auto& a = dynamic_cast<const ZKW_VGradient_Linear&>(made);
  const auto& b = dynamic_cast<const ZKW_VGradient_Linear&>(read);
  ExpectNear(b.start.Value(), a.start.Value(), 0.0f);
  ExpectNear(b.end.Value(), a.end.Value(), 0.0f);
  EXPECT_EQ(b.StartValue(), a.StartValue()) << "the scaled values follow the read percents";
  EXPECT_EQ(b.EndValue(), a.EndValue());
}

std::vector<RecordCase> Cases() {
  return {
      {"ZKW_VFigure_Rect",
       [] {
         auto rect = std::make_unique<ZKW_VFigure_Rect>();
         rect->width.SetValue(100);
         rect->height.SetValue(50);
         rect->position.SetValue(V(1, 2, 3));
         return Item(std::move(rect));
       },
       [](DS_IOF_Archive& a) {
         WriteRecordHeader(a, u"ZKW_VFigure_Rect", 1);
         a.io().WriteUInt32(100);
         a.io().WriteUInt32(50);
         WriteBaseFigure(a, V(1, 2, 3));
       },
       ReadFigure,
       [](const DS_IOF_Item&, const DS_IOF_Item& read) {
         const auto& rect = dynamic_cast<const ZKW_VFigure_Rect&>(read);
         EXPECT_EQ(rect.width.Value(), 100u);
         EXPECT_EQ(rect.height.Value(), 50u);
         ExpectNear(rect.position.Value(), V(1, 2, 3), 0.0f);
       }},
      {"ZKW_VFigure_Sector",
       [] {
         auto sector = std::make_unique<ZKW_VFigure_Sector>();
         sector->innerRadius.SetValue(10);
         sector->radius.SetValue(80);
         sector->sector.SetValue(45);
         sector->sector.spread.SetValue(30);
         sector->position.SetValue(V(-5, 6, 0));
         return Item(std::move(sector));
       },
       [](DS_IOF_Archive& a) {
         WriteRecordHeader(a, u"ZKW_VFigure_Sector", 1);
         for (unsigned v : {10u, 80u, 45u, 30u})
           a.io().WriteUInt32(v);
         WriteBaseFigure(a, V(-5, 6, 0));
       },
       ReadFigure,
       [](const DS_IOF_Item& made, const DS_IOF_Item& read) {
         const auto& a = dynamic_cast<const ZKW_VFigure_Sector&>(made);
         const auto& b = dynamic_cast<const ZKW_VFigure_Sector&>(read);
         EXPECT_EQ(b.innerRadius.Value(), 10u);
         EXPECT_EQ(b.radius.Value(), 80u);
         EXPECT_EQ(b.sector.Value(), 45u);
         EXPECT_EQ(b.sector.spread.Value(), 30u);
         EXPECT_EQ(b.sector.Direction(), a.sector.Direction()) << "derived vectors recomputed";
       }},
      {"ZKW_VFigure_BSpline", [] { return Item(MakeBand()); },
       [](DS_IOF_Archive& a) {
         WriteRecordHeader(a, u"ZKW_VFigure_BSpline", 1);
         WriteBSplinePointVector(a, MakeBand()->path.Value());
         WriteBaseFigure(a, V(-1, -2, -3));
       },
       ReadFigure,
       [](const DS_IOF_Item& made, const DS_IOF_Item& read) {
         const auto& a = dynamic_cast<const ZKW_VFigure_BSpline&>(made);
         const auto& b = dynamic_cast<const ZKW_VFigure_BSpline&>(read);
         EXPECT_EQ(b.path.GetCount(), 3);
         EXPECT_GT(b.path.Cursor().TotalLength(), 100.0f) << "the path is rebuilt";
         EXPECT_EQ(b.path.Cursor().TotalLength(), a.path.Cursor().TotalLength());
       }},
      {"ZKW_VGradient_Linear",
       [] {
         auto linear = std::make_unique<ZKW_VGradient_Linear>();
         linear->start.SetValue(V(1, 2, 3));
         linear->end.SetValue(V(4, 5, 6));
         linear->startValue.SetValue(50);
         linear->endValue.SetValue(150);
         return Item(std::move(linear));
       },
       [](DS_IOF_Archive& a) { WriteLinear(a, V(1, 2, 3), V(4, 5, 6), 50, 150); }, ReadGradient,
       SameLinear},
      {"ZKW_VGradient_Circular",
       [] {
         auto circular = std::make_unique<ZKW_VGradient_Circular>();
         circular->start.SetValue(V(7, 8, 0));
         circular->startValue.SetValue(20);
         circular->endValue.SetValue(90);
         return Item(std::move(circular));
       },
       [](DS_IOF_Archive& a) {
         WriteRecordHeader(a, u"ZKW_VGradient_Circular", 1);
         WriteLinear(a, V(7, 8, 0), V(100, 100, 0), 20, 90);
       },
       ReadGradient, SameLinear},
  };
}

TEST(FigureGradientRecords, EveryKindWritesItsRecordAndReadsItBack) {
  RegisterFigureClasses();
  EXPECT_EQ(GetVFigureRegistry().Size(), 3u);
  EXPECT_EQ(GetVGradientRegistry().Size(), 2u);
  for (const RecordCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const Item made = c.make();
    const std::vector<uint8_t> saved = SavedBytes(*made);
    EXPECT_EQ(saved, WrittenBytes(c.expected));

    ArchiveSource source(SourceMode::Memory, saved);
    const Item read = c.read(source.archive());
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(source.archive().Failed());
    EXPECT_EQ(source.buffer().Remaining(), 0u);
    c.same(*made, *read);
    EXPECT_EQ(SavedBytes(*read), saved);
  }
}

TEST(FigureGradientRecords, CutShortRecordsFailWithoutHarm) {
  RegisterFigureClasses();
  for (const RecordCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> saved = SavedBytes(*c.make());
    for (size_t length = 0; length < saved.size(); ++length) {
      ArchiveSource source(SourceMode::Memory, {saved.begin(), saved.begin() + length});
      c.read(source.archive());
      EXPECT_TRUE(source.archive().Failed()) << "cut at " << length;
    }
  }
}

TEST(FigureGradientRecords, UnknownClassesGiveNothingAndFailTheStream) {
  RegisterFigureClasses();
  for (auto read : {ReadFigure, ReadGradient}) {
    ArchiveSource source(SourceMode::Memory, WrittenBytes([](DS_IOF_Archive& a) {
                           WriteRecordHeader(a, u"ZKW_VFigure", 1);  // a base is not registered
                           a.io().WriteFloat(1);
                         }));
    EXPECT_EQ(read(source.archive()), nullptr);
    EXPECT_TRUE(source.archive().Failed());
  }
}

TEST(FigureGradientRecords, FiguresAndGradientsAreMadeByName) {
  RegisterFigureClasses();
  for (const char* name : {"ZKW_VFigure_Rect", "ZKW_VFigure_Sector", "ZKW_VFigure_BSpline"}) {
    const std::unique_ptr<ZKW_VFigure> figure = CreateVFigureByName(name);
    ASSERT_NE(figure, nullptr) << name;
    EXPECT_STREQ(figure->GetClassName(), name);
    ExpectNear(figure->position.Value(), V(0, 0, 0), 0.0f);
  }
  EXPECT_EQ(CreateVFigureByName("ZKW_VFigure"), nullptr);
  EXPECT_EQ(CreateVFigureByName("ZKW_VGeom2D_Rect"), nullptr) << "shapes are another family";

  ZKW_CustomGradient holder;
  const auto* linear = dynamic_cast<const ZKW_VGradient_Linear*>(holder.Gradient());
  ASSERT_NE(linear, nullptr);
  EXPECT_EQ(typeid(*linear), typeid(ZKW_VGradient_Linear));
  EXPECT_EQ(SavedBytes(*linear), SavedBytes(ZKW_VGradient_Linear()));
}

}  // namespace
