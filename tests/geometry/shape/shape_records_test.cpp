// Stored forms of the twelve shape kinds: round trips through the writing stream, older
// versions, damaged input.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "geometry/curve/corner_point_io.h"
#include "geometry/shape/curve_shape_kinds.h"
#include "geometry/shape/shape_fixture.h"
#include "geometry/shape/shape_samples.h"
#include "geometry/shape/zkw_vgeom2d_freeform.h"
#include "geometry/shape/zkw_vgeom2d_rect.h"
#include "geometry/shape/zkw_vgeom2d_stripe.h"
#include "geometry/shape/zkw_vgeom2d_text.h"

namespace {

using V = D3DXVECTOR3;

TEST(ShapeRecords, EveryKindReadsBackAsItWasSaved) {
  RegisterShapeClasses();
  ASSERT_EQ(GetVGeom2DRegistry().Size(), 12u);
  for (const ShapeSample& c : ShapeSamples()) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<ZKW_VGeom2D> shape = c.make();
    EXPECT_STREQ(shape->GetClassName(), c.name);
    EXPECT_NE(GetVGeom2DRegistry().Find(Utf8ToWString(c.name)), nullptr);
    const std::vector<uint8_t> saved = SavedBytes(*shape);

    ArchiveSource header(SourceMode::Memory, saved);
    zkw_string stored;
    header.io().ReadWideString(stored);
    EXPECT_EQ(stored, Utf8ToWString(c.name)) << "Save writes the registered name";

    const std::unique_ptr<ZKW_VGeom2D> back = ReadWhole(saved);
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back->GetClassName(), c.name);
    EXPECT_EQ(SavedBytes(*back), saved);
    EXPECT_EQ(SavedBytes(*back->Clone()), saved) << "a clone stores the same record";

    const std::unique_ptr<ZKW_VGeom2D> fresh = CreateVGeom2DByName(c.name);
    ASSERT_NE(fresh, nullptr);
    EXPECT_STREQ(fresh->GetClassName(), c.name);
  }
  EXPECT_EQ(CreateVGeom2DByName("ZKW_VGeom2D_Curve"), nullptr) << "bases are not registered";
  EXPECT_EQ(CreateVGeom2DByName("ZKW_VGeom2D"), nullptr);
}

TEST(ShapeRecords, CutShortRecordsFailWithoutHarm) {
  RegisterShapeClasses();
  for (const ShapeSample& c : ShapeSamples()) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> saved = SavedBytes(*c.make());
    for (size_t length = 0; length < saved.size(); ++length) {
      ReadShape back = ReadShapeFrom({saved.begin(), saved.begin() + length});
      EXPECT_TRUE(back.failed) << "cut at " << length;
    }
  }
}

TEST(ShapeRecords, UnknownClassNameFailsTheStream) {
  RegisterShapeClasses();
  ReadShape back = ReadShapeFrom(WrittenBytes([](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_VGeom2D_Hexagon", 1);
    a.io().WriteUInt32(6);
  }));
  EXPECT_EQ(back.shape, nullptr);
  EXPECT_TRUE(back.failed);
}

TEST(ShapeRecords, LineSegmentNestsAWholePolylineRecord) {
  RegisterShapeClasses();
  ZKW_VGeom2D_LineSegment segment;
  segment.InitAsSegment(0, 0, 0, 3, 4, 0);
  ZKW_VGeom2D_Polyline polyline;
  polyline.InitAsSegment(0, 0, 0, 3, 4, 0);
  std::vector<uint8_t> expected =
      WrittenBytes([](DS_IOF_Archive& a) { WriteRecordHeader(a, u"ZKW_VGeom2D_LineSegment", 1); });
  Append(expected, SavedBytes(polyline));
  EXPECT_EQ(SavedBytes(segment), expected);

  const auto read = ReadWhole<ZKW_VGeom2D_LineSegment>(expected);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Smart().GetCount(), 2);
  EXPECT_EQ(read->NodeAt(1)->Value(), V(3, 4, 0));
}

// A polyline record with one node whose ZKW_VGeom2D_Curve part has `curveVersion`, followed by
// `extra` (a field of version 1) when given.
std::vector<uint8_t> PolylineRecord(uint32_t curveVersion, bool extra) {
  return WrittenBytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_VGeom2D_Polyline", 1);
    a.io().WriteDword(1);
    DX_BSplinePnt(4, 5).Write(a);
    WriteRecordHeader(a, u"ZKW_VGeom2D_Curve", curveVersion);
    if (extra) a.io().WriteUInt32(77);
    WriteRecordHeader(a, u"ZKW_VGeom2D", 1);
  });
}

TEST(ShapeRecords, CurveVersionOneSkipsItsExtraValue) {
  RegisterShapeClasses();
  const auto polyline = ReadWhole<ZKW_VGeom2D_Polyline>(PolylineRecord(1, true));
  ASSERT_NE(polyline, nullptr);
  EXPECT_EQ(SavedBytes(*polyline), PolylineRecord(2, false)) << "written back as version 2";
  EXPECT_EQ(polyline->NodeAt(0)->Value(), V(4, 5, 0));
}

TEST(ShapeRecords, CornerPointIntoAnEmptyHandle) {
  ArchiveSource in(SourceMode::Memory, WrittenBytes([](DS_IOF_Archive& a) {
                     DX_BSplinePnt point(4, 5);
                     point.secondHandle.SetValueSilently({1, 0, 0});
                     point.Write(a);
                   }));
  DS_SafePtr<ZKW_CornerBSplinePnt> handle;
  ReadCornerPoint(in.archive(), handle);
  ASSERT_TRUE(handle);
  EXPECT_EQ(handle->Value(), V(4, 5, 0));
  EXPECT_EQ(handle->secondHandle.Value(), V(1, 0, 0));
  EXPECT_EQ(in.Consumed(), 40u);
}

// A text record whose style block has version word `styleVersion` (the third value only in 2).
std::vector<uint8_t> TextRecord(int32_t styleVersion) {
  return WrittenBytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    WriteRecordHeader(a, u"ZKW_VGeom2D_Text", 1);
    io.WriteInt32(styleVersion);
    io.WriteWideString(u"Ab");
    FontStyleParams().Save(a);
    io.WriteInt32(1);
    io.WriteInt32(2);
    if (styleVersion > 1) io.WriteInt32(0);
    io.WriteFloat(5);
    io.WriteFloat(6);
    io.WriteFloat(0);
    ZKW_VGeom2D_Freeform().Save(a);
  });
}

TEST(ShapeRecords, TextWithAnOldStyleBlockIsWrittenBackInTheNewLayout) {
  RegisterShapeClasses();
  const auto read = ReadWhole<ZKW_VGeom2D_Text>(TextRecord(1));
  ASSERT_NE(read, nullptr);
  const ZKW_VGeom2D_Text& text = *read;
  EXPECT_EQ(text.style.text.Value(), u"Ab");
  EXPECT_EQ(text.style.value2.Value(), 2);
  EXPECT_EQ(text.offset.Value(), V(5, 6, 0));
  EXPECT_EQ(SavedBytes(text), TextRecord(2));
  EXPECT_EQ(TextRecord(2).size(), TextRecord(1).size() + 4);
}

// A stripe record of `version` around an empty polyline (a rectangle when `rectangle` is set);
// version 1 stores no start and end.
std::vector<uint8_t> StripeRecord(uint32_t version, bool rectangle = false) {
  return WrittenBytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_VGeom2D_Stripe", version);
    if (rectangle) {
      ZKW_VGeom2D_Rect().Save(a);
    } else {
      ZKW_VGeom2D_Polyline().Save(a);
    }
    ZKW_VGraph_Const().Save(a);
    a.io().WriteUInt32(8);   // width
    a.io().WriteUInt32(50);  // spread
    if (version > 1) {
      a.io().WriteUInt32(30);
      a.io().WriteUInt32(70);
    }
    WriteRecordHeader(a, u"ZKW_VGeom2D", 1);
  });
}

TEST(ShapeRecords, StripeVersionOneKeepsTheWholeCurve) {
  RegisterShapeClasses();
  const auto stripe = ReadWhole<ZKW_VGeom2D_Stripe>(StripeRecord(1));
  ASSERT_NE(stripe, nullptr);
  EXPECT_EQ(stripe->start.Value(), 0u);
  EXPECT_EQ(stripe->end.Value(), 100u);
  EXPECT_EQ(stripe->width.value.Value(), 8u);
  EXPECT_FLOAT_EQ(stripe->width.spread.Scaled(), 0.5f);

  const auto later = ReadWhole<ZKW_VGeom2D_Stripe>(StripeRecord(2));
  ASSERT_NE(later, nullptr);
  EXPECT_FLOAT_EQ(later->start.Scaled(), 0.3f);
  EXPECT_FLOAT_EQ(later->end.Scaled(), 0.7f);
  EXPECT_EQ(SavedBytes(*later), StripeRecord(2));

  // A centre line that is no curve shape leaves the holder empty; the stripe is written back
  // around an empty polyline.
  const auto empty = ReadWhole<ZKW_VGeom2D_Stripe>(StripeRecord(2, true));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->curve.Get(), nullptr);
  EXPECT_EQ(SavedBytes(*empty), StripeRecord(2));
}

TEST(ShapeRecords, FreeformCountsAndPictureSizesAreCheckedBeforeAllocating) {
  RegisterShapeClasses();
  const auto record = [](uint32_t cells, uint32_t pictureSize) {
    return WrittenBytes([&](DS_IOF_Archive& a) {
      WriteRecordHeader(a, u"ZKW_VGeom2D_Freeform", 1);
      a.io().WriteInt32(1);
      a.io().WriteFloat(1);
      a.io().WriteDword(cells);
      a.io().WriteInt32(1);
      a.io().WriteDword(pictureSize);
      a.io().WriteFloat(0);
      WriteRecordHeader(a, u"ZKW_VGeom2D", 1);
    });
  };
  for (uint32_t cells : {2u, 0x40000000u}) {
    ReadShape back = ReadShapeFrom(record(cells, 0));
    EXPECT_TRUE(back.failed) << cells << " cells in a record without any";
    ASSERT_NE(back.shape, nullptr);
    EXPECT_TRUE(dynamic_cast<ZKW_VGeom2D_Freeform&>(*back.shape).cells.empty());
  }
  for (uint32_t size : {40u, 0xFFFFFFF0u}) {
    ReadShape back = ReadShapeFrom(record(0, size));
    EXPECT_TRUE(back.failed) << "a picture of " << size << " bytes in a record without them";
    EXPECT_EQ(dynamic_cast<ZKW_VGeom2D_Freeform&>(*back.shape).picture.bytes.Count(), 0u);
  }
  EXPECT_FALSE(ReadShapeFrom(record(0, 0)).failed);
}

}  // namespace
