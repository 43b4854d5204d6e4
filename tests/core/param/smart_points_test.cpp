#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/param/smart_points.h"

namespace {

TEST(SmartPoints, MadeFromOtherPoints) {
  DX_BSplinePnt original(3, 4);
  EXPECT_EQ(original.Value(), D3DXVECTOR3(3, 4, 0));
  original.firstHandle.SetValue({1, 0, 0});
  original.secondHandle.SetValue({-1, 0, 0});
  EXPECT_EQ(original.tag.Count(), 1);

  // Through the plain-point constructor a B-spline point loses its handles and shares the tag.
  DX_BSplinePnt shared(static_cast<const DX_SmartPnt&>(original));
  EXPECT_EQ(shared.Value(), original.Value());
  EXPECT_EQ(shared.firstHandle.Value(), D3DXVECTOR3());
  EXPECT_EQ(shared.secondHandle.Value(), D3DXVECTOR3());
  EXPECT_EQ(original.tag.Count(), 2);

  // A corner point keeps both handles and gets its own tag.
  ZKW_CornerBSplinePnt corner(original);
  EXPECT_EQ(corner.Value(), original.Value());
  EXPECT_EQ(corner.firstHandle.Value(), D3DXVECTOR3(1, 0, 0));
  EXPECT_EQ(corner.secondHandle.Value(), D3DXVECTOR3(-1, 0, 0));
  EXPECT_EQ(corner.firstHandle.UndoControl().Saved(), D3DXVECTOR3(1, 0, 0)) << "set silently";
  EXPECT_EQ(corner.tag.Count(), 1);
  EXPECT_EQ(original.tag.Count(), 2);

  DX_CamPathPnt camera(static_cast<const DX_SmartPnt&>(original));
  EXPECT_EQ(camera.Value(), original.Value());
  EXPECT_EQ(camera.travelTime.Value(), 5.0f);
  EXPECT_EQ(camera.zoomPercent.Value(), 100u);
  EXPECT_EQ(original.tag.Count(), 3);
}

TEST(SmartPoints, AcceptTellsTheKind) {
  struct Visitor : DX_PointVisitor {
    std::string seen;
    void VisitCorner(ZKW_CornerBSplinePnt&) override { seen += "corner "; }
    void VisitBSpline(DX_BSplinePnt&) override { seen += "bspline "; }
    void VisitPlain(DX_SmartPnt&) override { seen += "plain "; }
  } visitor;
  DX_SmartPnt plain;
  DX_BSplinePnt bspline;
  ZKW_CornerBSplinePnt corner;
  DX_CamPathPnt camera;
  for (DX_SmartPnt* p : std::vector<DX_SmartPnt*>{&plain, &bspline, &corner, &camera})
    p->Accept(visitor);
  EXPECT_EQ(visitor.seen, "plain bspline corner plain ");
}

TEST(SmartPoints, PointVectorReplacesOldPointsAndRoundTrips) {
  std::vector<DS_SafePtr<DX_SmartPnt>> source;
  for (float x : {1.0f, 2.0f}) {
    source.emplace_back(std::make_unique<DX_SmartPnt>());
    source.back()->SetValue({x, -x, 0.5f});
  }
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  WriteSmartPointVector(out, source);
  const auto bytes = static_cast<DS_IOF_W&>(out.io()).Bytes();
  ASSERT_EQ(bytes.size(), 4u + 2 * 12u);

  std::vector<DS_SafePtr<DX_SmartPnt>> read;
  read.emplace_back(std::make_unique<DX_SmartPnt>());
  DS_SafePtr<DX_SmartPnt> old = read.front();
  const DX_SmartPnt::Tag oldTag = old->tag;
  ArchiveSource in(SourceMode::Memory, bytes);
  ReadSmartPointVector(in.archive(), read);
  EXPECT_EQ(old.Count(), 1) << "the old point was released";
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1]->Value(), D3DXVECTOR3(2, -2, 0.5f));
  EXPECT_EQ(read[1]->UndoControl().Saved(), D3DXVECTOR3(2, -2, 0.5f));

  // Reading a single point gives it a fresh tag.
  ArchiveSource single(SourceMode::Memory,
                       std::vector<uint8_t>(bytes.begin() + 4, bytes.begin() + 16));
  ReadSmartPoint(single.archive(), *old);
  EXPECT_EQ(old->Value(), D3DXVECTOR3(1, -1, 0.5f));
  EXPECT_EQ(oldTag.Count(), 1);
  EXPECT_EQ(old->tag.Count(), 1);

  // A count the data cannot hold reads nothing.
  DS_IOF_W bad;
  bad.WriteDword(1000);
  bad.WriteFloat(1);
  ArchiveSource truncated(SourceMode::Memory, bad.Bytes());
  ReadSmartPointVector(truncated.archive(), read);
  EXPECT_TRUE(truncated.archive().Failed());
  EXPECT_TRUE(read.empty());
}

TEST(SmartPoints, BSplinePointRecord) {
  DX_BSplinePnt point(1, 2);
  point.firstHandle.SetValue({3, 4, 5});
  point.secondHandle.SetValue({6, 7, 8});
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  point.Write(out);
  ArchiveSource in(SourceMode::Memory, static_cast<DS_IOF_W&>(out.io()).Bytes());
  int32_t version = 0;
  in.io().ReadInt32(version);
  EXPECT_EQ(version, 1);
  const float expected[] = {1, 2, 0, 3, 4, 5, 6, 7, 8};
  for (float e : expected) {
    float f = -1;
    in.io().ReadFloat(f);
    EXPECT_EQ(f, e);
  }
  EXPECT_EQ(in.buffer().Remaining(), 0u);
}

TEST(SmartPoints, CameraPathRecordByVersion) {
  DX_CamPathPnt source;
  source.SetValue({10, 20, 0});
  source.travelTime.SetValue(2.5f);
  source.zoomPercent.SetValue(150);
  DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
  WriteCamPathPoint(out, source);
  auto bytes = static_cast<DS_IOF_W&>(out.io()).Bytes();
  ASSERT_EQ(bytes.size(), 4u + 12u + 4u + 4u);

  DX_CamPathPnt read;
  ArchiveSource in(SourceMode::Memory, bytes);
  ReadCamPathPoint(in.archive(), read);
  EXPECT_EQ(read.Value(), D3DXVECTOR3(10, 20, 0));
  EXPECT_EQ(read.travelTime.Value(), 2.5f);
  EXPECT_EQ(read.zoomPercent.Value(), 150u);
  EXPECT_EQ(read.zoomPercent.UndoControl().Saved(), 100u) << "stored straight";

  // Version 0 has no zoom: a new point keeps 100.
  bytes[0] = 0;
  bytes.resize(bytes.size() - 4);
  DX_CamPathPnt old;
  ArchiveSource in0(SourceMode::Memory, bytes);
  ReadCamPathPoint(in0.archive(), old);
  EXPECT_EQ(old.travelTime.Value(), 2.5f);
  EXPECT_EQ(old.zoomPercent.Value(), 100u);
  EXPECT_FALSE(in0.archive().Failed());
}

}  // namespace
